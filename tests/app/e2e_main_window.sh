#!/usr/bin/env bash
# End to end under a real X server: the built program on the saved machine with a fixture
# database; a double click opens a lookup whose best match is on top, the context menus copy to the
# system clipboard, the title bar closes the program, which exits with status 0.
# Arguments: the program, the source tree, the output folder for screenshots.
set -euo pipefail
program=$1; source=$2; out=$3
mkdir -p "$out"
work=$(mktemp -d)
display=:$(( 200 + RANDOM % 400 ))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() { [ -n "$app" ] && kill "$app" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fail() { echo "FAIL: $*" >&2; import -window root "$out/e2e-failure.png" 2>/dev/null || true; exit 1; }

# A program folder of its own: the program, its data and a database that knows every device of
# the saved machine by the first part of its device ID ("Fixture: " and the device's name), and
# a shorter compatible ID that must rank below it.
machine=$source/tests/fixtures/machines/win10-desktop
cp "$program" "$work/kestrova"
cp -r "$(dirname "$program")/system32" "$work/"
python3 - "$machine/pnpentity.csv" "$source/tools/hwids-schema.sql" "$work/hwids.mdb" <<'PY'
import csv, sqlite3, sys
rows = list(csv.reader(open(sys.argv[1], encoding='utf-8-sig')))[1:]
head = rows[0]
name, device = head.index('Name'), head.index('DeviceID')
db = sqlite3.connect(sys.argv[3])
db.executescript(open(sys.argv[2]).read())
db.execute("INSERT INTO mfgs (mfg) VALUES ('Fixture Maker')")
db.execute("INSERT INTO devicenames (devicename) VALUES ('Vendor-wide entry')")
seen = set()
for row in rows[1:]:
    hwid = row[device].rsplit('\\', 1)[0]
    if hwid in seen:
        continue
    seen.add(hwid)
    cur = db.execute("INSERT INTO devicenames (devicename) VALUES (?)", ('Fixture: ' + row[name],))
    db.execute("INSERT INTO hwids (hwid, info) VALUES (?, ?)", (hwid, '%d,1' % cur.lastrowid))
    parts = hwid.split('\\')
    if len(parts) > 1:
        # The compatible form "*" and the device part ("*FixedButton", "*PNP0A08"): shorter.
        db.execute("INSERT INTO hwids (hwid, info) VALUES (?, '1,1')", ('*' + parts[1].split('&')[0],))
db.execute("INSERT INTO version (dbversion) VALUES ('e2e.1')")
db.commit()
PY

ready=$work/ready
KESTROVA_MACHINE=$machine KESTROVA_READY_FILE=$ready "$work/kestrova" &
app=$!
for _ in $(seq 600); do [ -e "$ready" ] && break; kill -0 "$app" 2>/dev/null || fail "the program ended early"; sleep 0.1; done
[ -e "$ready" ] || fail "the first scan did not end"
main=$(xdotool search --name '^Quordane - Kestrova v' | head -1)
[ -n "$main" ] || fail "no main window"
import -window "$main" "$out/e2e-main-window.png"

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
# The program's windows on screen (a pop-up menu is one of them while it is open).
shown_windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
# Right-clicks at a point of a window and waits for the pop-up menu to be on screen.
open_menu() {
  local before
  before=$(shown_windows)
  xdotool mousemove --window "$1" "$2" "$3" click 3
  for _ in $(seq 100); do [ "$(shown_windows)" -gt "$before" ] && return 0; sleep 0.1; done
  fail "no pop-up menu at $2,$3"
}
# Waits until a strip of a window's picture holds something drawn (not one flat colour).
wait_drawn() {
  for _ in $(seq 100); do
    import -window "$1" -crop "$2" -format '%[fx:standard_deviation]' info: 2>/dev/null | grep -qv '^0$' && return 0
    sleep 0.1
  done
  fail "nothing drawn at $2"
}
wait_clipboard_change() {
  local before=$1
  for _ in $(seq 100); do [ "$(clipboard | md5sum)" != "$before" ] && return 0; sleep 0.1; done
  return 1
}

# The whole first list through the main context menu (the fourth command: Copy Whole List).
before=$(clipboard | md5sum)
open_menu "$main" 120 105
xdotool key Down Down Down Down Return
wait_clipboard_change "$before" || fail "Copy Whole List changed nothing"
clipboard > "$work/whole.txt"
python3 - "$work/whole.txt" "$machine/pnpentity.csv" <<'PY' || fail "the copied list is not the saved machine's"
import csv, sys
text = open(sys.argv[1], 'rb').read().decode('utf-8')
lines = text.split('\r\n')
assert lines[-1] == '', 'every line ends with CR LF'
lines = lines[:-1]
assert lines[0] == 'Name,Manufacturer,Error Code,Class,Driver Version,Hardware IDs', lines[0]
assert len(lines) == 93, len(lines)
rows = list(csv.reader(open(sys.argv[2], encoding='utf-8-sig')))[1:]
names = {r[rows[0].index('Name')] for r in rows[1:]}
for line in lines[1:]:
    assert any(line.startswith(n + ',') for n in names), line
firsts = [l.split(',')[0] for l in lines[1:]]
assert firsts == sorted(firsts, key=str.lower), 'sorted by name'
PY
first_name=$(sed -n 2p "$work/whole.txt" | tr -d '\r' | python3 -c "import sys,csv; print(sys.stdin.read().split(',')[0])")

# A double click on the first row opens a lookup window.
xdotool mousemove --window "$main" 120 105 click --repeat 2 --delay 80 1
lookup=""
for _ in $(seq 100); do
  lookup=$(xdotool search --name "^$(printf '%s' "$first_name" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$" | head -1 || true)
  [ -n "$lookup" ] && break; sleep 0.1
done
[ -n "$lookup" ] || fail "no lookup window for $first_name"
wait_drawn "$lookup" 200x10+8+182 # the first row of its list
import -window "$lookup" "$out/e2e-lookup-window.png"

# Its first row is the best match: copy it through the lookup menu (the fourth command: Copy
# Selected Row).
before=$(clipboard | md5sum)
open_menu "$lookup" 60 187
xdotool key Down Down Down Down Return
wait_clipboard_change "$before" || fail "Copy Selected Row changed nothing"
row=$(clipboard)
case "$row" in
  "Fixture: $first_name,Fixture Maker,"*) ;;
  *) fail "the lookup's first row is '$row', not the fixture's entry for '$first_name'" ;;
esac

# Close through the main window's title bar: every window goes, status 0.
width=$(xwininfo -id "$main" | awk '/Width:/ { print $2 }')
xdotool mousemove --window "$main" $(( width - 33 )) 16 click 1
status=0
wait "$app" || status=$?
app=""
[ "$status" -eq 0 ] || fail "exit status $status"
echo "PASS"

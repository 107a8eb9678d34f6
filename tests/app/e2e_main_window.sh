#!/usr/bin/env bash
# End to end under a real X server with a window manager (openbox): the built program on the saved
# machine with a fixture database; a double click opens a lookup whose best match is on top, the
# context menus copy to the system clipboard, the title bar maximises the main window to the work
# area and restores it (by its button and by a double click, several times: the bar painted at the
# new width, the list and the buttons moved with the window, the frame drawn, the grip hidden while
# maximised), a maximise from the window manager's own menu becomes the same, the title bar closes
# the program, which exits with status 0. The resize grips of the main, lookup and improve windows
# let go once the drag ends: the mouse moved afterwards sizes nothing, the next click reaches its
# control, maximise still maximises; a drag past the minimum (by the grip and by the window
# manager's own alt+right-drag) stops at it with the frame and the title bar whole. A second run on
# a generated machine of 8,000 devices shows the busy panel's status text and its moving bar during
# the first scan.
# Arguments: the program, the source tree, the output folder for screenshots.
set -euo pipefail
program=$1; source=$2; out=$3
mkdir -p "$out"
# Each step says so as it starts, so that a run stopped by its time limit names the step it was in.
step() { echo "step: $*"; }
# The machine is shared: a wait's limit grows with the load per core at the moment it starts.
limit() { # seconds on an idle machine
  awk -v base="$1" -v cores="$(nproc)" '{ f = $1 / cores; print int(base * (f > 1 ? f : 1)) + 1 }' /proc/loadavg
}
# Waits until a command succeeds, polling; fails with the message past the limit.
wait_until() { # seconds, what it means when it never happens, command...
  local until=$(( SECONDS + $(limit "$1") )) what=$2
  shift 2
  until "$@"; do [ $SECONDS -lt $until ] || fail "$what"; sleep 0.1; done
}
work=$(mktemp -d)
app=""
wm=""
xvfb=""
cleanup() {
  for pid in $app $wm $xvfb; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; import -window root "$out/e2e-failure.png" 2>/dev/null || true; exit 1; }
command -v openbox >/dev/null || fail "no openbox (scripts/install-deps installs it)"
# An X server of its own on a display it finds free (other test runs may hold some), with a white
# root: what the window leaves undrawn or cuts out shows white, apart from its black frame; and
# openbox on it. Now and then, with many servers starting at once, the window manager cannot open
# the display it was given: both are started again.
start_desktop() {
  local until
  step "an X server and openbox"
  Xvfb -displayfd 1 -screen 0 1600x1000x24 -wr -nolisten tcp >"$work/display" 2>/dev/null &
  xvfb=$!
  until=$(( SECONDS + $(limit 60) ))
  while [ ! -s "$work/display" ] && [ $SECONDS -lt $until ]; do sleep 0.1; done
  [ -s "$work/display" ] || return 1
  export DISPLAY=:$(head -1 "$work/display")
  while ! xdpyinfo >/dev/null 2>&1; do [ $SECONDS -lt $until ] || return 1; sleep 0.1; done
  HOME=$work openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  until=$(( SECONDS + $(limit 30) ))
  while ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    kill -0 "$wm" 2>/dev/null && [ $SECONDS -lt $until ] || return 1
    sleep 0.1
  done
}
started=""
for _ in 1 2 3; do
  start_desktop && { started=1; break; }
  kill "$wm" "$xvfb" 2>/dev/null || true
  wait "$wm" "$xvfb" 2>/dev/null || true
  wm="" xvfb=""
  rm -f "$work/display"
done
[ -n "$started" ] || fail "no X server with a window manager"

# A program folder of its own: the program, its data and a database that knows every device of
# the saved machine by the first part of its device ID ("Fixture: " and the device's name), and
# a shorter compatible ID that must rank below it.
step "a program folder with the fixture database"
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

step "the program on the saved machine, until its first scan ends"
ready=$work/ready
KESTROVA_MACHINE=$machine KESTROVA_READY_FILE=$ready "$work/kestrova" &
app=$!
scan_ended() { [ -e "$ready" ] || { kill -0 "$app" 2>/dev/null || fail "the program ended early"; false; }; }
wait_until 60 "the first scan did not end" scan_ended
main=$(xdotool search --name '^Quordane - Kestrova v' | head -1)
[ -n "$main" ] || fail "no main window"
import -window "$main" "$out/e2e-main-window.png"

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
# The program's windows on screen (a pop-up menu is one of them while it is open).
shown_windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l; }
# Right-clicks at a point of a window and waits for the pop-up menu to be on screen.
open_menu() {
  local before until=$(( SECONDS + $(limit 60) ))
  before=$(shown_windows)
  xdotool mousemove --window "$1" "$2" "$3" click 3
  while [ $SECONDS -lt $until ]; do [ "$(shown_windows)" -gt "$before" ] && return 0; sleep 0.1; done
  fail "no pop-up menu at $2,$3"
}
# Waits until a strip of a window's picture holds something drawn (not one flat colour).
wait_drawn() {
  local until=$(( SECONDS + $(limit 60) ))
  while [ $SECONDS -lt $until ]; do
    import -window "$1" -crop "$2" -format '%[fx:standard_deviation]' info: 2>/dev/null | grep -qv '^0$' && return 0
    sleep 0.1
  done
  fail "nothing drawn at $2"
}
wait_clipboard_change() {
  local before=$1 until=$(( SECONDS + $(limit "$2") ))
  while [ $SECONDS -lt $until ]; do [ "$(clipboard | md5sum)" != "$before" ] && return 0; sleep 0.1; done
  return 1
}
# Copies through the fourth command of a window's pop-up menu. A menu that is on screen may not
# hold the keyboard yet on a loaded machine, so a copy that changes nothing is tried again with a
# menu opened anew.
copy_through_menu() { # window, x, y, what
  local before
  before=$(clipboard | md5sum)
  for _ in 1 2 3; do
    open_menu "$1" "$2" "$3"
    xdotool key Down Down Down Down Return
    wait_clipboard_change "$before" 20 && return 0
    xdotool key Escape
  done
  fail "$4 changed nothing"
}

# The whole first list through the main context menu (the fourth command: Copy Whole List).
step "copy the whole first list through the context menu"
copy_through_menu "$main" 120 105 "Copy Whole List"
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
step "a double click on the first row opens the lookup"
xdotool mousemove --window "$main" 120 105 click --repeat 2 --delay 80 1
lookup=""
lookup_found() {
  lookup=$(xdotool search --name "^$(printf '%s' "$first_name" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$" | head -1 || true)
  [ -n "$lookup" ]
}
wait_until 60 "no lookup window for $first_name" lookup_found
wait_drawn "$lookup" 200x10+8+182 # the first row of its list
import -window "$lookup" "$out/e2e-lookup-window.png"

# Its first row is the best match: copy it through the lookup menu (the fourth command: Copy
# Selected Row).
step "copy the lookup's best match through its context menu"
copy_through_menu "$lookup" 60 187 "Copy Selected Row"
row=$(clipboard)
case "$row" in
  "Fixture: $first_name,Fixture Maker,"*) ;;
  *) fail "the lookup's first row is '$row', not the fixture's entry for '$first_name'" ;;
esac

# The busy panel during a scan: a second run of the program on a generated machine large enough
# that its first scan lasts, seen on screen while it runs: the status line inside the panel
# holds text and the animation bar under it moves.
big=$work/big-machine
mkdir -p "$big"
python3 - "$big" 8000 <<'PY'
import sys
folder, count = sys.argv[1], int(sys.argv[2])
guid = '{4d36e972-e325-11ce-bfc1-08002be10318}'
def hex7(text): return ''.join('%02x,00,' % ord(c) for c in text)
csv = ['#TYPE Microsoft.Management.Infrastructure.CimInstance#root/cimv2/Win32_PnPEntity',
       '"Name","ConfigManagerErrorCode","DeviceID","ClassGuid","Manufacturer"']
reg = ['Windows Registry Editor Version 5.00', '',
       '[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\%s]' % guid, '@="Network adapters"', '']
for i in range(count):
    hwid = 'PCI\\VEN_8086&DEV_%04X&SUBSYS_00000000&REV_01' % i
    csv.append('"Generated Network Adapter Number %d","0","%s\\3&11583659&0&00","%s","Generated"' % (i, hwid, guid))
    reg += ['[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\%s\\3&11583659&0&00]' % hwid,
            '"HardwareID"=hex(7):%s00,00,00,00' % hex7(hwid), '']
open(folder + '/pnpentity.csv', 'w', newline='').write('\r\n'.join(csv) + '\r\n')
open(folder + '/registry.reg', 'w', newline='').write('\r\n'.join(reg) + '\r\n')
PY
# Maximise and restore through the main window's title bar. Each state is waited for until what the
# screen shows of the window holds: the bar's gradient across the new width with its three buttons
# and its slanted cut laid out for that width at the right, the black frame on the outermost pixels
# of the left, right and bottom edges with the back colour just inside, the grip in the corner only
# while not maximised; on the main window also the list's right edge (its scroll bar) and the
# Update button moved with the window.
layout_check=$(cat <<'PY'
import sys
magic, size, depth, pixels = sys.stdin.buffer.read().split(b'\n', 3)  # P6, "w h", 255, the pixels
w, h = map(int, size.split())
kind, grip = sys.argv[1], sys.argv[2] == '1'
def px(x, y):
    i = 3 * (y * w + x)
    return tuple(pixels[i:i + 3])
def blue(c): return c[2] > 180 and c[0] < 120
def face(c): return c[2] > 150 and c[0] < 100                      # a caption button's blue face
def red(c): return c[0] > 180 and c[1] < 120 and c[2] < 100
def grey(c): return all(170 < v < 210 for v in c)
def black(c): return max(c) < 24
def dark_blue(c): return c[2] > c[0] and 24 <= max(c) < 100
back = (64, 64, 64)
grip_glyph = any(min(px(x, y)) > 230 for x in range(w - 13, w) for y in range(h - 13, h))
checks = {
    'bar gradient': all(blue(px(x, 3)) for x in (3, w // 2, w * 3 // 4)),
    'close, maximise, minimise at the right': red(px(w - 41, 22)) and face(px(w - 62, 22)) and face(px(w - 83, 22)),
    'slanted cut before the buttons': dark_blue(px(w - 106, 22)) and grey(px(w - 95, 22)),
    'frame': black(px(0, h // 2)) and black(px(w - 1, h // 2)) and black(px(w // 2, h - 1)),
    'back colour inside the frame': px(2, h // 2) == back and px(w - 3, h // 2) == back and px(w // 2, h - 3) == back,
    'grip': grip_glyph == grip,
}
if kind == 'main':
    checks['scroll bar at the right'] = min(px(w - 10, h // 2)) > 200
    checks['Update button face'] = px(w - 60, h - 67) == (128, 128, 128)
failed = [name for name, ok in checks.items() if not ok]
print(', '.join(failed))
sys.exit(1 if failed else 0)
PY
)
geometry_of() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} END {print w" "h" "x" "y}'; }
size_of() { geometry_of "$1" | awk '{print $1" "$2}'; }
shows_laid_out() { # window, kind, expected "width height left top" (or "width height"), grip shown (1) or hidden (0)
  local w h x y
  read -r w h x y <<<"$(geometry_of "$1")"
  case "$3" in "$w $h $x $y"|"$w $h") ;; *) echo "geometry $w $h $x $y"; return 1 ;; esac
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/shown.png" 2>/dev/null || return 1
  convert "$work/shown.png" ppm:- 2>/dev/null | python3 -c "$layout_check" "$2" "$4"
}
wait_laid_out() { # window, kind, expected geometry, grip, what
  local until=$(( SECONDS + $(limit 60) ))
  while [ $SECONDS -lt $until ]; do shows_laid_out "$1" "$2" "$3" "$4" >"$work/why" && return 0; sleep 0.1; done
  import -window root "$out/e2e-$5.png" 2>/dev/null || true
  fail "the $2 window is not laid out when $5 ($(cat "$work/why"); saved as e2e-$5.png)"
}
step "maximise and restore the main window through its title bar"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowactivate "$main"
normal=$(geometry_of "$main")
workarea=$(xprop -root _NET_WORKAREA | awk -F'= ' '{split($2, a, ", "); print a[3]" "a[4]" "a[1]" "a[2]}')
wait_laid_out "$main" main "$normal" 1 "shown"
for round in 1 2 3; do
  for how in button double-click; do
    for state in maximised restored; do
      read -r width _ <<<"$(geometry_of "$main")"
      if [ "$how" = button ]; then
        # The maximise button: the second of the bar's buttons from the right, 54 pixels in.
        xdotool mousemove --window "$main" $(( width - 54 )) 19 click 1
      else
        xdotool mousemove --window "$main" 300 16 click --repeat 2 --delay 80 1
      fi
      if [ "$state" = maximised ]; then
        wait_laid_out "$main" main "$workarea" 0 "maximised-by-$how-$round"
      else
        wait_laid_out "$main" main "$normal" 1 "restored-by-$how-$round"
      fi
      [ "$round" = 1 ] && import -window root -crop "$(geometry_of "$main" | awk '{print $1"x"$2"+"$3"+"$4}')" \
        +repage "$out/e2e-main-$state-by-$how.png"
    done
  done
done

# The window manager's own maximise (its window menu, Alt+Space, and the menu's Maximize, X) is
# turned into the title bar's: the window fills the work area in the normal state. A second one
# restores it, and so does the title bar's button after one.
shown_count() {
  xwininfo -root -children | awk '/^ +0x/ {print $1}' | while read -r w; do
    xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && echo "$w"
  done | wc -l
}
system_maximise() {
  local before until
  until=$(( SECONDS + $(limit 30) ))
  xdotool windowactivate "$main"
  while [ "$(xdotool getactivewindow 2>/dev/null)" != "$main" ]; do
    [ $SECONDS -lt $until ] || fail "the main window did not become active"; sleep 0.1
  done
  before=$(shown_count)
  xdotool key alt+space
  while [ "$(shown_count)" -le "$before" ]; do [ $SECONDS -lt $until ] || fail "no window menu"; sleep 0.1; done
  xdotool key x
}
step "maximise the main window through the window manager's menu"
for restore in system button; do
  system_maximise
  wait_laid_out "$main" main "$workarea" 0 "maximised-by-the-window-manager"
  [ -z "$(xprop -id "$main" _NET_WM_STATE | grep MAXIMIZED)" ] || fail "the window manager still holds the window maximised"
  if [ "$restore" = system ]; then
    system_maximise
  else
    read -r width _ <<<"$(geometry_of "$main")"
    xdotool mousemove --window "$main" $(( width - 54 )) 19 click 1
  fi
  wait_laid_out "$main" main "$normal" 1 "restored-by-$restore-after-the-window-manager"
done

# The resize grips and the window manager's own sizing. After a drag, merely moving the mouse must
# size nothing, and the next click must reach its control: on the main window a tab, on every
# window the maximise button, which maximises, and then its restore, which gives back the size the
# drag left. A drag past the minimum stops at it, the minimum being the window's hint to the
# window manager, with the frame and the title bar whole at that size.
nudge_until_resized() { # window, its size before, step x, step y
  local until=$(( SECONDS + $(limit 30) ))
  while [ "$(size_of "$1")" = "$2" ]; do
    [ $SECONDS -lt $until ] || fail "the window manager did not take the drag over"
    xdotool mousemove_relative --sync -- "$3" "$4"
    sleep 0.1
  done
}
near_size() { # window, width, height, tolerance
  local w h
  read -r w h <<<"$(size_of "$1")"
  [ $(( w > $2 ? w - $2 : $2 - w )) -le "$4" ] && [ $(( h > $3 ? h - $3 : $3 - h )) -le "$4" ]
}
clamped() { # length, minimum
  echo $(( $1 > $2 ? $1 : $2 ))
}
# A left-button drag of the grip by dx, dy, let go once the window has followed, as a hand does.
# The grip hands the drag to the window manager, which takes the pointer over: until it has, the
# pointer is nudged a pixel at a time, so that no move is lost before it holds the pointer.
grip_drag() { # window, dx, dy, minimum "w h"
  local w h x y min_w min_h
  read -r w h x y <<<"$(geometry_of "$1")"
  read -r min_w min_h <<<"$4"
  xdotool mousemove --window "$1" $(( w - 5 )) $(( h - 5 )) mousedown 1
  nudge_until_resized "$1" "$w $h" $(( $2 > 0 ? 1 : -1 )) $(( $3 > 0 ? 1 : -1 ))
  xdotool mousemove --sync $(( x + w - 5 + $2 )) $(( y + h - 5 + $3 ))
  wait_until 60 "the window did not follow the grip" \
    near_size "$1" "$(clamped $(( w + $2 )) "$min_w")" "$(clamped $(( h + $3 )) "$min_h")" 12
  xdotool mouseup 1
}
# The window manager's own sizing: alt and a right-button drag from the window's bottom-right part.
# It begins once the pointer has moved past the window manager's drag threshold.
wm_drag() { # window, dx, dy, minimum "w h"
  local w h x y min_w min_h
  read -r w h x y <<<"$(geometry_of "$1")"
  read -r min_w min_h <<<"$4"
  xdotool mousemove --window "$1" $(( w - 30 )) $(( h - 30 )) keydown alt mousedown 3
  nudge_until_resized "$1" "$w $h" $(( $2 > 0 ? 1 : -1 )) $(( $3 > 0 ? 1 : -1 ))
  xdotool mousemove --sync $(( x + w - 30 + $2 )) $(( y + h - 30 + $3 ))
  wait_until 60 "the window did not follow the window manager's sizing" \
    near_size "$1" "$(clamped $(( w + $2 )) "$min_w")" "$(clamped $(( h + $3 )) "$min_h")" 12
  xdotool mouseup 3 keyup alt
}
# What the screen shows of a strip of a window (its top-left corner's offset, then its size).
strip_sum() { # window, "width x height + left + top" within the window
  local w h x y
  read -r w h x y <<<"$(geometry_of "$1")"
  import -window root -crop "$(awk -v s="$2" -v x="$x" -v y="$y" 'BEGIN { split(s, a, /[x+]/); print a[1]"x"a[2]"+"(a[3]+x)"+"(a[4]+y) }')" \
    +repage ppm:- 2>/dev/null | md5sum
}
strip_changed() { [ "$(strip_sum "$1" "$2")" != "$3" ]; }
let_go() { # window, kind, size the drag left, what
  local w h x y before
  read -r w h x y <<<"$(geometry_of "$1")"
  [ "$w $h" = "$3" ] || fail "the $2 window is $w x $h after $4, not $3"
  # Over the window, then below and right of it, where a sizing that held on would follow.
  xdotool mousemove --window "$1" 40 100 mousemove --window "$1" $(( w / 2 )) $(( h / 2 )) \
    mousemove $(( x + w + 150 )) $(( y + h + 100 ))
  if [ "$2" = main ]; then
    before=$(strip_sum "$1" 300x60+20+95)
    xdotool mousemove --window "$1" 200 61 click 1 # the second tab
    wait_until 60 "the click on the second tab after $4 did not reach it" strip_changed "$1" 300x60+20+95 "$before"
    [ "$(size_of "$1")" = "$3" ] || fail "the main window changed its size after $4: $(size_of "$1")"
    xdotool mousemove --window "$1" 60 61 click 1 # back to the first tab
  fi
  xdotool mousemove --window "$1" $(( w - 54 )) 19 click 1
  wait_laid_out "$1" "$2" "$workarea" 0 "$2-maximised-after-$4"
  read -r w _ <<<"$(geometry_of "$1")"
  xdotool mousemove --window "$1" $(( w - 54 )) 19 click 1
  wait_laid_out "$1" "$2" "$3" 1 "$2-restored-after-$4"
}
sizing_checks() { # window, kind
  local min
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowactivate "$1"
  min=$(xprop -id "$1" WM_NORMAL_HINTS | awk '/minimum size/ { print $(NF - 2)" "$NF }')
  [ -n "$min" ] || fail "the $2 window gives the window manager no minimum size"
  step "$2 window: grip drag to enlarge it, the mouse moved, a click, maximise"
  grip_drag "$1" 120 80 "$min"
  let_go "$1" "$2" "$(size_of "$1")" "the-grip-drag"
  step "$2 window: grip drag past its minimum"
  grip_drag "$1" -400 -300 "$min"
  wait_laid_out "$1" "$2" "$min" 1 "$2-at-its-minimum-by-the-grip"
  let_go "$1" "$2" "$min" "the-grip-drag-past-the-minimum"
  step "$2 window: the window manager's alt+right-drag to enlarge it, then past its minimum"
  wm_drag "$1" 120 80 "$min"
  wm_drag "$1" -400 -300 "$min"
  wait_laid_out "$1" "$2" "$min" 1 "$2-at-its-minimum-by-the-window-manager"
  let_go "$1" "$2" "$min" "the-window-manager-drag-past-the-minimum"
}
sizing_checks "$main" main
sizing_checks "$lookup" lookup
step "the improve window through the main window's button"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowactivate "$main"
read -r width height _ <<<"$(geometry_of "$main")"
xdotool mousemove --window "$main" $(( width - 318 )) $(( height - 76 )) click 1
improve=""
improve_found() { improve=$(xdotool search --onlyvisible --name '^Improve Database$' 2>/dev/null | head -1 || true); [ -n "$improve" ]; }
wait_until 60 "no improve window" improve_found
wait_laid_out "$improve" improve "$(xprop -id "$improve" WM_NORMAL_HINTS | awk '/minimum size/ { print $(NF - 2)" "$NF }')" 1 "improve-shown"
sizing_checks "$improve" improve
step "close the improve window through its title bar"
read -r width _ <<<"$(geometry_of "$improve")"
xdotool mousemove --window "$improve" $(( width - 33 )) 16 click 1
improve_gone() { ! xwininfo -id "$improve" 2>/dev/null | grep -q IsViewable; }
wait_until 60 "the improve window did not close" improve_gone

# Close through the main window's title bar: every window goes, status 0.
close_through_title_bar() { # window, what
  local width status=0
  width=$(xwininfo -id "$1" | awk '/Width:/ { print $2 }')
  xdotool mousemove --window "$1" $(( width - 33 )) 16 click 1
  wait "$app" || status=$?
  app=""
  [ "$status" -eq 0 ] || fail "exit status $status $2"
}
step "close the program through the main window's title bar"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowactivate "$main"
close_through_title_bar "$main" "on the saved machine"

# The busy panel of the generated machine's first scan, centred on the list at the window's start
# size, 400 by 100 pixels. Each pass grabs it and tells whether it is the panel (its title strip
# right of "Please Wait..." one flat colour, where the list behind would show its columns' text),
# whether its status line holds more than the bare "Status:" (text 120 pixels in, 26 to 60 down),
# and the bar's strip (66 to 86 down) to see it move from one pass to the next.
step "a second run on a generated machine of 8,000 devices: the busy panel during its scan"
rm -f "$ready"
KESTROVA_MACHINE=$big KESTROVA_READY_FILE=$ready "$work/kestrova" &
app=$!
busy=""
until=$(( SECONDS + $(limit 120) ))
while [ -z "$busy" ] && [ $SECONDS -lt $until ]; do
  busy=$(xdotool search --onlyvisible --name '^Quordane - Kestrova v' 2>/dev/null | head -1 || true)
  [ -e "$ready" ] && fail "the generated machine's scan ended before its window was seen"
  sleep 0.1
done
[ -n "$busy" ] || fail "no main window for the generated machine"
panel_check=$(cat <<'PY'
import hashlib, sys
magic, size, depth, pixels = sys.stdin.buffer.read().split(b'\n', 3)
w, h = map(int, size.split())
def strip(x0, y0, x1, y1):
    return [bytes(pixels[3 * (y * w + x):3 * (y * w + x) + 3]) for y in range(y0, y1) for x in range(x0, x1)]
title = strip(120, 3, 390, 14)
if len(set(title)) != 1:
    sys.exit(1)
status = strip(120, 26, 380, 60)
print('text' if len(set(status)) > 1 else 'bare', hashlib.md5(b''.join(strip(12, 66, 382, 86))).hexdigest())
PY
)
seen_text="" seen_moving="" last_bar=""
while [ ! -e "$ready" ] && { [ -z "$seen_text" ] || [ -z "$seen_moving" ]; }; do
  kill -0 "$app" 2>/dev/null || fail "the program ended during the generated machine's scan"
  read -r w h x y <<<"$(geometry_of "$busy")"
  import -window root -crop "400x100+$(( x + (w - 400) / 2 ))+$(( y + 218 ))" +repage "$work/panel.png" 2>/dev/null || continue
  read -r text bar <<<"$(convert "$work/panel.png" ppm:- 2>/dev/null | python3 -c "$panel_check" || true)"
  [ -n "$text" ] || { last_bar=""; continue; }
  [ "$text" = text ] && seen_text=1 && cp "$work/panel.png" "$out/e2e-busy-panel.png"
  [ -n "$last_bar" ] && [ "$bar" != "$last_bar" ] && seen_moving=1
  last_bar=$bar
done
[ -n "$seen_text" ] || fail "the busy panel showed no status text during the scan"
[ -n "$seen_moving" ] || fail "the busy panel's bar did not move during the scan"
wait_until 120 "the generated machine's scan did not end" scan_ended
step "close the second run through its title bar"
close_through_title_bar "$busy" "on the generated machine"
echo "PASS"

#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class QWidget;

// The help viewer: a help file is opened with the desktop's default viewer for its type; where
// there is none, nothing opens and the call answers false. The viewer is a program of its own,
// so the window position a caller sets is kept for the next viewer this program shows, and
// reported back, rather than applied.
namespace os {

inline constexpr unsigned HELP_CONTEXT = 0x0001;
inline constexpr unsigned HELP_QUIT = 0x0002;
inline constexpr unsigned HELP_CONTENTS = 0x0003;
inline constexpr unsigned HELP_HELPONHELP = 0x0004;
inline constexpr unsigned HELP_SETINDEX = 0x0005;
inline constexpr unsigned HELP_CONTEXTPOPUP = 0x0008;
inline constexpr unsigned HELP_FINDER = 0x000B;
inline constexpr unsigned HELP_KEY = 0x0101;
inline constexpr unsigned HELP_SETWINPOS = 0x0203;

// HELP_SETWINPOS's data: the platform's 26-byte record (sizes and positions in the viewer's
// 1024-unit coordinates, then a two-byte window name, empty for the main window).
#pragma pack(push, 1)
struct HELPWININFO {
    qint32 wStructSize;
    qint32 x;
    qint32 y;
    qint32 dx;
    qint32 dy;
    qint32 wMax;
    char rgchMember[2];
};
#pragma pack(pop)
static_assert(sizeof(HELPWININFO) == 26, "the platform's layout");

// WinHelp: the commands that show help (contents, context, key, finder, index, help on help)
// open the file; HELP_QUIT closes nothing and succeeds; HELP_SETWINPOS reads a HELPWININFO at
// `data`. False for an empty or missing file, an unreadable record or an unknown command.
bool WinHelp(QWidget *owner, const QString &helpFile, unsigned command, quintptr data);

// The position HELP_SETWINPOS last set (all zero before).
HELPWININFO HelpWindowPosition();

// Test hook: what opens a help file (the desktop's default viewer when not set); answers
// whether it opened.
void SetHelpOpener(std::function<bool(const QString &path)> opener);

} // namespace os

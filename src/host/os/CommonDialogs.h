#pragma once

#include "os/GlobalMemory.h"
#include "os/SharedLibrary.h"
#include "os/WindowMessages.h" // WM_DESTROY, sent to a hook as its dialog ends

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <memory>

class QPrinter;
class QWidget;

// The platform's common dialogs over Qt's own: open and save (QFileDialog, never the desktop's
// native one, so that every notification is raised), colour (QColorDialog), font (QFontDialog),
// print and print setup (QPrintDialog, QPageSetupDialog; with no printer on the machine they
// print to a PDF file). Each call takes its record as the platform's does, shows the dialog
// modally and writes the results back into the record; 1 is OK, 0 is Cancel or a failure, which
// CommDlgExtendedError tells apart.
//
// File names travel in UTF-16 buffers (the platform's wide form): an 8-bit form would lose every
// name outside one code page. The font record's face name stays the platform's 32 8-bit bytes.
namespace os {

// A hook procedure: the hook window, the message and its two parameters; the answer is the
// message's result.
using HookProc = qintptr (*)(QWidget *hDlg, unsigned message, quintptr wParam, qintptr lParam);

// Messages a hook receives.
inline constexpr unsigned WM_INITDIALOG = 0x0110;
inline constexpr unsigned WM_NOTIFY = 0x004E;
inline constexpr unsigned WM_COMMAND = 0x0111;

// WM_NOTIFY's lParam points at this header.
struct NMHDR {
    QWidget *hwndFrom = nullptr;
    quintptr idFrom = 0;
    int code = 0;
};

// File-dialog notification codes.
inline constexpr int CDN_INITDONE = -601;
inline constexpr int CDN_SELCHANGE = -602;
inline constexpr int CDN_FOLDERCHANGE = -603;
inline constexpr int CDN_FILEOK = -606;
inline constexpr int CDN_TYPECHANGE = -607;

// WM_COMMAND: the low word of wParam is the control's identifier, the high word the
// notification (BN_CLICKED); lParam is the control.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int pshHelp = 0x040E;
inline constexpr int BN_CLICKED = 0;

// SetWindowLong/GetWindowLong at DWL_MSGRESULT on a hook window: the result of the message
// being handled. A file dialog's hook that answers CDN_FILEOK with a non-zero result there keeps
// the dialog open. Other indexes are not kept here and answer 0.
inline constexpr int DWL_MSGRESULT = 0;
long SetWindowLong(QWidget *window, int index, long value);
long GetWindowLong(QWidget *window, int index);

// CommDlgExtendedError: why the last dialog call of this thread failed; 0 after OK or a plain
// cancel.
inline constexpr unsigned CDERR_STRUCTSIZE = 0x0001;
inline constexpr unsigned CDERR_INITIALIZATION = 0x0002;
inline constexpr unsigned CDERR_FINDRESFAILURE = 0x0006;
inline constexpr unsigned CDERR_DIALOGFAILURE = 0xFFFF;
inline constexpr unsigned PDERR_NODEFAULTPRN = 0x1008;
inline constexpr unsigned CFERR_MAXLESSTHANMIN = 0x2002;
inline constexpr unsigned FNERR_INVALIDFILENAME = 0x3002;
inline constexpr unsigned FNERR_BUFFERTOOSMALL = 0x3003;
unsigned CommDlgExtendedError();

// Every dialog shown through these calls carries its record's flag word as the Qt property
// "Flags", as the platform's dialog keeps its record (tests read it from the modal dialog).
inline constexpr char DialogFlagsProperty[] = "Flags";

// ---- open and save -------------------------------------------------------------------------

inline constexpr quint32 OPENFILENAME_SIZE = 76;

inline constexpr quint32 OFN_READONLY = 0x00000001;
inline constexpr quint32 OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr quint32 OFN_HIDEREADONLY = 0x00000004;
inline constexpr quint32 OFN_ENABLEHOOK = 0x00000020;
inline constexpr quint32 OFN_ENABLETEMPLATE = 0x00000040;
inline constexpr quint32 OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr quint32 OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr quint32 OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr quint32 OFN_EXPLORER = 0x00080000;

struct OPENFILENAME {
    quint32 lStructSize = 0;
    QWidget *hwndOwner = nullptr;
    HMODULE hInstance = nullptr;
    // Pairs of description and pattern (patterns joined by ";"), each part ended by a NUL, the
    // list by a second NUL.
    QString lpstrFilter;
    quint32 nFilterIndex = 0; // 1-based; 0 counts as 1
    // In: the initial name, NUL-terminated. Out: the chosen path; with OFN_ALLOWMULTISELECT and
    // OFN_EXPLORER and more than one file: the folder, NUL, each name, NUL, and one more NUL.
    char16_t *lpstrFile = nullptr;
    quint32 nMaxFile = 0;
    char16_t *lpstrFileTitle = nullptr; // out: the chosen name without its folder
    quint32 nMaxFileTitle = 0;
    QString lpstrInitialDir;
    QString lpstrTitle; // empty: "Open" or "Save As"
    quint32 Flags = 0;
    QString lpstrDefExt;
    HookProc lpfnHook = nullptr; // with OFN_ENABLEHOOK
    quintptr lpTemplateName = 0; // with OFN_ENABLETEMPLATE, a template in hInstance
};

int GetOpenFileName(OPENFILENAME *record);
int GetSaveFileName(OPENFILENAME *record);

// GetFileTitle: the name the file is shown under (the path's last part). 0 when it was written
// to the buffer of `size` units; the size needed (with its NUL) when the buffer is too small; -1
// for an empty path or one that ends in a separator.
short GetFileTitle(const QString &path, char16_t *buffer, quint16 size);

// ---- colour --------------------------------------------------------------------------------

inline constexpr quint32 CHOOSECOLOR_SIZE = 36;

inline constexpr quint32 CC_RGBINIT = 0x001;
inline constexpr quint32 CC_FULLOPEN = 0x002;
inline constexpr quint32 CC_PREVENTFULLOPEN = 0x004;
inline constexpr quint32 CC_ENABLEHOOK = 0x010;
inline constexpr quint32 CC_ENABLETEMPLATE = 0x020;
inline constexpr quint32 CC_SOLIDCOLOR = 0x080;
inline constexpr quint32 CC_ANYCOLOR = 0x100;

struct CHOOSECOLOR {
    quint32 lStructSize = 0;
    QWidget *hwndOwner = nullptr;
    quint32 rgbResult = 0;           // 0x00BBGGRR; in with CC_RGBINIT
    quint32 *lpCustColors = nullptr; // 16 colours, read and changed in place
    quint32 Flags = 0;
    HookProc lpfnHook = nullptr;
};

int ChooseColor(CHOOSECOLOR *record);

// ---- font ----------------------------------------------------------------------------------

inline constexpr quint32 CHOOSEFONT_SIZE = 60;
inline constexpr int LF_FACESIZE = 32;

inline constexpr quint32 CF_SCREENFONTS = 0x00000001;
inline constexpr quint32 CF_PRINTERFONTS = 0x00000002;
inline constexpr quint32 CF_ENABLEHOOK = 0x00000008;
inline constexpr quint32 CF_ENABLETEMPLATE = 0x00000010;
inline constexpr quint32 CF_INITTOLOGFONTSTRUCT = 0x00000040;
inline constexpr quint32 CF_EFFECTS = 0x00000100;
inline constexpr quint32 CF_APPLY = 0x00000200;
inline constexpr quint32 CF_LIMITSIZE = 0x00002000;

inline constexpr quint16 BOLD_FONTTYPE = 0x0100;
inline constexpr quint16 ITALIC_FONTTYPE = 0x0200;
inline constexpr quint16 REGULAR_FONTTYPE = 0x0400;
inline constexpr quint16 SCREEN_FONTTYPE = 0x2000;

struct LOGFONT {
    qint32 lfHeight = 0; // negative: the character height in the screen's pixels
    qint32 lfWidth = 0;
    qint32 lfEscapement = 0;
    qint32 lfOrientation = 0;
    qint32 lfWeight = 0;
    quint8 lfItalic = 0;
    quint8 lfUnderline = 0;
    quint8 lfStrikeOut = 0;
    quint8 lfCharSet = 0;
    quint8 lfOutPrecision = 0;
    quint8 lfClipPrecision = 0;
    quint8 lfQuality = 0;
    quint8 lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {}; // 8-bit bytes; need not be NUL-terminated when full
};

// A printer's device context: the printer as chosen, shared by whoever holds it.
using PrinterDC = std::shared_ptr<QPrinter>;

// The system's current printer (a PDF file in the documents folder where there is no printer).
PrinterDC CurrentPrinterDC();

struct CHOOSEFONT {
    quint32 lStructSize = 0;
    QWidget *hwndOwner = nullptr;
    PrinterDC hDC; // with CF_PRINTERFONTS
    LOGFONT *lpLogFont = nullptr;
    qint32 iPointSize = 0; // out: tenths of a point
    quint32 Flags = 0;
    quint32 rgbColors = 0;
    HookProc lpfnHook = nullptr;
    quint16 nFontType = 0; // out
    qint32 nSizeMin = 0;   // with CF_LIMITSIZE
    qint32 nSizeMax = 0;
};

int ChooseFont(CHOOSEFONT *record);

// ---- print and page setup ------------------------------------------------------------------

inline constexpr quint32 PRINTDLG_SIZE = 66;
inline constexpr quint32 PAGESETUPDLG_SIZE = 84;

inline constexpr quint32 PD_SELECTION = 0x00000001;
inline constexpr quint32 PD_PAGENUMS = 0x00000002;
inline constexpr quint32 PD_NOSELECTION = 0x00000004;
inline constexpr quint32 PD_NOPAGENUMS = 0x00000008;
inline constexpr quint32 PD_COLLATE = 0x00000010;
inline constexpr quint32 PD_PRINTTOFILE = 0x00000020;
inline constexpr quint32 PD_PRINTSETUP = 0x00000040;
inline constexpr quint32 PD_NOWARNING = 0x00000080;
inline constexpr quint32 PD_RETURNDC = 0x00000100;
inline constexpr quint32 PD_ENABLEPRINTHOOK = 0x00001000;
inline constexpr quint32 PD_ENABLESETUPHOOK = 0x00002000;
inline constexpr quint32 PD_ENABLEPRINTTEMPLATE = 0x00004000;
inline constexpr quint32 PD_ENABLESETUPTEMPLATE = 0x00008000;
inline constexpr quint32 PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000;
inline constexpr quint32 PD_DISABLEPRINTTOFILE = 0x00080000;
inline constexpr quint32 PD_HIDEPRINTTOFILE = 0x00100000;

inline constexpr quint32 PSD_MINMARGINS = 0x00000001;
inline constexpr quint32 PSD_MARGINS = 0x00000002;
inline constexpr quint32 PSD_INTHOUSANDTHSOFINCHES = 0x00000004;
inline constexpr quint32 PSD_INHUNDREDTHSOFMILLIMETERS = 0x00000008;
inline constexpr quint32 PSD_DISABLEMARGINS = 0x00000010;
inline constexpr quint32 PSD_DISABLEPRINTER = 0x00000020;
inline constexpr quint32 PSD_DISABLEORIENTATION = 0x00000100;
inline constexpr quint32 PSD_DISABLEPAPER = 0x00000200;
inline constexpr quint32 PSD_ENABLEPAGESETUPHOOK = 0x00002000;

inline constexpr qint16 DMORIENT_PORTRAIT = 1;
inline constexpr qint16 DMORIENT_LANDSCAPE = 2;
inline constexpr quint32 DM_ORIENTATION = 0x00000001;
inline constexpr quint32 DM_PAPERSIZE = 0x00000002;
inline constexpr quint32 DM_COPIES = 0x00000100;
inline constexpr quint32 DM_PRINTQUALITY = 0x00000400;
inline constexpr quint32 DM_COLLATE = 0x00008000;

// The printer settings block (the platform's 8-bit DEVMODE, up to its display frequency), kept
// in global memory behind hDevMode.
struct DEVMODE {
    char dmDeviceName[32];
    quint16 dmSpecVersion;
    quint16 dmDriverVersion;
    quint16 dmSize;
    quint16 dmDriverExtra;
    quint32 dmFields;
    qint16 dmOrientation;
    qint16 dmPaperSize; // the platform's paper numbers (9 is A4, 1 is Letter)
    qint16 dmPaperLength;
    qint16 dmPaperWidth;
    qint16 dmScale;
    qint16 dmCopies;
    qint16 dmDefaultSource;
    qint16 dmPrintQuality; // dots per inch
    qint16 dmColor;
    qint16 dmDuplex;
    qint16 dmYResolution;
    qint16 dmTTOption;
    qint16 dmCollate;
    char dmFormName[32];
    quint16 dmLogPixels;
    quint32 dmBitsPerPel;
    quint32 dmPelsWidth;
    quint32 dmPelsHeight;
    quint32 dmDisplayFlags;
    quint32 dmDisplayFrequency;
};
static_assert(offsetof(DEVMODE, dmOrientation) == 44 && offsetof(DEVMODE, dmCollate) == 68 &&
              offsetof(DEVMODE, dmFormName) == 70 && sizeof(DEVMODE) == 124,
              "the platform's layout");

// The names block behind hDevNames: four offsets (in bytes from the block's start) of the
// driver name, the device name and the output port, and the default flag, then the NUL-ended
// names.
struct DEVNAMES {
    quint16 wDriverOffset;
    quint16 wDeviceOffset;
    quint16 wOutputOffset;
    quint16 wDefault;
};

struct PRINTDLG {
    quint32 lStructSize = 0;
    QWidget *hwndOwner = nullptr;
    HGLOBAL hDevMode = nullptr;  // out: a new block the caller frees
    HGLOBAL hDevNames = nullptr; // out: likewise
    PrinterDC hDC;               // out with PD_RETURNDC
    quint32 Flags = 0;
    quint16 nFromPage = 0;
    quint16 nToPage = 0;
    quint16 nMinPage = 0;
    quint16 nMaxPage = 0;
    quint16 nCopies = 0;
    HMODULE hInstance = nullptr;
    HookProc lpfnPrintHook = nullptr; // with PD_ENABLEPRINTHOOK
    HookProc lpfnSetupHook = nullptr; // with PD_ENABLESETUPHOOK (PD_PRINTSETUP shows the setup)
};

int PrintDlg(PRINTDLG *record);

struct RECT {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
};

struct POINT {
    qint32 x = 0;
    qint32 y = 0;
};

struct PAGESETUPDLG {
    quint32 lStructSize = 0;
    QWidget *hwndOwner = nullptr;
    HGLOBAL hDevMode = nullptr;  // out: a new block the caller frees
    HGLOBAL hDevNames = nullptr; // out: likewise
    quint32 Flags = 0;
    POINT ptPaperSize;  // out, in the units of the flags
    RECT rtMinMargin;   // with PSD_MINMARGINS
    RECT rtMargin;      // in with PSD_MARGINS, out always
    HMODULE hInstance = nullptr;
    HookProc lpfnPageSetupHook = nullptr; // with PSD_ENABLEPAGESETUPHOOK
};

int PageSetupDlg(PAGESETUPDLG *record);

} // namespace os

#pragma once

#include "gdi/Color.h"

#include <QColor>
#include <QtGlobal>

namespace runtime {

// A colour value as the windows and controls hold it: 0x00BBGGRR, or, with the high bit set, the
// index of a system colour in the low bits (0x8000000F is the button face).
using OleColor = quint32;

inline constexpr OleColor SystemColorFlag = 0x80000000u;
inline constexpr int SystemColorCount = 31; // indices 0..30, COLOR_SCROLLBAR to COLOR_MENUBAR

// The system colour indices the callers name.
enum SystemColorIndex {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
};

// The named system colour values (vbButtonFace and the like).
inline constexpr OleColor vbButtonFace = SystemColorFlag | COLOR_BTNFACE;
inline constexpr OleColor vbButtonText = SystemColorFlag | COLOR_BTNTEXT;
inline constexpr OleColor vbWindowBackground = SystemColorFlag | COLOR_WINDOW;
inline constexpr OleColor vbWindowText = SystemColorFlag | COLOR_WINDOWTEXT;
inline constexpr OleColor vbHighlight = SystemColorFlag | COLOR_HIGHLIGHT;

// GetSysColor: the platform's default colours (those of a fresh installation). An index outside
// 0..30 answers 0, as the platform does.
gdi::ColorRef GetSysColor(int index);

inline constexpr long S_OK = 0;
inline constexpr long E_INVALIDARG = long(0x80070057);

// OleTranslateColor: a plain colour comes back unchanged, a system colour (high bit set, index in
// the low bits) as its current value; anything else (an index above 30, other high-byte values,
// a palette index without a palette) fails with E_INVALIDARG and leaves *rgb alone. The palette
// argument is kept for the callers' sake; there are no palettes here.
long OleTranslateColor(OleColor color, quintptr palette, gdi::ColorRef *rgb);

// The colour to draw with: translated, or black when it cannot be translated (what every caller
// of the design does on failure).
gdi::ColorRef TranslateOrBlack(OleColor color);

QColor toQColor(gdi::ColorRef rgb);
gdi::ColorRef fromQColor(const QColor &color);

} // namespace runtime

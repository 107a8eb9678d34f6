#include "runtime/OleColor.h"

#include <array>

namespace runtime {

namespace {

// The default colours of a fresh installation, by index. 25 has no colour of its own.
constexpr std::array<gdi::ColorRef, SystemColorCount> DefaultSystemColors = {
    gdi::rgb(200, 200, 200), // 0 scroll bar
    gdi::rgb(0, 0, 0),       // 1 desktop
    gdi::rgb(153, 180, 209), // 2 active caption
    gdi::rgb(191, 205, 219), // 3 inactive caption
    gdi::rgb(240, 240, 240), // 4 menu
    gdi::rgb(255, 255, 255), // 5 window
    gdi::rgb(100, 100, 100), // 6 window frame
    gdi::rgb(0, 0, 0),       // 7 menu text
    gdi::rgb(0, 0, 0),       // 8 window text
    gdi::rgb(0, 0, 0),       // 9 caption text
    gdi::rgb(180, 180, 180), // 10 active border
    gdi::rgb(244, 247, 252), // 11 inactive border
    gdi::rgb(171, 171, 171), // 12 application workspace
    gdi::rgb(0, 120, 215),   // 13 highlight
    gdi::rgb(255, 255, 255), // 14 highlight text
    gdi::rgb(240, 240, 240), // 15 button face
    gdi::rgb(160, 160, 160), // 16 button shadow
    gdi::rgb(109, 109, 109), // 17 grey text
    gdi::rgb(0, 0, 0),       // 18 button text
    gdi::rgb(0, 0, 0),       // 19 inactive caption text
    gdi::rgb(255, 255, 255), // 20 button highlight
    gdi::rgb(105, 105, 105), // 21 3D dark shadow
    gdi::rgb(227, 227, 227), // 22 3D light
    gdi::rgb(0, 0, 0),       // 23 tooltip text
    gdi::rgb(255, 255, 225), // 24 tooltip background
    gdi::rgb(0, 0, 0),       // 25 unused
    gdi::rgb(0, 102, 204),   // 26 hot-tracked item
    gdi::rgb(185, 209, 234), // 27 active caption gradient
    gdi::rgb(215, 228, 242), // 28 inactive caption gradient
    gdi::rgb(0, 120, 215),   // 29 menu highlight
    gdi::rgb(240, 240, 240), // 30 menu bar
};

}

gdi::ColorRef GetSysColor(int index)
{
    if (index < 0 || index >= SystemColorCount)
        return 0;
    return DefaultSystemColors[size_t(index)];
}

long OleTranslateColor(OleColor color, quintptr palette, gdi::ColorRef *rgb)
{
    Q_UNUSED(palette)
    gdi::ColorRef result = 0;
    switch (color >> 24) {
    case 0x00: // plain RGB
    case 0x02: // palette-relative RGB: without a palette, the RGB itself
        result = color & 0x00FFFFFFu;
        break;
    case 0x80: {
        const OleColor index = color & 0x00FFFFFFu;
        if (index >= OleColor(SystemColorCount))
            return E_INVALIDARG;
        result = GetSysColor(int(index));
        break;
    }
    default: // 0x01 (palette index) needs a palette; the rest are not colours
        return E_INVALIDARG;
    }
    if (rgb)
        *rgb = result;
    return S_OK;
}

gdi::ColorRef TranslateOrBlack(OleColor color)
{
    gdi::ColorRef rgb = 0;
    return OleTranslateColor(color, 0, &rgb) == S_OK ? rgb : 0;
}

QColor toQColor(gdi::ColorRef rgb)
{
    return QColor(gdi::red(rgb), gdi::green(rgb), gdi::blue(rgb));
}

gdi::ColorRef fromQColor(const QColor &color)
{
    return gdi::rgb(color.red(), color.green(), color.blue());
}

} // namespace runtime

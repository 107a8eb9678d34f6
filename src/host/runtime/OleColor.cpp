#include "runtime/OleColor.h"

#include "gdi/SysColors.h"

namespace runtime {

gdi::ColorRef GetSysColor(int index) { return gdi::getSysColor(index); }

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

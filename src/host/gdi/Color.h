#pragma once

#include <QtGlobal>

namespace gdi {

// A colour in the platform's 0x00BBGGRR order.
using ColorRef = quint32;

// What GetPixel and the colour calls answer when there is no colour to give.
inline constexpr ColorRef CLR_INVALID = 0xFFFFFFFFu;

constexpr ColorRef rgb(int r, int g, int b)
{
    return ColorRef(quint8(r)) | (ColorRef(quint8(g)) << 8) | (ColorRef(quint8(b)) << 16);
}
constexpr int red(ColorRef c) { return int(c & 0xFF); }
constexpr int green(ColorRef c) { return int((c >> 8) & 0xFF); }
constexpr int blue(ColorRef c) { return int((c >> 16) & 0xFF); }

// A surface pixel (QImage's 0xAARRGGBB) from a colour and back; what GDI draws is opaque.
constexpr quint32 toPixel(ColorRef c)
{
    return 0xFF000000u | (quint32(red(c)) << 16) | (quint32(green(c)) << 8) | quint32(blue(c));
}
constexpr ColorRef fromPixel(quint32 p)
{
    return rgb(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF));
}

} // namespace gdi

#pragma once

#include "gdi/Dc.h"

// A corner of a GradientFill rectangle: each 8-bit channel of an RGB colour becomes the 16-bit
// channel c x 256; alpha stays 0.
inline gdi::TriVertex gradientVertex(int x, int y, gdi::ColorRef rgb)
{
    gdi::TriVertex v;
    v.x = x;
    v.y = y;
    v.red = quint16(gdi::red(rgb) * 256);
    v.green = quint16(gdi::green(rgb) * 256);
    v.blue = quint16(gdi::blue(rgb) * 256);
    return v;
}

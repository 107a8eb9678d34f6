#pragma once

#include "gdi/Dc.h"

namespace gdi {

// The DrawDib engine: draws a DIB held in memory (header and pixels) into a context, stretching
// as needed. Opening is construction (DrawDibOpen), closing is destruction (DrawDibClose).
class DrawDib {
public:
    DrawDib() = default;
    DrawDib(const DrawDib &) = delete;
    DrawDib &operator=(const DrawDib &) = delete;

    // DrawDibDraw: source rectangle (sx, sy, sw, sh) of the DIB, counted from the picture's
    // top-left corner whatever its row order, stretched onto (x, y, w, h). A width or height of
    // -1 takes the DIB's own; 32- and 24-bit uncompressed DIBs are drawn, anything else fails.
    bool draw(Dc &target, int x, int y, int w, int h, const BitmapInfoHeader &header, const void *bits,
              int sx, int sy, int sw, int sh, quint32 flags = 0);
};

} // namespace gdi

#pragma once

#include "gdi/Dc.h"

#include <QImage>

#include <set>
#include <string>
#include <utility>
#include <vector>

// A small surface filled with one background colour, and its context.
struct Canvas {
    explicit Canvas(int w = 20, int h = 20, gdi::ColorRef background = gdi::rgb(1, 2, 3))
        : image(w, h, QImage::Format_RGB32), dc(&image), background(background)
    {
        image.fill(gdi::toPixel(background));
    }
    gdi::ColorRef at(int x, int y) const { return dc.getPixel(x, y); }

    QImage image;
    gdi::Dc dc;
    gdi::ColorRef background;
};

using PixelSet = std::set<std::pair<int, int>>;

// Every pixel that no longer has the background colour.
PixelSet changedPixels(const Canvas &canvas);
// The pixels of a compact picture: rows of '#' (set) and '.' (not set), top-left at origin.
PixelSet fromPicture(const std::vector<std::string> &rows, int originX = 0, int originY = 0);
std::string describe(const PixelSet &set);

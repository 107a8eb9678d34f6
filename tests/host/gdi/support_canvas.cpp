#include "support_canvas.h"

#include <sstream>

PixelSet changedPixels(const Canvas &canvas)
{
    PixelSet set;
    for (int y = 0; y < canvas.image.height(); ++y)
        for (int x = 0; x < canvas.image.width(); ++x)
            if (canvas.at(x, y) != canvas.background)
                set.insert({x, y});
    return set;
}

PixelSet fromPicture(const std::vector<std::string> &rows, int originX, int originY)
{
    PixelSet set;
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == '#')
                set.insert({originX + int(x), originY + int(y)});
    return set;
}

std::string describe(const PixelSet &set)
{
    std::ostringstream out;
    for (const auto &[x, y] : set)
        out << '(' << x << ',' << y << ')';
    return out.str();
}

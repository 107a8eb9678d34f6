#pragma once

#include "chrome/TitelBarLayout.h"

#include <cstdint>
#include <vector>

// The geometry of the title bar's fifteen background styles as plain lines and pixels, so that the
// painting over a device context and the tests share one description.
namespace titelbar {

struct BackgroundInput {
    int style = StyleTab;
    int width = 0;  // ScaleWidth, pixels
    int height = 0; // ScaleHeight, pixels
    // Translated to RGB: left band begin/end, right band begin/end, border high and dark light.
    std::uint32_t c1 = 0, c2 = 0, c3 = 0, c4 = 0;
    std::uint32_t borderHighLight = 0;
    std::uint32_t borderDarkLight = 0;
    int borderNormal = 0;
    int cover = 0;   // BackColorCover in pixels
    int dotStep = 4; // 60 \ nearest(twips per pixel)
    ButtonRow buttons;
};

// A line drawn like MoveToEx/LineTo with a one-pixel pen: the end point is not drawn.
struct Line {
    int x1, y1, x2, y2;
    std::uint32_t color;
};

struct Pixel {
    int x, y;
    std::uint32_t color;
};

// Lines are drawn first, in order, then the pixels.
struct BackgroundPlan {
    std::vector<Line> lines;
    std::vector<Pixel> pixels;
};

// The number of rows the ramps run over: the height, half of it for style 14, 25 for a bar too
// small to have a row.
int RowCount(int style, int height);

BackgroundPlan PlanBackground(const BackgroundInput &in);

}

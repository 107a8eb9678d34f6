#pragma once

#include "gdi/Geometry.h"

// The border of a borderless window, or of a picture base, drawn with Rectangle in the surface's
// pen and no fill: left 0, a top that lies above the surface (so only the left, right and bottom
// edges show) and the surface's size in pixels as right and bottom. The skinned windows, the
// colour engine's frames and the colour window all take it from here.
namespace FrameRect {

// The tops the frames are drawn at, in pixels: a window's or picture base's frame lies this far
// above its surface; a frame under a title bar rises this far above the bar's lower edge (the
// colour engine's pass and the colour window's own resize differ).
inline constexpr int TopAboveSurface = -50;
inline constexpr int ColorEngineRiseOverTitleBar = 200;
inline constexpr int ColorWindowRiseOverTitleBar = 50;

// How a size in twips becomes pixels.
enum class Rounding {
    // Size \ twips per pixel: both operands rounded to whole numbers (halves away from zero),
    // then an integer division.
    WholeOperands,
    // The quotient rounded, halves to even: the colour window's frame.
    Quotient,
};

gdi::Rect Of(double widthTwips, double heightTwips, int top, double twipsPerPixelX, double twipsPerPixelY,
             Rounding rounding = Rounding::WholeOperands);

} // namespace FrameRect

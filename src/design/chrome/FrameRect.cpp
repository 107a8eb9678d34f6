#include "chrome/FrameRect.h"

#include <cmath>

namespace FrameRect {

namespace {

int toPixels(double twips, double twipsPerPixel, Rounding rounding)
{
    if (rounding == Rounding::Quotient)
        return int(std::nearbyint(twips / twipsPerPixel));
    return int(std::lround(twips) / std::lround(twipsPerPixel));
}

} // namespace

gdi::Rect Of(double widthTwips, double heightTwips, int top, double twipsPerPixelX, double twipsPerPixelY, Rounding rounding)
{
    return {0, top, toPixels(widthTwips, twipsPerPixelX, rounding), toPixels(heightTwips, twipsPerPixelY, rounding)};
}

} // namespace FrameRect

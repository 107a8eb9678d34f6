#include "chrome/FrameRect.h"

#include "runtime/Screen.h"

namespace FrameRect {

namespace {

int toPixels(double twips, double twipsPerPixel, Rounding rounding)
{
    using Whole = runtime::Rounding;
    if (rounding == Rounding::Quotient)
        return runtime::ToPixels(twips, twipsPerPixel, Whole::HalfEven);
    return runtime::Round(twips, Whole::Nearest) / runtime::Round(twipsPerPixel, Whole::Nearest);
}

} // namespace

gdi::Rect Of(double widthTwips, double heightTwips, int top, double twipsPerPixelX, double twipsPerPixelY, Rounding rounding)
{
    return {0, top, toPixels(widthTwips, twipsPerPixelX, rounding), toPixels(heightTwips, twipsPerPixelY, rounding)};
}

} // namespace FrameRect

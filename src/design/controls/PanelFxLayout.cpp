#include "controls/PanelFxLayout.h"

#include "controls/ColorMath.h"

#include <cstdint>
#include <limits>

namespace PanelFxLayout {

namespace {

int toInt16(double value)
{
    const int rounded = ColorMath::roundHalfEven(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return 0;
    return rounded;
}

}

Layout layout(int w, int h, int t)
{
    Layout l;
    l.bandFrame = {1, 1, w, t};
    l.bandFill = {0, 1, w - 1, t - 1};
    l.bodyFrame = {0, t - 1, w, h};
    l.bodyFill = {1, t, w - 1, h - 1};
    l.outline = {0, 0, w - 1, h - 1};
    l.region = {0, 0, w, h};
    return l;
}

int panelOrTitle(double y, int tileHeight)
{
    return y > 0 && y >= tileHeight ? 1 : 0;
}

CaptionPos captionPos(int alignment, int w, int tileHeight, int textWidth, int textHeight,
                      bool iconDrawn, int iconWidth)
{
    CaptionPos pos;
    pos.y = toInt16(0.4 * tileHeight - 0.4 * textHeight);
    switch (alignment) {
    case 0:
        // The icon's width is 16-bit, so the sum can leave the range too.
        pos.x = iconDrawn ? toInt16(double(iconWidth) + 4) : 4;
        break;
    case 1:
        // The difference is rounded first, then halved toward zero.
        pos.x = toInt16(ColorMath::roundHalfEven(double(w) - textWidth) / 2);
        break;
    case 2:
        pos.x = toInt16(double(w) - textWidth - 4);
        break;
    default:
        pos.x = 0;
        break;
    }
    return pos;
}

}

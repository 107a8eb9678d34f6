#include "controls/dcButtonColors.h"

#include <iterator>

namespace {
constexpr ColorMath::Color white = 0xFFFFFF;
}

dcButtonColors dcButtonColors::derive(Color face, Color faceTop, Color text, Color maskKey)
{
    dcButtonColors c;
    c.FaceColor = face;
    c.TextColor = text;
    c.DisabledTextColor = ColorMath::blend(text, white, 0.6f);
    c.MaskKeyColor = maskKey;
    c.FaceTopColor = faceTop;
    c.DownBackColor = ColorMath::shift(face, -0.1f);
    c.BorderColor = 0;
    c.HotBackColor = ColorMath::shift(face, 0.2f);
    c.DisabledBackColor = ColorMath::blend(face, white, 0.8f);
    return c;
}

bool dcButtonColors::override(int index, Color rgb)
{
    Color *slots[] = {&DownBackColor, &BorderColor, &DisabledBackColor,
                      &DisabledTextColor, &HotBackColor, &FaceTopColor};
    if (index < 0 || index >= static_cast<int>(std::size(slots)))
        return false;
    *slots[index] = rgb;
    return true;
}

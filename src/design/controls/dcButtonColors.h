#pragma once

#include "controls/ColorMath.h"

// The drawing colours of a dcButton, derived from its three user colours and its mask colour.
// All values are RGB (already translated from system colours).
struct dcButtonColors {
    using Color = ColorMath::Color;

    Color FaceColor = 0;
    Color FaceTopColor = 0;
    Color TextColor = 0;
    Color MaskKeyColor = 0;
    Color DownBackColor = 0;
    Color HotBackColor = 0;
    Color DisabledBackColor = 0;
    Color DisabledTextColor = 0;
    Color BorderColor = 0;

    // The colour rebuild: every derived colour from the translated user colours.
    static dcButtonColors derive(Color face, Color faceTop, Color text, Color maskKey);

    // Replaces one derived colour by index (0 DownBackColor, 1 BorderColor, 2 DisabledBackColor,
    // 3 DisabledTextColor, 4 HotBackColor, 5 FaceTopColor). False, and nothing changed, for any
    // other index.
    bool override(int index, Color rgb);
};

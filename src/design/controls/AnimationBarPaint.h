#pragma once

#include "controls/AnimationBarMotion.h"
#include "gdi/Dc.h"

#include <array>

// The animation bar's picture over a device context, apart from the control: the track, the four
// bars where the motion has them and the pulse.
namespace AnimationBarPaint {

// A bar's gradient, painted once per BeginDisplay: from its left edge's colour to its right edge's.
struct BarShade {
    gdi::ColorRef left = 0x800000;
    gdi::ColorRef right = 0x800000;
};

struct Frame {
    gdi::ColorRef track = 0xE0E0E0;
    std::array<BarShade, 4> bars;   // in the motion's order: pLeft, pRight, pLeft2, pRight2
    gdi::ColorRef pulse = 0;
    int heightTwips = 0;            // the bars' height: the control's
};

// Paints into the whole of dc; twips become pixels by the screen's twips per pixel.
void paint(gdi::Dc &dc, const AnimationBarMotion &motion, const Frame &frame, double twipsPerPixelX,
           double twipsPerPixelY);

}

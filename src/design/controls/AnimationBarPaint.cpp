#include "controls/AnimationBarPaint.h"

#include "controls/GradientVertex.h"
#include "runtime/Screen.h"

namespace AnimationBarPaint {

void paint(gdi::Dc &dc, const AnimationBarMotion &motion, const Frame &frame, double twipsPerPixelX,
           double twipsPerPixelY)
{
    const auto pixels = [](double twips, double twipsPerPixel) {
        return runtime::ToPixels(twips, twipsPerPixel, runtime::Rounding::HalfEven);
    };
    const auto px = [&](double twips) { return pixels(twips, twipsPerPixelX); };
    const auto py = [&](double twips) { return pixels(twips, twipsPerPixelY); };
    dc.fillRect({0, 0, dc.width(), dc.height()}, gdi::createSolidBrush(frame.track));

    const int barHeight = py(frame.heightTwips);
    const int barWidth = px(AnimationBarMotion::BarWidth);
    for (int bar = AnimationBarMotion::Left1; bar <= AnimationBarMotion::Right2; ++bar) {
        const int left = px(motion.barLeft(AnimationBarMotion::Bar(bar)));
        if (left >= dc.width() || left + barWidth <= 0)
            continue;
        const BarShade &shade = frame.bars[size_t(bar)];
        const gdi::TriVertex vertices[2] = {gradientVertex(left, 0, shade.left),
                                            gradientVertex(left + barWidth, barHeight, shade.right)};
        const gdi::GradientRect mesh[1] = {{0, 1}};
        dc.gradientFill(vertices, mesh, gdi::GRADIENT_FILL_RECT_H);
    }

    if (motion.pulseVisible() && motion.pulseWidth() > 0) {
        const int left = px(motion.pulseLeft());
        const int top = py(AnimationBarMotion::PulseTop);
        dc.fillRect({left, top, left + px(motion.pulseWidth()), top + py(AnimationBarMotion::PulseHeight)},
                    gdi::createSolidBrush(frame.pulse));
    }
}

}

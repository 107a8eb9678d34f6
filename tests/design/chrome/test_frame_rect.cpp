#include "chrome/FrameRect.h"

#include <gtest/gtest.h>

namespace {

struct FrameCase {
    const char *name;
    double width;
    double height;
    int top;
    double twipsPerPixelX;
    double twipsPerPixelY;
    FrameRect::Rounding rounding;
    gdi::Rect expected;
};

class FrameRectCases : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameRectCases, SpansTheSurfaceInPixelsFromTheGivenTop)
{
    const FrameCase &c = GetParam();
    EXPECT_EQ(FrameRect::Of(c.width, c.height, c.top, c.twipsPerPixelX, c.twipsPerPixelY, c.rounding), c.expected);
}

using FrameRect::Rounding;

INSTANTIATE_TEST_SUITE_P(
    , FrameRectCases,
    ::testing::Values(
        FrameCase{"WholePixels", 11250, 8250, -50, 15, 15, Rounding::WholeOperands, {0, -50, 750, 550}},
        FrameCase{"WholePixelsQuotient", 7125, 5235, -14, 15, 15, Rounding::Quotient, {0, -14, 475, 349}},
        // 7 and a half twips per pixel: whole operands divide by 8, the quotient rounds 100.
        FrameCase{"HalfTwipsPerPixelDividesByTheRoundedOperand", 750, 750, -50, 7.5, 7.5, Rounding::WholeOperands, {0, -50, 93, 93}},
        FrameCase{"HalfTwipsPerPixelQuotient", 750, 750, -50, 7.5, 7.5, Rounding::Quotient, {0, -50, 100, 100}},
        // A part pixel: the integer division drops it, the quotient rounds halves to even.
        FrameCase{"PartPixelIsDropped", 157, 157.5, 0, 15, 15, Rounding::WholeOperands, {0, 0, 10, 10}},
        FrameCase{"PartPixelHalvesToEven", 157.5, 172.5, 0, 15, 15, Rounding::Quotient, {0, 0, 10, 12}},
        // A screen whose two scales differ: the width goes by the horizontal scale, the height by
        // the vertical one (8250 / 12 is 687.5: dropped to 687, or rounded to the even 688).
        FrameCase{"TallerPixelsWholeOperands", 11250, 8250, -50, 15, 12, Rounding::WholeOperands, {0, -50, 750, 687}},
        FrameCase{"TallerPixelsQuotient", 11250, 8250, -50, 15, 12, Rounding::Quotient, {0, -50, 750, 688}},
        FrameCase{"WiderPixelsWholeOperands", 11250, 8250, -50, 12, 15, Rounding::WholeOperands, {0, -50, 937, 550}},
        FrameCase{"WiderPixelsQuotient", 11250, 8250, -50, 12, 15, Rounding::Quotient, {0, -50, 938, 550}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

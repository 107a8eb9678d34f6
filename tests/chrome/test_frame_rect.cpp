#include "chrome/FrameRect.h"

#include <gtest/gtest.h>

namespace {

struct FrameCase {
    const char *name;
    double width;
    double height;
    int top;
    double twipsPerPixel;
    FrameRect::Rounding rounding;
    gdi::Rect expected;
};

class FrameRectCases : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameRectCases, SpansTheSurfaceInPixelsFromTheGivenTop)
{
    const FrameCase &c = GetParam();
    EXPECT_EQ(FrameRect::Of(c.width, c.height, c.top, c.twipsPerPixel, c.twipsPerPixel, c.rounding), c.expected);
}

using FrameRect::Rounding;

INSTANTIATE_TEST_SUITE_P(
    , FrameRectCases,
    ::testing::Values(
        FrameCase{"WholePixels", 11250, 8250, -50, 15, Rounding::WholeOperands, {0, -50, 750, 550}},
        FrameCase{"WholePixelsQuotient", 7125, 5235, -14, 15, Rounding::Quotient, {0, -14, 475, 349}},
        // 7 and a half twips per pixel: whole operands divide by 8, the quotient rounds 100.
        FrameCase{"HalfTwipsPerPixelDividesByTheRoundedOperand", 750, 750, -50, 7.5, Rounding::WholeOperands, {0, -50, 93, 93}},
        FrameCase{"HalfTwipsPerPixelQuotient", 750, 750, -50, 7.5, Rounding::Quotient, {0, -50, 100, 100}},
        // A part pixel: the integer division drops it, the quotient rounds halves to even.
        FrameCase{"PartPixelIsDropped", 157, 157.5, 0, 15, Rounding::WholeOperands, {0, 0, 10, 10}},
        FrameCase{"PartPixelHalvesToEven", 157.5, 172.5, 0, 15, Rounding::Quotient, {0, 0, 10, 12}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

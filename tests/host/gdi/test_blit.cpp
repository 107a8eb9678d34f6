// Raster operations, stretching, colour-keyed and alpha-blended copies, gradients.

#include "gdi/Dc.h"
#include "support_canvas.h"

#include <gtest/gtest.h>

#include <functional>

using namespace gdi;

namespace {

struct RopCase {
    const char *name;
    Rop rop;
    std::function<int(int, int, int)> formula; // pattern, source, destination bytes
};

class RasterOperation : public ::testing::TestWithParam<RopCase> {};

// Red carries the truth-table inputs (pattern F0, source CC, destination AA), so the result is
// the code's own table byte; green and blue check the named meaning on other bit patterns.
TEST_P(RasterOperation, CombinesPatternSourceAndDestination)
{
    const RopCase &c = GetParam();
    Canvas src(1, 1, rgb(0xCC, 0x33, 0x0F));
    Canvas dst(1, 1, rgb(0xAA, 0x55, 0x3C));
    dst.dc.selectBrush(createSolidBrush(rgb(0xF0, 0x0F, 0x66)));
    ASSERT_TRUE(dst.dc.bitBlt(0, 0, 1, 1, &src.dc, 0, 0, c.rop));
    const ColorRef got = dst.at(0, 0);
    EXPECT_EQ(red(got), int((c.rop >> 16) & 0xFF));
    EXPECT_EQ(green(got), c.formula(0x0F, 0x33, 0x55) & 0xFF);
    EXPECT_EQ(blue(got), c.formula(0x66, 0x0F, 0x3C) & 0xFF);
    EXPECT_EQ(dst.image.pixel(0, 0) >> 24, 0xFFu) << "the result is opaque";
}

INSTANTIATE_TEST_SUITE_P(
    Named, RasterOperation,
    ::testing::Values(RopCase{"SRCCOPY", SRCCOPY, [](int, int s, int) { return s; }},
                      RopCase{"SRCPAINT", SRCPAINT, [](int, int s, int d) { return s | d; }},
                      RopCase{"SRCAND", SRCAND, [](int, int s, int d) { return s & d; }},
                      RopCase{"SRCINVERT", SRCINVERT, [](int, int s, int d) { return s ^ d; }},
                      RopCase{"SRCERASE", SRCERASE, [](int, int s, int d) { return s & ~d; }},
                      RopCase{"NOTSRCCOPY", NOTSRCCOPY, [](int, int s, int) { return ~s; }},
                      RopCase{"NOTSRCERASE", NOTSRCERASE, [](int, int s, int d) { return ~(s | d); }},
                      RopCase{"MERGECOPY", MERGECOPY, [](int p, int s, int) { return p & s; }},
                      RopCase{"MERGEPAINT", MERGEPAINT, [](int, int s, int d) { return ~s | d; }},
                      RopCase{"PATCOPY", PATCOPY, [](int p, int, int) { return p; }},
                      RopCase{"PATPAINT", PATPAINT, [](int p, int s, int d) { return p | ~s | d; }},
                      RopCase{"PATINVERT", PATINVERT, [](int p, int, int d) { return p ^ d; }},
                      RopCase{"DSTINVERT", DSTINVERT, [](int, int, int d) { return ~d; }},
                      RopCase{"BLACKNESS", BLACKNESS, [](int, int, int) { return 0; }},
                      RopCase{"WHITENESS", WHITENESS, [](int, int, int) { return 0xFF; }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BitBlt, NeedsASourceOnlyWhenTheOperationReadsOne)
{
    Canvas dst(4, 4);
    EXPECT_FALSE(dst.dc.bitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    Dc empty;
    EXPECT_FALSE(dst.dc.bitBlt(0, 0, 2, 2, &empty, 0, 0, SRCAND));
    dst.dc.selectBrush(createSolidBrush(rgb(1, 1, 1)));
    EXPECT_TRUE(dst.dc.bitBlt(1, 1, 2, 2, nullptr, 0, 0, PATCOPY));
    EXPECT_TRUE(dst.dc.bitBlt(0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(changedPixels(dst), fromPicture({"#..", ".##", ".##"}));
    EXPECT_FALSE(empty.bitBlt(0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
}

TEST(BitBlt, AreaOutsideTheSourceIsLeftAlone)
{
    Canvas src(2, 2, rgb(9, 9, 9));
    Canvas dst(6, 6);
    ASSERT_TRUE(dst.dc.bitBlt(1, 1, 4, 4, &src.dc, -1, 0, SRCCOPY));
    EXPECT_EQ(changedPixels(dst), fromPicture({"..##", "..##"}, 0, 1));
}

TEST(BitBlt, NegativeExtentsDescribeTheSameCopy)
{
    Canvas src(4, 1);
    for (int x = 0; x < 4; ++x)
        src.dc.setPixelV(x, 0, rgb(x * 10, 0, 0));
    Canvas a(6, 1), b(6, 1);
    a.dc.bitBlt(1, 0, 3, 1, &src.dc, 1, 0, SRCCOPY);
    b.dc.bitBlt(4, 0, -3, 1, &src.dc, 4, 0, SRCCOPY);
    EXPECT_EQ(a.image, b.image);
}

TEST(BitBlt, OverlappingCopyOntoItselfReadsTheOriginal)
{
    Canvas canvas(6, 1);
    for (int x = 0; x < 6; ++x)
        canvas.dc.setPixelV(x, 0, rgb(x, 0, 0));
    ASSERT_TRUE(canvas.dc.bitBlt(1, 0, 5, 1, &canvas.dc, 0, 0, SRCCOPY));
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(canvas.at(x, 0), rgb(x - 1, 0, 0)) << x;
}

TEST(StretchBlt, EnlargesByRepeatingPixels)
{
    Canvas src(2, 1);
    src.dc.setPixelV(0, 0, rgb(10, 0, 0));
    src.dc.setPixelV(1, 0, rgb(20, 0, 0));
    Canvas dst(5, 2);
    ASSERT_TRUE(dst.dc.stretchBlt(0, 0, 4, 2, &src.dc, 0, 0, 2, 1, SRCCOPY));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dst.at(x, y), rgb(x < 2 ? 10 : 20, 0, 0)) << x << "," << y;
    EXPECT_EQ(dst.at(4, 0), dst.background);
}

TEST(StretchBlt, NegativeSourceHeightMirrorsTheColumn)
{
    // The title bar's band: a one-pixel column read from y = h + 2 upwards over h rows.
    const int h = 5;
    Canvas canvas(4, 10);
    for (int y = 0; y < 10; ++y)
        canvas.dc.setPixelV(0, y, rgb(0, y * 10, 0));
    ASSERT_TRUE(canvas.dc.stretchBlt(2, 0, 2, h, &canvas.dc, 0, h + 2, 1, -h, SRCCOPY));
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(canvas.at(2, y), rgb(0, (h + 1 - y) * 10, 0)) << y;
        EXPECT_EQ(canvas.at(3, y), rgb(0, (h + 1 - y) * 10, 0)) << y;
    }
}

TEST(StretchBlt, NegativeDestinationWidthMirrors)
{
    Canvas src(3, 1);
    for (int x = 0; x < 3; ++x)
        src.dc.setPixelV(x, 0, rgb(x + 1, 0, 0));
    Canvas dst(3, 1);
    ASSERT_TRUE(dst.dc.stretchBlt(3, 0, -3, 1, &src.dc, 0, 0, 3, 1, SRCCOPY));
    EXPECT_EQ(dst.at(0, 0), rgb(3, 0, 0));
    EXPECT_EQ(dst.at(2, 0), rgb(1, 0, 0));
}

TEST(StretchBlt, ShrinkingCombinesAsTheStretchModeSays)
{
    Canvas src(2, 1);
    src.dc.setPixelV(0, 0, rgb(0x30, 0x0F, 0x10));
    src.dc.setPixelV(1, 0, rgb(0xC0, 0xF0, 0x30));
    struct Row {
        const char *name;
        int mode;
        ColorRef expected;
    };
    for (const Row &r : {Row{"BlackOnWhiteAnds", BLACKONWHITE, rgb(0x00, 0x00, 0x10)},
                         Row{"WhiteOnBlackOrs", WHITEONBLACK, rgb(0xF0, 0xFF, 0x30)},
                         Row{"ColorOnColorPicks", COLORONCOLOR, rgb(0xC0, 0xF0, 0x30)},
                         Row{"HalftoneAverages", HALFTONE, rgb(0x78, 0x80, 0x20)}}) {
        Canvas dst(1, 1);
        dst.dc.setStretchBltMode(r.mode);
        ASSERT_TRUE(dst.dc.stretchBlt(0, 0, 1, 1, &src.dc, 0, 0, 2, 1, SRCCOPY)) << r.name;
        EXPECT_EQ(dst.at(0, 0), r.expected) << r.name;
    }
}

TEST(TransparentBlt, SkipsTheKeyColourAndStretches)
{
    Canvas src(2, 1, rgb(255, 0, 255));
    src.dc.setPixelV(1, 0, rgb(7, 8, 9));
    Canvas dst(4, 2);
    ASSERT_TRUE(dst.dc.transparentBlt(0, 0, 4, 2, src.dc, 0, 0, 2, 1, rgb(255, 0, 255)));
    EXPECT_EQ(changedPixels(dst), fromPicture({"..##", "..##"}));
    EXPECT_EQ(dst.at(3, 1), rgb(7, 8, 9));
    EXPECT_FALSE(dst.dc.transparentBlt(0, 0, -1, 1, src.dc, 0, 0, 1, 1, 0));
}

TEST(AlphaBlend, ConstantAlphaMixesEveryChannel)
{
    Canvas src(1, 1, rgb(200, 0, 255));
    Canvas dst(1, 1, rgb(100, 255, 0));
    ASSERT_TRUE(dst.dc.alphaBlend(0, 0, 1, 1, src.dc, 0, 0, 1, 1, BlendFunction{AC_SRC_OVER, 0, 128, 0}));
    EXPECT_EQ(dst.at(0, 0), rgb(150, 127, 128));
    EXPECT_EQ(dst.image.pixel(0, 0) >> 24, 0xFFu);
}

TEST(AlphaBlend, PerPixelAlphaTakesAPremultipliedSource)
{
    QImage pixels(3, 1, QImage::Format_ARGB32);
    pixels.setPixel(0, 0, 0x80400000u); // half-covered red 0x80, premultiplied to 0x40
    pixels.setPixel(1, 0, 0x00000000u); // fully transparent
    pixels.setPixel(2, 0, 0xFF00FF00u); // opaque green
    Dc src(&pixels);
    Canvas dst(3, 1, rgb(200, 200, 200));
    ASSERT_TRUE(dst.dc.alphaBlend(0, 0, 3, 1, src, 0, 0, 3, 1, BlendFunction{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
    EXPECT_EQ(dst.at(0, 0), rgb(0x40 + 100, 100, 100));
    EXPECT_EQ(dst.at(1, 0), rgb(200, 200, 200));
    EXPECT_EQ(dst.at(2, 0), rgb(0, 255, 0));

    Canvas half(1, 1, rgb(200, 200, 200));
    ASSERT_TRUE(half.dc.alphaBlend(0, 0, 1, 1, src, 2, 0, 1, 1, BlendFunction{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA}));
    EXPECT_EQ(half.at(0, 0), rgb(100, 128 + 100, 100)) << "the constant alpha scales colour and alpha";
}

TEST(AlphaBlend, RefusesWhatThePlatformRefuses)
{
    Canvas src(4, 4), dst(4, 4);
    const BlendFunction ok{AC_SRC_OVER, 0, 255, 0};
    struct Row {
        const char *name;
        int sx, sy, sw, sh, w, h;
        BlendFunction blend;
    };
    for (const Row &r : {Row{"SourcePastTheRight", 2, 0, 3, 1, 1, 1, ok}, Row{"SourceAboveTheTop", 0, -1, 1, 1, 1, 1, ok},
                         Row{"NegativeWidth", 0, 0, 1, 1, -1, 1, ok}, Row{"NegativeSourceHeight", 0, 0, 1, -1, 1, 1, ok},
                         Row{"UnknownOperation", 0, 0, 1, 1, 1, 1, BlendFunction{1, 0, 255, 0}},
                         Row{"UnknownFormat", 0, 0, 1, 1, 1, 1, BlendFunction{0, 0, 255, 2}}})
        EXPECT_FALSE(dst.dc.alphaBlend(0, 0, r.w, r.h, src.dc, r.sx, r.sy, r.sw, r.sh, r.blend)) << r.name;
    EXPECT_TRUE(changedPixels(dst).empty());
}

TriVertex vertex(int x, int y, ColorRef c)
{
    return TriVertex{x, y, quint16(red(c) * 256), quint16(green(c) * 256), quint16(blue(c) * 256), 0};
}

TEST(GradientFill, HorizontalRunsLeftToRightOverTheRectangle)
{
    Canvas canvas(260, 2);
    const TriVertex v[2] = {vertex(0, 0, rgb(0, 0, 0)), vertex(256, 1, rgb(255, 0, 0))};
    const GradientRect mesh{0, 1};
    ASSERT_TRUE(canvas.dc.gradientFill(v, std::span(&mesh, 1), GRADIENT_FILL_RECT_H));
    EXPECT_EQ(canvas.at(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(canvas.at(128, 0), rgb(127, 0, 0));
    EXPECT_EQ(canvas.at(255, 0), rgb(254, 0, 0));
    EXPECT_EQ(canvas.at(256, 0), canvas.background) << "the right edge is exclusive";
    EXPECT_EQ(canvas.at(10, 1), canvas.background) << "so is the bottom";
}

TEST(GradientFill, VerticalWithTheVerticesGivenBottomUp)
{
    Canvas canvas(2, 4);
    const TriVertex v[2] = {vertex(2, 4, rgb(0, 0, 200)), vertex(0, 0, rgb(0, 100, 0))};
    const GradientRect mesh{0, 1};
    ASSERT_TRUE(canvas.dc.gradientFill(v, std::span(&mesh, 1), GRADIENT_FILL_RECT_V));
    EXPECT_EQ(canvas.at(1, 0), rgb(0, 100, 0));
    EXPECT_EQ(canvas.at(1, 2), rgb(0, 50, 100));
    EXPECT_EQ(canvas.at(0, 3), rgb(0, 25, 150));
}

TEST(GradientFill, HighBytesOfSixteenBitChannels)
{
    // A failed colour translation (all bits set) paints white.
    Canvas canvas(2, 1);
    const TriVertex v[2] = {{0, 0, 0xFFFF, 0xFFFF, 0xFFFF, 0}, {2, 1, 0xFFFF, 0xFFFF, 0xFFFF, 0}};
    const GradientRect mesh{0, 1};
    ASSERT_TRUE(canvas.dc.gradientFill(v, std::span(&mesh, 1), GRADIENT_FILL_RECT_H));
    EXPECT_EQ(canvas.at(1, 0), rgb(255, 255, 255));
}

TEST(GradientFill, BadModesAndIndexesFail)
{
    Canvas canvas(2, 2);
    const TriVertex v[2] = {vertex(0, 0, 0), vertex(2, 2, rgb(9, 9, 9))};
    const GradientRect mesh{0, 1};
    const GradientRect outOfRange{0, 2};
    EXPECT_FALSE(canvas.dc.gradientFill(v, std::span(&mesh, 1), 2));
    EXPECT_FALSE(canvas.dc.gradientFill(v, std::span(&outOfRange, 1), GRADIENT_FILL_RECT_H));
    EXPECT_TRUE(changedPixels(canvas).empty());
    Dc none;
    EXPECT_FALSE(none.gradientFill(v, std::span(&mesh, 1), GRADIENT_FILL_RECT_H));
}

} // namespace

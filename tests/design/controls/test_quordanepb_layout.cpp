#include "controls/QuordanePBLayout.h"
#include "platform/ModDPI.h"

#include <gtest/gtest.h>

#include <limits>

using namespace QuordanePBLayout;

TEST(QuordanePBLayout, DpiFactorAndSegmentSizes)
{
    struct Row {
        int dpi;
        float factor;
        int chunk, space;
    } rows[] = {
        {72, 1.0f, 8, 2},    {96, 1.0f, 8, 2},    {97, 1.25f, 10, 2}, {120, 1.25f, 10, 2},
        {144, 1.5f, 12, 3},  {192, 2.0f, 16, 4},  {216, 2.25f, 18, 4}, {240, 2.5f, 20, 5},
        {241, 3.0f, 24, 6},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.dpi);
        EXPECT_EQ(ModDPI::ScaleForDpi(row.dpi), row.factor);
        const Segments s = segmentSizes(ModDPI::ScaleForDpi(row.dpi));
        EXPECT_EQ(s.chunk, row.chunk);
        EXPECT_EQ(s.space, row.space);
    }
}

TEST(QuordanePBLayout, ChunkTakesTheRestOfTheWidth)
{
    EXPECT_EQ(fitToWidth({8, 2}, 100).chunk, 8);
    EXPECT_EQ(fitToWidth({8, 2}, 196).chunk, 14);
    EXPECT_EQ(fitToWidth({8, 2}, 17).chunk, 15);
}

TEST(QuordanePBLayout, Fraction)
{
    constexpr auto maxInt = std::numeric_limits<std::int32_t>::max();
    constexpr auto minInt = std::numeric_limits<std::int32_t>::min();
    struct Row {
        const char *name;
        std::int32_t value, min, max;
        double p;
    } rows[] = {
        {"half", 50, 0, 100, 0.5},
        {"below min", -5, 0, 100, 0.0},
        {"above max", 500, 0, 100, 1.0},
        {"max below min", 25, 100, 0, 0.75},
        {"equal ends, above", 5, 3, 3, 1.0},
        {"equal ends, at", 3, 3, 3, 0.0},
        {"value difference beyond 32 bits", maxInt, -1, 100, 0.0},
        {"range beyond 32 bits", 0, minInt, maxInt, 0.0},
        {"large but in range", maxInt / 2, 0, maxInt, double(maxInt / 2) / maxInt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(fraction(row.value, row.min, row.max), row.p);
    }
}

TEST(QuordanePBLayout, InnerRectangle)
{
    const Ltrb client{0, 0, 100, 20};
    EXPECT_EQ(innerRect(client, 0, 2, false), client);
    EXPECT_EQ(innerRect(client, 1, 1, false), (Ltrb{1, 1, 99, 19}));
    EXPECT_EQ(innerRect(client, 1, 2, false), (Ltrb{2, 2, 98, 18}));
    EXPECT_EQ(innerRect(client, 1, 2, true), (Ltrb{1, 1, 99, 19}));
    EXPECT_EQ(innerRect(client, 7, 9, false), (Ltrb{1, 1, 99, 19})) << "unknown styles still inset";
}

// The two worked examples: 196 x 17 horizontal with a thin frame, 17 x 100 vertical without one.
TEST(QuordanePBLayout, HorizontalWorkedExample)
{
    const Ltrb inner = innerRect({0, 0, 196, 17}, 1, 1, false);
    const Segments seg = fitToWidth(segmentSizes(1.0f), 196);
    ASSERT_EQ(seg.chunk, 14);
    ASSERT_EQ(seg.step(), 16);
    const Ltrb bar = barRect(inner, 0.5, true, true, seg.step());
    EXPECT_EQ(bar, (Ltrb{1, 1, 97, 16}));
    std::vector<Ltrb> expected;
    for (int x : {15, 31, 47, 63, 79, 95})
        expected.push_back({x, 1, x + 2, 16});
    EXPECT_EQ(gaps(inner, bar, true, seg), expected);
}

TEST(QuordanePBLayout, VerticalWorkedExample)
{
    const Ltrb inner = innerRect({0, 0, 17, 100}, 0, 1, false);
    const Segments seg = fitToWidth(segmentSizes(1.0f), 17);
    ASSERT_EQ(seg.step(), 17);
    const Ltrb bar = barRect(inner, 0.5, false, true, seg.step());
    EXPECT_EQ(bar, (Ltrb{0, 66, 17, 100}));
    const std::vector<Ltrb> expected = {{0, 100, 17, 102}, {0, 83, 17, 85}};
    EXPECT_EQ(gaps(inner, bar, false, seg), expected);
}

TEST(QuordanePBLayout, BarEnds)
{
    const Ltrb inner{1, 1, 99, 19};
    EXPECT_EQ(barRect(inner, 0.0, true, false, 10).right, 1) << "empty";
    EXPECT_EQ(barRect(inner, 1.0, true, false, 10).right, 99) << "full";
    EXPECT_EQ(barRect(inner, 0.05, true, true, 10).right, 1) << "less than a step snaps to empty";
    EXPECT_EQ(barRect(inner, 0.5, true, false, 10).right, 50) << "98 * 0.5 + 1 = 50";
    EXPECT_EQ(barRect(inner, 0.255, true, false, 10).right, 26) << "24.99 + 1 rounds up";
    EXPECT_EQ(barRect(inner, 0.5, true, true, 0).right, 50) << "no step, no snap";
    const gdi::Rect square{0, 0, 40, 40};
    EXPECT_EQ(barRect(square, 1.0, false, true, 17).top, 6) << "full, snapped from the bottom";
    EXPECT_EQ(barRect(square, 0.0, false, true, 17).top, 40);
}

TEST(QuordanePBLayout, TilesAnchorAtTheOrigin)
{
    // An 8 x 6 area at (3, 2) of a 5 x 4 tile: the first piece reads from (3, 2).
    const std::vector<Blit> pieces = tiles(3, 2, 8, 6, 5, 4, 0, 0);
    const std::vector<Blit> expected = {
        {{3, 2, 5, 4}, 3, 2}, {{5, 2, 10, 4}, 0, 2}, {{10, 2, 11, 4}, 0, 2},
        {{3, 4, 5, 8}, 3, 0}, {{5, 4, 10, 8}, 0, 0}, {{10, 4, 11, 8}, 0, 0},
    };
    EXPECT_EQ(pieces, expected);
    EXPECT_TRUE(tiles(0, 0, 10, 0, 5, 5, 0, 0).empty());
    EXPECT_TRUE(tiles(0, 0, 10, 10, 0, 5, 0, 0).empty()) << "an empty tile draws nothing";
}

#include "controls/AnimationBarMotion.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using B = AnimationBarMotion;

namespace {

constexpr int Track = 3000;

AnimationBarMotion parked()
{
    AnimationBarMotion m;
    m.reset(Track);
    return m;
}

}

TEST(AnimationBarMotion, ResetParksOutsideTheTrack)
{
    const AnimationBarMotion m = parked();
    for (B::Bar left : {B::Left1, B::Left2})
        EXPECT_EQ(m.barLeft(left), -900);
    for (B::Bar right : {B::Right1, B::Right2})
        EXPECT_EQ(m.barLeft(right), Track + 150);
    EXPECT_EQ(m.start(false), -900);
    EXPECT_EQ(m.end(false), Track + 150);
    EXPECT_FALSE(m.pulseVisible());
    EXPECT_TRUE(m.pulseGrowing());
}

TEST(AnimationBarMotion, StyleOneSweepsRightAndStartsAgain)
{
    AnimationBarMotion m = parked();
    int ticks = 0;
    while (m.barLeft(B::Left1) != -900 || ticks == 0) {
        EXPECT_FALSE(m.tick(1, 150, false, Track)) << "style 1 does not yield";
        ++ticks;
        ASSERT_LT(ticks, 100);
    }
    // From -900 in steps of 150 the bar reaches 3150 = E on the 27th tick and is parked again.
    EXPECT_EQ(ticks, 27);
    EXPECT_EQ(m.barLeft(B::Right1), Track + 150);
}

TEST(AnimationBarMotion, StyleTwoSweepsLeft)
{
    AnimationBarMotion m = parked();
    EXPECT_TRUE(m.tick(2, 1000, false, Track));
    EXPECT_EQ(m.barLeft(B::Right1), 2150);
    m.tick(2, 1000, false, Track);
    m.tick(2, 1000, false, Track);
    m.tick(2, 1000, false, Track);
    EXPECT_EQ(m.barLeft(B::Right1), -850);
    m.tick(2, 1000, false, Track);   // still right of S = -900
    EXPECT_EQ(m.barLeft(B::Right1), -1850);
    m.tick(2, 1000, false, Track);   // at or left of S: back to E
    EXPECT_EQ(m.barLeft(B::Right1), Track + 150);
}

TEST(AnimationBarMotion, StyleThreeCycle)
{
    AnimationBarMotion m = parked();
    std::vector<std::pair<int, int>> seen;
    for (int i = 0; i < 12; ++i) {
        m.tick(3, 1000, false, Track);
        seen.emplace_back(m.barLeft(B::Left1), m.barLeft(B::Right1));
    }
    const std::vector<std::pair<int, int>> expected = {
        {100, 3150}, {1100, 3150}, {2100, 3150}, {3100, 3150}, {4100, 3150},   // left bar out
        {4100, 2150}, {4100, 1150}, {4100, 150}, {4100, -850}, {4100, -1850},  // right bar out
        {-900, 3150},                                                          // both parked
        {100, 3150},                                                           // and again
    };
    EXPECT_EQ(seen, expected);
}

TEST(AnimationBarMotion, StyleFourCrossesAndColorBarsMovesTheSecondPair)
{
    AnimationBarMotion m = parked();
    m.tick(4, 150, true, Track);
    EXPECT_EQ(m.barLeft(B::Left2), -750);
    EXPECT_EQ(m.barLeft(B::Right2), 3000);
    EXPECT_EQ(m.barLeft(B::Left1), -900) << "first pair stays parked";
    EXPECT_EQ(m.barLeft(B::Right1), 3150);
}

TEST(AnimationBarMotion, PulseGrowsShrinksAndTurns)
{
    AnimationBarMotion m;
    m.reset(1000);
    m.startPulse();
    std::vector<int> widths;
    std::vector<bool> yields;
    for (int i = 0; i < 16; ++i) {
        yields.push_back(m.tick(5, 150, false, 1000));
        widths.push_back(m.pulseWidth());
        EXPECT_DOUBLE_EQ(m.pulseLeft(), 500.0 - m.pulseWidth() / 2.0) << "stays centred";
    }
    const std::vector<int> expected = {150, 300, 450, 600, 750, 900, 1050,
                                       900, 750, 600, 450, 300, 150, 0,
                                       0, 150};
    EXPECT_EQ(widths, expected);
    EXPECT_FALSE(yields[14]) << "the turn does not yield";
    EXPECT_TRUE(yields[13]);
}

TEST(AnimationBarMotion, UnknownStyleMovesNothing)
{
    AnimationBarMotion m = parked();
    EXPECT_FALSE(m.tick(6, 150, false, Track));
    EXPECT_FALSE(m.tick(-1, 150, false, Track));
    EXPECT_EQ(m.barLeft(B::Left1), -900);
    EXPECT_EQ(m.barLeft(B::Right1), Track + 150);
}

// A negative increment drives the bars away from their turning points for good; they must stop
// at the end of the number range, not wrap around.
TEST(AnimationBarMotion, NegativeIncrementStopsAtTheEndOfTheRange)
{
    AnimationBarMotion m = parked();
    for (int tick = 0; tick < 70000; ++tick) {
        m.tick(1, -32768, false, Track);
        m.tick(2, -32768, false, Track);
    }
    EXPECT_LT(m.barLeft(B::Left1), std::numeric_limits<int>::min() + 32768);
    EXPECT_GT(m.barLeft(B::Right1), std::numeric_limits<int>::max() - 32768);
}

#include "controls/dcButtonLayout.h"
#include "controls/dcButtonState.h"

#include <gtest/gtest.h>

using namespace dcButtonLayout;

namespace {

struct PlacementRow {
    const char *name;
    int alignment;
    QPoint picture;
    QPoint caption;
};

// 100 x 30 button, 16 x 16 picture, caption measured as 40 x 13.
const PlacementRow placementRows[] = {
    {"Centre", 0, {42, 7}, {30, 8}},
    {"Bottom", 1, {42, 10}, {30, 8}},
    {"BelowCaption", 2, {42, 13}, {30, 0}},
    {"Left", 3, {4, 7}, {30, 8}},
    {"LeftOfCaption", 4, {21, 7}, {39, 8}},
    {"Right", 5, {80, 7}, {30, 8}},
    {"RightOfCaption", 6, {63, 7}, {21, 8}},
    {"Top", 7, {42, 4}, {30, 8}},
    {"AboveCaption", 8, {42, 0}, {30, 16}},
    {"OutOfRange", 9, {0, 0}, {30, 8}},
};

class dcButtonPlacement : public ::testing::TestWithParam<PlacementRow> {};

}

TEST_P(dcButtonPlacement, PlacesPictureAndCaption)
{
    const PlacementRow &row = GetParam();
    const Placement p = place({100, 30}, {40, 13}, true, true, {16, 16}, row.alignment);
    EXPECT_EQ(p.picture.topLeft(), row.picture);
    EXPECT_EQ(p.picture.size(), QSize(16, 16));
    EXPECT_EQ(p.caption.topLeft(), row.caption);
    EXPECT_EQ(p.caption.size(), QSize(40, 13));
    EXPECT_EQ(p.content, QRect(4, 4, 92, 22));
}

INSTANTIATE_TEST_SUITE_P(Alignments, dcButtonPlacement, ::testing::ValuesIn(placementRows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(dcButtonLayout, NoGapBesideAPictureWithoutCaption)
{
    const Placement p = place({100, 30}, {0, 0}, false, true, {16, 16}, 4);
    EXPECT_EQ(p.picture.topLeft(), QPoint(42, 7));
    EXPECT_EQ(place({100, 30}, {0, 0}, false, false, {}, 4).caption, QRect(50, 15, 0, 0))
        << "an empty caption sits empty at the centre";
}

TEST(dcButtonLayout, CentresAnOddCaptionTruncating)
{
    const Placement p = place({101, 31}, {40, 14}, true, false, {}, 3);
    EXPECT_EQ(p.caption, QRect(30, 8, 40, 14));
    EXPECT_TRUE(p.picture.isEmpty());
}

TEST(dcButtonLayout, NegativeCentringTruncatesTowardsZero)
{
    // A caption wider than the button: (20 - 25) / 2 is -2, not -3.
    const Placement p = place({20, 20}, {25, 15}, true, false, {}, 0);
    EXPECT_EQ(p.caption.topLeft(), QPoint(-2, 2));
}

TEST(dcButtonLayout, ShapeSquaresTheSidesThatAreNotRounded)
{
    struct Row {
        int buttonShape;
        std::vector<QRect> squares;
    };
    // W / 2 = 50.5 for a 101-pixel button rounds to the even 50.
    const Row rows[] = {
        {0, {}},
        {1, {QRect(0, 0, 50, 31)}},
        {2, {QRect(50, 0, 52, 31)}},
        {3, {QRect(0, 0, 50, 31), QRect(50, 0, 52, 31)}},
    };
    for (const Row &row : rows) {
        const Shape s = shape({101, 30}, row.buttonShape);
        EXPECT_EQ(s.roundRect, QRect(0, 0, 102, 31));
        EXPECT_EQ(s.ellipse, 5);
        EXPECT_EQ(s.squares, row.squares) << "ButtonShape " << row.buttonShape;
    }
    EXPECT_EQ(shape({103, 30}, 1).squares.front().width(), 52) << "51.5 rounds to 52";
}

TEST(dcButtonLayout, GradientOfTheHundredByThirtyButton)
{
    const auto rows = faceGradientRows(0x404040, 0x808080, 30);
    ASSERT_EQ(rows.size(), 30u);
    EXPECT_EQ(rows[0], 0x404040u);
    EXPECT_EQ(rows[14], 0x606060u);
    EXPECT_EQ(rows[29], 0x808080u);
    // Row 7 is half way to the middle: 0x40 + 0.5 * 0x20.
    EXPECT_EQ(rows[7], 0x505050u);
    // Row 15: 0x60 + (1 / 15) * 0x20 = 98.13.
    EXPECT_EQ(rows[15], 0x626262u);
    for (std::size_t y = 1; y < rows.size(); ++y)
        EXPECT_GE(rows[y] & 0xFF, rows[y - 1] & 0xFF) << "row " << y;
}

TEST(dcButtonLayout, GradientOfATwoPixelButton)
{
    const auto rows = faceGradientRows(0x404040, 0x808080, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], 0x404040u);
    EXPECT_EQ(rows[1], 0x606060u) << "the middle row is taken as 1 and gets the mid colour";
}

TEST(dcButtonLayout, GradientSurvivesDegenerateHeightsAndPercentages)
{
    EXPECT_TRUE(faceGradientRows(0, 0xFFFFFF, 0).empty());
    EXPECT_TRUE(faceGradientRows(0, 0xFFFFFF, -5).empty());
    EXPECT_EQ(faceGradientRows(0, 0xFFFFFF, 1).size(), 1u);
    for (float percent : {-50.0f, 0.0f, 100.0f, 250.0f}) {
        const auto rows = faceGradientRows(0x000000, 0xFFFFFF, 20, percent);
        ASSERT_EQ(rows.size(), 20u);
        EXPECT_EQ(rows.front(), 0u) << percent;
        EXPECT_EQ(rows.back(), 0xFFFFFFu) << percent;
    }
}

TEST(dcButtonState, AccessKeys)
{
    struct Row {
        const char *caption;
        QChar key;
    };
    const Row rows[] = {
        {"Save and &Exit", QChar('e')},
        {"&Go", QChar('g')},
        {"Fish && Chips", QChar()},
        {"&&Go", QChar()},
        {"A&&B &C", QChar('c')},
        {"&A && B", QChar('a')},
        {"Trailing&", QChar()},
        {"&", QChar()},
        {"", QChar()},
        {"No key", QChar()},
    };
    for (const Row &row : rows)
        EXPECT_EQ(dcButtonState::accessKey(QString::fromUtf8(row.caption)), row.key) << row.caption;
}

TEST(dcButtonState, ToggleThatIsOnPaintsDownWhileEnabled)
{
    using namespace dcButtonState;
    EXPECT_EQ(paintedState(Normal, true, true, true), Down);
    EXPECT_EQ(paintedState(Hot, true, true, true), Down);
    EXPECT_EQ(paintedState(Disabled, true, true, false), Disabled);
    EXPECT_EQ(paintedState(Hot, false, true, true), Hot);
    EXPECT_EQ(paintedState(Normal, true, false, true), Normal);
}

TEST(dcButtonState, ContentOffsets)
{
    using namespace dcButtonState;
    EXPECT_EQ(contentOffset(Normal, false), 0);
    EXPECT_EQ(contentOffset(Hot, false), 0);
    EXPECT_EQ(contentOffset(Down, false), 1) << "a pressed push button";
    EXPECT_EQ(contentOffset(Down, true), 2) << "a toggle that is on";
    EXPECT_EQ(contentOffset(Hot, true), 1);
    EXPECT_EQ(contentOffset(Disabled, false), 0);
    EXPECT_EQ(contentOffset(Disabled, true), 1);
}

TEST(dcButtonState, StatePictureFallsBackToNormal)
{
    using namespace dcButtonState;
    EXPECT_EQ(statePicture(Hot, false, true, true, true), Picture::Hot);
    EXPECT_EQ(statePicture(Hot, false, true, false, true), Picture::Normal);
    EXPECT_EQ(statePicture(Down, false, true, true, true), Picture::Down);
    EXPECT_EQ(statePicture(Down, false, true, true, false), Picture::Hot);
    EXPECT_EQ(statePicture(Normal, true, true, false, true), Picture::Down);
    EXPECT_EQ(statePicture(Down, false, true, false, false), Picture::Normal);
    EXPECT_EQ(statePicture(Normal, false, false, true, true), Picture::None);
}

TEST(dcButtonState, OpacityIsClampedAndKeptAsAFraction)
{
    using namespace dcButtonState;
    EXPECT_FLOAT_EQ(opacityFraction(5), 0.1f);
    EXPECT_FLOAT_EQ(opacityFraction(250), 1.0f);
    EXPECT_FLOAT_EQ(opacityFraction(55), 0.55f);
    EXPECT_EQ(opacityPercent(opacityFraction(5)), 10);
    EXPECT_EQ(opacityPercent(opacityFraction(250)), 100);
    EXPECT_EQ(opacityPercent(opacityFraction(37)), 37);
    EXPECT_EQ(standardPictureSide(2), 24);
    EXPECT_EQ(standardPictureSide(5), 0);
}

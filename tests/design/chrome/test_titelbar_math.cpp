#include "chrome/TitelBarBackground.h"
#include "chrome/TitelBarColors.h"
#include "chrome/TitelBarLayout.h"
#include "chrome/TitelBarSpin.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace titelbar;

namespace {

ButtonRow twentyPixelButtons(bool close, bool max, bool min, bool help)
{
    ButtonRow row;
    row.close = {0, 0, 20, 20, close};
    row.maximize = {0, 0, 20, 20, max};
    row.minimize = {0, 0, 20, 20, min};
    row.help = {0, 0, 20, 20, help};
    return row;
}

bool hasLine(const BackgroundPlan &plan, const Line &l)
{
    return std::any_of(plan.lines.begin(), plan.lines.end(), [&](const Line &m) {
        return m.x1 == l.x1 && m.y1 == l.y1 && m.x2 == l.x2 && m.y2 == l.y2 && m.color == l.color;
    });
}

}

TEST(TitelBarRamp, ChannelsRoundHalfToEvenPerRow)
{
    const Ramp ramp(0xFFFFFF, 0x000000, 32);
    EXPECT_EQ(ramp.at(0), 0xFFFFFFu);
    EXPECT_EQ(ramp.at(1) & 255, 247u); // nearest(255 - 7.96875)
    EXPECT_EQ(ramp.at(31) & 255, 8u);  // one step short of the end on the last visible row
    EXPECT_EQ(ramp.at(32), 0u);
    EXPECT_EQ(Ramp(0x000000, 0x000000, 1).at(5), 0u);
}

TEST(TitelBarShade, LowersByExactlyTwentyFivePointFiveWithHalvesToEven)
{
    struct Case {
        std::uint32_t color;
        float f;
        std::uint32_t shaded;
    };
    const Case cases[] = {
        {ColorMath::rgb(101, 100, 26), -0.1f, ColorMath::rgb(76, 74, 0)}, // 75.5 -> 76, 74.5 -> 74, 0.5 -> 0
        {ColorMath::rgb(26, 76, 128), -0.1f, ColorMath::rgb(0, 50, 102)},  // the mid colour of &HFF9933 to 0
        {ColorMath::rgb(20, 0, 255), -0.1f, ColorMath::rgb(0, 0, 230)},    // clamped at 0
        {ColorMath::rgb(250, 0, 0), 0.1f, ColorMath::rgb(255, 26, 26)},    // clamped at 255; 25.5 -> 26
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShadeColor(c.color, c.f), c.shaded) << std::hex << c.color;
}

TEST(TitelBarRows, HalfHeightForStyle14AndTwentyFiveForAnEmptyBar)
{
    EXPECT_EQ(RowCount(13, 32), 32);
    EXPECT_EQ(RowCount(14, 32), 16);
    EXPECT_EQ(RowCount(14, 1), 25); // nearest(0.5) is 0
    EXPECT_EQ(RowCount(0, 0), 25);
}

TEST(TitelBarLayout, FourButtonsFromTheRightInStyle13)
{
    ButtonRow row = twentyPixelButtons(true, true, true, true);
    LayoutButtons(row, 13, 600, 32);
    EXPECT_EQ(QPoint(row.close.left, row.close.top), QPoint(557, 9));
    EXPECT_EQ(QPoint(row.maximize.left, row.maximize.top), QPoint(536, 9));
    EXPECT_EQ(QPoint(row.minimize.left, row.minimize.top), QPoint(515, 9));
    EXPECT_EQ(QPoint(row.help.left, row.help.top), QPoint(494, 9));
}

TEST(TitelBarLayout, HiddenCloseIsPlacedButLeavesItsPlace)
{
    ButtonRow row = twentyPixelButtons(false, true, false, false);
    row.help.left = 77;
    LayoutButtons(row, 13, 600, 32);
    EXPECT_EQ(row.close.left, 557);
    EXPECT_EQ(row.maximize.left, 556);
    EXPECT_EQ(row.help.left, 77); // not shown: keeps its last position
}

TEST(TitelBarLayout, GapAndOffsetByStyle)
{
    struct Case {
        int style;
        int rightMargin;
        int top;
    };
    for (const Case c : {Case{14, 9, 8}, Case{0, 3, 7}, Case{5, 3, 7}, Case{13, 23, 9}}) {
        ButtonRow row = twentyPixelButtons(true, false, false, false);
        LayoutButtons(row, c.style, 600, 32);
        EXPECT_EQ(600 - (row.close.left + row.close.width), c.rightMargin) << "style " << c.style;
        EXPECT_EQ(row.close.top, c.top) << "style " << c.style;
    }
}

TEST(TitelBarLayout, WidthBeyondSixteenBitsSkipsTheAssignment)
{
    ButtonRow row = twentyPixelButtons(true, false, false, false);
    LayoutButtons(row, 0, 40000, 32);
    EXPECT_EQ(row.close.left, -23); // x kept its initial 0
}

TEST(TitelBarCaption, PlacementModes)
{
    CaptionInput in;
    in.scaleWidth = 600;
    in.scaleHeight = 32;
    in.textWidth = 100;
    in.textHeight = 16;
    EXPECT_EQ(CaptionPosition(in), QPoint(6, 7));
    in.hasPicture = true;
    in.holderWidth = 24;
    EXPECT_EQ(CaptionPosition(in).x(), 36);
    in.borderNormal = 2;
    in.posX = 1;
    in.posY = 1;
    EXPECT_EQ(CaptionPosition(in), QPoint(3, 0));
    in.posX = 2;
    in.posY = 2;
    EXPECT_EQ(CaptionPosition(in), QPoint(249, 6));
    in.posX = 3;
    in.posY = 3;
    EXPECT_EQ(CaptionPosition(in), QPoint(497, 13));
    in.posX = 7;
    in.posY = -1;
    EXPECT_EQ(CaptionPosition(in), QPoint(36, 0));
}

TEST(TitelBarIcon, CentredModesWriteBack)
{
    int x = 6, y = 8;
    PlaceIcon(2, 600, 32, 24, 24, x, y);
    EXPECT_EQ(QPoint(x, y), QPoint(6, 4));
    PlaceIcon(1, 601, 32, 24, 24, x, y);
    EXPECT_EQ(x, 288); // nearest(288.5)
    x = 1;
    y = 2;
    PlaceIcon(0, 600, 32, 24, 24, x, y);
    EXPECT_EQ(QPoint(x, y), QPoint(1, 2));
}

TEST(TitelBarStyle13, OnlyCloseShownCutsThirtyEightLeftOfIt)
{
    BackgroundInput in;
    in.width = 600;
    in.height = 32;
    in.cover = 116;
    in.c1 = 0xFF9933;
    in.c3 = 0xC0C0C0;
    in.c4 = 0xC0C0C0;
    in.buttons.close = {557, 9, 20, 20, true};
    const BackgroundPlan plan = PlanBackground(in);
    const int cut = 557 - 38;
    EXPECT_TRUE(hasLine(plan, {0, 0, cut, 0, 0xFF9933}));
    EXPECT_TRUE(hasLine(plan, {cut + 5, 5, 600 - 16 + 5, 5, 0xC0C0C0}));
    // No tab on rows 0..4.
    EXPECT_FALSE(std::any_of(plan.lines.begin(), plan.lines.end(),
                             [](const Line &l) { return l.y1 < 5 && l.x1 > 0; }));
}

TEST(TitelBarStyle13, NoButtonCutsAtTheCoverAndDotsFallLeftOfTheBar)
{
    BackgroundInput in;
    in.width = 600;
    in.height = 32;
    in.cover = 116;
    in.buttons.close = {557, 9, 20, 20, false};
    const BackgroundPlan plan = PlanBackground(in);
    EXPECT_EQ(plan.lines.front().x2, 116);
    int leftOfBar = 0;
    for (const Pixel &p : plan.pixels)
        leftOfBar += p.x < 0;
    EXPECT_EQ(leftOfBar, 20); // the whole left group: 4+3+2+1 dots, two pixels each
}

TEST(TitelBarStyle13, DotStepFollowsTheScreen)
{
    BackgroundInput in;
    in.width = 600;
    in.height = 32;
    in.dotStep = 60 / 12; // 120 dpi
    in.buttons.close = {557, 9, 20, 20, true};
    const BackgroundPlan plan = PlanBackground(in);
    // Right group, last row: four grey dots 5 pixels apart starting 3 right of the close button.
    std::vector<int> xs;
    for (const Pixel &p : plan.pixels)
        if (p.color == 0x5A5A5A && p.y == 9 + 3 + 3 * 4 && p.x > 577)
            xs.push_back(p.x);
    EXPECT_EQ(xs, (std::vector<int>{580, 585, 590, 595}));
}

TEST(TitelBarStyle0, IgnoresTheRightBandAndTheButtons)
{
    BackgroundInput in;
    in.style = 0;
    in.width = 100;
    in.height = 10;
    in.c1 = 0x0000FF;
    in.c2 = 0x0000FF;
    in.c3 = 0x00FF00;
    in.c4 = 0x00FF00;
    in.buttons.close = {50, 0, 20, 20, true};
    const BackgroundPlan plan = PlanBackground(in);
    EXPECT_EQ(plan.lines.size(), 11u);
    EXPECT_TRUE(plan.pixels.empty());
    for (const Line &l : plan.lines)
        EXPECT_EQ(l.color, 0x0000FFu);
}

TEST(TitelBarStyles, UnknownStylePaintsNothing)
{
    BackgroundInput in;
    in.style = 15;
    in.width = 100;
    in.height = 32;
    const BackgroundPlan plan = PlanBackground(in);
    EXPECT_TRUE(plan.lines.empty());
    EXPECT_TRUE(plan.pixels.empty());
}

TEST(TitelBarSpin, PointsAtNamedAngles)
{
    struct Case {
        const char *tagBefore;
        const char *tagAfter;
        QPoint p0, p1, p2;
    };
    const Case cases[] = {
        {"60", "80", {8, 0}, {12, 0}, {8, 20}},
        {"160", "180", {20, 0}, {0, 0}, {20, 20}},
        {"70", "90", {10, 0}, {10, 0}, {10, 20}},
        {"", "20", {1, 0}, {19, 0}, {1, 20}},
    };
    for (const Case &c : cases) {
        const SpinStep s = SpinTick(QString::fromLatin1(c.tagBefore), 20, 20);
        EXPECT_EQ(s.tag, QString::fromLatin1(c.tagAfter)) << c.tagBefore;
        EXPECT_EQ(s.points[0], c.p0) << c.tagBefore;
        EXPECT_EQ(s.points[1], c.p1) << c.tagBefore;
        EXPECT_EQ(s.points[2], c.p2) << c.tagBefore;
        EXPECT_FALSE(s.finished);
    }
}

TEST(TitelBarSpin, EighteenTicksMakeOneTurn)
{
    QString tag = QStringLiteral("0");
    int ticks = 0;
    SpinStep s;
    do {
        s = SpinTick(tag, 20, 20);
        tag = s.tag;
        ++ticks;
    } while (!s.finished && ticks < 100);
    EXPECT_EQ(ticks, 18);
    EXPECT_EQ(s.tag, QStringLiteral("0"));
    EXPECT_EQ(s.points[0], QPoint(0, 0)); // whole again
    EXPECT_EQ(s.points[1], QPoint(20, 0));
}

TEST(TitelBarSpin, TagThatIsNoNumberCountsAsZero)
{
    EXPECT_EQ(SpinTick(QStringLiteral("abc"), 20, 20).tag, QStringLiteral("20"));
    EXPECT_EQ(SpinTick(QStringLiteral("40x"), 20, 20).tag, QStringLiteral("60"));
    const SpinStep huge = SpinTick(QStringLiteral("99999999"), 20, 20);
    EXPECT_TRUE(huge.finished);
}

// The curved styles split each row where nearest(tan(-1 + 2k/N) * N / 1.3) puts it, away from the
// cover; rows a quarter of the bar apart tell the curve from a staircase.
TEST(TitelBarCurvedStyles, SplitFollowsTheTangentRowByRow)
{
    struct Row {
        int y;
        int split;
    };
    // 600 x 32, cover 100: the boundary bends around x = 500 by up to 38 pixels.
    const Row rows[] = {{0, 500 - 38}, {8, 500 - 13}, {16, 500}, {24, 500 + 13}};
    for (int style = 9; style <= 12; ++style) {
        BackgroundInput in;
        in.style = style;
        in.width = 600;
        in.height = 32;
        in.cover = 100;
        in.c1 = 0xFF0000;
        in.c2 = 0x800000;
        in.c3 = 0x00A0FF;
        in.c4 = 0x0050A0;
        const BackgroundPlan plan = PlanBackground(in);
        const Ramp left(in.c1, in.c2, 32);
        const Ramp right(in.c3, in.c4, 32);
        for (const Row &r : rows) {
            EXPECT_TRUE(hasLine(plan, {0, r.y, r.split, r.y, left.at(r.y)})) << "style " << style << " row " << r.y;
            EXPECT_TRUE(hasLine(plan, {r.split, r.y, 600, r.y, right.at(r.y)})) << "style " << style << " row " << r.y;
        }
    }
}

#include "runtime/App.h"
#include "runtime/MsgBox.h"
#include "runtime/Screen.h"
#include "runtime/StdFont.h"
#include "runtime/StdPicture.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace runtime;

namespace {

TEST(Screen, TwipsPerPixelFollowTheScreensPixelsPerInch)
{
    Screen::setLogicalDpi(96);
    EXPECT_DOUBLE_EQ(Screen::TwipsPerPixelX(), 15);
    Screen::setLogicalDpi(120);
    EXPECT_DOUBLE_EQ(Screen::TwipsPerPixelY(), 12);
    Screen::setLogicalDpi(192);
    EXPECT_DOUBLE_EQ(Screen::TwipsPerPixelX(), 7.5);
    Screen::setLogicalDpi(0); // a screen that reports nothing counts as 96
    EXPECT_DOUBLE_EQ(Screen::TwipsPerPixelX(), 15);
    Screen::setLogicalDpi(std::nullopt);
    EXPECT_GT(Screen::LogicalDpiX(), 0);
}

TEST(Screen, ScaleConvertsBetweenUnits)
{
    Screen::setLogicalDpi(96);
    EXPECT_DOUBLE_EQ(ScaleX(32, vbPixels, vbTwips), 480);
    EXPECT_DOUBLE_EQ(ScaleY(480, vbTwips, vbPixels), 32);
    EXPECT_NEAR(ScaleX(847, vbHimetric, vbPixels), 32.01, 0.01);
    EXPECT_DOUBLE_EQ(ScaleX(1, vbInches, vbPoints), 72);
    Screen::setLogicalDpi(std::nullopt);
}

TEST(Screen, ToPixelsRoundsAndStaysWithinAWidgetsExtent)
{
    const struct {
        double value;
        double unitsPerPixel;
        int pixels;
    } cases[] = {
        {11250, 15, 750},      {7, 15, 0},        {8, 15, 1},
        {-8, 15, -1},          {22.5, 15, 2},     {1e12, 15, QWIDGETSIZE_MAX},
        {-1e300, 15, -QWIDGETSIZE_MAX},           {std::nan(""), 15, 0},
        {1, 0, QWIDGETSIZE_MAX}, // a unit of no size: as far as a widget goes, not a wrapped value
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToPixels(c.value, c.unitsPerPixel), c.pixels) << c.value << " / " << c.unitsPerPixel;
}

TEST(Twips, EachRoundingAtHalvesAndBelowZero)
{
    const struct {
        const char *name;
        double value;
        Rounding rounding;
        int whole;
    } cases[] = {
        {"NearestHalfUp", 2.5, Rounding::Nearest, 3},
        {"NearestHalfBelowZero", -2.5, Rounding::Nearest, -3},
        {"NearestBelowHalf", 2.4999, Rounding::Nearest, 2},
        {"HalfEvenDown", 2.5, Rounding::HalfEven, 2},
        {"HalfEvenUp", 3.5, Rounding::HalfEven, 4},
        {"HalfEvenBelowZero", -2.5, Rounding::HalfEven, -2},
        {"HalfEvenPastHalf", 2.5001, Rounding::HalfEven, 3},
        {"DownDropsThePart", 2.9, Rounding::Down, 2},
        {"DownBelowZeroTowardZero", -2.9, Rounding::Down, -2},
        {"UpCountsThePart", 2.1, Rounding::Up, 3},
        {"UpBelowZeroTowardZero", -2.9, Rounding::Up, -2},
        {"UpIgnoresAHair", 2.0000001, Rounding::Up, 2},
        {"UpCountsMoreThanAHair", 2.00001, Rounding::Up, 3},
        {"NoNumber", std::nan(""), Rounding::Nearest, 0},
        {"Saturates", 1e300, Rounding::HalfEven, std::numeric_limits<int>::max()},
        {"SaturatesBelowZero", -1e300, Rounding::Down, std::numeric_limits<int>::min()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Round(c.value, c.rounding), c.whole) << c.name;
}

// 15 twips a pixel across, 12 down: a conversion that takes one axis's scale for the other, or
// rounds a half the wrong way, lands on another pixel.
TEST(Twips, PixelsGoByTheirAxisAndRounding)
{
    Screen::setLogicalDpi(96, 120);
    const struct {
        const char *name;
        double twips;
        Axis axis;
        Rounding rounding;
        int pixels;
    } cases[] = {
        {"Across", 480, Axis::Horizontal, Rounding::Nearest, 32},
        {"Down", 480, Axis::Vertical, Rounding::Nearest, 40},
        {"HalfAcrossNearest", 37.5, Axis::Horizontal, Rounding::Nearest, 3},
        {"HalfAcrossHalfEven", 37.5, Axis::Horizontal, Rounding::HalfEven, 2},
        {"HalfAcrossDown", 37.5, Axis::Horizontal, Rounding::Down, 2},
        {"HalfAcrossUp", 37.5, Axis::Horizontal, Rounding::Up, 3},
        {"HalfDownNearest", 30, Axis::Vertical, Rounding::Nearest, 3},
        {"HalfDownHalfEven", 30, Axis::Vertical, Rounding::HalfEven, 2},
        {"HalfBelowZeroNearest", -37.5, Axis::Horizontal, Rounding::Nearest, -3},
        {"HalfBelowZeroHalfEven", -37.5, Axis::Horizontal, Rounding::HalfEven, -2},
        {"PartBelowZeroDown", -20, Axis::Vertical, Rounding::Down, -1},
        {"PartBelowZeroUp", -20, Axis::Vertical, Rounding::Up, -1},
        {"BeyondAWidget", 1e12, Axis::Horizontal, Rounding::Up, QWIDGETSIZE_MAX},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToPixels(c.twips, c.axis, c.rounding), c.pixels) << c.name;
    EXPECT_DOUBLE_EQ(ToTwips(10, Axis::Horizontal), 150);
    EXPECT_DOUBLE_EQ(ToTwips(10, Axis::Vertical), 120);
    EXPECT_DOUBLE_EQ(ToPixelsUnrounded(30, Axis::Vertical), 2.5);
    Screen::setLogicalDpi(std::nullopt);
}

TEST(Twips, WholePixelsBackFromTwipsRoundedUpAreTheSamePixels)
{
    // 9.6 twips a pixel: 7 pixels come back from twips as a hair above 7.
    Screen::setLogicalDpi(150);
    const double twips = ToTwips(7, Axis::Horizontal);
    ASSERT_GT(twips / TwipsPerPixel(Axis::Horizontal), 7.0);
    EXPECT_EQ(ToPixels(twips, Axis::Horizontal, Rounding::Up), 7);
    Screen::setLogicalDpi(std::nullopt);
}

TEST(StdPicture, SizesInHimetricAtTheScreensResolution)
{
    Screen::setLogicalDpi(96);
    const StdPicture icon = StdPicture::fromImage(QImage(32, 24, QImage::Format_ARGB32), StdPicture::vbPicTypeIcon);
    EXPECT_EQ(icon.Width(), 847);
    EXPECT_EQ(icon.Height(), 635);
    EXPECT_EQ(HimetricToPixels(icon.Width(), 96), 32);
    EXPECT_TRUE(StdPicture::fromImage(QImage()).isNothing());
    EXPECT_TRUE(LoadPicture(QStringLiteral("/no/such/file.bmp")).isNothing());
    Screen::setLogicalDpi(std::nullopt);
}

TEST(StdFont, DesignFacesMapOntoShippedFonts)
{
    EXPECT_EQ(StdFont::substituteFace(QStringLiteral("Verdana")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(StdFont::substituteFace(QStringLiteral("segoe ui")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(StdFont::substituteFace(QStringLiteral("DejaVu Serif")), QStringLiteral("DejaVu Serif"));
    StdFont font(QStringLiteral("Verdana"), 9.75, true);
    const QFont qfont = font.toQFont();
    EXPECT_EQ(qfont.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_DOUBLE_EQ(qfont.pointSizeF(), 9.75);
    EXPECT_TRUE(qfont.bold());
}

TEST(App, PathIsTheExecutablesFolderUnlessATestMovesIt)
{
    EXPECT_EQ(App::Path(), QCoreApplication::applicationDirPath());
    App::setPath(QStringLiteral("/tmp/program/"));
    EXPECT_EQ(App::Path(), QStringLiteral("/tmp/program"));
    App::setPath(QString());
    EXPECT_EQ(App::Path(), QCoreApplication::applicationDirPath());
}

TEST(App, VersionAndTitle)
{
    App::setVersion(1, 2, 3);
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(App::Major()).arg(App::Minor()).arg(App::Revision()), QStringLiteral("1.2.3"));
    EXPECT_EQ(App::Title(), QStringLiteral("Kestrova"));
}

TEST(MsgBox, RecorderAnswersAndRestoresThePreviousHook)
{
    int outerCalls = 0;
    SetMsgBoxHook([&](const MsgBoxCall &) {
        ++outerCalls;
        return int(vbNo);
    });
    {
        MsgBoxRecorder recorder(vbYes);
        EXPECT_EQ(MsgBox(QStringLiteral("Download the database?"), vbYesNo | vbQuestion), vbYes);
        ASSERT_EQ(recorder.calls.size(), 1);
        EXPECT_EQ(recorder.calls[0].prompt, QStringLiteral("Download the database?"));
        EXPECT_EQ(recorder.calls[0].buttons, vbYesNo | vbQuestion);
        EXPECT_EQ(recorder.calls[0].title, App::Title());
    }
    EXPECT_EQ(MsgBox(QStringLiteral("x"), vbYesNo, QStringLiteral("Updates")), vbNo);
    EXPECT_EQ(outerCalls, 1);
    SetMsgBoxHook({});
}

}

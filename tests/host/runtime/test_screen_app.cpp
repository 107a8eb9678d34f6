#include "runtime/App.h"
#include "runtime/MsgBox.h"
#include "runtime/Screen.h"
#include "runtime/StdFont.h"
#include "runtime/StdPicture.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

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

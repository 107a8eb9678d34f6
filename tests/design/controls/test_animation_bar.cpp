#include "controls/AnimationBar.h"

#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/Screen.h"
#include "support/TestOutput.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

using B = AnimationBarMotion;

class AnimationBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        runtime::Screen::setLogicalDpi(96);
        form = std::make_unique<runtime::Form>(QStringLiteral("FrmHost"));
        form->setForeColor(0x0000C0);
        form->setBackColor(0xF0E0D0);
        form->resize(300, 100);
        bar = new AnimationBar(form.get(), QStringLiteral("DB1"));
        bar->Move(150, 150, 3000, 300);   // 200 x 20 pixels
        bar->InitNew();
        runtime::Load(form.get());
    }
    void TearDown() override { runtime::Screen::setLogicalDpi(std::nullopt); }

    gdi::ColorRef at(int x, int y) const { return gdi::fromPixel(bar->image().pixel(x, y)); }

    std::unique_ptr<runtime::Form> form;
    AnimationBar *bar = nullptr;
};

}

TEST_F(AnimationBarTest, BeginDisplayDefaultsFromTheParentWindow)
{
    bar->BeginDisplay();
    EXPECT_EQ(bar->LeftColorBarColor(), QString::number(0x0000C0));
    EXPECT_EQ(bar->RightColorBarColor(), QString::number(0x0000C0));
    EXPECT_EQ(bar->PulseColor(), QString::number(0x0000C0));
    EXPECT_EQ(bar->BackGroundColor(), QString::number(0xF0E0D0));
    EXPECT_EQ(bar->Timing(), 75);
    EXPECT_EQ(bar->Increment(), 150);
    EXPECT_EQ(bar->Style(), 1) << "style 0 runs as style 1 and stays 1";
    EXPECT_EQ(bar->runningStyle(), 1);
    EXPECT_EQ(at(100, 10), 0xF0E0D0u) << "the track in the parent's back colour";
    bar->EndDisplay();
    EXPECT_FALSE(bar->runningStyle());
}

TEST_F(AnimationBarTest, TheTimerMovesTheBarsUntilEndDisplay)
{
    bar->setStyle(4);
    bar->setTiming(10);
    bar->BeginDisplay();
    const int startLeft = bar->motion().barLeft(B::Left1);
    QTest::qWait(120);
    EXPECT_GT(bar->motion().barLeft(B::Left1), startLeft);
    EXPECT_LT(bar->motion().barLeft(B::Right1), 3000 + 150);
    testsupport::writeTestPng("AnimationBar", "style4_running", bar->image());

    bar->EndDisplay();
    EXPECT_EQ(bar->motion().barLeft(B::Left1), -900);
    EXPECT_EQ(bar->motion().barLeft(B::Right1), 3150);
    const int parked = bar->motion().barLeft(B::Left1);
    QTest::qWait(40);
    EXPECT_EQ(bar->motion().barLeft(B::Left1), parked) << "no timer after EndDisplay";
}

TEST_F(AnimationBarTest, UnknownStyleShowsOnlyTheTrack)
{
    bar->setStyle(6);
    bar->setBackGroundColor(QString::number(0x203040));
    bar->BeginDisplay();
    EXPECT_FALSE(bar->runningStyle());
    for (int x = 0; x < 200; x += 20)
        EXPECT_EQ(at(x, 10), 0x203040u);
}

TEST_F(AnimationBarTest, ColourSetsByNumberAreKeptAsText)
{
    EXPECT_TRUE(runtime::setPropertyByName(bar, "BackGroundColor", 0x112233));
    EXPECT_EQ(bar->BackGroundColor(), QString::number(0x112233));
    EXPECT_TRUE(runtime::setPropertyByName(bar, "LeftColorBarColor", int(0x80000008)));
    EXPECT_EQ(AnimationBar::colorFromText(bar->LeftColorBarColor()), 0x80000008u);
    EXPECT_EQ(AnimationBar::colorFromText(QStringLiteral("red")), std::nullopt);
    EXPECT_EQ(at(100, 10), 0xE0E0E0u) << "a set alone applies nothing";
    bar->ApplyBackGroundColor();
    EXPECT_EQ(at(100, 10), 0x112233u);
    EXPECT_EQ(runtime::getPropertyByName(bar, "hwnd").value<QWidget *>(), bar);
    EXPECT_EQ(runtime::getPropertyByName(bar, "HasDC").toBool(), true);
}

TEST_F(AnimationBarTest, TrackRecolouredDuringARunWhileTheBarsKeepTheirGradient)
{
    bar->setStyle(1);
    bar->setTiming(1000);
    bar->setBackGroundColor(QString::number(0x000000));
    bar->setLeftColorBarColor(QString::number(0xFFFFFF));
    bar->BeginDisplay();
    const AnimationBarPaint::BarShade before = bar->frame().bars[B::Left1];
    EXPECT_EQ(before.left, 0u);
    EXPECT_EQ(before.right, 0xFFFFFFu);

    bar->setBackGroundColor(QString::number(0x0000FF));
    bar->setLeftColorBarColor(QString::number(0x00FF00));
    bar->ApplyBackGroundColor();
    EXPECT_EQ(bar->frame().track, 0x0000FFu);
    EXPECT_EQ(bar->frame().bars[B::Left1].left, 0u) << "the gradient stays drawn towards the old track colour";
    EXPECT_EQ(bar->frame().bars[B::Left1].right, 0xFFFFFFu) << "new bar colours wait for BeginDisplay";
}

TEST_F(AnimationBarTest, ResizeDuringARunKeepsTheLimits)
{
    bar->setStyle(4);
    bar->setTiming(1000);
    bar->BeginDisplay();
    bar->setWidth(6000);
    bar->setHeight(450);
    EXPECT_EQ(bar->frame().heightTwips, 450);
    EXPECT_EQ(bar->motion().end(false), 3150) << "limits are taken at the next reset";
    bar->BeginDisplay();
    EXPECT_EQ(bar->motion().end(false), 6150);
}

TEST_F(AnimationBarTest, PulseFramesStayCentred)
{
    bar->setStyle(5);
    bar->setTiming(1000);
    bar->setPulseColor(QString::number(0x0000FF));
    bar->BeginDisplay();
    EXPECT_TRUE(bar->motion().pulseVisible());
    EXPECT_EQ(bar->motion().pulseWidth(), 0);
}

// Frames of each style drawn without a widget, as a reader would see them.
TEST(AnimationBarPaint, FramesOfEachStyle)
{
    constexpr int Track = 3000;
    AnimationBarPaint::Frame frame;
    frame.track = 0xE0E0E0;
    frame.heightTwips = 300;
    frame.pulse = 0x0000FF;
    const AnimationBarPaint::BarShade left{0xE0E0E0, 0x800000};
    const AnimationBarPaint::BarShade right{0x800000, 0xE0E0E0};
    frame.bars = {left, right, left, right};
    for (int style = 1; style <= 5; ++style) {
        AnimationBarMotion motion;
        motion.reset(Track);
        if (style == 5)
            motion.startPulse();
        for (int tick = 0; tick < 12; ++tick)
            motion.tick(style, 150, false, Track);
        QImage image(200, 20, QImage::Format_RGB32);
        gdi::Dc dc(&image);
        AnimationBarPaint::paint(dc, motion, frame, 15, 15);
        testsupport::writeTestPng("AnimationBar", QStringLiteral("style%1_tick12").arg(style), image);

        if (style == 1 || style == 3 || style == 4) {
            // The left bar's left edge is at -900 + 12 * 150 = 900 twips = 60 pixels, its gradient
            // from the track colour to its own over its 50 pixels (in style 4 the right bar,
            // coming the other way, covers it from 90 pixels on).
            EXPECT_EQ(gdi::fromPixel(image.pixel(60, 10)), 0xE0E0E0u) << "style " << style;
            EXPECT_LT(gdi::blue(gdi::fromPixel(image.pixel(89, 10))), gdi::blue(gdi::fromPixel(image.pixel(70, 10))))
                << "style " << style;
            EXPECT_EQ(gdi::fromPixel(image.pixel(20, 10)), 0xE0E0E0u) << "style " << style;
        }
        if (style == 5) {
            // Width 12 * 150 = 1800 twips = 120 pixels, centred: 40 to 160.
            EXPECT_EQ(gdi::fromPixel(image.pixel(40, 10)), 0x0000FFu);
            EXPECT_EQ(gdi::fromPixel(image.pixel(159, 10)), 0x0000FFu);
            EXPECT_EQ(gdi::fromPixel(image.pixel(39, 10)), 0xE0E0E0u);
            EXPECT_EQ(gdi::fromPixel(image.pixel(160, 10)), 0xE0E0E0u);
        }
    }
}

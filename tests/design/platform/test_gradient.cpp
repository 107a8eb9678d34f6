#include "platform/clsGradient.h"

#include "runtime/OleColor.h"
#include "runtime/PictureBox.h"

#include "support/TestOutput.h"

#include <gtest/gtest.h>

namespace {

constexpr quint32 Black = 0x000000;
constexpr quint32 Red = 0x0000FF;

QRgb pixelOf(quint32 color) { return gdi::toPixel(color); }

// A hidden picture box as the users draw on: target with hwnd and hdc.
class GradientTest : public ::testing::Test {
protected:
    runtime::PictureBox *box(int w, int h)
    {
        picture = std::make_unique<runtime::PictureBox>(nullptr, QStringLiteral("PicBlendTop"));
        picture->setVisible(false);
        picture->resize(w, h);
        picture->setBackColor(0x00FFFFFF);
        return picture.get();
    }
    std::unique_ptr<runtime::PictureBox> picture;
};

TEST(GradientProperties, DefaultsAndAngleReduction)
{
    clsGradient gradient;
    EXPECT_FLOAT_EQ(gradient.Angle(), 315.0f);
    EXPECT_EQ(gradient.Color1(), 0xFFFFD0u);
    EXPECT_EQ(gradient.Color2(), 0x400000u);
    const std::pair<float, float> cases[] = {{-45, 315}, {720.5f, 0.5f}, {360, 0}, {-360, 0}, {359.5f, 359.5f}, {-1e-6f, 0}};
    for (const auto &[set, read] : cases) {
        gradient.setAngle(set);
        EXPECT_FLOAT_EQ(gradient.Angle(), read) << "set " << set;
        EXPECT_LT(gradient.Angle(), 360.0f);
    }
}

TEST(GradientProperties, SystemColoursAreFrozenWhenSet)
{
    clsGradient gradient;
    gradient.setColor1(0x80000005);
    EXPECT_EQ(gradient.Color1(), runtime::GetSysColor(5));
    gradient.setColor2(0x80000018);
    EXPECT_EQ(gradient.Color2(), runtime::GetSysColor(24));
    gradient.setColor1(0x8000001E); // index 30 stays as it is
    EXPECT_EQ(gradient.Color1(), 0x8000001Eu);
    gradient.setColor2(0x00123456);
    EXPECT_EQ(gradient.Color2(), 0x00123456u);
}

TEST(BlendColors, FewerThanTwoStepsGiveTheTwoColours)
{
    for (int steps : {0, 1, 2}) {
        std::vector<quint32> colors;
        EXPECT_EQ(clsGradient::BlendColors(0x112233, 0x445566, steps, colors), 2);
        EXPECT_EQ(colors, (std::vector<quint32>{0x112233, 0x445566}));
    }
}

TEST(BlendColors, TheStepIsADistanceOverSteps)
{
    std::vector<quint32> colors;
    EXPECT_EQ(clsGradient::BlendColors(Black, Red, 3, colors), 3);
    EXPECT_EQ(colors, (std::vector<quint32>{Black, 85, Red})); // a third of the way, not half
    clsGradient::BlendColors(0x00000A, 0x0A0000, 4, colors);
    // 10 / 4 = 2.5 per step: 2.5 rounds to 2, 5 stays, the last step jumps to 10.
    EXPECT_EQ(colors, (std::vector<quint32>{0x00000A, 0x020008, 0x050005, 0x0A0000}));
    // The top byte of the end colours is kept; the middle entries are plain colours.
    clsGradient::BlendColors(0xFF000000, 0xFF000010, 3, colors);
    EXPECT_EQ(colors.front(), 0xFF000000u);
    EXPECT_EQ(colors[1], 0x000005u);
}

TEST_F(GradientTest, TooSmallOrNoSurfaceDrawsNothing)
{
    clsGradient gradient;
    for (const QSize size : {QSize(1, 10), QSize(10, 1), QSize(0, 0)}) {
        runtime::PictureBox *target = box(size.width(), size.height());
        EXPECT_FALSE(gradient.Draw(target));
        if (!size.isEmpty()) {
            EXPECT_EQ(target->image().pixel(0, 0), qRgb(255, 255, 255));
        }
    }
    QWidget plain;
    plain.resize(10, 10);
    EXPECT_FALSE(gradient.Draw(&plain));
    EXPECT_FALSE(gradient.Draw(nullptr));
}

TEST_F(GradientTest, Angle0On10x4IsTwelveVerticalLines)
{
    const std::vector<QPoint> points = clsGradient::SweepPoints(0, 10, 4);
    ASSERT_EQ(points.size(), 24u);
    for (size_t i = 0; i < points.size(); i += 2) {
        EXPECT_EQ(points[i].x(), int(i / 2));
        EXPECT_EQ(points[i + 1].x(), int(i / 2));
        EXPECT_EQ(points[i].y(), 10);
        EXPECT_EQ(points[i + 1].y(), -6);
    }

    clsGradient gradient;
    gradient.setAngle(0);
    gradient.setColor1(Black);
    gradient.setColor2(Red);
    runtime::PictureBox *target = box(10, 4);
    ASSERT_TRUE(gradient.Draw(target));
    std::vector<quint32> table;
    clsGradient::BlendColors(Black, Red, 12, table);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(target->image().pixel(x, y), pixelOf(table[size_t(x)])) << x << "," << y;
    EXPECT_EQ(target->image().pixel(0, 0), pixelOf(Black)); // Color1 at the left; Color2 falls at x = 11
    testsupport::writeTestPng(QStringLiteral("platform"), QStringLiteral("gradient_0_10x4"), target->image());
}

TEST_F(GradientTest, Angle90On4x10RunsFromBelowTheBottomToAboveTheTop)
{
    const std::vector<QPoint> points = clsGradient::SweepPoints(90, 4, 10);
    ASSERT_EQ(points.size(), 24u);
    EXPECT_EQ(points.front().y(), 10);
    EXPECT_EQ(points.back().y(), -1);

    clsGradient gradient;
    gradient.setAngle(90);
    gradient.setColor1(Black);
    gradient.setColor2(Red);
    runtime::PictureBox *target = box(4, 10);
    ASSERT_TRUE(gradient.Draw(target));
    std::vector<quint32> table;
    clsGradient::BlendColors(Black, Red, 12, table);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(target->image().pixel(x, y), pixelOf(table[size_t(10 - y)])) << x << "," << y;
}

TEST_F(GradientTest, Angle270RunsFromTheTopDown)
{
    const std::vector<QPoint> points = clsGradient::SweepPoints(270, 4, 10);
    EXPECT_EQ(points.front().y(), 0);
    EXPECT_EQ(points.back().y(), 11);

    clsGradient gradient;
    gradient.setAngle(270);
    gradient.setColor1(Black);
    gradient.setColor2(Red);
    runtime::PictureBox *target = box(4, 10);
    ASSERT_TRUE(gradient.Draw(target));
    std::vector<quint32> table;
    clsGradient::BlendColors(Black, Red, int(points.size() / 2), table);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(target->image().pixel(2, y), pixelOf(table[size_t(y)])) << y;
}

TEST_F(GradientTest, DefaultAngleRunsFromTopLeftToBottomRight)
{
    clsGradient gradient;
    gradient.setColor1(Black);
    gradient.setColor2(Red);
    runtime::PictureBox *target = box(40, 30);
    ASSERT_TRUE(gradient.Draw(target));
    const QImage &image = target->image();
    EXPECT_LT(qRed(image.pixel(0, 0)), 20);
    EXPECT_GT(qRed(image.pixel(39, 29)), 200);
    EXPECT_LT(qRed(image.pixel(10, 10)), qRed(image.pixel(20, 20)));
    // Perpendicular to the direction the colour does not change.
    EXPECT_NEAR(qRed(image.pixel(25, 5)), qRed(image.pixel(5, 25)), 12);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(qBlue(image.pixel(x, y)), 0) << "unpainted pixel at " << x << "," << y;
    testsupport::writeTestPng(QStringLiteral("platform"), QStringLiteral("gradient_315_40x30"), image);
}

}

#include "chrome/WindowDesign.h"

#include "runtime/Form.h"
#include "runtime/Screen.h"

#include <QWidget>

#include <ostream>

#include <gtest/gtest.h>

using WindowDesign::Axis;
using WindowDesign::Rounding;

namespace {

// A screen whose pixels are taller than wide: 15 twips a pixel across, 12 down. A conversion
// that takes one axis's scale for the other lands on the wrong pixel.
class TallPixels : public ::testing::Test {
protected:
    void SetUp() override { runtime::Screen::setLogicalDpi(96, 120); }
    void TearDown() override { runtime::Screen::setLogicalDpi(std::nullopt); }
};

struct LengthCase {
    const char *name;
    double twips;
    Axis axis;
    Rounding rounding;
    int pixels;
};

void PrintTo(const LengthCase &c, std::ostream *os) { *os << c.name; }

class TallPixelLengths : public TallPixels, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(TallPixelLengths, GoByTheScaleOfTheirAxis)
{
    const LengthCase &c = GetParam();
    EXPECT_EQ(WindowDesign::ToPixels(c.twips, c.axis, c.rounding), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    , TallPixelLengths,
    ::testing::Values(LengthCase{"Across", 480, Axis::Horizontal, Rounding::Nearest, 32},
                      LengthCase{"Down", 480, Axis::Vertical, Rounding::Nearest, 40},
                      // 10.5 pixels across, 39.5 down.
                      LengthCase{"HalfPixelAcrossRoundsUp", 157.5, Axis::Horizontal, Rounding::Nearest, 11},
                      LengthCase{"HalfPixelAcrossDropped", 157.5, Axis::Horizontal, Rounding::Down, 10},
                      LengthCase{"HalfPixelDownRoundsUp", 474, Axis::Vertical, Rounding::Nearest, 40},
                      LengthCase{"HalfPixelDownDropped", 474, Axis::Vertical, Rounding::Down, 39}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TallPixels, SizesPlacesAndPixelsBackToTwipsKeepTheirAxes)
{
    // 8250 twips down are 687.5 pixels.
    EXPECT_EQ(WindowDesign::ToPixels(WindowDesign::Size{11250, 8250}), QSize(750, 688));
    EXPECT_EQ(WindowDesign::ToPixels(WindowDesign::Size{11250, 8250}, Rounding::Down), QSize(750, 687));
    EXPECT_DOUBLE_EQ(WindowDesign::ToTwips(10, Axis::Horizontal), 150);
    EXPECT_DOUBLE_EQ(WindowDesign::ToTwips(10, Axis::Vertical), 120);

    QWidget container;
    auto *field = new QWidget(&container);
    WindowDesign::MoveWidget(field, {150, 120, 1500, 960});
    EXPECT_EQ(field->geometry(), QRect(10, 10, 100, 80));
}

class TallPixelFrame : public TallPixels {
protected:
    void SetUp() override
    {
        TallPixels::SetUp();
        form.resize(110, 90);
        form.setAutoRedraw(true);
        form.setBackColor(0x00FFFFFF);
        form.setForeColor(0x000000FF);
        form.setDrawWidth(1);
    }
    QRgb at(int x, int y) { return form.image().pixel(x, y); }
    runtime::Form form{QStringLiteral("FrmDesign")};
};

TEST_F(TallPixelFrame, SpansTheSurfaceByEachAxisScaleWithItsTopAboveIt)
{
    const QRgb pen = qRgb(255, 0, 0);
    const QRgb back = qRgb(255, 255, 255);
    // 1500 twips across are 100 pixels, 960 down are 80.
    WindowDesign::DrawFrame(form, 1500, 960, -50);
    EXPECT_EQ(at(0, 40), pen);
    EXPECT_EQ(at(99, 40), pen);
    EXPECT_EQ(at(50, 79), pen);
    EXPECT_EQ(at(50, 0), back); // the top edge lies above the surface
    EXPECT_EQ(at(50, 40), back); // no fill
    EXPECT_EQ(at(100, 40), back);
    EXPECT_EQ(at(50, 80), back);
}

TEST_F(TallPixelFrame, TakesTheRoundingItIsGiven)
{
    const QRgb pen = qRgb(255, 0, 0);
    // 1492.5 twips are 99.5 pixels: the rounded quotient makes it 100 (the right edge on
    // column 99), whole operands 1493 \ 15 = 99 (on column 98).
    WindowDesign::DrawFrame(form, 1492.5, 960, -50, FrameRect::Rounding::Quotient);
    EXPECT_EQ(at(99, 40), pen);
    EXPECT_NE(at(98, 40), pen);
    form.Cls();
    WindowDesign::DrawFrame(form, 1492.5, 960, -50);
    EXPECT_EQ(at(98, 40), pen);
    EXPECT_NE(at(99, 40), pen);
}

} // namespace

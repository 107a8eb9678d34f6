#include "controls/PanelFxPaint.h"

#include "gdi/SysColors.h"
#include "support/TestOutput.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

constexpr gdi::ColorRef Border = 0x400000;

gdi::ColorRef at(const QImage &image, int x, int y)
{
    return gdi::fromPixel(image.pixel(x, y));
}

struct Painted {
    QImage image;
    PanelFxPaint::Result result;
};

Painted paint(const PanelFxPaint::Look &look, int w = 200, int h = 100)
{
    Painted p{QImage(w, h, QImage::Format_RGB32), {}};
    p.image.fill(Qt::magenta);
    gdi::Dc dc(&p.image);
    p.result = PanelFxPaint::paint(dc, w, h, look);
    return p;
}

PanelFxPaint::Look plainLook()
{
    PanelFxPaint::Look look;
    look.titleCaption.clear();
    return look;
}

// The leftmost column of the band that shows the white caption (its green channel, which the
// band's colour lacks), or -1.
int captionLeft(const QImage &image, int bandHeight)
{
    for (int x = 1; x < image.width() - 2; ++x)
        for (int y = 1; y < bandHeight - 1; ++y)
            if (gdi::green(at(image, x, y)) > 160)
                return x;
    return -1;
}

}

TEST(PanelFxPaint, BandBodyAndBorders)
{
    const Painted p = paint(plainLook());
    testsupport::writeTestPng("PanelFx", "solid", p.image);
    const gdi::ColorRef band = gdi::getSysColor(gdi::COLOR_HIGHLIGHT);
    const gdi::ColorRef body = gdi::getSysColor(gdi::COLOR_WINDOW);
    EXPECT_EQ(at(p.image, 100, 10), band);
    EXPECT_EQ(at(p.image, 1, 10), band) << "the band fill covers the band frame's left line";
    EXPECT_EQ(at(p.image, 100, 50), body);
    for (const auto &[x, y] : {std::pair{100, 0}, {0, 50}, {198, 50}, {100, 98},   // outline
                               {199, 10}, {100, 19},                                  // band frame
                               {199, 50}, {100, 99}}) {                               // body frame
        EXPECT_EQ(at(p.image, x, y), Border) << x << "," << y;
    }
    EXPECT_EQ(at(p.image, 199, 0), 0u) << "the cleared surface is black where nothing is drawn";
    EXPECT_TRUE(p.result.windowRegion.contains(0, 0)) << "square corners at RoundEdge 0";
    EXPECT_TRUE(p.result.windowRegion.contains(198, 98));
    EXPECT_FALSE(p.result.iconDrawn);
}

TEST(PanelFxPaint, RoundEdgeShapesTheWindow)
{
    PanelFxPaint::Look look = plainLook();
    look.roundEdge = 16;
    const Painted p = paint(look);
    testsupport::writeTestPng("PanelFx", "round_edge_16", p.image);
    EXPECT_FALSE(p.result.windowRegion.contains(0, 0));
    EXPECT_FALSE(p.result.windowRegion.contains(199, 99));
    EXPECT_TRUE(p.result.windowRegion.contains(100, 50));
    EXPECT_TRUE(p.result.windowRegion.contains(0, 50));
}

TEST(PanelFxPaint, GradientBandAndBody)
{
    PanelFxPaint::Look look = plainLook();
    look.backGroundStyle = 1;
    const Painted vertical = paint(look);
    testsupport::writeTestPng("PanelFx", "gradient_vertical", vertical.image);
    EXPECT_EQ(at(vertical.image, 100, 1), 0xDE9A39u) << "start colour at the top";
    EXPECT_NE(at(vertical.image, 100, 18), 0xDE9A39u);
    EXPECT_EQ(at(vertical.image, 100, 20), 0xDE9A39u) << "the body starts again from its own start";

    look.gCTitleDir = 0;
    const Painted horizontal = paint(look);
    testsupport::writeTestPng("PanelFx", "gradient_band_horizontal", horizontal.image);
    EXPECT_EQ(at(horizontal.image, 1, 10), 0xDE9A39u) << "start colour at the left";
    EXPECT_EQ(at(horizontal.image, 150, 10), at(horizontal.image, 150, 2)) << "columns are flat";

    look.gCTitleStart = look.gCTitleEnd = 0x123456;
    const Painted flat = paint(look);
    for (int x = 1; x < 198; ++x)
        EXPECT_EQ(at(flat.image, x, 10), 0x123456u) << x;
}

TEST(PanelFxPaint, BitmapBandRepeatsAndNoBitmapFillsNothing)
{
    PanelFxPaint::Look look = plainLook();
    look.backGroundStyle = 2;
    QImage tile(4, 4, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 4; ++y)
            tile.setPixel(x, y, qRgb(x * 60, y * 60, 90));
    look.titleBitmap = runtime::StdPicture::fromImage(tile);
    const Painted p = paint(look);
    testsupport::writeTestPng("PanelFx", "bitmap_band", p.image);
    EXPECT_EQ(at(p.image, 9, 6), gdi::rgb(60, 120, 90));
    EXPECT_EQ(at(p.image, 13, 10), gdi::rgb(60, 120, 90));
    EXPECT_EQ(at(p.image, 100, 50), 0u) << "no body bitmap: the body stays as cleared";
}

TEST(PanelFxPaint, UntranslatableColourPaintsYellow)
{
    PanelFxPaint::Look look = plainLook();
    look.tileBackColor = 0x81000000;
    EXPECT_EQ(at(paint(look).image, 100, 10), 0x00FFFFu);
}

TEST(PanelFxPaint, CaptionBesideTheIconOrAtFour)
{
    PanelFxPaint::Look look;
    look.titleCaption = QStringLiteral("IIII");
    look.font = QFont(QStringLiteral("DejaVu Sans"));
    look.font.setPixelSize(12);
    look.tileBackColor = 0x000080;
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    look.titleIcon = runtime::StdPicture::fromImage(icon, runtime::StdPicture::vbPicTypeIcon);

    const Painted withIcon = paint(look);
    testsupport::writeTestPng("PanelFx", "caption_with_icon", withIcon.image);
    EXPECT_TRUE(withIcon.result.iconDrawn);
    // The 16-pixel icon stretched to the default 32 x 32 at (8, 6), reaching into the body.
    EXPECT_EQ(at(withIcon.image, 8, 6), 0x0000FFu);
    EXPECT_EQ(at(withIcon.image, 30, 37), 0x0000FFu);
    EXPECT_NE(at(withIcon.image, 7, 6), 0x0000FFu);
    EXPECT_NE(at(withIcon.image, 30, 38), 0x0000FFu);
    const int left = captionLeft(withIcon.image, 20);
    EXPECT_GE(left, 36);
    EXPECT_LE(left, 38);

    look.hideTitleIcon = true;
    const Painted hidden = paint(look);
    EXPECT_FALSE(hidden.result.iconDrawn);
    const int hiddenLeft = captionLeft(hidden.image, 20);
    EXPECT_GE(hiddenLeft, 4);
    EXPECT_LE(hiddenLeft, 6);

    look.hideTitleIcon = false;
    look.titleIcon = {};
    EXPECT_EQ(captionLeft(paint(look).image, 20), hiddenLeft) << "no icon: as hidden";

    look.titleAlignment = 2;
    const Painted right = paint(look);
    testsupport::writeTestPng("PanelFx", "caption_right", right.image);
    EXPECT_GT(captionLeft(right.image, 20), 150);
}

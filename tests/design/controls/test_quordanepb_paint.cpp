#include "controls/QuordanePBPaint.h"

#include "gdi/SysColors.h"
#include "os/VisualStyles.h"
#include "support/TestOutput.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

constexpr gdi::ColorRef Back = 0xE0E0E0;
constexpr gdi::ColorRef Bar = 0x800000;
constexpr gdi::ColorRef Host = 0x336699;
constexpr gdi::ColorRef Marker = 0x00FF00;   // what the buffer held before the paint

gdi::ColorRef at(const QImage &image, int x, int y)
{
    return gdi::fromPixel(image.pixel(x, y));
}

QuordanePBPaint::Look segmentedLook()
{
    QuordanePBPaint::Look look;
    look.blendToParent = false;
    look.segments = true;
    look.value = 50;
    return look;
}

struct Canvas {
    Canvas(int w, int h) : image(w, h, QImage::Format_RGB32), dc(&image) { image.fill(gdi::toPixel(Marker)); }
    QImage image;
    gdi::Dc dc;
};

QuordanePBPaint::Host host()
{
    QuordanePBPaint::Host h;
    h.backColor = Host;
    return h;
}

void paint(Canvas &canvas, const QuordanePBPaint::Look &look, const QuordanePBPaint::Holders &holders = {})
{
    QuordanePBPaint::paint(canvas.dc, canvas.image.width(), canvas.image.height(), look, holders, host());
}

// A picture of vertical stripes: column x has colour (x * 40, 0, 0).
gdi::Bitmap stripes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            image.setPixel(x, y, qRgb(x * 40, y * 40, 0));
    return gdi::Bitmap(image);
}

}

// 196 x 17, thin sunken frame: six 14-pixel chunks from x = 1, each followed by a 2-pixel gap.
TEST(QuordanePBPaint, HorizontalSegmentsWorkedExample)
{
    Canvas canvas(196, 17);
    QuordanePBPaint::Look look = segmentedLook();
    paint(canvas, look);
    testsupport::writeTestPng("QuordanePB", "horizontal_segments_50", canvas.image);

    const int y = 8;
    for (int x = 1; x < 97; ++x) {
        const bool gap = x >= 15 && (x - 15) % 16 < 2;
        EXPECT_EQ(at(canvas.image, x, y), gap ? Host : Bar) << "x " << x;
    }
    for (int x = 97; x < 195; ++x)
        EXPECT_EQ(at(canvas.image, x, y), Back) << "x " << x;
    // The sunken thin frame: shadow on the left and top, highlight on the right and bottom.
    EXPECT_EQ(at(canvas.image, 0, y), gdi::getSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(at(canvas.image, 50, 0), gdi::getSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(at(canvas.image, 195, y), gdi::getSysColor(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(at(canvas.image, 50, 16), gdi::getSysColor(gdi::COLOR_BTNHIGHLIGHT));
}

// 17 x 100, no frame: from the bottom a 15-pixel chunk, a 2-pixel gap, a 17-pixel block.
TEST(QuordanePBPaint, VerticalSegmentsWorkedExample)
{
    Canvas canvas(17, 100);
    QuordanePBPaint::Look look = segmentedLook();
    look.borderStyle = 0;
    paint(canvas, look);
    testsupport::writeTestPng("QuordanePB", "vertical_segments_50", canvas.image);

    for (int y = 0; y < 100; ++y) {
        const gdi::ColorRef expected = y < 66 ? Back : (y == 83 || y == 84) ? Host : Bar;
        EXPECT_EQ(at(canvas.image, 8, y), expected) << "y " << y;
    }
}

TEST(QuordanePBPaint, EndsAndBeyond)
{
    struct Row {
        const char *name;
        int value;
        int lastBarColumn;   // -1: no bar
    } rows[] = {
        {"at min", 0, -1}, {"below min", -50, -1}, {"at max", 100, 98}, {"beyond max", 900, 98}, {"half", 50, 49},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Canvas canvas(100, 20);
        QuordanePBPaint::Look look;
        look.blendToParent = false;
        look.value = row.value;
        paint(canvas, look);
        testsupport::writeTestPng("QuordanePB", QStringLiteral("plain_%1").arg(row.value), canvas.image);
        EXPECT_EQ(at(canvas.image, 1, 10), row.lastBarColumn < 0 ? Back : Bar);
        if (row.lastBarColumn >= 0) {
            EXPECT_EQ(at(canvas.image, row.lastBarColumn, 10), Bar);
            if (row.lastBarColumn < 98) {
                EXPECT_EQ(at(canvas.image, row.lastBarColumn + 1, 10), Back);
            }
        }
    }
}

TEST(QuordanePBPaint, FrameInsets)
{
    // Appearance 2 with a frame: the inner area starts 2 pixels in.
    Canvas canvas(100, 20);
    QuordanePBPaint::Look look;
    look.blendToParent = false;
    look.appearance = 2;
    look.value = 100;
    paint(canvas, look);
    testsupport::writeTestPng("QuordanePB", "edge_full", canvas.image);
    EXPECT_NE(at(canvas.image, 1, 10), Bar);
    EXPECT_EQ(at(canvas.image, 2, 10), Bar);
    EXPECT_EQ(at(canvas.image, 97, 10), Bar);
    EXPECT_NE(at(canvas.image, 98, 10), Bar);

    // Flat: a black one-pixel frame.
    Canvas flat(100, 20);
    look.appearance = 0;
    paint(flat, look);
    EXPECT_EQ(at(flat.image, 0, 10), 0u);
    EXPECT_EQ(at(flat.image, 99, 10), 0u);
    EXPECT_EQ(at(flat.image, 1, 10), Bar);
}

TEST(QuordanePBPaint, GapsTakeTheHostsSystemColour)
{
    Canvas canvas(196, 17);
    QuordanePBPaint::Look look = segmentedLook();
    QuordanePBPaint::Host h = host();
    h.backColor = 0x8000000F;   // button face
    QuordanePBPaint::paint(canvas.dc, 196, 17, look, {}, h);
    EXPECT_EQ(at(canvas.image, 15, 8), gdi::getSysColor(gdi::COLOR_BTNFACE));
}

TEST(QuordanePBPaint, BlendWithoutPicturesPaintsNoFill)
{
    Canvas canvas(100, 20);
    QuordanePBPaint::Look look;
    look.value = 50;
    paint(canvas, look);
    EXPECT_EQ(at(canvas.image, 10, 10), Marker) << "no bar fill before the blend pictures exist";
    EXPECT_EQ(at(canvas.image, 80, 10), Marker) << "no background either";
}

TEST(QuordanePBPaint, BlendPicturesStretchUnderTheBar)
{
    QImage back(10, 10, QImage::Format_RGB32);
    back.fill(gdi::toPixel(0x112233));
    QImage bar(10, 10, QImage::Format_RGB32);
    bar.fill(gdi::toPixel(0x445566));
    QuordanePBPaint::Holders holders;
    holders.backBlend = gdi::Bitmap(back);
    holders.barBlend = gdi::Bitmap(bar);
    Canvas canvas(100, 20);
    QuordanePBPaint::Look look;
    look.backPictureMode = 0;
    look.barPictureMode = 0;
    look.value = 50;
    paint(canvas, look, holders);
    EXPECT_EQ(at(canvas.image, 10, 10), 0x445566u);
    EXPECT_EQ(at(canvas.image, 80, 10), 0x112233u);
}

TEST(QuordanePBPaint, TiledBarPictureAlignsWithTiledBackground)
{
    QuordanePBPaint::Holders holders;
    holders.back = stripes(5, 4);
    holders.hasBack = true;
    holders.bar = stripes(5, 4);
    holders.hasBar = true;
    Canvas canvas(100, 20);
    QuordanePBPaint::Look look;
    look.blendToParent = false;
    look.value = 50;
    look.appearance = 0;
    paint(canvas, look, holders);
    testsupport::writeTestPng("QuordanePB", "tiled_pictures", canvas.image);
    // Inside the frame every pixel shows the tile's pixel of its own position, bar or not.
    for (int x = 1; x < 99; ++x)
        for (int y = 1; y < 19; ++y)
            ASSERT_EQ(at(canvas.image, x, y), gdi::rgb((x % 5) * 40, (y % 4) * 40, 0)) << x << "," << y;
}

TEST(QuordanePBPaint, CaptionInTwoColours)
{
    Canvas canvas(200, 20);
    QuordanePBPaint::Look look;
    look.blendToParent = false;
    look.value = 50;
    look.showText = true;
    look.text = QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM");
    look.foreColor = 0x0000FF;
    look.barForeColor = 0xFFFFFF;
    look.font = QFont(QStringLiteral("DejaVu Sans"));
    look.font.setPixelSize(12);
    paint(canvas, look);
    testsupport::writeTestPng("QuordanePB", "caption", canvas.image);
    int inBar = 0, wrongInBar = 0, inBack = 0, wrongInBack = 0;
    for (int x = 1; x < 199; ++x) {
        for (int y = 1; y < 19; ++y) {
            const gdi::ColorRef c = at(canvas.image, x, y);
            if (x < 100) {
                inBar += c == 0xFFFFFF;
                wrongInBar += c == 0x0000FF;
            } else {
                inBack += c == 0x0000FF;
                wrongInBack += c == 0xFFFFFF;
            }
        }
    }
    EXPECT_GT(inBar, 0);
    EXPECT_GT(inBack, 0);
    EXPECT_EQ(wrongInBar, 0);
    EXPECT_EQ(wrongInBack, 0);
}

TEST(QuordanePBPaint, NoTextMeansNoCaption)
{
    Canvas with(100, 20), without(100, 20);
    QuordanePBPaint::Look look;
    look.blendToParent = false;
    look.showText = true;
    paint(without, look);
    look.showText = false;
    look.text = QStringLiteral("hidden");
    paint(with, look);
    EXPECT_EQ(with.image, without.image);
}

TEST(QuordanePBPaint, VisualStyleDrawsFrameAndBarWithoutOwnFrame)
{
    os::setThemeActive(true);
    Canvas themed(200, 20);
    QuordanePBPaint::Look look;
    look.blendToParent = false;
    look.xpStyle = true;
    look.value = 50;
    paint(themed, look);
    testsupport::writeTestPng("QuordanePB", "themed_50", themed.image);
    // The own frame's shadow line is not drawn, and the background is not the plain back colour.
    EXPECT_NE(at(themed.image, 0, 10), gdi::getSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_NE(at(themed.image, 150, 10), Back);

    os::setThemeActive(false);
    Canvas plain(200, 20);
    paint(plain, look);
    os::setThemeActive(true);
    EXPECT_EQ(at(plain.image, 150, 10), Back) << "without visual styles the bar paints as without a style";
    EXPECT_EQ(at(plain.image, 10, 10), Bar);
}

TEST(QuordanePBPaint, VisualStyleHasNoEffectWithABackPicture)
{
    QuordanePBPaint::Holders holders;
    holders.back = stripes(5, 4);
    holders.hasBack = true;
    Canvas a(100, 20), b(100, 20);
    QuordanePBPaint::Look look;
    look.blendToParent = false;
    look.value = 30;
    paint(a, look, holders);
    look.xpStyle = true;
    paint(b, look, holders);
    EXPECT_EQ(a.image, b.image);
}

TEST(QuordanePBPaint, VisualStyleBarSnapsToTheStylesStep)
{
    os::setThemeActive(true);
    const os::HTHEME theme = os::openThemeData(nullptr, QStringLiteral("Progress"));
    ASSERT_TRUE(theme);
    int chunk = 0, space = 0;
    ASSERT_EQ(os::getThemeInt(theme.get(), 0, 0, os::TMT_PROGRESSCHUNKSIZE, chunk), os::S_OK);
    ASSERT_EQ(os::getThemeInt(theme.get(), 0, 0, os::TMT_PROGRESSSPACESIZE, space), os::S_OK);
    const int step = chunk + 2 * space;
    ASSERT_GT(step, 0);

    // The themed chunk is drawn 2 pixels in from the bar's left and 1 in from its right, so the
    // last column that differs from an empty bar tells where the bar ended.
    const auto lastChanged = [](const QImage &a, const QImage &b) {
        int last = -1;
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, 10) != b.pixel(x, 10))
                last = x;
        return last;
    };
    for (const bool segments : {false, true}) {
        QuordanePBPaint::Look look;
        look.blendToParent = false;
        look.xpStyle = true;
        look.segments = segments;
        Canvas empty(200, 20);
        paint(empty, look);
        look.value = 37;
        Canvas filled(200, 20);
        paint(filled, look);
        // Inner left 1; 198 * 0.37 + 1 = 74.26 -> 74, less (73 mod step).
        const int barRight = 74 - (73 % step);
        EXPECT_EQ(lastChanged(empty.image, filled.image), barRight - 2) << "segments " << segments;
    }
}

TEST(QuordanePBPaint, VisualStylesOpenOnlyTheProgressClass)
{
    os::setThemeActive(true);
    EXPECT_TRUE(os::openThemeData(nullptr, QStringLiteral("Button;PROGRESS")));
    EXPECT_FALSE(os::openThemeData(nullptr, QStringLiteral("Button")));
    os::setThemeActive(false);
    EXPECT_FALSE(os::openThemeData(nullptr, QStringLiteral("Progress")));
    os::setThemeActive(true);
    int value = 0;
    EXPECT_NE(os::getThemeInt(nullptr, 0, 0, os::TMT_PROGRESSCHUNKSIZE, value), os::S_OK);
    os::HTHEME theme = os::openThemeData(nullptr, QStringLiteral("Progress"));
    EXPECT_NE(os::getThemeInt(theme.get(), 0, 0, 9999, value), os::S_OK);
    EXPECT_EQ(os::closeThemeData(theme), os::S_OK);
    EXPECT_FALSE(theme);
}

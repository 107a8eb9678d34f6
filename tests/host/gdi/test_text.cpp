// DrawText's layout rules, TextOut, DrawIconEx and DrawState. Text pixels depend on the font, so
// each rule is checked against another drawing of the same text whose place the rule states.

#include "gdi/Dc.h"
#include "gdi/SysColors.h"
#include "support_canvas.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>

using namespace gdi;

namespace {

constexpr ColorRef TextInk = rgb(0, 0, 0);
constexpr ColorRef Paper = rgb(255, 255, 255);

QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

struct TextCanvas : Canvas {
    TextCanvas(int w = 120, int h = 40) : Canvas(w, h, Paper)
    {
        dc.selectFont(testFont());
        dc.setTextColor(TextInk);
        dc.setBkMode(TRANSPARENT);
    }
    int draw(const QString &text, Rect rect, quint32 format) { return dc.drawText(text, rect, format); }
    int measure(const QString &text, Rect &rect, quint32 format) { return dc.drawText(text, rect, format | DT_CALCRECT); }
};

int lineHeight()
{
    TextCanvas c;
    return c.dc.getTextMetrics().height;
}

TEST(DrawText, CalcRectMeasuresOneLine)
{
    TextCanvas c;
    Rect r{5, 7, 200, 100};
    const int h = c.measure("Scan now", r, DT_SINGLELINE);
    EXPECT_EQ(h, lineHeight());
    EXPECT_EQ(r, (Rect{5, 7, 5 + c.dc.getTextExtent("Scan now").cx, 7 + lineHeight()}));
    EXPECT_TRUE(changedPixels(c).empty()) << "measuring draws nothing";
}

TEST(DrawText, WordBreakWrapsAtTheWidthAndCalcRectCountsTheLines)
{
    TextCanvas c;
    const QString text = "one two three four five six";
    const int word = c.dc.getTextExtent("three").cx;
    Rect r{0, 0, word + 2, 0};
    const int h = c.measure(text, r, DT_WORDBREAK | DT_CENTER | DT_NOCLIP);
    EXPECT_GT(h, lineHeight());
    EXPECT_EQ(h % lineHeight(), 0);
    EXPECT_EQ(r.bottom, h);
    EXPECT_LE(r.right, word + 2);
    EXPECT_GE(r.right, word);

    Rect narrow{0, 0, 3, 0};
    c.measure("unbreakable", narrow, DT_WORDBREAK);
    EXPECT_EQ(narrow.right, c.dc.getTextExtent("unbreakable").cx) << "a word wider than the line overflows it";
    EXPECT_EQ(narrow.bottom, lineHeight());
}

TEST(DrawText, LineBreaksStartNewLinesUnlessSingleLine)
{
    TextCanvas c;
    Rect multi{0, 0, 100, 0};
    EXPECT_EQ(c.measure("a\r\nb\nc", multi, 0), 3 * lineHeight());
    Rect single{0, 0, 100, 0};
    EXPECT_EQ(c.measure("a\r\nb\nc", single, DT_SINGLELINE), lineHeight());
    EXPECT_EQ(single.right, c.dc.getTextExtent("abc").cx);
}

TEST(DrawText, PrefixCharacters)
{
    TextCanvas c;
    struct Row {
        const char *text;
        quint32 format;
        const char *measuredAs;
    };
    for (const Row &r : {Row{"&File", 0, "File"}, Row{"Fish && Chips", 0, "Fish & Chips"}, Row{"&File", DT_NOPREFIX, "&File"},
                         Row{"End&", 0, "End"}}) {
        Rect rect{0, 0, 500, 0};
        c.measure(r.text, rect, DT_SINGLELINE | r.format);
        EXPECT_EQ(rect.right, c.dc.getTextExtent(r.measuredAs).cx) << r.text;
    }
}

TEST(DrawText, MnemonicIsUnderlinedUnlessHidden)
{
    TextCanvas plain, prefixed, hidden;
    const Rect r{4, 4, 110, 30};
    plain.draw("File", r, DT_SINGLELINE);
    prefixed.draw("&File", r, DT_SINGLELINE);
    hidden.draw("&File", r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(hidden.image, plain.image);
    ASSERT_NE(prefixed.image, plain.image);
    const int baseline = 4 + plain.dc.getTextMetrics().ascent;
    for (int y = 0; y < baseline; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(prefixed.at(x, y), plain.at(x, y)) << "only below the baseline: " << x << "," << y;
}

struct AlignCase {
    const char *name;
    quint32 format;
};

class Alignment : public ::testing::TestWithParam<AlignCase> {};

// Each alignment equals a left-aligned drawing at the place the rule gives.
TEST_P(Alignment, PlacesTheTextWhereTheRuleSays)
{
    const quint32 format = GetParam().format;
    const QString text = "Ready";
    TextCanvas aligned, reference;
    const Rect r{3, 2, 103, 38};
    const int w = aligned.dc.getTextExtent(text).cx;
    const int lh = lineHeight();
    aligned.draw(text, r, format | DT_SINGLELINE);
    int x = r.left, y = r.top;
    if (format & DT_CENTER)
        x = r.left + (r.width() - w) / 2;
    if (format & DT_RIGHT)
        x = r.right - w;
    if (format & DT_VCENTER)
        y = r.top + (r.height() - lh) / 2;
    if (format & DT_BOTTOM)
        y = r.bottom - lh;
    reference.draw(text, Rect{x, y, x + w, y + lh}, DT_SINGLELINE);
    EXPECT_EQ(aligned.image, reference.image);
}

INSTANTIATE_TEST_SUITE_P(Rules, Alignment,
                         ::testing::Values(AlignCase{"Center", DT_CENTER}, AlignCase{"Right", DT_RIGHT},
                                           AlignCase{"VCenter", DT_VCENTER}, AlignCase{"Bottom", DT_BOTTOM},
                                           AlignCase{"CenterVCenter", DT_CENTER | DT_VCENTER}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(DrawText, VerticalCentringAnswersTheOffsetToTheTextBottom)
{
    TextCanvas c;
    const int lh = lineHeight();
    EXPECT_EQ(c.draw("x", Rect{0, 10, 50, 40}, DT_SINGLELINE | DT_VCENTER), (30 - lh) / 2 + lh);
    EXPECT_EQ(c.draw("x", Rect{0, 10, 50, 40}, DT_SINGLELINE), lh);
}

TEST(DrawText, EndEllipsisFitsTheLine)
{
    TextCanvas c;
    const QString text = "Searching the hardware database";
    const int width = c.dc.getTextExtent(text).cx / 2;
    Rect r{0, 0, width, 0};
    c.measure(text, r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(r.right, width);
    EXPECT_GT(r.right, 0);

    TextCanvas elided, reference;
    elided.draw(text, Rect{0, 0, width, 20}, DT_SINGLELINE | DT_END_ELLIPSIS);
    QString kept = text;
    while (reference.dc.getTextExtent(kept + "...").cx > width)
        kept.chop(1);
    reference.draw(kept + "...", Rect{0, 0, width, 20}, DT_SINGLELINE);
    EXPECT_EQ(elided.image, reference.image);
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip)
{
    TextCanvas clipped, free;
    const Rect r{10, 10, 20, 14};
    clipped.draw("Wide text", r, DT_SINGLELINE);
    free.draw("Wide text", r, DT_SINGLELINE | DT_NOCLIP);
    for (const auto &[x, y] : changedPixels(clipped))
        EXPECT_TRUE(x >= 10 && x < 20 && y >= 10 && y < 14) << x << "," << y;
    EXPECT_GT(changedPixels(free).size(), changedPixels(clipped).size());
}

TEST(DrawText, OpaqueBackgroundFillsTheTextCell)
{
    TextCanvas c;
    c.dc.setBkMode(OPAQUE);
    c.dc.setBkColor(rgb(0, 0, 255));
    c.draw("Hi", Rect{5, 5, 100, 30}, DT_SINGLELINE);
    const Size extent = c.dc.getTextExtent("Hi");
    EXPECT_EQ(c.at(5, 5), rgb(0, 0, 255));
    EXPECT_EQ(c.at(5 + extent.cx - 1, 5 + extent.cy - 1), rgb(0, 0, 255));
    EXPECT_EQ(c.at(5 + extent.cx, 5), Paper);
    EXPECT_EQ(c.at(5, 5 + extent.cy), Paper);
}

// Widths are remembered per font, resolution and text: the same text measured in another size or
// weight, or on an image of another resolution, answers its own width, as the font's metrics do,
// whichever was measured first.
TEST(GetTextExtent, EachFontAndResolutionHasItsOwnWidths)
{
    struct Measure {
        double points;
        bool bold;
        int dpi;
    };
    const Measure measures[] = {{9, false, 96}, {9, true, 96}, {14, false, 96}, {9, false, 192}, {9, false, 96}};
    for (const QString &text : {QStringLiteral("Scan now"), QStringLiteral("Scan now!")}) {
        for (const Measure &m : measures) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.setDotsPerMeterX(int(std::lround(m.dpi / 0.0254)));
            image.setDotsPerMeterY(int(std::lround(m.dpi / 0.0254)));
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPointSizeF(m.points);
            font.setBold(m.bold);
            Dc dc(&image);
            dc.selectFont(font);
            EXPECT_EQ(dc.getTextExtent(text).cx, QFontMetrics(font, &image).horizontalAdvance(text))
                << text.toStdString() << " at " << m.points << " pt, bold " << m.bold << ", " << m.dpi << " dpi";
        }
    }
}

TEST(TextOut, DrawsLikeDrawTextAtTheCellOrigin)
{
    TextCanvas a, b;
    ASSERT_TRUE(a.dc.textOut(7, 3, "&Caption"));
    b.draw("&Caption", Rect{7, 3, 7, 3}, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    EXPECT_EQ(a.image, b.image);
    Dc none;
    EXPECT_FALSE(none.textOut(0, 0, "x"));
    Rect r{0, 0, 10, 10};
    EXPECT_EQ(none.drawText("x", r, 0), 0);
    EXPECT_EQ(none.getTextExtent("x"), (Size{0, 0}));
}

TEST(DrawText, UprightOnABottomUpDibSection)
{
    TextCanvas reference(60, 20);
    reference.draw("Kq", Rect{2, 2, 60, 20}, DT_SINGLELINE);

    BitmapInfoHeader h;
    h.width = 60;
    h.height = 20;
    const DibSection dib = createDIBSection(h);
    Dc dc = createCompatibleDc();
    dc.selectBitmap(dib);
    dc.fillRect({0, 0, 60, 20}, createSolidBrush(Paper));
    dc.selectFont(testFont());
    dc.setBkMode(TRANSPARENT);
    Rect r{2, 2, 60, 20};
    dc.drawText("Kq", r, DT_SINGLELINE);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(dc.getPixel(x, y), reference.at(x, y)) << x << "," << y;
}

QImage iconPicture()
{
    // 2 x 2: opaque red, half-covered blue (premultiplied), transparent, opaque white.
    QImage image(2, 2, QImage::Format_ARGB32_Premultiplied);
    image.setPixel(0, 0, 0xFFFF0000u);
    image.setPixel(1, 0, 0x80000080u);
    image.setPixel(0, 1, 0x00000000u);
    image.setPixel(1, 1, 0xFFFFFFFFu);
    return image;
}

TEST(DrawIconEx, ComposesThePremultipliedIcon)
{
    Canvas c(6, 6, rgb(100, 100, 100));
    const Icon icon(iconPicture());
    EXPECT_EQ(icon.size(), QSize(2, 2));
    ASSERT_TRUE(c.dc.drawIconEx(1, 1, icon, 0, 0, DI_NORMAL));
    EXPECT_EQ(c.at(1, 1), rgb(255, 0, 0));
    EXPECT_EQ(c.at(2, 1), rgb(50, 50, 0x80 + 50));
    EXPECT_EQ(c.at(1, 2), rgb(100, 100, 100));
    EXPECT_EQ(c.at(2, 2), rgb(255, 255, 255));
    EXPECT_EQ(c.at(3, 3), rgb(100, 100, 100));

    Canvas mask(4, 4, rgb(100, 100, 100));
    ASSERT_TRUE(mask.dc.drawIconEx(0, 0, icon, 0, 0, DI_MASK));
    EXPECT_EQ(mask.at(0, 0), 0u);
    EXPECT_EQ(mask.at(0, 1), rgb(100, 100, 100));
    EXPECT_EQ(mask.at(1, 0), 0u) << "half covered counts as covered";

    Canvas stretched(8, 8, rgb(100, 100, 100));
    ASSERT_TRUE(stretched.dc.drawIconEx(0, 0, icon, 8, 8, DI_NORMAL));
    EXPECT_EQ(stretched.at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(stretched.at(7, 7), rgb(255, 255, 255));
    EXPECT_FALSE(stretched.dc.drawIconEx(0, 0, Icon(), 0, 0, DI_NORMAL));
    EXPECT_FALSE(stretched.dc.drawIconEx(0, 0, icon, 0, 0, 0));
}

TEST(DrawState, IconsAtTheirOwnSizeCutToTheGivenOne)
{
    Canvas c(6, 6, rgb(100, 100, 100));
    // The flags as a sign-extended DSS_RIGHT arrives: every bit from 15 upwards set.
    ASSERT_TRUE(c.dc.drawState(Icon(iconPicture()), 2, 2, 1, 2, 0xFFFF8000u | DST_ICON));
    EXPECT_EQ(c.at(2, 2), rgb(255, 0, 0));
    EXPECT_EQ(c.at(3, 2), rgb(100, 100, 100)) << "cut to one column";
}

TEST(DrawState, DisabledEmbossesTheShape)
{
    QImage dot(3, 3, QImage::Format_ARGB32_Premultiplied);
    dot.fill(0);
    dot.setPixel(0, 0, 0xFF123456u);
    Canvas c(8, 8, rgb(100, 100, 100));
    ASSERT_TRUE(c.dc.drawState(Icon(dot), 2, 2, 0, 0, DST_ICON | DSS_DISABLED));
    EXPECT_EQ(c.at(2, 2), getSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(c.at(3, 3), getSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(changedPixels(c).size(), 2u);
}

TEST(DrawState, BitmapsCopyOpaqueAndTheirWhiteIsBackgroundWhenDisabled)
{
    QImage picture(3, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, 0xFFFFFFFFu);
    picture.setPixel(1, 0, 0xFF00FF00u);
    picture.setPixel(2, 0, 0xFF0000FFu);
    const Bitmap bitmap(picture);
    Canvas normal(6, 3, rgb(100, 100, 100));
    ASSERT_TRUE(normal.dc.drawState(bitmap, 0, 0, 2, 0, DST_BITMAP));
    EXPECT_EQ(normal.at(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(normal.at(1, 0), rgb(0, 255, 0));
    EXPECT_EQ(normal.at(2, 0), rgb(100, 100, 100));

    Canvas disabled(6, 3, rgb(100, 100, 100));
    ASSERT_TRUE(disabled.dc.drawState(bitmap, 0, 0, 0, 0, DST_BITMAP | DSS_DISABLED));
    EXPECT_EQ(disabled.at(0, 0), rgb(100, 100, 100));
    EXPECT_EQ(disabled.at(1, 0), getSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(disabled.at(3, 1), getSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_FALSE(disabled.dc.drawState(Bitmap(), 0, 0, 0, 0, DST_BITMAP));
}

TEST(DrawState, DisabledTextIsHighlightUnderShadow)
{
    TextCanvas state, reference;
    ASSERT_TRUE(state.dc.drawState(QString("Off"), 4, 4, 0, 0, DST_TEXT | DSS_DISABLED));
    reference.dc.setTextColor(getSysColor(COLOR_BTNHIGHLIGHT));
    reference.draw("Off", Rect{5, 5, 5, 5}, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    reference.dc.setTextColor(getSysColor(COLOR_BTNSHADOW));
    reference.draw("Off", Rect{4, 4, 4, 4}, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    EXPECT_EQ(state.image, reference.image);
    EXPECT_EQ(state.dc.textColor(), TextInk) << "the context's colours are restored";
    EXPECT_FALSE(state.dc.drawState(QString("x"), 0, 0, 0, 0, DST_ICON));
}

} // namespace

#include "support_titelbar_host.h"

#include "chrome/TitelBarColors.h"
#include "chrome/TitelBarGlyphs.h"
#include "os/LayeredWindow.h"
#include "os/SystemParameters.h"
#include "os/WindowMessages.h"
#include "platform/ModSkin.h"
#include "components/AlphaImgCtl.h"
#include "components/AlphaImgShape.h"
#include "runtime/Timer.h"
#include "support/TestOutput.h"

#include <QCursor>
#include <QSignalSpy>
#include <QTimer>

#include <cstdlib>
#include <tuple>
#include <vector>
#include <QTest>

using namespace chrometest;

namespace {

constexpr gdi::ColorRef kKey = 0xF7B8F8;

size_t nearestStop(gdi::ColorRef c, const std::vector<gdi::ColorRef> &stops)
{
    const auto distance = [c](gdi::ColorRef s) {
        return std::abs(gdi::red(c) - gdi::red(s)) + std::abs(gdi::green(c) - gdi::green(s))
               + std::abs(gdi::blue(c) - gdi::blue(s));
    };
    size_t best = 0;
    for (size_t i = 1; i < stops.size(); ++i)
        if (distance(stops[i]) < distance(stops[best]))
            best = i;
    return best;
}

}

// Properties and stored data -------------------------------------------------------------------------

TEST(TitelBarProperties, FreshControlAndMissingKeysDiffer)
{
    runtime::Screen::setLogicalDpi(96);
    HostForm host;
    TitelBar fresh(&host);
    fresh.InitNew();
    TitelBar restored(&host);
    restored.ReadProperties(runtime::PropertyBag{});

    EXPECT_TRUE(fresh.ShowMaximizedEnabled());
    EXPECT_FALSE(restored.ShowMaximizedEnabled());
    EXPECT_TRUE(fresh.ShowHelpEnabled());
    EXPECT_FALSE(restored.ShowHelpEnabled());
    EXPECT_EQ(fresh.BackColorCover(), 2000);
    EXPECT_EQ(restored.BackColorCover(), 0);
    EXPECT_EQ(fresh.Caption(), QStringLiteral("TitelBar"));
    EXPECT_EQ(fresh.Style(), 13);
    EXPECT_EQ(restored.Style(), 13);
    EXPECT_EQ(fresh.Font(), runtime::StdFont(QStringLiteral("Segoe UI"), 9.75));
    EXPECT_EQ(restored.Font(), host.Font()); // the host's ambient font
    EXPECT_EQ(fresh.height(), 32);            // 480 twips on a twips host
    for (TitelBar *b : {&fresh, &restored}) {
        EXPECT_TRUE(b->ShowClose());
        EXPECT_TRUE(b->ShowMinimized());
        EXPECT_FALSE(b->ShowMaximized());
        EXPECT_FALSE(b->ShowHelp());
        EXPECT_EQ(b->PicturePosX(), 6);
        EXPECT_EQ(b->PicturePosY(), 4);
        EXPECT_EQ(b->ButtonXBackColor(), 0x0023D9u);
        EXPECT_EQ(b->BackColor(), kKey); // every repaint resets the colour key
        EXPECT_FALSE(b->bDidMaximize);
    }
    runtime::Screen::setLogicalDpi(std::nullopt);
}

TEST(TitelBarProperties, NewBarIsAsHighAsACaptionInItsHostsScale)
{
    runtime::Screen::setLogicalDpi(120);
    HostForm twipsHost;
    HostForm pixelHost;
    pixelHost.setScaleMode(runtime::vbPixels);
    TitelBar onTwips(&twipsHost);
    TitelBar onPixels(&pixelHost);
    onTwips.InitNew();
    onPixels.InitNew();
    EXPECT_EQ(onTwips.height(), 40); // 480 twips at 12 twips a pixel
    EXPECT_EQ(onPixels.height(), 32);
    runtime::Screen::setLogicalDpi(std::nullopt);
}

TEST(TitelBarProperties, NewBarTakesItsHeightByTheVerticalScale)
{
    for (const auto &[dpiAcross, dpiDown, height] : {std::tuple{96, 120, 40}, std::tuple{120, 96, 32}}) {
        runtime::Screen::setLogicalDpi(dpiAcross, dpiDown);
        HostForm host;
        TitelBar bar(&host);
        bar.InitNew();
        EXPECT_EQ(bar.height(), height) << dpiAcross << " by " << dpiDown << " pixels an inch";
    }
    runtime::Screen::setLogicalDpi(std::nullopt);
}

TEST_F(TitelBarTest, ColourKeyAndForeColourReadBackAfterTheRepaint)
{
    bar->setBackColor(0x000000);
    EXPECT_EQ(bar->BackColor(), kKey);
    bar->setCaptionColor(0x80000008); // a system colour: the surface gets it translated
    bar->setForeColor(0x123456);
    EXPECT_EQ(bar->ForeColor(), runtime::GetSysColor(runtime::COLOR_WINDOWTEXT));
    bar->setIconStyle(7);
    EXPECT_EQ(bar->IconStyle(), 2);
    bar->setBorderNormal(300); // a byte: skipped
    EXPECT_EQ(bar->BorderNormal(), 0);
}

TEST_F(TitelBarTest, SettersMarkTheirStoredKey)
{
    bar->ClearChangedProperties();
    bar->setTooltipText(QStringLiteral("tip"));
    bar->setShowHelp(true);
    bar->setButtonBackColor(0x112233);
    EXPECT_EQ(bar->ChangedProperties(),
              (QStringList{QStringLiteral("ToolTipText"), QStringLiteral("ShowHelp"), QStringLiteral("ButtonBackColor")}));
}

TEST_F(TitelBarTest, PropertiesAreReachableByName)
{
    EXPECT_TRUE(runtime::setPropertyByName(bar, "BackColorV1Begin", QVariant(int(0x0000FF))));
    EXPECT_EQ(bar->BackColorV1Begin(), 0x0000FFu);
    EXPECT_TRUE(runtime::setPropertyByName(bar, "ButtonXForeColor", QVariant(int(0x00FF00))));
    EXPECT_EQ(bar->ButtonXForeColor(), 0x00FF00u);
    EXPECT_FALSE(runtime::setPropertyByName(bar, "BarColor", QVariant(1)));
    EXPECT_EQ(runtime::getPropertyByName(bar, "ShowMaximized").toBool(), true);
}

TEST_F(TitelBarTest, StoredDataRoundTrip)
{
    bar->setStyle(5);
    bar->setDashBack(true);
    bar->setCaption(QStringLiteral("Device Lookup"));
    bar->setBorderNormal(2);
    bar->setBorderColorHighLight(0x00FFFF);
    bar->setCaptionPosX(2);
    bar->setShowHelp(true);
    bar->setShowHelpEnabled(true);
    bar->setAutoRedraw(true);
    bar->setTooltipText(QStringLiteral("drag me"));
    const runtime::PropertyBag bag = bar->WriteProperties();

    HostForm other;
    TitelBar copy(&other);
    copy.resize(600, 32);
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.Style(), 5);
    EXPECT_TRUE(copy.DashBack());
    EXPECT_EQ(copy.Caption(), QStringLiteral("Device Lookup"));
    EXPECT_EQ(copy.BorderNormal(), 2);
    EXPECT_EQ(copy.BorderColorHighLight(), 0x00FFFFu);
    EXPECT_EQ(copy.CaptionPosX(), 2);
    EXPECT_TRUE(copy.ShowHelp());
    EXPECT_TRUE(copy.ShowHelpEnabled());
    EXPECT_TRUE(copy.ShowMaximizedEnabled());
    EXPECT_TRUE(copy.AutoRedraw()); // survives although every repaint leaves the surface flag off
    EXPECT_EQ(copy.TooltipText(), QStringLiteral("drag me"));
    EXPECT_EQ(copy.BackColorCover(), 1750);
    EXPECT_EQ(copy.Font(), runtime::StdFont(QStringLiteral("Verdana"), 9.75));
    EXPECT_EQ(copy.WriteProperties().Keys(), bag.Keys());

    // Values equal to their missing-key default are not stored.
    EXPECT_FALSE(bag.Contains(QStringLiteral("ShowClose")));
    EXPECT_FALSE(bag.Contains(QStringLiteral("ButtonBackColor")));
    EXPECT_TRUE(bag.Contains(QStringLiteral("BackColor"))); // the key colour differs from &HE6E6E6
}

TEST_F(TitelBarTest, UnconvertibleStoredValueIsSkipped)
{
    HostForm other;
    TitelBar copy(&other);
    copy.ReadProperties(runtime::PropertyBag{{"Style", "fancy"}, {"CaptionPosY", 2}});
    EXPECT_EQ(copy.Style(), 13);
    EXPECT_EQ(copy.CaptionPosY(), 2);
}

// Painting -----------------------------------------------------------------------------------------

TEST_F(TitelBarTest, Style13OnTheMainWindow)
{
    const QImage img = bar->image();
    testsupport::writeTestPng("TitelBar", "main_window_style13", img);
    testsupport::writeTestPng("TitelBar", "main_window_with_buttons", bar->grab().toImage());
    // Buttons from the right: close and maximise, then minimise.
    EXPECT_EQ(bar->TBARX()->pos(), QPoint(557, 9));
    EXPECT_EQ(bar->TBARMax()->pos(), QPoint(536, 9));
    EXPECT_EQ(bar->TBAR_()->pos(), QPoint(515, 9));
    EXPECT_FALSE(bar->TBARHelp()->isVisibleTo(bar));

    EXPECT_EQ(pixel(img, 0, 0), 0xFF9933u);                 // left band starts in V1Begin
    const titelbar::Ramp left(0xFF9933, 0, 32);
    EXPECT_EQ(pixel(img, 0, 31), left.at(31));               // one step short of V1End
    const int cut = 515 - 38;
    EXPECT_EQ(pixel(img, cut - 1, 0), 0xFF9933u);
    EXPECT_EQ(pixel(img, cut + 3, 2), kKey);                  // right of the slant, above the tab
    EXPECT_EQ(pixel(img, cut + 10, 10), 0xC0C0C0u);           // the tab
    EXPECT_EQ(pixel(img, 599, 3), kKey);                      // the cut-off top-right corner
    EXPECT_EQ(pixel(img, 515 - 5, 9 + 2), 0x5A5A5Au);         // left grip dots
    EXPECT_EQ(pixel(img, 515 - 6, 9 + 3), 0xFFFFFFu);
    EXPECT_EQ(pixel(img, 557 + 20 + 3, 9 + 3), 0x5A5A5Au);    // right grip dots
    EXPECT_EQ(pixel(img, 557 + 20 + 4, 9 + 4), 0xFFFFFFu);
}

TEST_F(TitelBarTest, CaptionWithShadowAfterTheIcon)
{
    QImage icon(24, 24, QImage::Format_ARGB32_Premultiplied);
    icon.fill(QColor(0, 200, 0));
    bar->setPictureButton(runtime::StdPicture::fromImage(icon, runtime::StdPicture::vbPicTypeIcon));
    const QImage img = bar->image();
    testsupport::writeTestPng("TitelBar", "caption_with_icon", img);
    EXPECT_EQ(bar->PicturePosY(), 4); // centred: nearest((32 - 24) / 2)
    EXPECT_EQ(pixel(img, 6, 4), gdi::rgb(0, 200, 0));
    EXPECT_EQ(pixel(img, 29, 27), gdi::rgb(0, 200, 0));
    EXPECT_NE(pixel(img, 30, 16), gdi::rgb(0, 200, 0));
    // Caption pixels in white start at x = 6 + 6 + 24; the shadow colour is the left band's
    // mid colour lowered by 25.5 per channel.
    const gdi::ColorRef shadow = titelbar::ShadeColor(ColorMath::blend(0xFF9933, 0, 0.5f), -0.1f);
    EXPECT_EQ(shadow, gdi::rgb(0, 50, 102));
    int white = 0, shaded = 0, whiteLeftOf36 = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 30; x < 300; ++x) {
            const gdi::ColorRef c = pixel(img, x, y);
            white += c == 0xFFFFFF;
            shaded += c == shadow;
            whiteLeftOf36 += (c == 0xFFFFFF && x < 36);
        }
    EXPECT_GT(white, 20);
    EXPECT_GT(shaded, 5);
    EXPECT_EQ(whiteLeftOf36, 0);
}

// A left band of grey 101 gives a shadow of 101 - 25.5 = 75.5, which goes to the even 76.
TEST_F(TitelBarTest, CaptionShadowTakesAHalfToTheEvenChannel)
{
    bar->setBackColorV1Begin(gdi::rgb(101, 101, 101));
    bar->setBackColorV1End(gdi::rgb(101, 101, 101));
    const QImage img = bar->image();
    int even = 0, odd = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 300; ++x) {
            even += pixel(img, x, y) == gdi::rgb(76, 76, 76);
            odd += pixel(img, x, y) == gdi::rgb(75, 75, 75);
        }
    EXPECT_GT(even, 5);
    EXPECT_EQ(odd, 0);
}

TEST_F(TitelBarTest, BorderFrameInItsTwoColours)
{
    bar->setStyle(0);
    bar->setBorderColorHighLight(0x0000FF);
    bar->setBorderColorDarkLight(0x00FF00);
    bar->setBorderNormal(1);
    const QImage img = bar->image();
    EXPECT_EQ(pixel(img, 300, 0), 0x0000FFu);
    EXPECT_EQ(pixel(img, 0, 16), 0x0000FFu);
    EXPECT_EQ(pixel(img, 300, 31), 0x00FF00u);
    EXPECT_EQ(pixel(img, 599, 16), 0x00FF00u);
    int width = -3;
    bar->BSetBorder(width);
    EXPECT_EQ(width, 0);
}

struct StyleCase {
    int style;
    const char *name;
};

class TitelBarStyles : public TitelBarTest, public ::testing::WithParamInterface<StyleCase> {};

// Every style keeps V1Begin on row 0 at the left edge, the colour key where it leaves pixels
// unpainted, and the right band where it has one.
TEST_P(TitelBarStyles, PaintsItsBands)
{
    const StyleCase c = GetParam();
    bar->setBackColorV1Begin(0xFF0000);
    bar->setBackColorV1End(0x800000);
    bar->setBackColorV2Begin(0x00A0FF);
    bar->setBackColorV2End(0x0050A0);
    bar->setStyle(c.style);
    const QImage img = bar->image();
    testsupport::writeTestPng("TitelBar", QStringLiteral("style_%1").arg(c.style, 2, 10, QLatin1Char('0')), img);
    // What the bar shows is its look painted without the widget.
    EXPECT_EQ(titelbar::render(bar->look(), TitelBar::ColorKey), img);
    EXPECT_EQ(pixel(img, 0, 0), 0xFF0000u);
    const int split = 600 - 1750 / 15; // the cover in pixels from the right
    switch (c.style) {
    case 0:
        EXPECT_EQ(pixel(img, 599, 0), 0xFF0000u);
        EXPECT_EQ(pixel(img, 599, 31), titelbar::Ramp(0xFF0000, 0x800000, 32).at(31));
        break;
    case 1: case 2: case 3: case 4:
        EXPECT_EQ(pixel(img, split - 1, 0), 0xFF0000u);
        EXPECT_EQ(pixel(img, split + 20, 0), 0x00A0FFu);
        EXPECT_EQ(pixel(img, split - 11, 10), titelbar::Ramp(0xFF0000, 0x800000, 32).at(10));
        EXPECT_EQ(pixel(img, split - 9, 10), titelbar::Ramp(0x00A0FF, 0x0050A0, 32).at(10));
        break;
    case 5: case 6: case 7: case 8:
        EXPECT_EQ(pixel(img, split + 9, 10), titelbar::Ramp(0xFF0000, 0x800000, 32).at(10));
        EXPECT_EQ(pixel(img, split + 11, 10), titelbar::Ramp(0x00A0FF, 0x0050A0, 32).at(10));
        break;
    case 9: case 10: case 11: case 12:
        EXPECT_EQ(pixel(img, split - 60, 16), titelbar::Ramp(0xFF0000, 0x800000, 32).at(16));
        EXPECT_EQ(pixel(img, split + 60, 16), titelbar::Ramp(0x00A0FF, 0x0050A0, 32).at(16));
        break;
    case 13:
        EXPECT_EQ(pixel(img, 599, 2), kKey);
        break;
    case 14:
        EXPECT_EQ(pixel(img, 400, 30), titelbar::Ramp(0x00A0FF, 0x0050A0, 16).at(14));
        break;
    default:
        break;
    }
    if (c.style == 2 || c.style == 4) {
        const int s = split - 5; // row 5
        EXPECT_EQ(pixel(img, s + 2, 5), titelbar::Ramp(0xFF0000, 0x800000, 32).at(5));
        EXPECT_EQ(pixel(img, s + 3, 5), titelbar::Ramp(0x00A0FF, 0x0050A0, 32).at(5));
    }
}

INSTANTIATE_TEST_SUITE_P(AllFifteen, TitelBarStyles,
                         ::testing::Values(StyleCase{0, "ramp"}, StyleCase{1, "slantLeft"},
                                           StyleCase{2, "slantLeftStripes"}, StyleCase{3, "slantLeft3"},
                                           StyleCase{4, "slantLeftStripes4"}, StyleCase{5, "slantRight"},
                                           StyleCase{6, "slantRightStripes"}, StyleCase{7, "slantRight7"},
                                           StyleCase{8, "slantRightStripes8"}, StyleCase{9, "curve9"},
                                           StyleCase{10, "curve10"}, StyleCase{11, "curve11"},
                                           StyleCase{12, "curve12"}, StyleCase{13, "tab"}, StyleCase{14, "halves"}),
                         [](const ::testing::TestParamInfo<StyleCase> &info) { return std::string(info.param.name); });

TEST_F(TitelBarTest, DashedDecorationMirrorsAColumnBehindTheCaption)
{
    bar->setStyle(0);
    bar->setDashBack(true);
    const QImage img = bar->image();
    testsupport::writeTestPng("TitelBar", "dashback", img);
    // The column at x = 3 copied upside down from rows 2..33: band row y shows ramp row 33 - y.
    const titelbar::Ramp ramp(0xFF9933, 0, 32);
    EXPECT_EQ(pixel(img, 6, 31), ramp.at(2));
    EXPECT_EQ(pixel(img, 20, 30), ramp.at(3)); // below the caption's letters
    EXPECT_EQ(pixel(img, 40, 29), ramp.at(4));
    EXPECT_EQ(pixel(img, 3, 20), ramp.at(20)); // the source column itself is untouched
}

// Buttons ----------------------------------------------------------------------------------------

TEST_F(TitelBarTest, ButtonPicturesAreThreeStopGradientsWithGlyphs)
{
    bar->setBackColorV2Begin(0xFF0000);
    bar->setBackColorV2End(0x0000FF);
    bar->setButtonBackColor(0x00FF00);
    bar->setButtonXBackColor(0x00FFFF);
    bar->setButtonForeColor(0xFFFFFF);
    bar->setButtonXForeColor(0x000000);
    struct Case {
        const char *name;
        AlphaImg::AlphaImgCtl *button;
        gdi::ColorRef middle;
    };
    const Case cases[] = {{"help", bar->TBARHelp(), 0x00FF00}, {"minimize", bar->TBAR_(), 0x00FF00},
                          {"maximize", bar->TBARMax(), 0x00FF00}, {"restore", bar->AlphaImgCtlRestore(), 0x00FF00},
                          {"close", bar->TBARX(), 0x00FFFF}};
    for (const Case &c : cases) {
        const QImage pic = c.button->Picture().image();
        ASSERT_EQ(pic.size(), QSize(20, 20)) << c.name;
        testsupport::writeTestPng("TitelBar", QStringLiteral("button_%1_picture").arg(QLatin1String(c.name)), pic);
        // The gradient object's own steps stop a little short of the end colours; each band is
        // nearest to its own stop.
        const std::vector<gdi::ColorRef> stops{0xFF0000, c.middle, 0x0000FF};
        EXPECT_EQ(nearestStop(pixel(pic, 1, 0), stops), 0u) << c.name;  // top colour at the top edge
        EXPECT_EQ(nearestStop(pixel(pic, 1, 9), stops), 1u) << c.name;  // the button's colour in the middle
        EXPECT_EQ(nearestStop(pixel(pic, 1, 10), stops), 1u) << c.name;
        EXPECT_EQ(nearestStop(pixel(pic, 1, 19), stops), 2u) << c.name; // bottom colour at the bottom edge
    }
    const QImage max = bar->TBARMax()->Picture().image();
    EXPECT_EQ(pixel(max, 5, 5), 0xFFFFFFu);   // outline (5,5)-(15,15)
    EXPECT_EQ(pixel(max, 15, 15), 0xFFFFFFu);
    EXPECT_EQ(pixel(max, 10, 6), 0xFFFFFFu);  // bar (5,5)-(15,7)
    EXPECT_NE(pixel(max, 10, 11), 0xFFFFFFu); // hollow inside
    const QImage restore = bar->AlphaImgCtlRestore()->Picture().image();
    EXPECT_EQ(pixel(restore, 14, 4), 0xFFFFFFu);  // back box
    EXPECT_EQ(pixel(restore, 7, 12), 0xFFFFFFu);  // the solid front box
    EXPECT_NE(pixel(restore, 13, 9), 0xFFFFFFu);
    const QImage close = bar->TBARX()->Picture().image();
    EXPECT_EQ(pixel(close, 10, 10), 0x000000u);   // the cross crosses in the middle, in X's fore colour
    const QImage minimize = bar->TBAR_()->Picture().image();
    int glyph = 0;
    for (int x = 4; x < 16; ++x)
        glyph += pixel(minimize, x, 10) == 0xFFFFFF;
    EXPECT_GE(glyph, 8); // the bar glyph runs across the middle
}

// Each button shows its look painted without the widget; the maximise button the glyph of the
// window's state.
TEST_F(TitelBarTest, ButtonPicturesAreTheirLooksPainted)
{
    using Glyph = TitelBarButtonLook::Glyph;
    const std::pair<AlphaImg::AlphaImgCtl *, Glyph> cases[] = {
        {bar->TBARHelp(), Glyph::Help},         {bar->TBAR_(), Glyph::Minimize}, {bar->TBARMax(), Glyph::Maximize},
        {bar->AlphaImgCtlRestore(), Glyph::Restore}, {bar->TBARX(), Glyph::Close}};
    for (const auto &[button, glyph] : cases) {
        const QImage shown = button->Picture().image();
        EXPECT_EQ(titelbar::renderButton(bar->buttonLook(glyph)).convertToFormat(shown.format()), shown)
            << button->Name().toStdString();
    }
}

// The help, minimise and close glyphs are outlines recorded from the fonts standing in for the
// design's faces: each must still be, element for element, what its font gives.
TEST(TitelBarButtonPictures, RecordedCharactersAreTheirFontsOutlines)
{
    using Glyph = TitelBarButtonLook::Glyph;
    for (Glyph glyph : {Glyph::Help, Glyph::Minimize, Glyph::Close}) {
        const titelbar::ButtonCharacter *recorded = titelbar::ButtonCharacterOf(glyph);
        ASSERT_NE(recorded, nullptr);
        const QPainterPath font = AlphaImg::CharacterOutline(
            QString::fromLatin1(recorded->character), runtime::StdFont(QString::fromLatin1(recorded->face), 9.75, recorded->bold));
        ASSERT_EQ(recorded->outline.elementCount(), font.elementCount()) << recorded->character;
        EXPECT_EQ(recorded->outline.fillRule(), font.fillRule()) << recorded->character;
        for (int i = 0; i < font.elementCount(); ++i) {
            const QPainterPath::Element a = recorded->outline.elementAt(i);
            const QPainterPath::Element b = font.elementAt(i);
            EXPECT_TRUE(a.type == b.type && a.x == b.x && a.y == b.y) << recorded->character << " element " << i;
        }
    }
    EXPECT_EQ(titelbar::ButtonCharacterOf(Glyph::Maximize), nullptr);
    EXPECT_EQ(titelbar::ButtonCharacterOf(Glyph::Restore), nullptr);
}

// At 120 dpi a button is 25 pixels high: the two gradient halves still cover every row.
TEST(TitelBarButtonPictures, OddHeightLeavesNoRowUnpainted)
{
    runtime::Screen::setLogicalDpi(120);
    HostForm host;
    TitelBar bar(&host);
    bar.setGeometry(0, 0, 600, 40);
    bar.ReadProperties(WindowBag());
    bar.setBackColorV2Begin(0xFF0000);
    bar.setBackColorV2End(0x0000FF);
    bar.setButtonBackColor(0x00FF00);
    bar.setButtonXBackColor(0x00FF00);
    const std::vector<gdi::ColorRef> stops{0xFF0000, 0x00FF00, 0x0000FF};
    for (AlphaImg::AlphaImgCtl *b : {bar.TBARHelp(), bar.TBAR_(), bar.TBARMax(), bar.TBARX(), bar.AlphaImgCtlRestore()}) {
        const QImage pic = b->Picture().image();
        ASSERT_EQ(pic.size(), QSize(25, 25)) << b->Name().toStdString();
        EXPECT_EQ(nearestStop(pixel(pic, 1, 0), stops), 0u) << b->Name().toStdString();
        EXPECT_EQ(nearestStop(pixel(pic, 1, 12), stops), 1u) << b->Name().toStdString();
        EXPECT_EQ(nearestStop(pixel(pic, 1, 24), stops), 2u) << b->Name().toStdString();
    }
    runtime::Screen::setLogicalDpi(std::nullopt);
}

TEST_F(TitelBarTest, ButtonStatesDrawnForEachButton)
{
    bar->setShowHelp(true);
    bar->setShowHelpEnabled(true);
    for (AlphaImg::AlphaImgCtl *b : {bar->TBARHelp(), bar->TBAR_(), bar->TBARMax(), bar->TBARX()}) {
        const QString name = b->Name();
        const QImage normal = b->Render();
        testsupport::writeTestPng("TitelBar", name + QStringLiteral("_normal"), normal);
        b->setHighlightState(1);
        b->ApplyState(1, 1);
        const QImage hot = b->Render();
        testsupport::writeTestPng("TitelBar", name + QStringLiteral("_highlighted"), hot);
        EXPECT_GT(qRed(hot.pixel(1, 10)) + qGreen(hot.pixel(1, 10)) + qBlue(hot.pixel(1, 10)),
                  qRed(normal.pixel(1, 10)) + qGreen(normal.pixel(1, 10)) + qBlue(normal.pixel(1, 10)))
            << name.toStdString();
        b->ApplyState(0, 0);
        b->setEnabled(false);
        const QImage disabled = b->Render();
        testsupport::writeTestPng("TitelBar", name + QStringLiteral("_disabled"), disabled);
        // A disabled button is washed towards grey.
        const auto offGrey = [](QRgb c) {
            return std::abs(qRed(c) - 128) + std::abs(qGreen(c) - 128) + std::abs(qBlue(c) - 128);
        };
        EXPECT_LT(offGrey(disabled.pixel(1, 10)), offGrey(normal.pixel(1, 10))) << name.toStdString();
        b->setEnabled(true);
        EXPECT_EQ(b->Render(), normal) << name.toStdString();
    }
}

TEST_F(TitelBarTest, SettingOneButtonColourChangesOnlyItsPictures)
{
    const QImage help = bar->TBARHelp()->Picture().image();
    const QImage close = bar->TBARX()->Picture().image();
    bar->setButtonXBackColor(0x123456);
    EXPECT_EQ(bar->TBARHelp()->Picture().image(), help);
    EXPECT_NE(bar->TBARX()->Picture().image(), close);
    bar->setBackColorV2Begin(0x654321);
    EXPECT_NE(bar->TBARHelp()->Picture().image().pixel(1, 0), help.pixel(1, 0));
    EXPECT_EQ(bar->AlphaImgCtlRestore()->Picture().image().pixel(1, 0), bar->TBARHelp()->Picture().image().pixel(1, 0));
}

TEST_F(TitelBarTest, RecolouringWhileMaximisedKeepsTheRestoreGlyph)
{
    bar->MaxminizeParent();
    bar->setButtonBackColor(0x00FF00);
    EXPECT_EQ(bar->TBARMax()->Picture(), bar->AlphaImgCtlRestore()->Picture());
    bar->MaxminizeParent();
    bar->setButtonBackColor(0x0000FF);
    EXPECT_EQ(bar->TBARMax()->Picture(), bar->AlphaImgCtlMaximize()->Picture());
}

TEST_F(TitelBarTest, ShowHelpPlacesTheButtonsWithoutRepaintingTheBackground)
{
    const QImage before = bar->image();
    bar->setShowHelp(true);
    EXPECT_EQ(bar->TBARHelp()->pos(), QPoint(494, 9));
    EXPECT_TRUE(bar->TBARHelp()->isVisibleTo(bar));
    EXPECT_EQ(bar->image(), before);
    bar->setShowMaximizedEnabled(false);
    EXPECT_TRUE(bar->TBARMax()->isVisibleTo(bar));
    EXPECT_FALSE(bar->TBARMax()->isEnabled());
}

// Spin animation -----------------------------------------------------------------------------------

TEST_F(TitelBarTest, EnteringAButtonStartsOneSpinThatIsNotRestarted)
{
    AlphaImg::AlphaImgCtl *x = bar->TBARX();
    runtime::Timer *timer = bar->TimerButtonAnimation(x);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Interval(), 25);
    EXPECT_FALSE(timer->Enabled());
    emit x->MouseEnter();
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Tag(), QStringLiteral("0"));
    EXPECT_EQ(x->HighlightState(), 1);
    bar->TimerButtonXAnimation_Timer();
    bar->TimerButtonXAnimation_Timer();
    EXPECT_EQ(timer->Tag(), QStringLiteral("40"));
    emit x->MouseLeave();
    EXPECT_EQ(x->HighlightState(), 0);
    emit x->MouseEnter(); // within the spin: goes on from where it was
    EXPECT_EQ(timer->Tag(), QStringLiteral("40"));
    for (int i = 0; i < 16; ++i)
        bar->TimerButtonXAnimation_Timer();
    EXPECT_EQ(timer->Tag(), QStringLiteral("0"));
    EXPECT_FALSE(timer->Enabled());
    emit x->MouseEnter(); // after it ended: a new spin
    EXPECT_TRUE(timer->Enabled());
}

TEST_F(TitelBarTest, SpinFramesAreDrawnThroughThePaintHook)
{
    AlphaImg::AlphaImgCtl *max = bar->TBARMax();
    runtime::Timer *timer = bar->TimerButtonAnimation(max);
    timer->setTag(QStringLiteral("60"));
    bar->TimerButtonMaxAnimation_Timer(); // "80": the picture narrowed to columns 8..11
    ASSERT_TRUE(timer->Enabled());
    const QImage frame80 = max->Render();
    testsupport::writeTestPng("TitelBar", "spin_max_080", frame80);
    EXPECT_EQ(qAlpha(frame80.pixel(5, 10)), 0);
    EXPECT_EQ(qAlpha(frame80.pixel(10, 10)), 255);
    EXPECT_EQ(qAlpha(frame80.pixel(14, 10)), 0);
    timer->setTag(QStringLiteral("70"));
    bar->TimerButtonMaxAnimation_Timer(); // "90": edge-on, nothing drawn
    const QImage frame90 = max->Render();
    EXPECT_EQ(qAlpha(frame90.pixel(10, 10)), 0);
    timer->setTag(QStringLiteral("160"));
    bar->TimerButtonMaxAnimation_Timer(); // "180": full width, mirrored
    const QImage frame180 = max->Render();
    testsupport::writeTestPng("TitelBar", "spin_max_180", frame180);
    const QImage pic = max->Picture().image();
    EXPECT_EQ(frame180.pixel(4, 10) | 0xFF000000u, pic.pixel(15, 10) | 0xFF000000u);
    timer->setTag(QStringLiteral("340"));
    bar->TimerButtonMaxAnimation_Timer(); // the last tick: whole again
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Tag(), QStringLiteral("0"));
    EXPECT_EQ(max->Render(), QImage(pic).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST_F(TitelBarTest, SpinRunsOnItsTimer)
{
    AlphaImg::AlphaImgCtl *min = bar->TBAR_();
    runtime::Timer *timer = bar->TimerButtonAnimation(min);
    emit min->MouseEnter();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->Enabled(); }, 3000));
    EXPECT_EQ(timer->Tag(), QStringLiteral("0"));
}

// Actions ------------------------------------------------------------------------------------------

TEST_F(TitelBarTest, ButtonReleasesAct)
{
    QSignalSpy help(bar, &TitelBar::HelpButtonClick);
    emit bar->TBARHelp()->MouseUp(2, 0, 3, 3); // any mouse button
    EXPECT_EQ(help.count(), 1);

    emit bar->TBAR_()->MouseUp(1, 0, 3, 3);
    EXPECT_EQ(form->WindowState(), runtime::vbMinimized);
    form->setWindowState(runtime::vbNormal);
    EXPECT_FALSE(bar->bDidMaximize); // minimising left it alone

    emit bar->TBARMax()->MouseUp(1, 0, 3, 3);
    EXPECT_TRUE(bar->bDidMaximize);
    EXPECT_EQ(bar->TBARMax()->ToolTipText(), QStringLiteral("Restore Down"));
    emit bar->TBARMax()->MouseUp(1, 0, 3, 3);
    EXPECT_FALSE(bar->bDidMaximize);
    EXPECT_EQ(bar->TBARMax()->ToolTipText(), QStringLiteral("Maximize"));

    emit bar->TBARX()->MouseUp(1, 0, 3, 3);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull()); // unloaded
}

TEST(TitelBarClose, AWindowThatHidesOnCloseIsOnlyHidden)
{
    runtime::Screen::setLogicalDpi(96);
    QPointer<HostForm> colors = new HostForm(QStringLiteral("FrmColors"));
    colors->setHideOnClose(true);
    TitelBar *bar = new TitelBar(colors);
    bar->resize(400, 36);
    bar->InitNew();
    runtime::Load(colors);
    colors->show();
    emit bar->TBARX()->MouseUp(1, 0, 3, 3);
    QApplication::processEvents();
    ASSERT_FALSE(colors.isNull());
    EXPECT_FALSE(colors->isVisible());
    EXPECT_TRUE(colors->IsLoaded());
    runtime::Unload(colors);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    runtime::Screen::setLogicalDpi(std::nullopt);
}

// The maximise button's release yields; a window unloaded meanwhile lives on until the release is
// done, and the maximise must stop at that yield instead of moving and reporting a window gone.
TEST_F(TitelBarTest, WindowUnloadedWhileTheMaximiseButtonYieldsIsNotMaximised)
{
    const QRect before = form->geometry();
    QSignalSpy resized(bar, &TitelBar::ResizedParent);
    QTimer::singleShot(0, form, [this] { runtime::Unload(form); });
    emit bar->TBARMax()->MouseUp(1, 0, 3, 3);
    ASSERT_FALSE(form.isNull());
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_FALSE(bar->bDidMaximize);
    EXPECT_EQ(form->geometry(), before);
    EXPECT_EQ(resized.count(), 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

// The parent window --------------------------------------------------------------------------------

TEST_F(TitelBarTest, MaximiseToTheWorkAreaAndBack)
{
    form->Move(1500, 1200, 9000, 6000);
    const double left = form->Left(), top = form->Top(), width = form->Width(), height = form->Height();
    QSignalSpy resized(bar, &TitelBar::ResizedParent);
    form->sawMaximizedDuringResize = form->sawNormalDuringResize = false;
    bar->MaxminizeParent();
    EXPECT_TRUE(bar->bDidMaximize);
    EXPECT_EQ(form->geometry(), os::GetWorkArea());
    EXPECT_TRUE(form->sawMaximizedDuringResize);
    EXPECT_FALSE(form->sawNormalDuringResize);
    EXPECT_EQ(bar->width(), form->width()); // the host keeps the bar as wide as itself
    EXPECT_EQ(resized.count(), 1);

    form->sawMaximizedDuringResize = false;
    bar->MaxminizeParent();
    EXPECT_FALSE(bar->bDidMaximize);
    EXPECT_TRUE(form->sawNormalDuringResize);
    EXPECT_FALSE(form->sawMaximizedDuringResize);
    EXPECT_DOUBLE_EQ(form->Left(), left);
    EXPECT_DOUBLE_EQ(form->Top(), top);
    EXPECT_DOUBLE_EQ(form->Width(), width);
    EXPECT_DOUBLE_EQ(form->Height(), height);
    EXPECT_EQ(resized.count(), 2);
}

TEST_F(TitelBarTest, DoubleClickMaximisesOnlyWithTheMaximiseButton)
{
    QSignalSpy dbl(bar, &TitelBar::DblClick);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(100, 16));
    EXPECT_EQ(dbl.count(), 1);
    EXPECT_TRUE(bar->bDidMaximize);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(100, 16));
    EXPECT_FALSE(bar->bDidMaximize);

    bar->setShowMaximized(false);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(100, 16));
    EXPECT_EQ(dbl.count(), 3);
    EXPECT_FALSE(bar->bDidMaximize);
}

TEST_F(TitelBarTest, SystemMaximiseBecomesTheWorkAreaMaximise)
{
    form->setWindowState(runtime::vbMaximized);
    bar->setWidth(form->Width() + 15); // the host's resize handler resizes the bar
    EXPECT_EQ(form->WindowState(), runtime::vbNormal);
    EXPECT_TRUE(bar->bDidMaximize);
    EXPECT_EQ(form->geometry(), os::GetWorkArea());
}

TEST_F(TitelBarTest, DragByTheBarMovesTheWindow)
{
    QApplication::setActiveWindow(form);
    form->activateWindow();
    QApplication::processEvents();
    const QPoint start = form->pos();
    const QPoint press = bar->mapToGlobal(QPoint(100, 16));
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(100, 16));
    ASSERT_TRUE(bar->hasFocus());
    // The drag starts at the first move with the button held and follows the mouse from there.
    const auto send = [this](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        const QPointF local = bar->mapFromGlobal(QPointF(global));
        QMouseEvent e(type, local, QPointF(global), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
        QApplication::sendEvent(bar, &e);
    };
    send(QEvent::MouseMove, press + QPoint(40, 10), Qt::LeftButton);
    EXPECT_TRUE(os::IsInCaptionDrag(form));
    send(QEvent::MouseMove, press + QPoint(70, 20), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, press + QPoint(70, 20), Qt::NoButton);
    QApplication::processEvents();
    EXPECT_FALSE(os::IsInCaptionDrag(form));
    EXPECT_EQ(form->pos(), start + QPoint(30, 10));
}

TEST_F(TitelBarTest, WithoutFocusAMoveOnlyRaisesMouseMove)
{
    QSignalSpy moves(bar, &TitelBar::MouseMove);
    const QPoint start = form->pos();
    QMouseEvent move(QEvent::MouseMove, QPointF(150, 16), bar->mapToGlobal(QPointF(150, 16)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(moves.count(), 1);
    EXPECT_FALSE(os::IsInCaptionDrag(form));
    EXPECT_EQ(form->pos(), start);
}

TEST_F(TitelBarTest, MovingOverAHiddenButtonReleasesTheMouseSilently)
{
    bar->setFocus();
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(bar, &in);
    QSignalSpy moves(bar, &TitelBar::MouseMove);
    const QPoint overHelp = bar->TBARHelp()->geometry().center(); // hidden, at its last place
    QMouseEvent move(QEvent::MouseMove, QPointF(overHelp), bar->mapToGlobal(QPointF(overHelp)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(moves.count(), 0);
}

// Hover tracking: a move over the bar holds the mouse and polls; a press on a button, or the
// cursor found outside by the poll, lets it go.
TEST_F(TitelBarTest, HoverTrackingHoldsTheMouseUntilAButtonOrTheCursorOutsideEndsIt)
{
    bar->setFocus();
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(bar, &in);
    const auto moveTo = [this](QPoint local) {
        QCursor::setPos(bar->mapToGlobal(local));
        QMouseEvent move(QEvent::MouseMove, QPointF(local), bar->mapToGlobal(QPointF(local)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    };
    const auto tracking = [this] {
        return bar->HoverTracking() == 1 && bar->Timer1()->Enabled() && QWidget::mouseGrabber() == bar;
    };
    const auto idle = [this] {
        return bar->HoverTracking() == 255 && !bar->Timer1()->Enabled() && QWidget::mouseGrabber() == nullptr;
    };

    moveTo(QPoint(100, 16));
    ASSERT_TRUE(tracking());
    emit bar->Timer1()->Tick(); // the cursor still inside: nothing changes
    EXPECT_TRUE(tracking());
    emit bar->TBARX()->MouseDown(1, 0, 3, 3);
    EXPECT_TRUE(idle());

    moveTo(QPoint(100, 16));
    ASSERT_TRUE(tracking());
    QCursor::setPos(bar->mapToGlobal(QPoint(100, 200)));
    emit bar->Timer1()->Tick();
    EXPECT_TRUE(idle());
}

TEST_F(TitelBarTest, ColourKeyPixelsAreSeeThrough)
{
    ModSkin::SetTransparentColor(form, bar->BackColor());
    os::UpdateLayeredMask(form);
    const QRegion mask = form->mask();
    ASSERT_FALSE(mask.isEmpty());
    EXPECT_EQ(pixel(bar->image(), 599, 2), kKey);
    EXPECT_FALSE(mask.contains(QPoint(599, 2))); // left unpainted by style 13
    EXPECT_TRUE(mask.contains(QPoint(5, 5)));    // the painted band
    EXPECT_TRUE(mask.contains(QPoint(300, 200))); // the window below the bar
}

TEST_F(TitelBarTest, TinyAndHugeBarsPaintEveryStyleWithoutFault)
{
    bar->setDashBack(true);
    bar->setBorderNormal(3);
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(7, 3), QSize(40000, 2)}) {
        bar->resize(size);
        for (int style = -1; style <= 15; ++style) {
            bar->setStyle(style);
            EXPECT_EQ(bar->BackColor(), kKey) << size.width() << "x" << size.height() << " style " << style;
        }
    }
}

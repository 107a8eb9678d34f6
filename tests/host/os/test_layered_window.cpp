#include "os/LayeredWindow.h"

#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/PictureBox.h"

#include "support/TestOutput.h"

#include <QBitmap>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr gdi::ColorRef Key = 0x00F7B8F8;
constexpr gdi::ColorRef BarBlue = 0x00FF9933;

// A form in the shape of the windows: back colour, and along the top a picture box standing in
// for the title bar whose unpainted parts are the key colour.
class LayeredWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form->resize(40, 30);
        form->setBackColor(0x00404040);
        bar->setGeometry(0, 0, 40, 10);
        bar->setBackColor(Key);
        bar->hdc()->fillRect(gdi::Rect{4, 0, 36, 10}, gdi::Brush::solid(BarBlue));
        // One unit off the key in each channel must stay visible.
        bar->hdc()->setPixelV(0, 9, Key ^ 0x000001);
        bar->hdc()->setPixelV(1, 9, Key ^ 0x000100);
        bar->hdc()->setPixelV(2, 9, Key ^ 0x010000);
        form->hdc()->setPixelV(20, 20, Key); // the key on the form itself is see-through too
    }
    void TearDown() override { delete form; }

    void showLayered()
    {
        makeLayered();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    // What the window has painted for the screen (its backing store), not a fresh rendering.
    QRgb shownPixel(const QPoint &at) const
    {
        return form->screen()->grabWindow(form->winId()).toImage().pixel(at);
    }
    bool maskSoonContains(const QPoint &at, bool contained)
    {
        return QTest::qWaitFor([&] { return form->mask().contains(at) == contained; }, 2000);
    }

    void makeLayered()
    {
        os::SetWindowExStyle(form, os::GetWindowExStyle(form) | os::WS_EX_LAYERED);
        ASSERT_TRUE(os::SetLayeredWindowAttributes(form, Key, 0, os::LWA_COLORKEY));
    }

    runtime::Form *form = new runtime::Form(QStringLiteral("FrmMain"));
    runtime::PictureBox *bar = new runtime::PictureBox(form, QStringLiteral("TitelBar1"));
};

TEST_F(LayeredWindowTest, KeyColourPixelsAreLeftOutOfTheWindow)
{
    makeLayered();
    const QRegion mask = form->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(39, 5)));
    EXPECT_FALSE(mask.contains(QPoint(20, 20)));
    EXPECT_TRUE(mask.contains(QPoint(10, 5)));  // the painted bar
    EXPECT_TRUE(mask.contains(QPoint(20, 25))); // the form's back colour
    EXPECT_TRUE(mask.contains(QPoint(0, 9)));
    EXPECT_TRUE(mask.contains(QPoint(1, 9)));
    EXPECT_TRUE(mask.contains(QPoint(2, 9)));
    EXPECT_FALSE(mask.contains(QPoint(3, 9)));

    QImage shown = os::ComposeWindowImage(form).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (!mask.contains(QPoint(x, y)))
                shown.setPixel(x, y, 0);
    testsupport::writeTestPng(QStringLiteral("os"), QStringLiteral("colour_key"), shown);
}

TEST_F(LayeredWindowTest, WindowWithoutTheLayeredStyleRefusesAttributes)
{
    EXPECT_FALSE(os::SetLayeredWindowAttributes(form, Key, 0, os::LWA_COLORKEY));
    EXPECT_TRUE(form->mask().isEmpty());
}

TEST_F(LayeredWindowTest, MaskFollowsLaterDrawingAndOtherWidgetsAreOpaque)
{
    makeLayered();
    auto *label = new runtime::Label(form, QStringLiteral("LabelStatus"));
    label->setGeometry(36, 0, 4, 4); // over key pixels of the bar
    bar->hdc()->fillRect(gdi::Rect{0, 0, 4, 10}, gdi::Brush::solid(BarBlue));
    os::UpdateLayeredMask(form);
    EXPECT_TRUE(form->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(form->mask().contains(QPoint(37, 1)));
    EXPECT_FALSE(form->mask().contains(QPoint(37, 6)));
}

TEST_F(LayeredWindowTest, TakingTheStyleAwayShowsTheWholeWindow)
{
    makeLayered();
    ASSERT_FALSE(form->mask().isEmpty());
    os::SetWindowExStyle(form, os::GetWindowExStyle(form) & ~os::WS_EX_LAYERED);
    EXPECT_TRUE(form->mask().isEmpty());
}

// The mask is taken a strip of rows at a time. A window many strips tall, with key pixels on every
// row (so on each strip's first and last), must come out as its whole composition does, taken at
// once and after a tall surface on it changed.
TEST_F(LayeredWindowTest, TallWindowMaskIsTheWholeCompositions)
{
    constexpr int Tall = 300;
    form->resize(40, Tall);
    auto *column = new runtime::PictureBox(form, QStringLiteral("PictureBase"));
    column->setGeometry(30, 20, 8, Tall - 40);
    column->setBackColor(BarBlue);
    for (int y = 0; y < Tall; ++y)
        form->hdc()->setPixelV((y * 7) % 30, y, Key);
    showLayered();
    const auto maskIsComposition = [&] {
        return (form->mask() ^ os::RegionWithoutColor(os::ComposeWindowImage(form), Key)).isEmpty();
    };
    EXPECT_TRUE(maskIsComposition());
    EXPECT_FALSE(form->mask().contains(QPoint(10, 100)));
    EXPECT_TRUE(form->mask().contains(QPoint(11, 100)));

    for (int y = 0; y < column->height(); y += 3)
        column->hdc()->setPixelV(y % 8, y, Key);
    column->update();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->mask().contains(QPoint(30, 20)); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor(maskIsComposition, 2000));
}

// The title bar repaints as this bar does: cleared to the key first, so the mask taken in
// between (its repaint lets the message loop run) leaves the bar out, and painting is clipped to
// that mask. Once drawn, the bar comes back into the mask and must then be painted again, or the
// window keeps showing the key colour there.
TEST_F(LayeredWindowTest, ShownWindowPaintsWhatComesBackIntoTheMask)
{
    showLayered();
    const QPoint onBar(10, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownPixel(onBar) == gdi::toPixel(BarBlue); }, 2000));

    bar->Cls();
    ASSERT_TRUE(maskSoonContains(onBar, false));
    bar->hdc()->fillRect(gdi::Rect{0, 0, 40, 10}, gdi::Brush::solid(BarBlue));
    bar->update();
    ASSERT_TRUE(maskSoonContains(onBar, true));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownPixel(onBar) == gdi::toPixel(BarBlue); }, 2000))
        << "shows " << std::hex << shownPixel(onBar);
}

// The mask is taken again only when something it is made from changed; each of these changes
// must still reach it with nothing but the widgets' own repaints.
struct MaskChange {
    const char *name;
    QPoint at;
    bool containedAfter;
    std::function<void(runtime::Form *, runtime::PictureBox *, runtime::Label *)> change;
    QRect labelAt{20, 12, 4, 4}; // over the form's back colour
};

class LayeredWindowChanges : public LayeredWindowTest, public ::testing::WithParamInterface<MaskChange> {};

TEST_P(LayeredWindowChanges, MaskFollows)
{
    auto *label = new runtime::Label(form, QStringLiteral("LabelStatus"));
    const MaskChange &row = GetParam();
    label->setGeometry(row.labelAt);
    showLayered();
    ASSERT_NE(form->mask().contains(row.at), row.containedAfter);
    row.change(form, bar, label);
    EXPECT_TRUE(maskSoonContains(row.at, row.containedAfter));
    // Only what changed is taken again; the mask must still be the one of the whole window.
    EXPECT_TRUE(QTest::qWaitFor([&] { return (form->mask() ^ os::RegionWithoutColor(os::ComposeWindowImage(form), Key)).isEmpty(); }, 2000));
}

const MaskChange maskChanges[] = {
    {"BarDrawnOverKey", {1, 1}, true,
     [](runtime::Form *, runtime::PictureBox *bar, runtime::Label *) {
         bar->hdc()->setPixelV(1, 1, BarBlue);
         bar->update(1, 1, 1, 1);
     }},
    {"BarClearedToKey", {10, 5}, false, [](runtime::Form *, runtime::PictureBox *bar, runtime::Label *) { bar->Cls(); }},
    {"LabelMovedOverKey", {38, 2}, true,
     [](runtime::Form *, runtime::PictureBox *, runtime::Label *label) { label->move(37, 1); }},
    {"BarHidden", {0, 0}, true, // the form's own back colour shows there
     [](runtime::Form *, runtime::PictureBox *bar, runtime::Label *) { bar->hide(); }},
    {"BarMovedAway", {0, 0}, true, [](runtime::Form *, runtime::PictureBox *bar, runtime::Label *) { bar->move(0, 40); }},
    {"WindowWidened", {42, 20}, true, [](runtime::Form *form, runtime::PictureBox *, runtime::Label *) { form->resize(50, 30); }},
    {"LabelMovedOntoTheFormsKey", {20, 20}, true,
     [](runtime::Form *, runtime::PictureBox *, runtime::Label *label) { label->move(19, 19); }},
    {"BarLoweredUnderALabelOverItsKey", {1, 1}, true,
     [](runtime::Form *, runtime::PictureBox *bar, runtime::Label *label) {
         label->setGeometry(0, 0, 3, 3);
         label->raise();
         bar->raise();
         label->raise(); // the label, opaque, now covers the bar's key
     }},
    {"FormDrawnOverItsKey", {20, 20}, true,
     [](runtime::Form *form, runtime::PictureBox *, runtime::Label *) {
         form->hdc()->setPixelV(20, 20, BarBlue);
         form->update();
     }},
    // A widget over key pixels that moves or shrinks uncovers them: its old place leaves the mask.
    {"LabelMovedOffTheKey", {37, 1}, false,
     [](runtime::Form *, runtime::PictureBox *, runtime::Label *label) { label->move(20, 12); }, {36, 0, 4, 4}},
    {"LabelShrunkOffTheKey", {39, 3}, false,
     [](runtime::Form *, runtime::PictureBox *, runtime::Label *label) { label->resize(2, 2); }, {36, 0, 4, 4}},
};
INSTANTIATE_TEST_SUITE_P(Changes, LayeredWindowChanges, ::testing::ValuesIn(maskChanges),
                         [](const ::testing::TestParamInfo<MaskChange> &info) { return std::string(info.param.name); });

TEST(RegionWithoutColor, ExactMatchOnly)
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0xF8, 0xB8, 0xF7));
    image.setPixel(1, 0, qRgb(0xF8, 0xB8, 0xF6));
    image.setPixel(2, 0, qRgb(0, 0, 0));
    const QRegion region = os::RegionWithoutColor(image, Key);
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(1, 0)));
    EXPECT_TRUE(region.contains(QPoint(2, 0)));
    EXPECT_TRUE(os::RegionWithoutColor(QImage(), Key).isEmpty());
}

// The region built from runs of each row is the one the platform's own bitmap region gives, for
// the shapes a window has: plain areas, repeated rows, stripes, lone pixels, all key or none.
struct KeyPattern {
    const char *name;
    QSize size;
    std::function<bool(int x, int y)> isKey;
};

class RegionWithoutColorPatterns : public ::testing::TestWithParam<KeyPattern> {};

TEST_P(RegionWithoutColorPatterns, EqualsTheBitmapRegion)
{
    const KeyPattern &pattern = GetParam();
    QImage image(pattern.size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, pattern.isKey(x, y) ? gdi::toPixel(Key) : qRgb((x * 7) & 0xFF, y & 0xFF, 0x40));
    }
    const QRegion reference(QBitmap::fromImage(image.createMaskFromColor(gdi::toPixel(Key), Qt::MaskInColor)));
    const QRegion region = os::RegionWithoutColor(image, Key);
    EXPECT_TRUE((region ^ reference).isEmpty());
    EXPECT_LE(region.rectCount(), reference.rectCount()) << "rows alike make one band";
}

const KeyPattern keyPatterns[] = {
    {"NoKey", {30, 20}, [](int, int) { return false; }},
    {"AllKey", {30, 20}, [](int, int) { return true; }},
    {"TitleBarCorners", {40, 30}, [](int x, int y) { return y < 3 && (x < 3 - y || x > 36 + y); }},
    {"VerticalStripes", {31, 9}, [](int x, int) { return x % 3 == 0; }},
    {"HorizontalStripes", {9, 31}, [](int, int y) { return y % 4 < 2; }},
    {"Checker", {17, 13}, [](int x, int y) { return (x + y) % 2 == 0; }},
    {"LonePixels", {50, 40}, [](int x, int y) { return (x * 31 + y * 17) % 97 == 0; }},
    {"KeyHoleInTheMiddle", {20, 20}, [](int x, int y) { return x >= 5 && x < 15 && y >= 8 && y < 12; }},
};
INSTANTIATE_TEST_SUITE_P(Patterns, RegionWithoutColorPatterns, ::testing::ValuesIn(keyPatterns),
                         [](const ::testing::TestParamInfo<KeyPattern> &info) { return std::string(info.param.name); });

}

#include "controls/dcButton.h"
#include "controls/dcButtonState.h"
#include "runtime/Form.h"

#include "support/TestOutput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using runtime::PropertyBag;
using runtime::StdPicture;

namespace {

StdPicture solidPicture(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return StdPicture::fromImage(image);
}

// A window with one button, 100 x 30 pixels.
class dcButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<runtime::Form>(QStringLiteral("FrmTest"));
        form->resize(240, 120);
        button = makeButton(QStringLiteral("Command1"));
    }

    dcButton *makeButton(const QString &name)
    {
        auto *b = new dcButton(form.get(), name);
        b->setGeometry(10, 10, 100, 30);
        return b;
    }

    QImage drawn(int state = -1) const
    {
        QImage image(button->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        gdi::Dc dc(&image);
        button->draw(dc, state);
        return image;
    }

    static gdi::ColorRef at(const QImage &image, int x, int y) { return gdi::fromPixel(image.pixel(x, y)); }

    std::unique_ptr<runtime::Form> form;
    dcButton *button = nullptr;
};

}

TEST_F(dcButtonTest, FreshButtonStartsWithTheValuesOfANewButton)
{
    button->InitNew();
    // Read by name, as the colour engine and the windows reach them.
    const std::pair<const char *, QVariant> fresh[] = {
        {"Caption", QStringLiteral("Command1")}, // the control's name
        {"BackColor", 0x808080u},
        {"BackStartColor", 0x404040u},
        {"ForeColor", 0xFFFFFFu}, // the button's own, not the host's
        {"MaskColor", 0xC0C0C0u},
        {"ButtonShape", 3},
        {"PictureAlignment", 3},  // at the left edge, where a missing key gives the centre
        {"SpecialEffect", 3},
        {"PictureOpacity", 100},
        {"PictureSize", 0},
        {"UseMaskColor", true},
        {"Value", false},
        {"CheckBoxMode", false},
        {"HandPointer", false},
    };
    for (const auto &[name, value] : fresh)
        EXPECT_EQ(button->property(name), value) << name;
    EXPECT_TRUE(button->Enabled());
    EXPECT_EQ(button->Font(), form->Font()) << "the ambient font";
    EXPECT_EQ(button->colors().DownBackColor, 0x666666u);
    EXPECT_EQ(button->colors().HotBackColor, 0xB3B3B3u);
    EXPECT_EQ(button->colors().DisabledBackColor, 0xE6E6E6u);
    EXPECT_EQ(button->colors().DisabledTextColor, 0xFFFFFFu);
}

TEST_F(dcButtonTest, MissingKeysGiveTheLoadDefaults)
{
    button->ReadProperties(PropertyBag{});
    EXPECT_EQ(button->PictureAlignment(), 0) << "a newly placed button starts with 3";
    EXPECT_EQ(button->ForeColor(), form->ForeColor()) << "the container's ambient fore colour";
    EXPECT_EQ(button->colors().TextColor, runtime::TranslateOrBlack(form->ForeColor()));
    EXPECT_EQ(button->Caption(), QStringLiteral("Command1"));
    EXPECT_EQ(button->BackColor(), 0x808080u);
    EXPECT_EQ(button->BackStartColor(), 0x404040u);
    EXPECT_EQ(button->ButtonShape(), 3);
    EXPECT_EQ(button->SpecialEffect(), 3);
    EXPECT_EQ(button->PictureOpacity(), 100);
    EXPECT_TRUE(button->Enabled());
    EXPECT_TRUE(button->UseMaskColor());
    EXPECT_EQ(button->visualState(), 0);
}

TEST_F(dcButtonTest, FreshButtonStoresOnlyWhatDiffersFromTheLoadDefaults)
{
    button->InitNew();
    const PropertyBag bag = button->WriteProperties();
    EXPECT_EQ(bag.Keys(), (QStringList{QStringLiteral("ForeColor"), QStringLiteral("PicAlign")}));
}

TEST_F(dcButtonTest, StoredDataRoundTrip)
{
    button->InitNew();
    const StdPicture normal = solidPicture({16, 16}, qRgb(255, 0, 0));
    const StdPicture hot = solidPicture({16, 16}, qRgb(0, 255, 0));
    const StdPicture down = solidPicture({16, 16}, qRgb(0, 0, 255));
    const StdPicture cursor = solidPicture({32, 32}, qRgb(0, 0, 0));
    button->setBackColor(0x102030);
    button->setBackStartColor(0x405060);
    button->setButtonShape(0);
    button->setCaption(QStringLiteral("&Scan"));
    button->setCheckBoxMode(true);
    button->setSpecialEffect(1);
    runtime::StdFont font(QStringLiteral("Verdana"), 10, true);
    button->setFont(font);
    button->setForeColor(0x000001);
    button->setMaskColor(0xFF00FF);
    button->setMouseIcon(cursor);
    button->setPictureAlignment(4);
    button->setPictureNormal(normal);
    button->setPictureHot(hot);
    button->setPictureDown(down);
    button->setPictureOpacity(40);
    button->setPictureSize(3);
    button->setUseMaskColor(false);
    button->setValue(true);
    button->setHandPointer(true);
    button->setEnabled(false);

    const PropertyBag bag = button->WriteProperties();
    EXPECT_EQ(bag.Keys(),
              (QStringList{"BackColor", "BackStartColor", "ButtonShape", "Caption", "CheckBox", "Effects",
                           "Enabled", "Font", "ForeColor", "HandPointer", "MaskColor", "MouseIcon",
                           "MousePointer", "PicAlign", "PicDown", "PicHot", "PicNormal", "PicOpacity",
                           "PicSize", "PicSizeH", "PicSizeW", "State", "UseMask", "Value"}));
    EXPECT_FLOAT_EQ(bag.ReadProperty(QStringLiteral("PicOpacity")).toFloat(), 0.4f) << "stored as the fraction";
    EXPECT_EQ(bag.ReadProperty(QStringLiteral("State")).toInt(), 3);

    dcButton *copy = makeButton(QStringLiteral("Command2"));
    copy->ReadProperties(bag);
    EXPECT_EQ(copy->BackColor(), 0x102030u);
    EXPECT_EQ(copy->BackStartColor(), 0x405060u);
    EXPECT_EQ(copy->ButtonShape(), 0);
    EXPECT_EQ(copy->Caption(), QStringLiteral("&Scan"));
    EXPECT_TRUE(copy->CheckBoxMode());
    EXPECT_EQ(copy->SpecialEffect(), 1);
    EXPECT_EQ(copy->Font(), font);
    EXPECT_EQ(copy->ForeColor(), 0x000001u);
    EXPECT_EQ(copy->MaskColor(), 0xFF00FFu);
    EXPECT_EQ(copy->MouseIcon(), cursor);
    EXPECT_EQ(copy->MousePointer(), int(runtime::vbCustom));
    EXPECT_EQ(copy->PictureAlignment(), 4);
    EXPECT_EQ(copy->PictureNormal(), normal);
    EXPECT_EQ(copy->PictureHot(), hot);
    EXPECT_EQ(copy->PictureDown(), down);
    EXPECT_EQ(copy->PictureOpacity(), 40);
    EXPECT_EQ(copy->PictureSize(), 3);
    EXPECT_EQ(copy->PictureSizeW(), 32);
    EXPECT_EQ(copy->PictureSizeH(), 32);
    EXPECT_FALSE(copy->UseMaskColor());
    EXPECT_TRUE(copy->Value());
    EXPECT_TRUE(copy->HandPointer());
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(copy->visualState(), 3);
    EXPECT_EQ(copy->colors().FaceColor, 0x102030u);
    EXPECT_EQ(copy->colors().DisabledTextColor, ColorMath::blend(0x000001, 0xFFFFFF, 0.6f));
}

TEST_F(dcButtonTest, UnreadableValueLeavesTheField)
{
    button->ReadProperties(PropertyBag{{QStringLiteral("PicAlign"), QStringLiteral("left")},
                                       {QStringLiteral("Effects"), 2}});
    EXPECT_EQ(button->PictureAlignment(), 3) << "kept from creation, not the missing-key default 0";
    EXPECT_EQ(button->SpecialEffect(), 2) << "the other keys still load";
}

TEST_F(dcButtonTest, ColourEngineSetsColoursByName)
{
    button->InitNew();
    button->ClearChangedProperties();
    EXPECT_TRUE(runtime::setPropertyByName(button, "BackColor", QVariant::fromValue(0x202020u)));
    EXPECT_TRUE(runtime::setPropertyByName(button, "BackStartColor", QVariant::fromValue(0x202020u)));
    EXPECT_TRUE(runtime::setPropertyByName(button, "ForeColor", QVariant::fromValue(0x00FFFFu)));
    EXPECT_EQ(button->colors().FaceColor, 0x202020u);
    EXPECT_EQ(button->colors().FaceTopColor, 0x202020u);
    EXPECT_EQ(button->colors().TextColor, 0x00FFFFu);
    EXPECT_EQ(button->colors().HotBackColor, 0x535353u);
    EXPECT_EQ(button->ChangedProperties(),
              (QStringList{QStringLiteral("BackColor"), QStringLiteral("BackStartColor"), QStringLiteral("ForeColor")}));
    EXPECT_EQ(at(drawn(0), 5, 14), 0x202020u) << "a flat face once both colours are the same";

    for (const char *name : {"ButtonShape", "Caption", "CheckBoxMode", "Enabled", "Font", "HandPointer",
                             "MaskColor", "MouseIcon", "MousePointer", "PictureAlignment", "PictureDown",
                             "PictureHot", "PictureNormal", "PictureOpacity", "PictureSize", "PictureSizeH",
                             "PictureSizeW", "SpecialEffect", "UseMaskColor", "Value", "FontBold", "FontItalic",
                             "FontName", "FontSize", "FontStrikethru", "FontUnderline", "hwnd"})
        EXPECT_TRUE(runtime::getPropertyByName(button, name).isValid()) << name;
}

TEST_F(dcButtonTest, SystemColoursAreTranslated)
{
    button->InitNew();
    button->setForeColor(runtime::vbButtonText);
    EXPECT_EQ(button->colors().TextColor, runtime::GetSysColor(runtime::COLOR_BTNTEXT));
    button->setBackColor(0x8000FFFFu);
    EXPECT_EQ(button->colors().FaceColor, 0u) << "a colour that cannot be translated is black";
}

TEST_F(dcButtonTest, OverrideColorLastsUntilTheNextRebuild)
{
    button->InitNew();
    EXPECT_TRUE(button->OverrideColor(4, 0x0000FF));
    EXPECT_EQ(button->colors().HotBackColor, 0x0000FFu);
    EXPECT_EQ(at(drawn(1), 5, 14), ColorMath::blend(0x404040, 0x0000FF, 0.5f));
    button->setBackColor(0x808080);
    EXPECT_EQ(button->colors().HotBackColor, 0xB3B3B3u);

    const dcButtonColors before = button->colors();
    EXPECT_FALSE(button->OverrideColor(6, 0x0000FF)) << "error 5";
    EXPECT_EQ(button->colors().HotBackColor, before.HotBackColor);
}

TEST_F(dcButtonTest, ColorSchemeRestoresTheDefaultColoursWithoutMarking)
{
    button->InitNew();
    button->setBackColor(0x123456);
    button->ClearChangedProperties();
    button->ColorScheme();
    EXPECT_EQ(button->BackColor(), 0x808080u);
    EXPECT_EQ(button->colors().FaceColor, 0x808080u);
    EXPECT_TRUE(button->ChangedProperties().isEmpty());
}

TEST_F(dcButtonTest, PictureOpacityIsClamped)
{
    button->InitNew();
    button->setPictureOpacity(5);
    EXPECT_EQ(button->PictureOpacity(), 10);
    EXPECT_FLOAT_EQ(button->WriteProperties().ReadProperty(QStringLiteral("PicOpacity")).toFloat(), 0.1f);
    button->setPictureOpacity(250);
    EXPECT_EQ(button->PictureOpacity(), 100);
    EXPECT_FALSE(button->WriteProperties().Contains(QStringLiteral("PicOpacity")));
}

TEST_F(dcButtonTest, PictureRules)
{
    button->InitNew();
    const StdPicture first = solidPicture({20, 10}, qRgb(255, 0, 0));
    button->setPictureHot(first);
    EXPECT_EQ(button->PictureNormal(), first) << "without a normal picture the hot one becomes it";
    EXPECT_TRUE(button->PictureHot().isNothing());
    EXPECT_EQ(button->PictureSize(), 0);
    EXPECT_EQ(button->PictureSizeW(), 20) << "size 0 takes the picture's own size";
    EXPECT_EQ(button->PictureSizeH(), 10);

    button->setPictureHot(solidPicture({20, 10}, qRgb(0, 255, 0)));
    EXPECT_EQ(button->PictureSize(), 0) << "same size keeps size 0";
    button->setPictureDown(solidPicture({32, 32}, qRgb(0, 0, 255)));
    EXPECT_EQ(button->PictureSize(), 5) << "a down picture of another size fixes the size";
    EXPECT_EQ(button->PictureSizeW(), 20);

    button->setPictureSize(2);
    EXPECT_EQ(button->PictureSizeW(), 24);
    EXPECT_EQ(button->PictureSizeH(), 24);
    button->setPictureSizeW(30);
    EXPECT_EQ(button->PictureSize(), 5);
    EXPECT_EQ(button->PictureSizeW(), 30);
    EXPECT_EQ(button->PictureSizeH(), 24);

    button->setPictureNormal(StdPicture());
    EXPECT_TRUE(button->PictureHot().isNothing());
    EXPECT_TRUE(button->PictureDown().isNothing());
    EXPECT_EQ(button->PictureOpacity(), 0);
    EXPECT_EQ(button->PictureSize(), 0);
    EXPECT_EQ(button->PictureSizeW(), 0);
    button->setPictureNormal(first);
    EXPECT_EQ(button->PictureOpacity(), 100) << "a picture set at opacity 0 brings it back to 100";
}

TEST_F(dcButtonTest, CheckBoxModeOffClearsValue)
{
    button->InitNew();
    button->setCheckBoxMode(true);
    button->setValue(true);
    EXPECT_TRUE(button->Value());
    button->ClearChangedProperties();
    button->setCheckBoxMode(false);
    EXPECT_FALSE(button->Value());
    EXPECT_EQ(button->ChangedProperties(), (QStringList{QStringLiteral("Value"), QStringLiteral("CheckBox")}));
}

TEST_F(dcButtonTest, ValueTrueOnAPushButtonClicksOnceAtRunTime)
{
    button->InitNew();
    QSignalSpy clicks(button, &dcButton::Click);
    bool valueInsideClick = false;
    QObject::connect(button, &dcButton::Click, [&] { valueInsideClick = button->Value(); });
    button->setValue(true);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(valueInsideClick);
    EXPECT_FALSE(button->Value());

    button->setCheckBoxMode(true);
    button->setValue(true);
    EXPECT_EQ(clicks.count(), 1) << "a toggle just switches on";
    EXPECT_TRUE(button->Value());
}

TEST_F(dcButtonTest, ValueTrueAtDesignTimeReverts)
{
    form->setUserMode(false);
    button->InitNew();
    QSignalSpy clicks(button, &dcButton::Click);
    button->setValue(true);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->Value());
}

TEST_F(dcButtonTest, MousePointerOtherThanCustomDropsTheHandPointer)
{
    button->InitNew();
    button->setHandPointer(true);
    button->setMousePointer(runtime::vbCustom);
    EXPECT_TRUE(button->HandPointer());
    button->setMousePointer(runtime::vbArrow);
    EXPECT_FALSE(button->HandPointer());
    button->setMouseIcon(solidPicture({16, 16}, qRgb(0, 0, 0)));
    EXPECT_EQ(button->MousePointer(), int(runtime::vbCustom));
    button->setMouseIcon(StdPicture());
    EXPECT_EQ(button->MousePointer(), int(runtime::vbDefault));
}

TEST_F(dcButtonTest, ShownButtonPaintsItsSurfaceAndShapesItsWindow)
{
    button->InitNew();
    button->setButtonShape(0);
    form->show();
    QApplication::processEvents();
    const QImage &shown = button->image();
    ASSERT_EQ(shown.size(), QSize(100, 30));
    EXPECT_EQ(at(shown, 5, 14), 0x606060u);
    EXPECT_FALSE(button->mask().contains(QPoint(0, 0))) << "rounded corner";
    EXPECT_TRUE(button->mask().contains(QPoint(50, 15)));

    button->setButtonShape(3);
    EXPECT_TRUE(button->mask().contains(QPoint(0, 0))) << "square corners";
}

TEST_F(dcButtonTest, RecolouredWhileHiddenShowsTheNewColoursWhenShownAgain)
{
    button->InitNew();
    form->show();
    QApplication::processEvents();
    form->hide();
    QApplication::processEvents();
    button->setBackColor(0x000080);
    button->setBackStartColor(0x000080);
    EXPECT_EQ(at(button->image(), 5, 14), 0x606060u) << "nothing is painted while hidden";
    form->show();
    QApplication::processEvents();
    EXPECT_EQ(at(button->image(), 5, 14), 0x000080u);
}

TEST_F(dcButtonTest, ShrinkingBelowFifteenPixelsGrowsBack)
{
    button->InitNew();
    form->show();
    QApplication::processEvents();
    button->resize(100, 10);
    QApplication::processEvents();
    EXPECT_EQ(button->height(), 15);
    button->resize(4, 40);
    QApplication::processEvents();
    EXPECT_EQ(button->size(), QSize(15, 40));
}

TEST_F(dcButtonTest, WritesEveryVisualState)
{
    button->InitNew();
    button->setCaption(QStringLiteral("&Scan"));
    button->setButtonShape(0);
    // Halfway down, the face is halfway from its top colour to the state's own colour.
    const dcButtonColors &colors = button->colors();
    struct Shot {
        const char *name;
        int state;
        gdi::ColorRef stateColor;
    };
    for (const Shot &shot : {Shot{"state0_normal", 0, colors.FaceColor}, Shot{"state1_hot", 1, colors.HotBackColor},
                             Shot{"state2_down", 2, colors.DownBackColor}}) {
        const QImage image = drawn(shot.state);
        EXPECT_FALSE(testsupport::writeTestPng("dcButton", shot.name, image).isEmpty());
        EXPECT_EQ(at(image, 5, 14), ColorMath::blend(colors.FaceTopColor, shot.stateColor, 0.5f)) << shot.name;
    }
    button->setEnabled(false);
    const QImage disabled = drawn();
    testsupport::writeTestPng("dcButton", "state3_disabled", disabled);
    EXPECT_EQ(at(disabled, 5, 14), colors.DisabledBackColor);
    button->setEnabled(true);

    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    button->setFocus();
    QApplication::processEvents();
    const QImage focused = drawn(0);
    testsupport::writeTestPng("dcButton", "state0_focused", focused);
    EXPECT_EQ(at(focused, 50, 1), 0x808080u) << "the focus frame in FaceColor";
    button->clearFocus();

    button->setPictureNormal(solidPicture({16, 16}, qRgb(255, 160, 0)));
    button->setPictureAlignment(4);
    const auto orangePixels = [](const QImage &image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == qRgb(255, 160, 0);
        return count;
    };
    const QImage withPicture = drawn(0);
    testsupport::writeTestPng("dcButton", "state0_picture_left_of_caption", withPicture);
    EXPECT_EQ(orangePixels(withPicture), 16 * 16);
    button->setEnabled(false);
    const QImage disabledPicture = drawn();
    testsupport::writeTestPng("dcButton", "state3_picture", disabledPicture);
    EXPECT_EQ(orangePixels(disabledPicture), 0) << "a disabled button's picture is faded";
    button->setEnabled(true);

    button->setPictureNormal(StdPicture());
    button->setCheckBoxMode(true);
    button->setValue(true);
    const QImage toggled = drawn(0);
    testsupport::writeTestPng("dcButton", "toggle_on", toggled);
    EXPECT_EQ(at(toggled, 5, 14), 0x535353u) << "a toggle that is on paints as down";
}

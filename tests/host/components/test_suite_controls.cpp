#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/SuiteGroupBox.h"
#include "components/SuiteLabel.h"
#include "components/SuitePushButton.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/TestOutput.h"

namespace {

struct ChooserReset {
    ~ChooserReset() { SuiteColorPicker::setChooser(nullptr); }
};

}

TEST(SuiteColorPicker, TextAssignmentConvertsOrFailsWithoutChange)
{
    QWidget host;
    SuiteColorPicker swatch(&host, QStringLiteral("ColorPicker"), 7);
    QSignalSpy change(&swatch, &SuiteColorPicker::Change);
    EXPECT_TRUE(swatch.SetColorFromText(QStringLiteral("16750899")));
    EXPECT_EQ(swatch.Color(), 0xFF9933u);
    EXPECT_TRUE(swatch.SetColorFromText(QStringLiteral("-2147483633"))); // the high bit set
    EXPECT_EQ(swatch.Color(), 0x8000000Fu);
    for (const char *bad : {"", "blue", "12ab", "99999999999"}) {
        EXPECT_FALSE(swatch.SetColorFromText(QString::fromLatin1(bad))) << bad;
        EXPECT_EQ(swatch.Color(), 0x8000000Fu) << bad;
    }
    swatch.setColor(0x123456);
    EXPECT_EQ(change.count(), 0); // the program's sets never notify
}

TEST(SuiteColorPicker, OnlyTheUsersChoiceNotifies)
{
    ChooserReset reset;
    QWidget host;
    host.resize(200, 40);
    SuiteColorPicker swatch(&host, QStringLiteral("ColorPicker"), 0);
    swatch.setGeometry(0, 0, 132, 24);
    host.show();
    QSignalSpy change(&swatch, &SuiteColorPicker::Change);
    std::optional<runtime::OleColor> answer = 0x00FF00;
    SuiteColorPicker::setChooser([&](runtime::OleColor, QWidget *) { return answer; });
    QTest::mouseClick(&swatch, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(swatch.Color(), 0x00FF00u);
    answer.reset(); // cancelled
    QTest::mouseClick(&swatch, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(swatch.Color(), 0x00FF00u);
}

TEST(SuiteCheckBox, ValueFromTextAndClicks)
{
    QWidget host;
    host.resize(200, 40);
    SuiteCheckBox box(&host, QStringLiteral("CheckDisableShadow"));
    box.setGeometry(0, 0, 180, 20);
    host.show();
    EXPECT_TRUE(box.SetValueFromText(QStringLiteral("1")));
    EXPECT_EQ(box.Value(), 1);
    EXPECT_FALSE(box.SetValueFromText(QStringLiteral("yes")));
    EXPECT_FALSE(box.SetValueFromText(QStringLiteral("2")));
    EXPECT_EQ(box.Value(), 1);
    QSignalSpy click(&box, &SuiteCheckBox::Click);
    QSignalSpy up(&box, &SuiteCheckBox::MouseUp);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(box.Value(), 0);
    EXPECT_EQ(click.count(), 1);
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0).at(0).toInt(), 1);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(5, 10));
    EXPECT_EQ(box.Value(), 0); // only the left button toggles
    EXPECT_EQ(up.count(), 2);
}

TEST(SuitePushButton, ClickOnReleaseOverIt)
{
    QWidget host;
    host.resize(300, 60);
    SuitePushButton button(&host, QStringLiteral("Command2"));
    button.setGeometry(0, 0, 169, 25);
    button.setCaption(QStringLiteral("Save Current Colors As Preset"));
    host.show();
    QSignalSpy click(&button, &SuitePushButton::Click);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(click.count(), 1);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(250, 10)); // released outside
    EXPECT_EQ(click.count(), 1);
}

// The controls that take the focus answer the space bar as they answer a click.
TEST(SuiteControls, SpaceBarClicksWhatTakesTheFocus)
{
    ChooserReset reset;
    QWidget host;
    host.resize(300, 100);
    SuiteCheckBox box(&host, QStringLiteral("CheckDisableShadow"));
    SuitePushButton button(&host, QStringLiteral("Command2"));
    SuiteColorPicker swatch(&host, QStringLiteral("ColorPicker"), 0);
    box.setGeometry(0, 0, 180, 20);
    button.setGeometry(0, 30, 169, 25);
    swatch.setGeometry(0, 60, 132, 24);
    host.show();
    SuiteColorPicker::setChooser([](runtime::OleColor, QWidget *) { return runtime::OleColor(0x00FF00); });
    QSignalSpy boxClick(&box, &SuiteCheckBox::Click);
    QSignalSpy buttonClick(&button, &SuitePushButton::Click);
    QSignalSpy change(&swatch, &SuiteColorPicker::Change);

    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(box.Value(), 1);
    EXPECT_EQ(boxClick.count(), 1);
    QTest::keyClick(&box, Qt::Key_A);
    EXPECT_EQ(box.Value(), 1);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(buttonClick.count(), 1);
    QTest::keyClick(&swatch, Qt::Key_Space);
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(swatch.Color(), 0x00FF00u);
}

TEST(SuiteControls, DrawnInTheColoursLastAssignedByName)
{
    QWidget host;
    SuiteLabel label(&host, QStringLiteral("Label1"));
    SuiteGroupBox group(&host, QStringLiteral("FrameNormal"), 0);
    SuiteColorPicker swatch(&host, QStringLiteral("ColorPicker"), 6);
    SuiteCheckBox check(&host, QStringLiteral("CheckDisableShadow"));
    SuitePushButton button(&host, QStringLiteral("Command2"));
    label.resize(100, 20);
    group.resize(140, 80);
    swatch.resize(132, 24);
    check.resize(180, 20);
    button.resize(169, 25);
    label.setCaption(QStringLiteral("Color Presets:"));
    group.setCaption(QStringLiteral("Title Bar && Border"));
    swatch.setCaption(QStringLiteral("Title Top"));
    swatch.setColor(0xFF9933);
    check.setCaption(QStringLiteral("Disable Border Shadow"));
    button.setCaption(QStringLiteral("Save"));
    for (runtime::Control *c : std::initializer_list<runtime::Control *>{&label, &group, &swatch, &check, &button}) {
        EXPECT_TRUE(runtime::setPropertyByName(c, "BackColor", QVariant(int(0x404040)))) << c->Name().toStdString();
        EXPECT_TRUE(runtime::setPropertyByName(c, "ForeColor", QVariant(int(0xE0E0E0)))) << c->Name().toStdString();
    }
    EXPECT_TRUE(runtime::setPropertyByName(&group, "Appearance", 2));
    EXPECT_TRUE(runtime::setPropertyByName(&swatch, "Appearance", 2));
    EXPECT_FALSE(runtime::setPropertyByName(&label, "Appearance", 2));

    const QImage l = label.Render();
    EXPECT_EQ(l.pixel(99, 19), qRgb(0x40, 0x40, 0x40));
    int text = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            text += qGray(l.pixel(x, y)) > 0x90; // the caption's (smoothed) letters
    EXPECT_GT(text, 10);
    const QImage s = swatch.Render();
    EXPECT_EQ(s.pixel(10, 12), qRgb(0x33, 0x99, 0xFF)); // the patch in the swatch's colour
    EXPECT_EQ(group.Render().pixel(70, 60), qRgb(0x40, 0x40, 0x40));
    testsupport::writeTestPng("SuiteControls", "label", l);
    testsupport::writeTestPng("SuiteControls", "groupbox", group.Render());
    testsupport::writeTestPng("SuiteControls", "colorpicker", s);
    check.setValue(1);
    testsupport::writeTestPng("SuiteControls", "checkbox", check.Render());
    testsupport::writeTestPng("SuiteControls", "pushbutton", button.Render());
}

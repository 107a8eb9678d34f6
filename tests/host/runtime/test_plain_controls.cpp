#include "runtime/ComboBox.h"
#include "runtime/HScrollBar.h"
#include "runtime/InputBox.h"
#include "runtime/ResPicture.h"

#include <QComboBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QInputDialog>
#include <QLineEdit>
#include <QApplication>

#include <gtest/gtest.h>

TEST(ComboBox, StartsWithNothingChosenAndRaisesClickForTheUsersChoice)
{
    QWidget host;
    runtime::ComboBox combo(&host, QStringLiteral("Combo2"));
    QSignalSpy click(&combo, &runtime::ComboBox::Click);
    for (const char *item : {"", "Current Windows Default", "Night"})
        combo.AddItem(QString::fromLatin1(item));
    EXPECT_EQ(combo.ListCount(), 3);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), QString());
    EXPECT_EQ(click.count(), 0);
    combo.view()->setCurrentIndex(2);
    emit combo.view()->activated(2);
    EXPECT_EQ(combo.Text(), QStringLiteral("Night"));
    EXPECT_EQ(click.count(), 1);
    emit combo.view()->activated(2); // the same entry again is still a choice
    EXPECT_EQ(click.count(), 2);
    combo.setListIndex(1);
    EXPECT_EQ(click.count(), 3);
    combo.setListIndex(7); // refused
    EXPECT_EQ(combo.ListIndex(), 1);
    // By name, as the preset list filler uses it.
    EXPECT_TRUE(QMetaObject::invokeMethod(&combo, "Clear"));
    EXPECT_TRUE(QMetaObject::invokeMethod(&combo, "AddItem", Q_ARG(QString, QStringLiteral("x"))));
    EXPECT_EQ(combo.ListCount(), 1);
    EXPECT_EQ(combo.Text(), QString());
    EXPECT_TRUE(runtime::setPropertyByName(&combo, "BackColor", 0xC8C8C8u));
    EXPECT_EQ(combo.view()->palette().color(QPalette::Base), QColor(0xC8, 0xC8, 0xC8));
}

TEST(HScrollBar, ValueStaysInItsRangeAndEveryChangeIsReported)
{
    QWidget host;
    runtime::HScrollBar scroll(&host, QStringLiteral("HScrollPBExample"));
    scroll.setMin(0);
    scroll.setMax(100);
    scroll.setLargeChange(10);
    QSignalSpy change(&scroll, &runtime::HScrollBar::Change);
    scroll.setValue(50);
    EXPECT_EQ(scroll.Value(), 50);
    EXPECT_EQ(change.count(), 1);
    scroll.setValue(101); // refused
    EXPECT_EQ(scroll.Value(), 50);
    scroll.view()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(scroll.Value(), 60);
    EXPECT_EQ(change.count(), 2);

    // A drag scrolls as it goes and changes once, where it ends; a drag that ends where it began
    // changes nothing.
    QSignalSpy scrolled(&scroll, &runtime::HScrollBar::Scroll);
    scroll.view()->setSliderDown(true);
    scroll.view()->setSliderPosition(70);
    scroll.view()->setSliderPosition(80);
    scroll.view()->setSliderDown(false);
    EXPECT_EQ(scrolled.count(), 2);
    EXPECT_EQ(change.count(), 3);
    scroll.view()->setSliderDown(true);
    scroll.view()->setSliderDown(false);
    EXPECT_EQ(change.count(), 3);
}

TEST(InputBox, AnswersTheTextTypedOrEmptyWhenCancelled)
{
    // The real box, answered by keys as a user would.
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save Colors As Preset"));
        EXPECT_EQ(dialog->labelText(), QStringLiteral("Preset Name:"));
        EXPECT_EQ(dialog->textValue(), QStringLiteral("Night"));
        dialog->setTextValue(QStringLiteral(" Dawn "));
        dialog->accept();
    });
    EXPECT_EQ(runtime::InputBox(QStringLiteral("Preset Name:"), QStringLiteral("Save Colors As Preset"), QStringLiteral("Night")),
              QStringLiteral(" Dawn "));
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_EQ(runtime::InputBox(QStringLiteral("Preset Name:"), QStringLiteral("t"), QStringLiteral("Night")), QString());
}

TEST(LoadResPicture, TheHandCursorIsAnIconPictureAndUnknownNamesAreNothing)
{
    const runtime::StdPicture hand = runtime::LoadResPicture(QStringLiteral("APPHAND"), runtime::vbResCursor);
    ASSERT_FALSE(hand.isNothing());
    EXPECT_EQ(hand.Type(), runtime::StdPicture::vbPicTypeIcon);
    // Its hot spot is the centre: the fingertip is drawn there.
    EXPECT_GT(qAlpha(hand.image().pixel(hand.pixelWidth() / 2, hand.pixelHeight() / 2 + 2)), 0);
    EXPECT_TRUE(runtime::LoadResPicture(QStringLiteral("NOPE"), runtime::vbResCursor).isNothing());
    EXPECT_TRUE(runtime::LoadResPicture(QStringLiteral("APPHAND"), runtime::vbResBitmap).isNothing());
}

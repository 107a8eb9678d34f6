#include "controls/dcButton.h"
#include "controls/dcButtonState.h"
#include "os/MouseTracking.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Forms.h"

#include "support/TestOutput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Every event of a button in the order raised.
struct EventLog {
    QStringList events;

    void attach(dcButton *b)
    {
        QObject::connect(b, &dcButton::Click, [this] { events << "Click"; });
        QObject::connect(b, &dcButton::DblClick, [this] { events << "DblClick"; });
        QObject::connect(b, &dcButton::KeyDown, [this](int k, int) { events << QStringLiteral("KeyDown %1").arg(k); });
        QObject::connect(b, &dcButton::KeyPress, [this](int k) { events << QStringLiteral("KeyPress %1").arg(k); });
        QObject::connect(b, &dcButton::KeyUp, [this](int k, int) { events << QStringLiteral("KeyUp %1").arg(k); });
        QObject::connect(b, &dcButton::MouseDown, [this](int bt, int, float, float) { events << QStringLiteral("MouseDown %1").arg(bt); });
        QObject::connect(b, &dcButton::MouseUp, [this](int bt, int, float, float) { events << QStringLiteral("MouseUp %1").arg(bt); });
        QObject::connect(b, &dcButton::MouseMove, [this](int, int, float, float) { events << "MouseMove"; });
        QObject::connect(b, &dcButton::MouseEnter, [this] { events << "MouseEnter"; });
        QObject::connect(b, &dcButton::MouseLeave, [this] { events << "MouseLeave"; });
    }
};

// An active window holding two buttons side by side, each 100 x 30 pixels.
class dcButtonInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QCursor::setPos(0, 0);
        form = std::make_unique<runtime::Form>(QStringLiteral("FrmTest"));
        form->setGeometry(300, 200, 300, 120); // room for menus on every side
        button = new dcButton(form.get(), QStringLiteral("Command1"));
        button->setGeometry(10, 10, 100, 30);
        next = new dcButton(form.get(), QStringLiteral("Command2"));
        next->setGeometry(150, 10, 100, 30);
        button->InitNew();
        next->InitNew();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        button->setFocus();
        QApplication::processEvents();
        log.attach(button);
    }

    void TearDown() override
    {
        form.reset();
        QApplication::processEvents();
    }

    // Pointer over the button and its mouse-move reported, as the platform does it.
    void hover(QPoint at = {50, 15}) { QTest::mouseMove(button, at); }

    // Closes whatever pop-up is open once the nested menu loop runs, with the pointer at `where`.
    static void closeMenuSoon(QPoint globalPointer)
    {
        QTimer::singleShot(20, [globalPointer] {
            QCursor::setPos(globalPointer);
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        });
    }

    std::unique_ptr<runtime::Form> form;
    dcButton *button = nullptr;
    dcButton *next = nullptr;
    EventLog log;
};

}

TEST_F(dcButtonInputTest, LeftClickRaisesMouseDownMouseUpThenClick)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(log.events, (QStringList{"MouseDown 1", "MouseUp 1", "Click"}));
    EXPECT_FALSE(button->Value());
}

TEST_F(dcButtonInputTest, PressPaintsDownAndReleaseOutsideDoesNotClick)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(button->visualState(), dcButtonState::Down);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 15));
    EXPECT_EQ(log.events, (QStringList{"MouseDown 1", "MouseUp 1"}));
}

TEST_F(dcButtonInputTest, CheckBoxModeInvertsValueBeforeClick)
{
    button->setCheckBoxMode(true);
    QList<bool> valueInsideClick;
    QObject::connect(button, &dcButton::Click, [&] { valueInsideClick << button->Value(); });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(valueInsideClick, (QList<bool>{true, false}));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_TRUE(button->Value());
    QImage image(button->size(), QImage::Format_RGB32);
    gdi::Dc dc(&image);
    button->draw(dc);
    testsupport::writeTestPng("dcButton", "toggle_on_after_click", image);
}

TEST_F(dcButtonInputTest, DoubleClickRaisesClickThenDblClick)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(button->visualState(), dcButtonState::Down);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(log.events, (QStringList{"MouseDown 1", "MouseUp 1", "Click", "DblClick", "MouseUp 1"}));
    EXPECT_TRUE(button->visualState() == dcButtonState::Normal || button->visualState() == dcButtonState::Hot);
}

TEST_F(dcButtonInputTest, RightButtonReleaseWithoutPopupRaisesNoMouseUp)
{
    QTest::mouseClick(button, Qt::RightButton, {}, QPoint(50, 15));
    EXPECT_EQ(log.events, (QStringList{"MouseDown 2"}));
}

TEST_F(dcButtonInputTest, FirstMoveEntersThenMovesThenLeaves)
{
    hover({50, 15});
    EXPECT_EQ(button->visualState(), dcButtonState::Hot);
    hover({60, 15});
    QCursor::setPos(form->mapToGlobal(QPoint(130, 90)));
    QApplication::processEvents();
    EXPECT_EQ(log.events, (QStringList{"MouseEnter", "MouseMove", "MouseLeave"}));
    EXPECT_EQ(button->visualState(), dcButtonState::Normal);
}

TEST_F(dcButtonInputTest, HandPointerShowsTheHandCursorOverTheButton)
{
    hover({50, 15});
    EXPECT_NE(button->cursor().shape(), Qt::PointingHandCursor);
    button->setHandPointer(true);
    hover({55, 15});
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(dcButtonInputTest, HoldingSpacePaintsDownAndReleasingClicks)
{
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(button->visualState(), dcButtonState::Down);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(log.events, (QStringList{"KeyDown 32", "KeyPress 32", "Click", "KeyUp 32"}));
}

TEST_F(dcButtonInputTest, AnotherKeyWhileSpaceIsHeldCancelsTheClick)
{
    QTest::keyPress(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_A);
    EXPECT_EQ(button->visualState(), dcButtonState::Normal);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_FALSE(log.events.contains("Click"));
}

TEST_F(dcButtonInputTest, RightArrowMovesTheFocusWithoutKeyDown)
{
    QTest::keyClick(button, Qt::Key_Right);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_FALSE(log.events.contains("KeyDown 39"));
    QTest::keyClick(next, Qt::Key_Left);
    EXPECT_TRUE(button->hasFocus());
}

TEST_F(dcButtonInputTest, ArrowWhileSpaceIsHeldMovesOnAndClicks)
{
    QTest::keyPress(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Down);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_TRUE(log.events.contains("Click"));
}

TEST_F(dcButtonInputTest, EnterAndEscAsAccessKeysDoNothingInCheckBoxMode)
{
    button->setCheckBoxMode(true);
    button->AccessKeyPress(13);
    button->AccessKeyPress(27);
    EXPECT_TRUE(log.events.isEmpty());
    EXPECT_FALSE(button->Value());
    button->setCheckBoxMode(false);
    button->AccessKeyPress(13);
    EXPECT_EQ(log.events, (QStringList{"Click"}));
}

TEST_F(dcButtonInputTest, AccessKeyClicks)
{
    button->setCaption(QStringLiteral("Save and &Exit"));
    QTest::keyClick(form.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(log.events.contains("Click"));

    log.events.clear();
    button->setEnabled(false);
    button->AccessKeyPress('E');
    EXPECT_TRUE(log.events.isEmpty()) << "a disabled button ignores its access key";
}

TEST_F(dcButtonInputTest, PopupMenuOpensBelowInsteadOfClicking)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    QSignalSpy shown(&menu, &QMenu::aboutToShow);
    button->SetPopupMenu(&menu, 0);

    QPoint menuAt;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] { QTimer::singleShot(0, [&] { menuAt = menu.pos(); }); });
    closeMenuSoon(form->mapToGlobal(QPoint(130, 90)));
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(50, 15));
    EXPECT_EQ(shown.count(), 1) << "any mouse button opens the menu";
    EXPECT_EQ(menuAt, button->mapToGlobal(QPoint(0, 30))) << "below the bottom-left corner";
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(50, 15));
    EXPECT_FALSE(log.events.contains("MouseDown 2"));
    EXPECT_FALSE(log.events.contains("Click"));
    EXPECT_EQ(button->visualState(), dcButtonState::Normal) << "closed away from the button";

    // Closed by a press on the button, delivered after the menu loop: that press does not
    // reopen the menu, the next one does.
    closeMenuSoon(button->mapToGlobal(QPoint(50, 15)));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(shown.count(), 2);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(shown.count(), 2);

    // The same press handed on while the menu loop still runs, as Qt replays it.
    QTimer::singleShot(20, [this] {
        QCursor::setPos(button->mapToGlobal(QPoint(50, 15)));
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
    });
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(shown.count(), 3);
    closeMenuSoon(form->mapToGlobal(QPoint(130, 90)));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(shown.count(), 4) << "the next press opens it again";
    EXPECT_FALSE(log.events.contains("Click"));

    button->UnsetPopupMenu();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_TRUE(log.events.contains("Click"));
}

TEST_F(dcButtonInputTest, PopupPositionsAroundTheButton)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    menu.addAction(QStringLiteral("Search"));
    struct Row {
        int position;
        QPoint corner;   // of the button, in its own coordinates
        bool rightEdge;  // the menu's right edge there, else its left
        bool bottomEdge; // its bottom edge there, else its top
    };
    const Row rows[] = {
        {0, {0, 30}, false, false},   {1, {0, 0}, true, false},  {2, {0, 30}, true, false},
        {3, {100, 0}, false, false},  {4, {100, 30}, false, false}, {5, {0, 0}, false, true},
        {6, {0, 0}, true, true},      {7, {100, 0}, false, true},
    };
    for (const Row &row : rows) {
        button->SetPopupMenu(&menu, row.position);
        QRect geometry;
        auto grab = QObject::connect(&menu, &QMenu::aboutToShow,
                                     [&] { QTimer::singleShot(0, [&] { geometry = menu.geometry(); }); });
        closeMenuSoon(form->mapToGlobal(QPoint(130, 90)));
        button->AccessKeyPress('C');
        QObject::disconnect(grab);
        ASSERT_TRUE(geometry.isValid()) << row.position;
        const QPoint corner = button->mapToGlobal(row.corner);
        EXPECT_EQ(row.rightEdge ? geometry.x() + geometry.width() : geometry.x(), corner.x()) << row.position;
        EXPECT_EQ(row.bottomEdge ? geometry.y() + geometry.height() : geometry.y(), corner.y()) << row.position;
    }

    QSignalSpy shown(&menu, &QMenu::aboutToShow);
    button->SetPopupMenu(&menu, 8);
    button->AccessKeyPress('C');
    EXPECT_EQ(shown.count(), 0) << "a position outside 0..7 shows nothing";
    EXPECT_TRUE(log.events.isEmpty());
}

TEST_F(dcButtonInputTest, FocusLostClearsTheHeldPress)
{
    QTest::keyPress(button, Qt::Key_Space);
    next->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(button->visualState(), dcButtonState::Normal);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_FALSE(log.events.contains("Click"));
}

TEST_F(dcButtonInputTest, DisplayAsDefaultChangeCancelsAHeldPress)
{
    QTest::keyPress(button, Qt::Key_Space);
    button->setDisplayAsDefault(true);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_FALSE(log.events.contains("Click"));
}

TEST_F(dcButtonInputTest, DisablingAHeldButtonLetsGoOfTheMouse)
{
    QTest::keyPress(button, Qt::Key_Space);
    ASSERT_EQ(QWidget::mouseGrabber(), button);
    button->setEnabled(false);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    QSignalSpy nextClicks(next, &dcButton::Click);
    QTest::mouseClick(next, Qt::LeftButton, {}, QPoint(50, 15));
    EXPECT_EQ(nextClicks.count(), 1) << "the rest of the window still takes the mouse";

    // Disabled through its container, as a disabled panel disables what it holds.
    button->setEnabled(true);
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    ASSERT_EQ(QWidget::mouseGrabber(), button);
    form->setEnabled(false);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    form->setEnabled(true);
}

TEST(MouseTracking, OneNotificationPerTracking)
{
    QWidget widget;
    os::MouseTracking tracking(&widget);
    QSignalSpy leaves(&tracking, &os::MouseTracking::mouseLeave);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
    EXPECT_EQ(leaves.count(), 0) << "not armed";
    EXPECT_TRUE(tracking.trackLeave());
    QApplication::sendEvent(&widget, &leave);
    QApplication::sendEvent(&widget, &leave);
    EXPECT_EQ(leaves.count(), 1);
    EXPECT_FALSE(tracking.isTracking());
    tracking.trackLeave();
    tracking.cancel();
    QApplication::sendEvent(&widget, &leave);
    EXPECT_EQ(leaves.count(), 1);
}

// The host's release handler unloads the window and yields; the window lives on until the handler
// is done, but the button must not go on to click for a window that is gone.
TEST(dcButtonUnload, NoClickForAWindowUnloadedInTheReleaseHandler)
{
    QPointer<runtime::Form> form = new runtime::Form(QStringLiteral("FrmTest"));
    form->setGeometry(300, 200, 300, 120);
    auto *button = new dcButton(form, QStringLiteral("Command1"));
    button->setGeometry(10, 10, 100, 30);
    button->InitNew();
    runtime::Load(form);
    form->show();
    int clicks = 0;
    QObject::connect(button, &dcButton::Click, [&clicks] { ++clicks; });
    QObject::connect(button, &dcButton::MouseUp, [&form] {
        QTimer::singleShot(0, form, [&form] { runtime::Unload(form); });
        runtime::DoEvents();
    });
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 15));
    ASSERT_FALSE(form.isNull());
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_EQ(clicks, 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

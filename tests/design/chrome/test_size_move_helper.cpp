#include "chrome/cSizeMoveHelper.h"

#include "os/SystemParameters.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

void activate(QWidget *w, bool on)
{
    QEvent e(on ? QEvent::WindowActivate : QEvent::WindowDeactivate);
    QApplication::sendEvent(w, &e);
}

class SizeMoveHelperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        os::SetDragFullWindows(true);
        window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        window->setGeometry(50, 60, 300, 200);
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override { os::SetDragFullWindows(true); }
    std::unique_ptr<QWidget> window;
};

}

TEST_F(SizeMoveHelperTest, ActivationSwitchesFullDragOffAndBack)
{
    cSizeMoveHelper helper;
    helper.setNoFullDrag(true);
    helper.Attach(window.get());
    activate(window.get(), true);
    EXPECT_TRUE(helper.Active());
    EXPECT_FALSE(os::GetDragFullWindows());
    activate(window.get(), false);
    EXPECT_FALSE(helper.Active());
    EXPECT_TRUE(os::GetDragFullWindows());
    activate(window.get(), true);
    EXPECT_FALSE(os::GetDragFullWindows());
    helper.setNoFullDrag(false); // restores at once and stops switching
    EXPECT_TRUE(os::GetDragFullWindows());
    activate(window.get(), false);
    activate(window.get(), true);
    EXPECT_TRUE(os::GetDragFullWindows());
}

TEST_F(SizeMoveHelperTest, SettingAlreadyOffIsNeverTouched)
{
    os::SetDragFullWindows(false);
    cSizeMoveHelper helper;
    helper.setNoFullDrag(true);
    helper.Attach(window.get());
    activate(window.get(), true);
    activate(window.get(), false); // nothing of ours to restore
    EXPECT_FALSE(os::GetDragFullWindows());
}

TEST_F(SizeMoveHelperTest, RequestWhileActiveSwitchesAtOnceAndWhileInactiveWaits)
{
    cSizeMoveHelper helper;
    helper.Attach(window.get());
    activate(window.get(), true);
    helper.setNoFullDrag(true);
    EXPECT_FALSE(os::GetDragFullWindows());
    helper.setNoFullDrag(false);
    activate(window.get(), false);
    helper.setNoFullDrag(true);
    EXPECT_TRUE(os::GetDragFullWindows());
    activate(window.get(), true);
    EXPECT_FALSE(os::GetDragFullWindows());
}

TEST_F(SizeMoveHelperTest, ActivationByTheMouseAndMinimisedDeactivation)
{
    cSizeMoveHelper helper;
    helper.Attach(window.get());
    QSignalSpy activated(&helper, &cSizeMoveHelper::Activate);
    QSignalSpy deactivated(&helper, &cSizeMoveHelper::Deactivate);
    helper.WindowProc(window.get(), os::WM_ACTIVATE, os::WA_CLICKACTIVE, nullptr);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_TRUE(activated.at(0).at(0).toBool());
    helper.WindowProc(window.get(), os::WM_ACTIVATE, os::WA_INACTIVE | (1u << 16), nullptr);
    EXPECT_EQ(deactivated.count(), 1);
    EXPECT_FALSE(helper.Active());
}

TEST_F(SizeMoveHelperTest, DestroyRestoresAndDetaches)
{
    cSizeMoveHelper helper;
    helper.setNoFullDrag(true);
    helper.Attach(window.get());
    activate(window.get(), true);
    ASSERT_FALSE(os::GetDragFullWindows());
    QWidget *raw = window.get();
    window.reset();
    EXPECT_TRUE(os::GetDragFullWindows());
    EXPECT_FALSE(os::IsSubscribed(&helper, raw, os::WM_SIZE));
    helper.Detach(); // harmless after the window went
}

TEST_F(SizeMoveHelperTest, DetachGivesBackWhatItOwes)
{
    cSizeMoveHelper helper;
    helper.setNoFullDrag(true);
    helper.Attach(window.get());
    activate(window.get(), true);
    ASSERT_FALSE(os::GetDragFullWindows());
    helper.Detach(); // without withdrawing the request first
    EXPECT_TRUE(os::GetDragFullWindows());
    EXPECT_FALSE(helper.Active());
    helper.setNoFullDrag(true); // detached: no activation will ever pay a new switch back
    EXPECT_TRUE(os::GetDragFullWindows());
}

TEST_F(SizeMoveHelperTest, AttachToASecondWindowLeavesTheFirst)
{
    QWidget second(nullptr, Qt::FramelessWindowHint);
    second.show();
    cSizeMoveHelper helper;
    helper.Attach(window.get());
    helper.Attach(&second);
    for (unsigned m : {os::WM_ENTERSIZEMOVE, os::WM_EXITSIZEMOVE, os::WM_DESTROY, os::WM_MOVING, os::WM_SIZING,
                       os::WM_ACTIVATE, os::WM_SIZE}) {
        EXPECT_FALSE(os::IsSubscribed(&helper, window.get(), m)) << m;
        EXPECT_TRUE(os::IsSubscribed(&helper, &second, m)) << m;
    }
    helper.Detach();
    EXPECT_FALSE(os::IsSubscribed(&helper, &second, os::WM_SIZE));
}

TEST_F(SizeMoveHelperTest, MovingRectangleChangedByAHandlerIsTheOneUsed)
{
    cSizeMoveHelper helper;
    helper.Attach(window.get());
    QSignalSpy enter(&helper, &cSizeMoveHelper::EnterSizeMove);
    QSignalSpy exit(&helper, &cSizeMoveHelper::ExitSizeMove);
    // Keeps the window's top edge from going above y = 100.
    QObject::connect(&helper, &cSizeMoveHelper::Moving, [](int &, int &top, int &, int &) {
        if (top < 100)
            top = 100;
    });
    const QPoint cursor(100, 70);
    ASSERT_TRUE(os::BeginCaptionDrag(window.get(), cursor));
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 10), QPointF(cursor + QPoint(40, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(50, 10), QPointF(cursor + QPoint(40, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &release);
    EXPECT_EQ(window->pos(), QPoint(90, 100));
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(exit.count(), 1);
}

TEST_F(SizeMoveHelperTest, SizeOutsideALoopIsReportedAsSizing)
{
    cSizeMoveHelper helper;
    helper.Attach(window.get());
    int sizing = 0;
    os::WindowRect reported;
    QObject::connect(&helper, &cSizeMoveHelper::Sizing, [&](int &l, int &t, int &w, int &h) {
        ++sizing;
        reported = {l, t, l + w, t + h};
    });
    window->resize(320, 210);
    ASSERT_EQ(sizing, 1);
    EXPECT_EQ(reported, os::GetWindowRect(window.get()));
    // During a loop a size message raises nothing; the sizing rectangle reports it.
    helper.WindowProc(window.get(), os::WM_ENTERSIZEMOVE, 0, nullptr);
    helper.WindowProc(window.get(), os::WM_SIZE, 0, nullptr);
    EXPECT_EQ(sizing, 1);
    os::WindowRect r{0, 0, 10, 10};
    helper.WindowProc(window.get(), os::WM_SIZING, 0, &r);
    EXPECT_EQ(sizing, 2);
    EXPECT_EQ(r, (os::WindowRect{0, 0, 10, 10})); // written back unchanged without a handler's change
}

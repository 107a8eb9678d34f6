#include "os/WindowMessages.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace os;

namespace {

struct Received {
    unsigned message;
    quintptr wParam;
    WindowRect rect;
};

// Records what it is sent; optionally snaps moving rectangles to a 10-pixel grid.
class Recorder : public WindowMessageHandler
{
public:
    long WindowProc(QWidget *, unsigned message, quintptr wParam, WindowRect *rect) override
    {
        log.push_back({message, wParam, rect ? *rect : WindowRect{}});
        if (rect && snap) {
            const int w = rect->right - rect->left;
            rect->left = rect->left / 10 * 10;
            rect->right = rect->left + w;
        }
        return 0;
    }
    std::vector<unsigned> messages() const
    {
        std::vector<unsigned> m;
        for (const Received &r : log)
            m.push_back(r.message);
        return m;
    }
    std::vector<Received> log;
    bool snap = false;
};

void sendMouse(QWidget *w, QEvent::Type type, QPoint global, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

const unsigned kAll[] = {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE, WM_DESTROY, WM_MOVING, WM_SIZING, WM_ACTIVATE, WM_SIZE};

class WindowMessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->setWindowFlag(Qt::FramelessWindowHint);
        window->setGeometry(100, 100, 200, 150);
        window->show();
        for (unsigned m : kAll)
            Subscribe(&recorder, window.get(), m);
        QApplication::processEvents();
        recorder.log.clear();
    }
    void TearDown() override
    {
        if (window)
            for (unsigned m : kAll)
                Unsubscribe(&recorder, window.get(), m);
    }
    Recorder recorder;
    std::unique_ptr<QWidget> window;
};

}

TEST_F(WindowMessagesTest, SizeOutsideAMoveLoopIsSizeOnly)
{
    window->resize(220, 160);
    EXPECT_EQ(recorder.messages(), (std::vector<unsigned>{WM_SIZE}));
    EXPECT_EQ(recorder.log[0].wParam, SIZE_RESTORED);
    window->move(130, 100);
    EXPECT_EQ(recorder.messages().size(), 1u); // a plain move reports nothing
}

TEST_F(WindowMessagesTest, ActivationCarriesTheStateInTheLowWord)
{
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(window.get(), &deactivate);
    ASSERT_EQ(recorder.messages(), (std::vector<unsigned>{WM_ACTIVATE, WM_ACTIVATE}));
    EXPECT_EQ(recorder.log[0].wParam & 0xFFFF, WA_ACTIVE);
    EXPECT_EQ(recorder.log[1].wParam & 0xFFFF, WA_INACTIVE);
}

TEST_F(WindowMessagesTest, CaptionDragFollowsTheMouseAndReportsEachStep)
{
    const QPoint start(150, 110);
    ASSERT_TRUE(BeginCaptionDrag(window.get(), start));
    EXPECT_TRUE(IsInCaptionDrag(window.get()));
    EXPECT_FALSE(BeginCaptionDrag(window.get(), start)); // one at a time
    sendMouse(window.get(), QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
    sendMouse(window.get(), QEvent::MouseMove, start + QPoint(45, 25), Qt::LeftButton);
    sendMouse(window.get(), QEvent::MouseButtonRelease, start + QPoint(45, 25), Qt::NoButton);
    EXPECT_FALSE(IsInCaptionDrag(window.get()));
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(145, 125));
    EXPECT_EQ(recorder.messages(),
              (std::vector<unsigned>{WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVING, WM_EXITSIZEMOVE}));
    EXPECT_EQ(recorder.log[1].rect, (WindowRect{130, 120, 330, 270}));
}

TEST_F(WindowMessagesTest, AChangedMovingRectangleIsTheOneTheWindowTakes)
{
    recorder.snap = true;
    const QPoint start(150, 110);
    ASSERT_TRUE(BeginCaptionDrag(window.get(), start));
    sendMouse(window.get(), QEvent::MouseMove, start + QPoint(37, 4), Qt::LeftButton);
    sendMouse(window.get(), QEvent::MouseMove, start + QPoint(37, 4), Qt::NoButton); // released elsewhere
    EXPECT_FALSE(IsInCaptionDrag(window.get()));
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(130, 104));
}

TEST_F(WindowMessagesTest, UnsubscribedMessagesAndHandlersAreNotCalled)
{
    Unsubscribe(&recorder, window.get(), WM_SIZE);
    EXPECT_FALSE(IsSubscribed(&recorder, window.get(), WM_SIZE));
    EXPECT_TRUE(IsSubscribed(&recorder, window.get(), WM_MOVING));
    window->resize(250, 150);
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(WindowMessagesTest, DestroyIsReportedOnceAndEndsTheSubscription)
{
    QWidget *raw = window.get();
    window.reset();
    const std::vector<unsigned> m = recorder.messages();
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m.back(), WM_DESTROY); // a deactivation may come first, as the window goes
    EXPECT_EQ(std::count(m.begin(), m.end(), WM_DESTROY), 1);
    EXPECT_FALSE(IsSubscribed(&recorder, raw, WM_SIZE));
}

TEST(WindowMessages, HandlerUnsubscribingItselfWhileCalled)
{
    struct SelfRemoving : WindowMessageHandler {
        QWidget *w = nullptr;
        int calls = 0;
        long WindowProc(QWidget *, unsigned, quintptr, WindowRect *) override
        {
            ++calls;
            Unsubscribe(this, w, WM_SIZE);
            return 0;
        }
    } handler;
    QWidget window;
    window.show();
    handler.w = &window;
    Subscribe(&handler, &window, WM_SIZE);
    window.resize(300, 300);
    window.resize(310, 300);
    EXPECT_EQ(handler.calls, 1);
}

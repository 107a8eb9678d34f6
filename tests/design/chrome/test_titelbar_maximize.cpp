// Maximise and restore of a skinned window as the program's windows are built: title bar, anchor,
// grip and frame together, by the maximise button, by a double click and by the system.

#include "chrome/ResizeGrip.h"
#include "chrome/SkinnedWindow.h"
#include "chrome/TitelBar.h"
#include "components/AlphaImgCtl.h"
#include "controls/Anchor.h"
#include "os/SystemParameters.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/Keys.h"
#include "runtime/Label.h"
#include "runtime/Screen.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr runtime::OleColor FrameColor = 0x0000FF;

// A resizable skinned window: the title bar follows its width, the grip hides while the bar holds
// it maximised, the frame is drawn after every layout pass (whose handler yields, as the program's
// windows' handlers do).
class SkinnedHost : public runtime::Form {
public:
    SkinnedHost() : runtime::Form(QStringLiteral("FrmSkinned"))
    {
        setCaption(QStringLiteral("Skinned"));
        setBackColor(0x404040);
        setForeColor(FrameColor);
        Move(1500, 1200, 7500, 5250); // 500 x 350 pixels at 96 dpi
        bar = SkinnedWindow::CreateTitleBar(this);
        anchor = new Anchor(this, QStringLiteral("Anchor1"));
        anchor->InitNew();
        list = label("ListStretched", "TTTT*/", 120, 600, 7200, 3600);
        corner = label("CommandCorner", "FFTT*/", 5700, 4500, 1650, 450);
        grip = SkinnedWindow::CreateGrip(this);
        QObject::connect(anchor, &Anchor::Resized, this, [this] {
            if (runtime::DoEventsStillLoaded(this))
                SkinnedWindow::DrawFrame(this);
        });
    }

    TitelBar *bar = nullptr;
    Anchor *anchor = nullptr;
    runtime::Label *list = nullptr;
    runtime::Label *corner = nullptr;
    runtime::Label *grip = nullptr;

protected:
    void Form_Load() override
    {
        SkinnedWindow::PlaceGrip(this, grip);
        bar->setWidth(Width());
    }
    void Form_Resize() override { SkinnedWindow::FollowResize(this, bar, grip); }

private:
    runtime::Label *label(const char *name, const char *tag, double left, double top, double width, double height)
    {
        auto *l = new runtime::Label(this, QString::fromLatin1(name));
        l->setTag(QString::fromLatin1(tag));
        l->Move(left, top, width, height);
        return l;
    }
};

enum class How { Button, DoubleClick, System };

std::string nameOf(How how)
{
    switch (how) {
    case How::Button:
        return "Button";
    case How::DoubleClick:
        return "DoubleClick";
    case How::System:
        return "System";
    }
    return {};
}

void toggle(SkinnedHost &form, How how)
{
    switch (how) {
    case How::Button:
        emit form.bar->TBARMax()->MouseUp(1, 0, 3, 3);
        break;
    case How::DoubleClick:
        QTest::mouseDClick(form.bar, Qt::LeftButton, {}, QPoint(100, 16));
        break;
    case How::System:
        // Maximised by the window system; while the bar holds the window maximised this restores.
        form.setWindowState(runtime::vbMaximized);
        break;
    }
    QApplication::processEvents();
}

gdi::ColorRef pixel(const QImage &image, int x, int y) { return gdi::fromPixel(image.pixel(x, y)); }

// What the window shows at its current size: the bar as wide as the window and painted in its
// style (the gradient's left band, the close button at the right end), the anchored controls
// where the change in size puts them, the frame on the window's outermost pixels.
void expectLaidOut(SkinnedHost &form, QSize start, const QRect &startList, const QRect &startCorner)
{
    const QSize size = form.size();
    const QSize grown = size - start;
    EXPECT_EQ(form.bar->width(), size.width());
    const QImage bar = form.bar->image();
    ASSERT_EQ(bar.width(), size.width());
    EXPECT_NE(pixel(bar, 3, 3), TitelBar::ColorKey);
    EXPECT_EQ(form.bar->TBARX()->x() + form.bar->TBARX()->width() + 23, size.width());
    EXPECT_EQ(form.list->geometry(), startList.adjusted(0, 0, grown.width(), grown.height()));
    EXPECT_EQ(form.corner->geometry(), startCorner.translated(grown.width(), grown.height()));
    const QImage surface = form.image();
    ASSERT_EQ(surface.size(), size);
    EXPECT_EQ(pixel(surface, 0, size.height() / 2), FrameColor);
    EXPECT_EQ(pixel(surface, size.width() - 1, size.height() / 2), FrameColor);
    EXPECT_EQ(pixel(surface, size.width() / 2, size.height() - 1), FrameColor);
    EXPECT_EQ(pixel(surface, size.width() / 2, size.height() - 2), gdi::ColorRef(0x404040));
}

class MaximizeTest : public ::testing::TestWithParam<How> {
protected:
    void SetUp() override
    {
        runtime::Screen::setLogicalDpi(96);
        form = new SkinnedHost();
        runtime::Load(form);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (form) {
            runtime::Unload(form);
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        runtime::Screen::setLogicalDpi(std::nullopt);
    }
    QPointer<SkinnedHost> form;
};

}

TEST_P(MaximizeTest, MaximiseAndRestoreLayTheWindowOutEachTime)
{
    const QRect normal = form->geometry();
    const QRect list = form->list->geometry();
    const QRect corner = form->corner->geometry();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        toggle(*form, GetParam());
        EXPECT_TRUE(form->bar->bDidMaximize);
        EXPECT_EQ(form->WindowState(), runtime::vbNormal);
        EXPECT_EQ(form->geometry(), os::GetWorkArea());
        EXPECT_FALSE(form->grip->Visible());
        EXPECT_EQ(form->bar->TBARMax()->ToolTipText(), QStringLiteral("Restore Down"));
        expectLaidOut(*form, normal.size(), list, corner);

        toggle(*form, GetParam());
        EXPECT_FALSE(form->bar->bDidMaximize);
        EXPECT_EQ(form->WindowState(), runtime::vbNormal);
        EXPECT_EQ(form->geometry(), normal);
        EXPECT_TRUE(form->grip->Visible());
        EXPECT_EQ(form->bar->TBARMax()->ToolTipText(), QStringLiteral("Maximize"));
        expectLaidOut(*form, normal.size(), list, corner);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, MaximizeTest, ::testing::Values(How::Button, How::DoubleClick, How::System),
                         [](const auto &info) { return nameOf(info.param); });

// The ways mixed: a system maximise of the window the bar holds maximised restores it, and the bar
// restores a window the system maximised.
TEST_F(MaximizeTest, TheWaysMixAsOneState)
{
    const QRect normal = form->geometry();
    toggle(*form, How::Button);
    toggle(*form, How::System);
    EXPECT_FALSE(form->bar->bDidMaximize);
    EXPECT_EQ(form->geometry(), normal);
    toggle(*form, How::System);
    toggle(*form, How::DoubleClick);
    EXPECT_FALSE(form->bar->bDidMaximize);
    EXPECT_EQ(form->geometry(), normal);
    EXPECT_TRUE(form->grip->Visible());
}

// Full screen is the system's other way of filling the screen: it ends as the work-area maximise,
// and the window is no longer full screen.
TEST_F(MaximizeTest, FullScreenBecomesTheWorkAreaMaximise)
{
    const QRect normal = form->geometry();
    form->setWindowState(Qt::WindowFullScreen);
    QApplication::processEvents();
    EXPECT_TRUE(form->bar->bDidMaximize);
    EXPECT_FALSE(form->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(form->geometry(), os::GetWorkArea());
    toggle(*form, How::Button);
    EXPECT_EQ(form->geometry(), normal);
}

// A window unloaded while the system maximise yields is left alone.
TEST_F(MaximizeTest, UnloadDuringASystemMaximiseStopsIt)
{
    QTimer::singleShot(0, form, [this] { runtime::Unload(form); });
    form->setWindowState(runtime::vbMaximized);
    QApplication::processEvents();
    ASSERT_FALSE(form.isNull());
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_FALSE(form->bar->bDidMaximize);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

// A resize during one of the bar's yields (a window manager's next size arriving while the bar lays
// its buttons out) repaints the bar for the newer width; the older repaint must not then go on to
// place the remaining buttons for its width, which left a gap before the close button.
TEST_F(MaximizeTest, BarLayoutOvertakenByAResizeDuringItsYieldIsForTheFinalWidth)
{
    const QSize start = form->size();
    for (const int final : {start.width() + 40, start.width() + 260}) {
        SCOPED_TRACE("final width " + std::to_string(final));
        bool armed = true;
        const runtime::YieldHook before = runtime::SetYieldHook([&](int) {
            if (!armed)
                return;
            armed = false;
            form->resize(final, start.height());
        });
        form->resize(start.width() + 120, start.height());
        runtime::SetYieldHook(before);
        QApplication::processEvents();
        ASSERT_FALSE(armed);
        ASSERT_EQ(form->bar->width(), final);
        const auto places = [this] {
            return std::vector<QPoint>{form->bar->TBARX()->pos(), form->bar->TBARMax()->pos(), form->bar->TBAR_()->pos()};
        };
        const std::vector<QPoint> shown = places();
        form->bar->Refresh();
        EXPECT_EQ(shown, places()) << "the buttons are where a repaint at the final width puts them";
        EXPECT_EQ(form->bar->TBARX()->x() + form->bar->TBARX()->width() + 23, final);
    }
}

// The anchor hands the window's minimum to the window system, so that its own sizing stops there;
// a size below it is refused by the window, and a limit changed later is handed on anew.
TEST_F(MaximizeTest, MinimumSizeIsTheWindowsHintAndTheFrameIsWholeThere)
{
    const QSize start = form->size();
    EXPECT_EQ(form->minimumSize(), start);
    EXPECT_EQ(form->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QRect list = form->list->geometry();
    const QRect corner = form->corner->geometry();
    form->resize(start + QSize(90, 60));
    QApplication::processEvents();
    form->resize(start - QSize(200, 150));
    QApplication::processEvents();
    EXPECT_EQ(form->size(), start);
    expectLaidOut(*form, start, list, corner);

    form->anchor->MinWidth = 9000;
    form->anchor->MaxHeight = 6000;
    form->anchor->SetFormMinMax();
    EXPECT_EQ(form->minimumSize(), QSize(600, start.height()));
    EXPECT_EQ(form->maximumSize(), QSize(QWIDGETSIZE_MAX, 400));
}

// Our own sizing loop (where the window system offers none): it follows the left button and ends
// at its release or at the next press; later moves size nothing, and maximise still maximises.
TEST_F(MaximizeTest, GripSizingLetsGoAtTheReleaseOrTheNextPress)
{
    const QSize start = form->size();
    const auto mouse = [this](QEvent::Type type, QPoint by, Qt::MouseButtons buttons) {
        const QPoint global = form->grip->mapToGlobal(QPoint(5, 5)) + by;
        QMouseEvent event(type, form->grip->mapFromGlobal(global), global,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(form->grip, &event);
    };
    for (const QEvent::Type end : {QEvent::MouseButtonRelease, QEvent::MouseButtonPress}) {
        SCOPED_TRACE(end == QEvent::MouseButtonRelease ? "release" : "press");
        form->resize(start);
        // The platform may report the cursor's move as a mouse move of its own: before the drag.
        QCursor::setPos(form->grip->mapToGlobal(QPoint(5, 5)));
        QApplication::processEvents();
        SkinnedWindow::StartGripSizing(form, runtime::vbLeftButton);
        ASSERT_TRUE(ResizeGrip::IsSizing(form));
        mouse(QEvent::MouseMove, QPoint(70, 40), Qt::LeftButton);
        const QSize dragged = form->size();
        EXPECT_GT(dragged.width(), start.width());
        mouse(end, QPoint(70, 40), end == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(ResizeGrip::IsSizing(form));
        mouse(QEvent::MouseMove, QPoint(140, 90), Qt::LeftButton);
        mouse(QEvent::MouseMove, QPoint(-40, -40), Qt::NoButton);
        EXPECT_EQ(form->size(), dragged);
    }
    toggle(*form, How::Button);
    EXPECT_TRUE(form->bar->bDidMaximize);
    EXPECT_EQ(form->geometry(), os::GetWorkArea());
}

// A window manager that ignores the size hint shrinks the window below its minimum, and the anchor
// sets it back: the window's drawing was cut to the smaller size meanwhile, so the frame must be
// drawn again although nothing moves.
TEST_F(MaximizeTest, SetBackFromBelowTheMinimumDrawsTheFrameAgain)
{
    const QSize start = form->size();
    const QRect list = form->list->geometry();
    const QRect corner = form->corner->geometry();
    form->setMinimumSize(0, 0);
    for (const QSize below : {start - QSize(120, 80), start - QSize(0, 60), start - QSize(90, 0)}) {
        SCOPED_TRACE(std::to_string(below.width()) + "x" + std::to_string(below.height()));
        form->resize(below);
        QApplication::processEvents();
        EXPECT_EQ(form->size(), start);
        expectLaidOut(*form, start, list, corner);
    }
}

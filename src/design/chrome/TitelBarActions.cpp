// The title bar's behaviour: spinning buttons and their actions, hover tracking, dragging and
// maximising the parent window.

#include "chrome/TitelBar.h"

#include "chrome/TitelBarColors.h"
#include "chrome/TitelBarSpin.h"
#include "chrome/WindowDesign.h"
#include "components/AlphaImgCtl.h"
#include "os/SystemParameters.h"
#include "os/WindowMessages.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/Keys.h"
#include "runtime/Timer.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

// Buttons -----------------------------------------------------------------------------------------

void TitelBar::connectButton(SpinIndex index)
{
    Spin &spin = m_spins[index];
    AlphaImg::AlphaImgCtl *button = spin.button;
    connect(spin.timer, &runtime::Timer::Tick, this, [this, index] { spinTick(index); });
    connect(button, &AlphaImg::AlphaImgCtl::MouseEnter, this, [this, index] { buttonEnter(index); });
    connect(button, &AlphaImg::AlphaImgCtl::MouseLeave, this, [this, index] { buttonLeave(index); });
    connect(button, &AlphaImg::AlphaImgCtl::MouseDown, this, [this] { buttonDown(); });
    connect(button, &AlphaImg::AlphaImgCtl::MouseUp, this, [this, index] { buttonUp(index); });
    connect(button, &AlphaImg::AlphaImgCtl::PaintHook, this,
            [this, index](gdi::Dc &hdc, int, int, int, int, int, bool &cancel) {
                const Spin &s = m_spins[index];
                if (!s.timer->Enabled())
                    return;
                const AlphaImg::AlphaImage picture = s.button->Picture();
                const auto &p = s.points;
                picture.Render(hdc, p[0].x(), p[0].y(), p[1].x(), p[1].y(), p[2].x(), p[2].y());
                cancel = true;
            });
}

void TitelBar::TimerButtonHelpAnimation_Timer() { spinTick(SpinHelp); }
void TitelBar::TimerButtonMaxAnimation_Timer() { spinTick(SpinMax); }
void TitelBar::TimerButtonMinAnimation_Timer() { spinTick(SpinMin); }
void TitelBar::TimerButtonXAnimation_Timer() { spinTick(SpinX); }

void TitelBar::spinTick(SpinIndex index)
{
    Spin &spin = m_spins[index];
    spin.running = true;
    spin.timer->setEnabled(false);
    const AlphaImg::AlphaImage picture = spin.button->Picture();
    const titelbar::SpinStep step = titelbar::SpinTick(spin.timer->Tag(), picture.Width(), picture.Height());
    spin.timer->setTag(step.tag);
    spin.points = step.points;
    if (step.finished) {
        spin.running = false;
        spin.button->RequestRepaint();
    } else {
        spin.running = true;
        spin.button->RequestRepaint();
        spin.timer->setEnabled(true);
    }
}

void TitelBar::buttonEnter(SpinIndex index)
{
    Spin &spin = m_spins[index];
    spin.button->setHighlightState(1);
    spin.button->ApplyState(1, 1);
    if (!spin.running) {
        spin.timer->setTag(QStringLiteral("0"));
        spin.timer->setEnabled(true);
    }
}

void TitelBar::buttonLeave(SpinIndex index)
{
    Spin &spin = m_spins[index];
    spin.button->setHighlightState(0);
    spin.button->ApplyState(0, 0);
}

void TitelBar::stopHoverTracking()
{
    m_timer1->setEnabled(false);
    if (mouseGrabber() == this)
        releaseMouse();
    m_hover = 255;
}

void TitelBar::buttonDown()
{
    stopHoverTracking();
}

void TitelBar::buttonUp(SpinIndex index)
{
    buttonLeave(index);
    stopHoverTracking();
    QPointer<runtime::Form> parent = Parent();
    switch (index) {
    case SpinMin:
        if (parent)
            parent->setWindowState(runtime::vbMinimized);
        runtime::DoEvents();
        break;
    case SpinHelp:
        emit HelpButtonClick();
        runtime::DoEvents();
        break;
    case SpinMax:
        if (parent && parent->WindowState() == runtime::vbMaximized)
            parent->setWindowState(runtime::vbNormal);
        if (!MaxminizeParent() || !runtime::DoEventsStillLoaded(this))
            return;
        focusParent();
        runtime::DoEvents();
        break;
    case SpinX:
        if (parent && parent->HidesOnClose())
            parent->Hide();
        else if (parent)
            runtime::Unload(parent);
        runtime::DoEvents();
        break;
    }
}

void TitelBar::focusParent()
{
    if (runtime::Form *parent = Parent())
        parent->SetFocus();
}

// The parent window ---------------------------------------------------------------------------------

void TitelBar::setButtonPicture(AlphaImg::AlphaImgCtl &from)
{
    m_tbarMax->setPicture(from.Picture());
    m_tbarMax->setToolTipText(from.ToolTipText());
    m_tbarMax->setHighlightState(0);
    m_tbarMax->ApplyState(0, 0);
}

bool TitelBar::MaxminizeParent()
{
    QPointer<runtime::Form> parent = Parent();
    if (!bDidMaximize) {
        setButtonPicture(*m_imgRestore);
        if (!runtime::DoEventsStillLoaded(this))
            return false;
        bDidMaximize = true;
        if (parent) {
            m_savedTop = titelbar::nearest(parent->Top());
            m_savedLeft = titelbar::nearest(parent->Left());
            m_savedHeight = titelbar::nearest(parent->Height());
            m_savedWidth = titelbar::nearest(parent->Width());
        }
        if (!runtime::DoEventsStillLoaded(this))
            return false;
        const QRect work = os::GetWorkArea();
        using WindowDesign::Axis;
        using WindowDesign::ToTwips;
        if (parent)
            parent->Move(ToTwips(work.left(), Axis::Horizontal), ToTwips(work.top(), Axis::Vertical),
                         ToTwips(work.width(), Axis::Horizontal), ToTwips(work.height(), Axis::Vertical));
    } else {
        bDidMaximize = false;
        if (!runtime::DoEventsStillLoaded(this))
            return false;
        setButtonPicture(*m_imgMaximize);
        if (!runtime::DoEventsStillLoaded(this))
            return false;
        if (parent)
            parent->Move(m_savedLeft, m_savedTop, m_savedWidth, m_savedHeight);
    }
    if (!runtime::DoEventsStillLoaded(this))
        return false;
    emit ResizedParent();
    return true;
}

bool TitelBar::followSystemMaximize()
{
    QPointer<runtime::Form> parent = Parent();
    if (!parent || parent->WindowState() != runtime::vbMaximized)
        return true;
    parent->setWindowState(runtime::vbNormal);
    if (!runtime::DoEventsStillLoaded(this) || !MaxminizeParent() || !runtime::DoEventsStillLoaded(this))
        return false;
    focusParent();
    return runtime::DoEventsStillLoaded(this);
}

void TitelBar::UserControl_Resize()
{
    if (!followSystemMaximize())
        return;
    emit Resize();
    Refresh();
}

// Mouse and keys on the bar ------------------------------------------------------------------------

bool TitelBar::IsCursorInside() const
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    return p.x() >= 0 && p.x() <= ScaleWidth() && p.y() >= 0 && p.y() <= ScaleHeight();
}

void TitelBar::hoverTimerTick()
{
    if (IsCursorInside())
        return;
    m_timer1->setEnabled(false);
    m_hover = 255;
    if (mouseGrabber() == this)
        releaseMouse();
}

void TitelBar::mousePressEvent(QMouseEvent *event)
{
    m_clickAfterDoubleClick = false;
    if (mouseGrabber() != this)
        grabMouse();
    m_hover = 255;
    const QPointF p = event->position();
    emit MouseDown(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()), float(p.x()),
                   float(p.y()));
}

void TitelBar::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    const int button = runtime::MouseButtonsOf(event->buttons());
    const int shift = runtime::ShiftOf(event->modifiers());
    if (!m_focus) {
        emit MouseMove(button, shift, float(p.x()), float(p.y()));
        return;
    }
    // Over a button (shown or not) the bar lets the mouse go, so the button gets its own events.
    for (const AlphaImg::AlphaImgCtl *b : {m_tbarX, m_tbarMin, m_tbarMax, m_tbarHelp}) {
        if (b->x() < p.x() && p.x() < b->x() + b->width() && b->y() < p.y() && p.y() < b->y() + b->height()) {
            if (mouseGrabber() == this)
                releaseMouse();
            return;
        }
    }
    if (m_hover == 255 && IsCursorInside()) {
        if (mouseGrabber() != this)
            grabMouse();
        m_hover = 1;
        m_timer1->setEnabled(true);
    }
    if (button == runtime::vbLeftButton) {
        stopHoverTracking();
        if (runtime::Form *parent = Parent())
            os::BeginCaptionDrag(parent, event->globalPosition().toPoint());
    }
    emit MouseMove(button, shift, float(p.x()), float(p.y()));
}

void TitelBar::mouseReleaseEvent(QMouseEvent *event)
{
    m_hover = 255;
    if (mouseGrabber() == this)
        releaseMouse();
    const QPointF p = event->position();
    const bool inside = rect().contains(p.toPoint());
    const runtime::StillLoaded alive(this);
    emit MouseUp(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()), float(p.x()),
                 float(p.y()));
    if (alive && inside && !m_clickAfterDoubleClick)
        emit Click();
    if (!alive)
        return;
    m_clickAfterDoubleClick = false;
    focusParent();
    runtime::DoEvents();
}

void TitelBar::mouseDoubleClickEvent(QMouseEvent *)
{
    m_clickAfterDoubleClick = true;
    const runtime::StillLoaded alive(this);
    emit DblClick();
    if (alive && m_p.ShowMaximizedEnabled && m_p.ShowMaximized) {
        stopHoverTracking();
        if (!MaxminizeParent() || !runtime::DoEventsStillLoaded(this))
            return;
        focusParent();
        runtime::DoEvents();
    }
    runtime::DoEvents();
}

void TitelBar::keyPressEvent(QKeyEvent *event)
{
    emit KeyDown(runtime::KeyCodeOf(event), runtime::ShiftOf(event->modifiers()));
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).unicode() < 256)
        emit KeyPress(text.at(0).unicode());
}

void TitelBar::keyReleaseEvent(QKeyEvent *event)
{
    emit KeyUp(runtime::KeyCodeOf(event), runtime::ShiftOf(event->modifiers()));
}

// The focus flag follows the bar's own focus; the window losing activation is no focus change.
void TitelBar::focusInEvent(QFocusEvent *event)
{
    m_focus = true;
    runtime::UserControl::focusInEvent(event);
}

void TitelBar::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_focus = false;
    runtime::UserControl::focusOutEvent(event);
}

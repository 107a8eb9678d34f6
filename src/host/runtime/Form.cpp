#include "runtime/Form.h"

#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Screen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QWindow>

namespace runtime {

Form::Form(const QString &name) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), Surface(this)
{
    setObjectName(name);
    setWindowTitle(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setScaleMode(vbTwips);
    resize(320, 240);
}

Form::~Form() = default;

double Form::Left() const { return ToTwips(x(), Axis::Horizontal); }
double Form::Top() const { return ToTwips(y(), Axis::Vertical); }
double Form::Width() const { return ToTwips(width(), Axis::Horizontal); }
double Form::Height() const { return ToTwips(height(), Axis::Vertical); }

void Form::setGeometryPixels(const QRect &rect)
{
    // One request: a window manager answers a move and a resize apart, and its answer to the move
    // (the old size at the new place) would reach the window after the resize.
    if (rect != geometry())
        setGeometry(rect);
    noteNormalGeometry();
    // A hidden window gets its resize event only when shown; the design's forms raise Resize at once.
    raiseResizeIfChanged();
}

void Form::setLeft(double left)
{
    setGeometryPixels(QRect(QPoint(ToPixels(left, Axis::Horizontal), y()), size()));
}

void Form::setTop(double top)
{
    setGeometryPixels(QRect(QPoint(x(), ToPixels(top, Axis::Vertical)), size()));
}

void Form::setWidth(double width)
{
    setGeometryPixels(QRect(pos(), QSize(qMax(1, ToPixels(width, Axis::Horizontal)), height())));
}

void Form::setHeight(double height)
{
    setGeometryPixels(QRect(pos(), QSize(width(), qMax(1, ToPixels(height, Axis::Vertical)))));
}

void Form::Move(double left, double top) { setGeometryPixels(QRect(QPoint(ToPixels(left, Axis::Horizontal), ToPixels(top, Axis::Vertical)), size())); }

void Form::Move(double left, double top, double width, double height)
{
    setGeometryPixels(QRect(ToPixels(left, Axis::Horizontal), ToPixels(top, Axis::Vertical),
                            qMax(1, ToPixels(width, Axis::Horizontal)), qMax(1, ToPixels(height, Axis::Vertical))));
}

int Form::WindowState() const
{
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized)
        return vbMinimized;
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int state)
{
    const Qt::WindowStates current = windowState();
    switch (state) {
    case vbMinimized:
        setWindowState((current & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case vbMaximized:
        setWindowState((current & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    default:
        setWindowState(current & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
        break;
    }
}

void Form::setWindowState(Qt::WindowStates state)
{
    constexpr Qt::WindowStates filling = Qt::WindowMaximized | Qt::WindowFullScreen;
    const bool leavesFilling = (windowState() & filling) && !(state & filling);
    const QRect normal = m_normalGeometry;
    noteRequestedState(state);
    {
        // Resize is raised once below, with the bounds the state leaves the window at.
        const QScopedValueRollback<bool> settling(m_settingState, true);
        QWidget::setWindowState(state);
    }
    // Back at its normal bounds at once, as the design's runtime has it. A window manager
    // restores the window on its own time; it hears of the state before these bounds, so its
    // restore cannot land after them (or after a move that follows).
    if (leavesFilling && normal.isValid() && normal != geometry())
        setGeometry(normal);
    raiseResizeIfChanged();
}

void Form::watchWindowSystemStates()
{
    if (QWindow *handle = windowHandle(); handle && handle != m_watchedHandle) {
        handle->installEventFilter(this);
        m_watchedHandle = handle;
    }
}

void Form::noteRequestedState(Qt::WindowStates state)
{
    watchWindowSystemStates();
    m_requestedState = state & ~Qt::WindowActive;
    // An earlier request not yet answered keeps the wait: its answer is still to come.
    m_awaitingState = m_awaitingState || m_requestedState != m_reportedState;
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedHandle && event->type() == QEvent::WindowStateChange && event->spontaneous()) {
        const Qt::WindowStates reported = m_watchedHandle->windowStates() & ~Qt::WindowActive;
        if (m_awaitingState && reported != m_requestedState) {
            // The window system reports a state it had before our last request reached it (a
            // window manager answers on its own time): taken as news, a maximise already turned
            // into the work-area maximise would come back and undo it. Qt has taken the report
            // over our request, so the request is made again.
            m_watchedHandle->setWindowStates(m_requestedState);
            return true;
        }
        m_reportedState = reported;
        m_awaitingState = false;
    }
    return QWidget::eventFilter(watched, event);
}

void Form::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    if (pointer == 0)
        unsetCursor();
    else
        setCursor(cursorForPointer(pointer));
}

void Form::Show(int modal)
{
    if (!m_loaded) {
        runtime::Load(this);
        if (!m_loaded)
            return;
    }
    const QPointer<Form> guard(this);
    if (modal == vbModal)
        setWindowModality(Qt::ApplicationModal);
    const int resizesBefore = m_resizeCount;
    show();
    if (!guard)
        return;
    raise();
    activateWindow();
    if (!m_shownSinceLoad) {
        // The design raises Resize when a form is first displayed, once.
        m_shownSinceLoad = true;
        if (m_resizeCount == resizesBefore)
            raiseResize();
    }
    if (modal == vbModal && guard) {
        YieldScope scope;
        while (guard && guard->m_loaded && guard->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (guard)
            setWindowModality(Qt::NonModal);
    }
}

void Form::SetFocus()
{
    activateWindow();
    // A form with an active control hands the focus on to it, so the control keeps it.
    if (QWidget *active = focusWidget(); active && active != this)
        active->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void Form::HoldPaints()
{
    if (m_paintHolds++ == 0)
        setUpdatesEnabled(false);
}

void Form::ReleasePaints()
{
    if (m_paintHolds == 0)
        return;
    if (m_paintHolds > 1) {
        --m_paintHolds;
        return;
    }
    // The held redraws run while the screen paints are still off: a redraw may yield, and a paint
    // of the window meanwhile (once a frame on a slow machine) would show the pass half done. A
    // redraw asked for now runs at once, unless a new hold began meanwhile: that one waits here too.
    // The window may be unloaded meanwhile.
    const QPointer<Form> self(this);
    m_runningHeldRedraws = true;
    while (!m_heldRedraws.empty()) {
        for (auto &[control, redraw] : std::exchange(m_heldRedraws, {})) {
            if (control)
                redraw();
            if (!self)
                return;
        }
    }
    m_runningHeldRedraws = false;
    m_paintHolds = 0;
    setUpdatesEnabled(true);
    // An update request that reaches the window while its updates are off is used up without a
    // paint, and the window's repaint manager then takes its dirty widgets for a request still on
    // its way: without a new request the window would not paint again until it is exposed.
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

bool Form::RedrawAfterHold(QObject *control, std::function<void()> redraw)
{
    if (!PaintsHeld() || (m_runningHeldRedraws && m_paintHolds == 1))
        return false;
    for (auto &[held, heldRedraw] : m_heldRedraws) {
        if (held == control) {
            heldRedraw = std::move(redraw);
            return true;
        }
    }
    m_heldRedraws.emplace_back(control, std::move(redraw));
    return true;
}

void Form::ZOrder(int position)
{
    if (position == 0)
        raise();
    else
        lower();
}

void Form::raiseResize()
{
    if (!m_loaded)
        return;
    m_lastResizeSize = size();
    m_lastResizeState = windowState();
    ++m_resizeCount;
    Form_Resize();
    emit Resize();
}

void Form::raiseResizeIfChanged()
{
    if (size() == m_lastResizeSize && windowState() == m_lastResizeState)
        return;
    if (!m_loaded) {
        m_lastResizeSize = size();
        m_lastResizeState = windowState();
        return;
    }
    raiseResize();
}

bool Form::event(QEvent *event)
{
    if (event->type() == QEvent::UpdateRequest) {
        // Taken up, a request leaves the repaint manager waiting for the one the next frame posts.
        if (m_sinceLastPaint.isValid() && m_sinceLastPaint.elapsed() < kFrameMs) {
            if (!m_nextFrame.isActive())
                m_nextFrame.start(int(kFrameMs - m_sinceLastPaint.elapsed()), Qt::PreciseTimer, this);
            return true;
        }
        m_nextFrame.stop();
        m_sinceLastPaint.start();
    }
    if (m_loaded) {
        if (event->type() == QEvent::WindowActivate) {
            Form_Activate();
            emit Activate();
        } else if (event->type() == QEvent::WindowDeactivate) {
            Form_Deactivate();
            emit Deactivate();
        }
    }
    return QWidget::event(event);
}

void Form::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_nextFrame.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_nextFrame.stop();
    QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

void Form::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintSurface(painter, event->rect());
}

void Form::noteNormalGeometry()
{
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        m_normalGeometry = geometry();
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    watchWindowSystemStates();
}

void Form::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    noteNormalGeometry();
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    noteNormalGeometry();
    resizeSurface(size());
    raiseResizeIfChanged();
}

void Form::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !m_settingState)
        raiseResizeIfChanged();
}

void Form::closeEvent(QCloseEvent *event)
{
    // The window's close command is an unload that the form may cancel.
    event->ignore();
    runtime::Unload(this, vbFormControlMenu);
}

void Form::surfacePaint()
{
    Form_Paint();
    emit Paint();
}

} // namespace runtime

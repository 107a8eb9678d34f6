#include "os/WindowMessages.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace os {

namespace {

struct Subscription {
    WindowMessageHandler *handler;
    unsigned message;
};

WindowRect toRect(const QRect &r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// Watches one window and hands its events, as messages, to the subscribers of that window.
class WindowWatch : public QObject
{
public:
    explicit WindowWatch(QWidget *window)
        : QObject(nullptr)
        , m_window(window)
    {
        window->installEventFilter(this);
    }

    std::vector<Subscription> subscriptions;
    bool inSizeMove = false;
    bool applyingRect = false; // our own move or resize, whose event must not be reported again

    // Delivers to a snapshot of the subscribers: a handler may unsubscribe while it is called.
    void deliver(unsigned message, quintptr wParam, WindowRect *rect)
    {
        const std::vector<Subscription> snapshot = subscriptions;
        for (const Subscription &s : snapshot) {
            if (s.message != message || !isSubscribed(s))
                continue;
            s.handler->WindowProc(m_window, message, wParam, rect);
        }
    }

    // A moving or sizing rectangle offered to the handlers; the window takes what they leave.
    void deliverRect(unsigned message, WindowRect proposed)
    {
        WindowRect rect = proposed;
        deliver(message, 0, &rect);
        if (!m_window)
            return;
        // move() places the outer frame, as the rectangle describes it.
        const QSize size(std::max(0, rect.right - rect.left), std::max(0, rect.bottom - rect.top));
        applyingRect = true;
        if (m_window->frameGeometry().topLeft() != QPoint(rect.left, rect.top))
            m_window->move(rect.left, rect.top);
        if (m_window && m_window->frameGeometry().size() != size)
            m_window->resize(size - (m_window->frameGeometry().size() - m_window->size()));
        applyingRect = false;
    }

    QWidget *window() const { return m_window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window || applyingRect)
            return false;
        switch (event->type()) {
        case QEvent::Move:
            if (inSizeMove)
                deliverRect(WM_MOVING, GetWindowRect(m_window));
            break;
        case QEvent::Resize:
            if (inSizeMove)
                deliverRect(WM_SIZING, GetWindowRect(m_window));
            if (m_window)
                deliver(WM_SIZE, sizeKind(), nullptr);
            break;
        case QEvent::WindowActivate: {
            const bool byMouse = QGuiApplication::mouseButtons() != Qt::NoButton;
            deliver(WM_ACTIVATE, byMouse ? WA_CLICKACTIVE : WA_ACTIVE, nullptr);
            break;
        }
        case QEvent::WindowDeactivate: {
            const quintptr minimized = m_window && m_window->isMinimized() ? 1 : 0;
            deliver(WM_ACTIVATE, WA_INACTIVE | (minimized << 16), nullptr);
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    bool isSubscribed(const Subscription &s) const
    {
        return std::any_of(subscriptions.begin(), subscriptions.end(), [&](const Subscription &t) {
            return t.handler == s.handler && t.message == s.message;
        });
    }

    quintptr sizeKind() const
    {
        if (m_window->isMinimized())
            return SIZE_MINIMIZED;
        return m_window->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
    }

    QPointer<QWidget> m_window;
};

class Registry
{
public:
    static Registry &instance()
    {
        static Registry registry;
        return registry;
    }

    WindowWatch *find(const QWidget *window) const
    {
        const auto it = m_watches.find(window);
        return it == m_watches.end() ? nullptr : it->second.get();
    }

    WindowWatch &watch(QWidget *window)
    {
        if (WindowWatch *w = find(window))
            return *w;
        auto owned = std::make_unique<WindowWatch>(window);
        WindowWatch &w = *owned;
        m_watches.emplace(window, std::move(owned));
        QObject::connect(window, &QObject::destroyed, &w, [this, window] { destroyed(window); });
        return w;
    }

    void dropIfIdle(const QWidget *window)
    {
        WindowWatch *w = find(window);
        if (w && w->subscriptions.empty() && !w->inSizeMove) {
            auto it = m_watches.find(window);
            std::unique_ptr<WindowWatch> owned = std::move(it->second);
            m_watches.erase(it);
            if (owned->window())
                owned->window()->removeEventFilter(owned.get());
            owned.release()->deleteLater(); // we may be inside its event filter
        }
    }

private:
    void destroyed(QWidget *window)
    {
        auto it = m_watches.find(window);
        if (it == m_watches.end())
            return;
        // Out of the table before the handlers run, so that their unsubscribing finds nothing.
        std::unique_ptr<WindowWatch> owned = std::move(it->second);
        m_watches.erase(it);
        WindowWatch *w = owned.get();
        const std::vector<Subscription> snapshot = w->subscriptions;
        for (const Subscription &s : snapshot) {
            if (s.message == WM_DESTROY)
                s.handler->WindowProc(window, WM_DESTROY, 0, nullptr);
        }
        owned.release()->deleteLater();
    }

    std::map<const QWidget *, std::unique_ptr<WindowWatch>> m_watches;
};

// The move loop of ours for platforms that do not move windows themselves: follows the mouse
// until its button is released.
class MouseMoveLoop : public QObject
{
public:
    MouseMoveLoop(QWidget *window, QPoint cursor)
        : m_window(window)
        , m_cursor(cursor)
        , m_origin(window->geometry().topLeft())
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (!m_window) {
            finish();
            return false;
        }
        if (event->type() == QEvent::MouseMove) {
            auto *me = static_cast<QMouseEvent *>(event);
            if (!(me->buttons() & Qt::LeftButton)) {
                finish();
                return false;
            }
            follow(me->globalPosition().toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *me = static_cast<QMouseEvent *>(event);
            if (me->button() == Qt::LeftButton) {
                follow(me->globalPosition().toPoint());
                finish();
                return true;
            }
        }
        return false;
    }

private:
    void follow(QPoint global)
    {
        const QPoint topLeft = m_origin + (global - m_cursor);
        const QSize size = m_window->size();
        WindowRect proposed{topLeft.x(), topLeft.y(), topLeft.x() + size.width(), topLeft.y() + size.height()};
        if (proposed == GetWindowRect(m_window))
            return;
        if (WindowWatch *w = Registry::instance().find(m_window))
            w->deliverRect(WM_MOVING, proposed);
        else
            m_window->move(topLeft);
    }

    void finish();

    QPointer<QWidget> m_window;
    QPoint m_cursor;
    QPoint m_origin;
};

// The window system's move loop: it moves the window itself and reports the moves; the loop ends
// with the release of the mouse button, which Qt delivers to us once the system lets it go.
class SystemMoveLoop : public QObject
{
public:
    explicit SystemMoveLoop(QWidget *window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        const bool released = event->type() == QEvent::MouseButtonRelease
                              || (event->type() == QEvent::MouseMove
                                  && !(static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton));
        if (!m_window || released)
            finish();
        return false;
    }

private:
    void finish();
    QPointer<QWidget> m_window;
};

std::map<const QWidget *, QObject *> &runningDrags()
{
    static std::map<const QWidget *, QObject *> drags;
    return drags;
}

void endDrag(QObject *loop, const QPointer<QWidget> &window)
{
    qApp->removeEventFilter(loop);
    auto &drags = runningDrags();
    for (auto it = drags.begin(); it != drags.end(); ++it) {
        if (it->second == loop) {
            drags.erase(it);
            break;
        }
    }
    loop->deleteLater();
    if (!window)
        return;
    if (WindowWatch *w = Registry::instance().find(window)) {
        w->deliver(WM_EXITSIZEMOVE, 0, nullptr);
        w->inSizeMove = false;
        Registry::instance().dropIfIdle(window);
    }
}

void MouseMoveLoop::finish()
{
    endDrag(this, m_window);
}

void SystemMoveLoop::finish()
{
    endDrag(this, m_window);
}

}

WindowRect GetWindowRect(const QWidget *window)
{
    return window ? toRect(window->frameGeometry()) : WindowRect{};
}

void Subscribe(WindowMessageHandler *handler, QWidget *window, unsigned message)
{
    if (!handler || !window || IsSubscribed(handler, window, message))
        return;
    Registry::instance().watch(window).subscriptions.push_back({handler, message});
}

void Unsubscribe(WindowMessageHandler *handler, QWidget *window, unsigned message)
{
    WindowWatch *w = Registry::instance().find(window);
    if (!w)
        return;
    auto &subs = w->subscriptions;
    subs.erase(std::remove_if(subs.begin(), subs.end(),
                              [&](const Subscription &s) { return s.handler == handler && s.message == message; }),
               subs.end());
    Registry::instance().dropIfIdle(window);
}

bool IsSubscribed(const WindowMessageHandler *handler, const QWidget *window, unsigned message)
{
    const WindowWatch *w = Registry::instance().find(window);
    return w && std::any_of(w->subscriptions.begin(), w->subscriptions.end(), [&](const Subscription &s) {
               return s.handler == handler && s.message == message;
           });
}

bool IsInCaptionDrag(const QWidget *window)
{
    return runningDrags().count(window) != 0;
}

bool BeginCaptionDrag(QWidget *window, QPoint cursor)
{
    if (!window || !window->isWindow() || IsInCaptionDrag(window))
        return false;
    WindowWatch &w = Registry::instance().watch(window);
    w.inSizeMove = true;
    w.deliver(WM_ENTERSIZEMOVE, 0, nullptr);

    QWindow *handle = window->windowHandle();
    QObject *loop = nullptr;
    if (handle && handle->startSystemMove())
        loop = new SystemMoveLoop(window);
    else
        loop = new MouseMoveLoop(window, cursor);
    runningDrags()[window] = loop;
    return true;
}

}

#include "chrome/ResizeGrip.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <map>

namespace ResizeGrip {

namespace {

// One sizing of a window, from the drag's start until the left button is let go: the window
// system's own, or a loop of ours that follows the mouse where it offers none. A child of the
// window, so that it goes with it.
//
// The window system's sizing takes the mouse, and the release that ends it goes to the window
// system alone: the program is never told, and every mouse event it gets afterwards still reports
// the left button held, until the next press or release. Those moves are no new drag, or the
// window system would size the window again with no button held, follow the mouse and swallow the
// next click. So a sizing ends at the next press or release of any button, or at a move that
// reports the left button up.
class Sizing : public QObject {
public:
    enum class Follow { WindowSystem, OurLoop };

    Sizing(QWidget *window, Follow follow)
        : QObject(window), m_window(window), m_follow(follow), m_cursor(QCursor::pos()), m_size(window->size())
    {
        qApp->installEventFilter(this);
    }
    ~Sizing() override;

    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (m_done || (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease))
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_window || type != QEvent::MouseMove || !(mouse->buttons() & Qt::LeftButton)) {
            m_done = true;
            deleteLater();
            return false;
        }
        if (m_follow == Follow::OurLoop) {
            const QPoint moved = mouse->globalPosition().toPoint() - m_cursor;
            m_window->resize(m_size.width() + moved.x(), m_size.height() + moved.y());
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    Follow m_follow;
    QPoint m_cursor;
    QSize m_size;
    bool m_done = false;
};

std::map<const QWidget *, Sizing *> &running()
{
    static std::map<const QWidget *, Sizing *> sizings;
    return sizings;
}

Sizing::~Sizing()
{
    for (auto it = running().begin(); it != running().end(); ++it) {
        if (it->second == this) {
            running().erase(it);
            break;
        }
    }
}

}

void BeginBottomRightDrag(QWidget *window)
{
    if (!window || !window->isWindow() || IsSizing(window))
        return;
    QWindow *handle = window->windowHandle();
    const bool bySystem = handle && handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
    running()[window] = new Sizing(window, bySystem ? Sizing::Follow::WindowSystem : Sizing::Follow::OurLoop);
}

bool IsSizing(const QWidget *window) { return running().count(window) != 0; }

}

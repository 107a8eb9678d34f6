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

// Follows the mouse from where the drag began until the left button is released.
class SizeLoop : public QObject {
public:
    // A child of the window, so that it goes with it.
    SizeLoop(QWidget *window, QPoint cursor) : QObject(window), m_window(window), m_cursor(cursor), m_size(window->size())
    {
        qApp->installEventFilter(this);
    }
    ~SizeLoop() override;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_done)
            return false;
        if (!m_window || event->type() == QEvent::MouseButtonRelease || !(mouse->buttons() & Qt::LeftButton)) {
            m_done = true;
            deleteLater();
            return false;
        }
        const QPoint moved = mouse->globalPosition().toPoint() - m_cursor;
        m_window->resize(m_size.width() + moved.x(), m_size.height() + moved.y());
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPoint m_cursor;
    QSize m_size;
    bool m_done = false;
};

std::map<const QWidget *, SizeLoop *> &running()
{
    static std::map<const QWidget *, SizeLoop *> loops;
    return loops;
}

SizeLoop::~SizeLoop()
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
    if (QWindow *handle = window->windowHandle(); handle && handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge))
        return;
    running()[window] = new SizeLoop(window, QCursor::pos());
}

bool IsSizing(const QWidget *window) { return running().count(window) != 0; }

}

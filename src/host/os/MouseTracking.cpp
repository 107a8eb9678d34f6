#include "os/MouseTracking.h"

#include <QEvent>
#include <QWidget>

namespace os {

MouseTracking::MouseTracking(QWidget *widget) : QObject(widget), m_widget(widget)
{
    if (widget)
        widget->installEventFilter(this);
}

bool MouseTracking::trackLeave()
{
    if (!m_widget)
        return false;
    m_tracking = true;
    return true;
}

void MouseTracking::cancel() { m_tracking = false; }

bool MouseTracking::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_widget && m_tracking && event->type() == QEvent::Leave) {
        m_tracking = false;
        emit mouseLeave();
    }
    return false;
}

}

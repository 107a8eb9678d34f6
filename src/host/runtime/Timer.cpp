#include "runtime/Timer.h"

#include "runtime/Form.h"

namespace runtime {

Timer::Timer(QWidget *container, const QString &name, int interval, bool enabled, int index)
    : Control(container, name, index), m_interval(qMax(0, interval)), m_enabled(enabled)
{
    QWidget::setVisible(false);
    resize(0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Timer::Tick);
    sync();
}

void Timer::setInterval(int milliseconds)
{
    m_interval = qMax(0, milliseconds);
    m_timer.stop();
    sync();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_timer.stop();
    sync();
}

void Timer::setVisible(bool visible)
{
    Q_UNUSED(visible)
    QWidget::setVisible(false);
}

void Timer::sync()
{
    const Form *form = Parent();
    const bool run = m_enabled && m_interval > 0 && (!form || form->IsLoaded());
    if (!run)
        m_timer.stop();
    else if (!m_timer.isActive())
        m_timer.start(m_interval);
}

} // namespace runtime

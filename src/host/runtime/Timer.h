#pragma once

#include "runtime/Control.h"

#include <QTimer>

namespace runtime {

// A timer control: raises Tick (the design's Timer event) every Interval milliseconds while
// Enabled and Interval > 0, and only while its form is loaded (a timer of a form not yet loaded
// waits; unloading the form stops it). Setting Enabled or Interval starts the count afresh.
// A one-shot timer sets Enabled false as the first step of its handler. The handler may yield;
// the timer can then fire again inside it, as the design's timers can.
// The control is never visible and has no extent.
class Timer : public Control {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)

public:
    Timer(QWidget *container, const QString &name, int interval = 0, bool enabled = true, int index = -1);

    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled) override;
    void setVisible(bool visible) override;

    // Whether the timer is counting now (enabled, interval set, form loaded).
    bool isRunning() const { return m_timer.isActive(); }
    // Starts or stops the count to match Enabled, Interval and the form's state; the form calls
    // it when it loads and unloads.
    void sync();

signals:
    void Tick();

private:
    QTimer m_timer;
    int m_interval;
    bool m_enabled;
};

} // namespace runtime

#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace os {

// Stands in for TrackMouseEvent with TME_LEAVE: once armed, the widget gets one mouse-leave
// notification when the pointer leaves it, and tracking ends with it, as on the platform.
class MouseTracking : public QObject {
    Q_OBJECT
public:
    // Watches the widget's events; the widget owns the tracker.
    explicit MouseTracking(QWidget *widget);

    // Arms one notification; false when the widget is gone.
    bool trackLeave();
    // TME_CANCEL.
    void cancel();
    bool isTracking() const { return m_tracking; }

signals:
    void mouseLeave();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_widget;
    bool m_tracking = false;
};

}

#pragma once

#include "runtime/Control.h"

class QScrollBar;

namespace runtime {

// A horizontal scroll bar: Value between Min and Max (either may be the larger), moved by
// SmallChange with the arrows and LargeChange in the track. Change is raised once the value has
// changed, by the user or by a set; Scroll while the user drags the thumb.
class HScrollBar : public Control {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE setSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE setLargeChange)

public:
    HScrollBar(QWidget *container, const QString &name, int index = -1);

    int Min() const { return m_min; }
    void setMin(int min);
    int Max() const { return m_max; }
    void setMax(int max);
    int Value() const;
    // A value outside Min..Max is refused.
    void setValue(int value);
    int SmallChange() const;
    void setSmallChange(int change);
    int LargeChange() const;
    void setLargeChange(int change);

    QScrollBar *view() const { return m_bar; }

signals:
    void Change();
    void Scroll();

private:
    void applyRange();

    QScrollBar *m_bar;
    int m_min = 0;
    int m_max = 32767;
    int m_valueAtPress = 0;
};

} // namespace runtime

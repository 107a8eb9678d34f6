#include "runtime/HScrollBar.h"

#include <QScrollBar>
#include <QVBoxLayout>

namespace runtime {

HScrollBar::HScrollBar(QWidget *container, const QString &name, int index)
    : Control(container, name, index), m_bar(new QScrollBar(Qt::Horizontal, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar);
    setFocusProxy(m_bar);
    applyRange();
    m_bar->setSingleStep(1);
    m_bar->setPageStep(1);
    connect(m_bar, &QScrollBar::valueChanged, this, [this] {
        if (!m_bar->isSliderDown())
            emit Change();
    });
    connect(m_bar, &QScrollBar::sliderMoved, this, &HScrollBar::Scroll);
    // A drag ends with one Change for where the thumb was let go, if it moved.
    connect(m_bar, &QScrollBar::sliderPressed, this, [this] { m_valueAtPress = m_bar->value(); });
    connect(m_bar, &QScrollBar::sliderReleased, this, [this] {
        if (m_bar->value() != m_valueAtPress)
            emit Change();
    });
}

void HScrollBar::applyRange()
{
    // Min above Max turns the bar around: its left end is then the larger number.
    m_bar->setInvertedAppearance(m_min > m_max);
    m_bar->setRange(std::min(m_min, m_max), std::max(m_min, m_max));
}

void HScrollBar::setMin(int min)
{
    m_min = min;
    applyRange();
}

void HScrollBar::setMax(int max)
{
    m_max = max;
    applyRange();
}

int HScrollBar::Value() const { return m_bar->value(); }

void HScrollBar::setValue(int value)
{
    if (value < m_bar->minimum() || value > m_bar->maximum())
        return;
    m_bar->setValue(value);
}

int HScrollBar::SmallChange() const { return m_bar->singleStep(); }
void HScrollBar::setSmallChange(int change) { m_bar->setSingleStep(std::max(1, change)); }
int HScrollBar::LargeChange() const { return m_bar->pageStep(); }
void HScrollBar::setLargeChange(int change) { m_bar->setPageStep(std::max(1, change)); }

} // namespace runtime

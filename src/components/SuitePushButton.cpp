#include "components/SuitePushButton.h"

#include <QMouseEvent>
#include <QPainter>

SuitePushButton::SuitePushButton(QWidget *container, const QString &name, int index)
    : SuiteCaptionControl(container, name, index)
{
    setFocusPolicy(Qt::StrongFocus);
}

void SuitePushButton::draw(QPainter &painter)
{
    const QColor back = backQColor();
    painter.fillRect(rect(), m_down ? back.darker(115) : back);
    painter.setPen(back.darker(160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(foreQColor());
    painter.drawText(rect().translated(m_down ? 1 : 0, m_down ? 1 : 0), Qt::AlignCenter | Qt::TextShowMnemonic,
                     Caption());
}

void SuitePushButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_down = true;
        update();
    }
}

void SuitePushButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_down)
        return;
    m_down = false;
    update();
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

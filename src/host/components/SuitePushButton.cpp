#include "components/SuitePushButton.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

SuitePushButton::SuitePushButton(QWidget *container, const QString &name, int index)
    : SuiteCaptionControl(container, name, index)
{
    setFocusPolicy(Qt::StrongFocus);
}

void SuitePushButton::setBackStartColor(runtime::OleColor color)
{
    m_backStartColor = color;
    update();
}

void SuitePushButton::draw(QPainter &painter)
{
    const QColor back = backQColor();
    if (m_backStartColor && !m_down) {
        QLinearGradient face(0, 0, 0, height());
        face.setColorAt(0, runtime::toQColor(runtime::TranslateOrBlack(*m_backStartColor)));
        face.setColorAt(1, back);
        painter.fillRect(rect(), face);
    } else {
        painter.fillRect(rect(), m_down ? back.darker(115) : back);
    }
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

#include "components/AlphaImgCtl.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace AlphaImg {

AlphaImgCtl::AlphaImgCtl(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
}

void AlphaImgCtl::setPicture(const AlphaImage &picture)
{
    m_picture = picture;
    update();
}

void AlphaImgCtl::ApplyState(int state, int level)
{
    m_state = state;
    m_level = std::clamp(level, 0, 4);
    update();
}

QImage AlphaImgCtl::Render()
{
    QImage buffer(std::max(1, width()), std::max(1, height()), QImage::Format_ARGB32_Premultiplied);
    buffer.fill(Qt::transparent);
    {
        gdi::Dc dc(&buffer);
        bool cancel = false;
        emit PaintHook(dc, 0, 0, width(), height(), m_level, cancel);
        if (!cancel && !m_picture.isNull()) {
            QPainter painter(&buffer);
            painter.drawImage(0, 0, m_picture.image());
        }
    }
    QPainter painter(&buffer);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    if (m_level > 0)
        painter.fillRect(buffer.rect(), QColor(255, 255, 255, 40 * m_level));
    if (!isEnabled())
        painter.fillRect(buffer.rect(), QColor(128, 128, 128, 140));
    return buffer;
}

void AlphaImgCtl::paintEvent(QPaintEvent *)
{
    const QImage frame = Render();
    QPainter painter(this);
    painter.drawImage(0, 0, frame);
}

void AlphaImgCtl::enterEvent(QEnterEvent *event)
{
    runtime::Control::enterEvent(event);
    // Qt tells a disabled widget of the pointer too; a disabled control reacts to no hover. Leave
    // is still told, so that a highlight shown before the control was disabled goes.
    if (isEnabled())
        emit MouseEnter();
}

void AlphaImgCtl::leaveEvent(QEvent *event)
{
    runtime::Control::leaveEvent(event);
    emit MouseLeave();
}

void AlphaImgCtl::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseDown(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()), float(p.x()),
                   float(p.y()));
}

void AlphaImgCtl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseUp(runtime::MouseButtonOf(event->button()), runtime::ShiftOf(event->modifiers()), float(p.x()),
                 float(p.y()));
}

}

#include "runtime/Image.h"

#include <QMouseEvent>
#include <QPainter>

namespace runtime {

Image::Image(QWidget *container, const QString &name, int index) : Control(container, name, index)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void Image::setPicture(const StdPicture &picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

void Image::setStretch(bool stretch)
{
    if (stretch == m_stretch)
        return;
    m_stretch = stretch;
    update();
}

void Image::paintEvent(QPaintEvent *)
{
    if (m_picture.isNothing())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch)
        painter.drawImage(rect(), m_picture.image());
    else
        painter.drawImage(0, 0, m_picture.image());
}

void Image::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    emit MouseDown(MouseButtonOf(event->button()), ShiftOf(event->modifiers()), float(event->position().x()),
                   float(event->position().y()));
}

void Image::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointer<Image> guard(this);
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    emit MouseUp(MouseButtonOf(event->button()), ShiftOf(event->modifiers()), float(event->position().x()),
                 float(event->position().y()));
    if (click && guard)
        emit Click();
}

} // namespace runtime

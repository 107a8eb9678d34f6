#include "runtime/PictureBox.h"

#include "runtime/Screen.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace runtime {

PictureBox::PictureBox(QWidget *container, const QString &name, int index)
    : Control(container, name, index), Surface(this)
{
    setScaleMode(vbTwips);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitPicture();
}

void PictureBox::setPicture(const StdPicture &picture)
{
    Surface::setPicture(picture);
    fitPicture();
}

void PictureBox::fitPicture()
{
    if (!m_autoSize || Picture().isNothing())
        return;
    resize(Picture().pixelWidth(), Picture().pixelHeight());
    notifyResize();
    Cls();
}

void PictureBox::sizeChanged()
{
    resizeSurface(size());
    emit Resize();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintSurface(painter, event->rect());
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseDown(MouseButtonOf(event->button()), ShiftOf(event->modifiers()),
                   float(ScaleX(p.x(), vbPixels, ScaleMode())), float(ScaleY(p.y(), vbPixels, ScaleMode())));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseMove(MouseButtonsOf(event->buttons()), ShiftOf(event->modifiers()),
                   float(ScaleX(p.x(), vbPixels, ScaleMode())), float(ScaleY(p.y(), vbPixels, ScaleMode())));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit MouseUp(MouseButtonOf(event->button()), ShiftOf(event->modifiers()),
                 float(ScaleX(p.x(), vbPixels, ScaleMode())), float(ScaleY(p.y(), vbPixels, ScaleMode())));
    if (event->button() == Qt::LeftButton && rect().contains(p.toPoint()))
        emit Click();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit DblClick();
}

} // namespace runtime

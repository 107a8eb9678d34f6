#include "components/SuiteCaptionControl.h"

#include <QKeyEvent>
#include <QPainter>

SuiteCaptionControl::SuiteCaptionControl(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index)
{
    QWidget::setFont(m_font.toQFont());
}

void SuiteCaptionControl::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void SuiteCaptionControl::setBackColor(runtime::OleColor color)
{
    m_backColor = color;
    update();
}

void SuiteCaptionControl::setForeColor(runtime::OleColor color)
{
    m_foreColor = color;
    update();
}

void SuiteCaptionControl::setFont(const runtime::StdFont &font)
{
    m_font = font;
    QWidget::setFont(font.toQFont());
    update();
}

QImage SuiteCaptionControl::Render()
{
    QImage image(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font());
    draw(painter);
    return image;
}

void SuiteCaptionControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(painter);
}

void SuiteCaptionControl::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && event->modifiers() == Qt::NoModifier)
        click();
    else
        runtime::Control::keyReleaseEvent(event);
}

#include "components/AlphaImgShape.h"

#include <QPainter>
#include <QPainterPath>

namespace AlphaImg {

AlphaShapeCtl::AlphaShapeCtl(QWidget *container, const QString &name, int index)
    : runtime::Control(container, name, index)
{
    hide();
}

bool AlphaShapeCtl::PaintShape(gdi::Dc &hdc, int x, int y) const
{
    QImage *target = hdc.image();
    if (!target)
        return false;
    if (m_character.isEmpty() || width() <= 0 || height() <= 0)
        return true;
    QFont font = m_font.toQFont();
    font.setPixelSize(64); // drawn large and scaled down, so the outline does not depend on hinting
    QPainterPath path;
    path.addText(0, 0, font, m_character);
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty())
        return true;
    const double scale = std::min(width() / bounds.width(), height() / bounds.height());
    const QPointF offset(x + (width() - bounds.width() * scale) / 2, y + (height() - bounds.height() * scale) / 2);

    QPainter painter(target);
    if (const std::optional<QRegion> clip = hdc.clipRegion())
        painter.setClipRegion(*clip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(offset);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    painter.fillPath(path, runtime::toQColor(runtime::TranslateOrBlack(m_color)));
    return true;
}

}

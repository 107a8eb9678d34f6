#include "components/AlphaImgImage.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

namespace AlphaImg {

AlphaImage::AlphaImage(const QImage &image)
    : m_image(image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32_Premultiplied))
{
}

bool AlphaImage::Render(gdi::Dc &dc, float x0, float y0, float x1, float y1, float x2, float y2) const
{
    QImage *target = dc.image();
    if (isNull() || !target)
        return false;
    const double w = m_image.width();
    const double h = m_image.height();
    const QTransform map((x1 - x0) / w, (y1 - y0) / w, (x2 - x0) / h, (y2 - y0) / h, x0, y0);
    if (std::abs(map.determinant()) < 1e-9)
        return true;
    QPainter painter(target);
    if (const std::optional<QRegion> clip = dc.clipRegion())
        painter.setClipRegion(*clip);
    // Nearest pixels keep the narrowed frames of a turn crisp and the same on every run.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setTransform(map);
    painter.drawImage(QPointF(0, 0), m_image);
    return true;
}

AlphaImage AICGlobals::LoadPictureFromBitmap(const gdi::Bitmap &bitmap, int width, int height)
{
    if (bitmap.isNull())
        return {};
    QImage image = bitmap.toImage();
    const int w = width < 0 ? image.width() : width;
    const int h = height < 0 ? image.height() : height;
    if (w == 0 || h == 0)
        return {};
    if (w != image.width() || h != image.height())
        image = image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return AlphaImage(image);
}

}

#include "runtime/Surface.h"

#include "runtime/Screen.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace runtime {

namespace {

int penStyleOf(int drawStyle)
{
    switch (drawStyle) {
    case vbInvisible:
        return gdi::PS_NULL;
    default: // the dashed and inside-frame styles draw solid here
        return gdi::PS_SOLID;
    }
}

}

QImage NewSurfaceImage(const QSize &size, OleColor back)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(Screen::LogicalDpiX() / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(Screen::LogicalDpiY() / 0.0254)));
    image.fill(gdi::toPixel(TranslateOrBlack(back)));
    return image;
}

Surface::Surface(QWidget *owner) : m_owner(owner), m_dc(&m_image)
{
    applyPen();
    applyBrush();
    applyText();
}

Surface::~Surface() = default;

void Surface::applyPen()
{
    m_dc.selectPen(gdi::createPen(penStyleOf(m_drawStyle), m_drawWidth, TranslateOrBlack(m_foreColor)));
}

void Surface::applyBrush()
{
    m_dc.selectBrush(m_fillStyle == vbFSSolid ? gdi::Brush::solid(TranslateOrBlack(m_fillColor)) : gdi::Brush::hollow());
}

void Surface::applyText()
{
    m_dc.setTextColor(TranslateOrBlack(m_foreColor));
    m_dc.setBkColor(TranslateOrBlack(m_backColor));
    m_dc.setBkMode(m_fontTransparent ? gdi::TRANSPARENT : gdi::OPAQUE);
    m_dc.selectFont(m_font.toQFont());
}

void Surface::setBackColor(OleColor color)
{
    m_backColor = color;
    applyText();
    Cls();
}

void Surface::setForeColor(OleColor color)
{
    m_foreColor = color;
    applyPen();
    applyText();
}

void Surface::setFillColor(OleColor color)
{
    m_fillColor = color;
    applyBrush();
}

void Surface::setFillStyle(int style)
{
    m_fillStyle = style;
    applyBrush();
}

void Surface::setDrawWidth(int width)
{
    m_drawWidth = qMax(1, width);
    applyPen();
}

void Surface::setDrawStyle(int style)
{
    m_drawStyle = style;
    applyPen();
}

void Surface::setFontTransparent(bool transparent)
{
    m_fontTransparent = transparent;
    applyText();
}

void Surface::setFont(const StdFont &font)
{
    m_font = font;
    applyText();
}

void Surface::setPicture(const StdPicture &picture)
{
    m_picture = picture;
    Cls();
}

gdi::Dc *Surface::hdc()
{
    syncSize();
    return &m_dc;
}

QImage &Surface::image()
{
    syncSize();
    return m_image;
}

StdPicture Surface::Image() const { return StdPicture::fromImage(m_image); }

double Surface::ScaleWidth() const { return ScaleX(m_owner->width(), vbPixels, m_scaleMode); }
double Surface::ScaleHeight() const { return ScaleY(m_owner->height(), vbPixels, m_scaleMode); }

void Surface::syncSize() { resizeSurface(m_owner->size()); }

void Surface::resizeSurface(const QSize &size)
{
    if (size == m_image.size())
        return;
    QImage resized;
    // A surface larger than any bitmap may be is none: drawing on it fails as on a missing
    // one, instead of many gigabytes being allocated and filled for a widget stretched that far.
    if (!size.isEmpty() && qint64(size.width()) * size.height() < gdi::MaxBitmapBytes / 4) {
        resized = NewSurfaceImage(size, m_backColor);
        if (!m_image.isNull()) {
            QPainter painter(&resized);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, m_image);
        }
    }
    m_image = std::move(resized);
    m_dc.setImage(&m_image);
}

void Surface::Cls()
{
    syncSize();
    if (!m_image.isNull()) {
        m_image.fill(gdi::toPixel(TranslateOrBlack(m_backColor)));
        if (!m_picture.isNothing()) {
            QPainter painter(&m_image);
            painter.drawImage(0, 0, m_picture.image());
        }
    }
    m_dc.moveTo(0, 0);
    m_owner->update();
}

void Surface::Refresh()
{
    if (m_owner->isVisible())
        m_owner->repaint();
}

void Surface::paintSurface(QPainter &painter, const QRect &exposed)
{
    syncSize();
    if (!m_autoRedraw)
        surfacePaint();
    painter.drawImage(exposed, m_image, exposed);
}

Surface *surfaceOf(QWidget *widget) { return dynamic_cast<Surface *>(widget); }

} // namespace runtime

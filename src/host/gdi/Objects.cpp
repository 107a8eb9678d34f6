#include "gdi/Objects.h"

namespace gdi {

namespace {
bool is32Bit(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}
} // namespace

Bitmap::Bitmap(QImage image)
{
    if (image.isNull() || !is32Bit(image.format()))
        return;
    m_data = std::make_shared<Data>();
    m_data->image = std::move(image);
}

int Bitmap::width() const { return m_data ? m_data->image.width() : 0; }
int Bitmap::height() const { return m_data ? m_data->image.height() : 0; }
QImage *Bitmap::image() const { return m_data ? &m_data->image : nullptr; }
bool Bitmap::isBottomUp() const { return m_data && m_data->bottomUp; }

QImage Bitmap::toImage() const
{
    if (!m_data)
        return {};
    return m_data->bottomUp ? m_data->image.mirrored(false, true) : m_data->image.copy();
}

Bitmap createCompatibleBitmap(int width, int height)
{
    if (width < 0 || height < 0)
        return {};
    if (width == 0 || height == 0)
        width = height = 1;
    // Refused, as a DIB section of that size is: the platform fails where memory runs out, and
    // here an image of many gigabytes would be allocated and filled before anything could fail.
    if (qint64(width) * height >= MaxBitmapBytes / 4)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(0xFF000000u);
    return Bitmap(std::move(image));
}

Brush Brush::solid(ColorRef color)
{
    Brush b;
    b.m_style = BS_SOLID;
    b.m_color = color & 0x00FFFFFFu;
    return b;
}

Brush Brush::hollow() { return Brush(); }

Brush Brush::pattern(const Bitmap &bitmap)
{
    Brush b;
    if (bitmap.isNull()) {
        b.m_failed = true;
        return b;
    }
    b.m_style = BS_PATTERN;
    b.m_pattern = bitmap.toImage();
    return b;
}

quint32 Brush::pixelAt(int x, int y) const
{
    if (m_style != BS_PATTERN)
        return toPixel(m_color);
    const int w = m_pattern.width();
    const int h = m_pattern.height();
    const int px = ((x % w) + w) % w;
    const int py = ((y % h) + h) % h;
    return 0xFF000000u | reinterpret_cast<const quint32 *>(m_pattern.constScanLine(py))[px];
}

} // namespace gdi

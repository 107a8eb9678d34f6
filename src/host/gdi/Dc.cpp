#include "gdi/Dc.h"

namespace gdi {

namespace {
bool usable(const QImage *image)
{
    if (!image || image->isNull())
        return false;
    const auto f = image->format();
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}
} // namespace

Dc::Dc(QImage *target) : m_target(target) {}
Dc::Dc(Dc &&) noexcept = default;
Dc &Dc::operator=(Dc &&) noexcept = default;
Dc::~Dc() = default;

QImage *Dc::image() const
{
    QImage *image = m_bitmap.isNull() ? m_target : m_bitmap.image();
    return usable(image) ? image : nullptr;
}

void Dc::setImage(QImage *target)
{
    m_bitmap = Bitmap();
    m_target = target;
}

int Dc::width() const { return image() ? image()->width() : 0; }
int Dc::height() const { return image() ? image()->height() : 0; }

Pen Dc::selectPen(const Pen &pen) { return std::exchange(m_pen, pen); }
Brush Dc::selectBrush(const Brush &brush) { return std::exchange(m_brush, brush); }
QFont Dc::selectFont(const QFont &font) { return std::exchange(m_font, font); }

Bitmap Dc::selectBitmap(const Bitmap &bitmap)
{
    if (bitmap.isNull())
        return {};
    m_target = nullptr;
    return std::exchange(m_bitmap, bitmap);
}

ColorRef Dc::setTextColor(ColorRef color)
{
    if (isNull())
        return CLR_INVALID;
    return std::exchange(m_textColor, color);
}

ColorRef Dc::setBkColor(ColorRef color)
{
    if (isNull())
        return CLR_INVALID;
    return std::exchange(m_bkColor, color);
}

int Dc::setBkMode(int mode)
{
    if (isNull() || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return std::exchange(m_bkMode, mode);
}

int Dc::setStretchBltMode(int mode)
{
    if (isNull() || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return std::exchange(m_stretchMode, mode);
}

int Dc::selectClipRgn(const Region *region)
{
    if (isNull())
        return RGN_ERROR;
    if (!region) {
        m_clip.reset();
        return SIMPLEREGION;
    }
    m_clip = region->region();
    return region->type();
}

bool Dc::moveTo(int x, int y, Point *previous)
{
    if (isNull())
        return false;
    if (previous)
        *previous = m_position;
    m_position = {x, y};
    return true;
}

ColorRef Dc::getNearestColor(ColorRef color) const
{
    if (isNull())
        return CLR_INVALID;
    return color & 0x00FFFFFFu;
}

Dc createCompatibleDc(const Dc *)
{
    Dc dc;
    dc.selectBitmap(createCompatibleBitmap(1, 1));
    return dc;
}

} // namespace gdi

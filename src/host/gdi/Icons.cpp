// Icons and DrawState: pictures composed onto the surface, plain, disabled or flat.

#include "gdi/Dc.h"
#include "gdi/Surface.h"
#include "gdi/SysColors.h"

namespace gdi {

Icon::Icon(const QIcon &icon, QSize size) : m_icon(icon), m_size(size) {}
Icon::Icon(const QPixmap &pixmap) : m_icon(pixmap), m_size(pixmap.size()) {}
Icon::Icon(const QImage &image) : Icon(QPixmap::fromImage(image)) {}

QImage Icon::image(QSize size) const
{
    if (m_icon.isNull())
        return {};
    if (size.width() <= 0)
        size.setWidth(m_size.width());
    if (size.height() <= 0)
        size.setHeight(m_size.height());
    if (size.isEmpty())
        return {};
    QImage image = m_icon.pixmap(size, 1.0).toImage();
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

namespace {

// How a picture's pixel lands on the surface.
enum class Compose { Over, Opaque, Mask };

// Draws the picture at (x, y), cut to `limit`: Over takes it as premultiplied, Opaque copies its
// colour bytes, Mask blackens what it covers.
void compose(Surface &s, const QImage &picture, int x, int y, const QRect &limit, Compose mode)
{
    x = clampCoordinate(x), y = clampCoordinate(y);
    const QRect area = QRect(x, y, picture.width(), picture.height()) & limit;
    for (const QRect &part : s.drawable() & area)
        for (int py = part.top(); py <= part.bottom(); ++py) {
            const auto *src = reinterpret_cast<const quint32 *>(picture.constScanLine(py - y));
            quint32 *line = s.row(py);
            for (int px = part.left(); px <= part.right(); ++px) {
                const quint32 p = src[px - x];
                const quint32 a = p >> 24;
                if (mode == Compose::Opaque) {
                    line[px] = 0xFF000000u | p;
                } else if (mode == Compose::Mask) {
                    if (a >= 128)
                        line[px] = 0xFF000000u;
                } else if (a) {
                    const quint32 d = line[px];
                    quint32 out = 0;
                    for (int shift = 0; shift <= 24; shift += 8) {
                        const quint32 v = ((p >> shift) & 0xFF) + (((d >> shift) & 0xFF) * (255 - a) + 127) / 255;
                        out |= std::min<quint32>(v, 255) << shift;
                    }
                    line[px] = s.isOpaque() ? (out | 0xFF000000u) : out;
                }
            }
        }
}

// Paints the picture's shape (its foreground pixels) in one colour at (x, y), cut to `limit`.
template <typename IsForeground>
void paintShape(Surface &s, const QImage &picture, int x, int y, const QRect &limit, ColorRef colour,
                IsForeground isForeground)
{
    x = clampCoordinate(x), y = clampCoordinate(y);
    const quint32 ink = toPixel(colour);
    const QRect area = QRect(x, y, picture.width(), picture.height()) & limit;
    for (const QRect &part : s.drawable() & area)
        for (int py = part.top(); py <= part.bottom(); ++py) {
            const auto *src = reinterpret_cast<const quint32 *>(picture.constScanLine(py - y));
            for (int px = part.left(); px <= part.right(); ++px)
                if (isForeground(src[px - x]))
                    s.row(py)[px] = ink;
        }
}

// The state part of DrawState for a picture whose foreground the predicate tells.
template <typename IsForeground>
void drawPictureState(Surface &s, const QImage &picture, int x, int y, int cx, int cy, quint32 flags,
                      ColorRef textColor, Compose normal, IsForeground isForeground)
{
    x = clampCoordinate(x), y = clampCoordinate(y);
    const QRect limit(x, y, clampCoordinate(cx > 0 ? cx : picture.width()), clampCoordinate(cy > 0 ? cy : picture.height()));
    if (flags & DSS_DISABLED) {
        paintShape(s, picture, x + 1, y + 1, limit.translated(1, 1), getSysColor(COLOR_BTNHIGHLIGHT), isForeground);
        paintShape(s, picture, x, y, limit, getSysColor(COLOR_BTNSHADOW), isForeground);
    } else if (flags & DSS_MONO) {
        paintShape(s, picture, x, y, limit, textColor, isForeground);
    } else {
        compose(s, picture, x, y, limit, normal);
    }
}

bool opaqueEnough(quint32 p) { return (p >> 24) >= 128; }

} // namespace

bool Dc::drawIconEx(int x, int y, const Icon &icon, int cx, int cy, quint32 flags)
{
    Surface s(*this);
    if (!s.isValid() || icon.isNull() || !(flags & DI_NORMAL))
        return false;
    QImage picture = icon.image(QSize(cx, cy));
    if (picture.isNull())
        return false;
    const Compose mode = (flags & DI_NORMAL) == DI_NORMAL ? Compose::Over
                         : (flags & DI_IMAGE)             ? Compose::Opaque
                                                          : Compose::Mask;
    if (mode == Compose::Opaque)
        picture = picture.convertToFormat(QImage::Format_ARGB32); // the colours without the mask
    x = clampCoordinate(x), y = clampCoordinate(y);
    compose(s, picture, x, y, QRect(x, y, picture.width(), picture.height()), mode);
    return true;
}

bool Dc::drawState(const Icon &icon, int x, int y, int cx, int cy, quint32 flags)
{
    Surface s(*this);
    if (!s.isValid() || icon.isNull())
        return false;
    const QImage picture = icon.image();
    if (picture.isNull())
        return false;
    drawPictureState(s, picture, x, y, cx, cy, flags, m_textColor, Compose::Over, opaqueEnough);
    return true;
}

bool Dc::drawState(const Bitmap &bitmap, int x, int y, int cx, int cy, quint32 flags)
{
    Surface s(*this);
    if (!s.isValid() || bitmap.isNull())
        return false;
    const QImage picture = bitmap.toImage();
    // A bitmap's shape is every pixel that is not the white a monochrome copy turns into background.
    auto notWhite = [](quint32 p) { return (p & 0x00FFFFFFu) != 0x00FFFFFFu; };
    drawPictureState(s, picture, x, y, cx, cy, flags, m_textColor, Compose::Opaque, notWhite);
    return true;
}

bool Dc::drawState(const QString &text, int x, int y, int cx, int cy, quint32 flags)
{
    if (isNull())
        return false;
    const quint32 kind = flags & 0xF;
    if (kind != DST_TEXT && kind != DST_PREFIXTEXT)
        return false;
    quint32 format = DT_SINGLELINE | DT_NOCLIP | (kind == DST_TEXT ? DT_NOPREFIX : 0);
    if (flags & DSS_RIGHT)
        format |= DT_RIGHT;
    if (flags & DSS_HIDEPREFIX)
        format |= DT_HIDEPREFIX;
    const Size extent = getTextExtent(text);
    x = clampCoordinate(x), y = clampCoordinate(y);
    Rect rect{x, y, clampCoordinate(qint64(x) + (cx > 0 ? cx : extent.cx)), clampCoordinate(qint64(y) + (cy > 0 ? cy : extent.cy))};

    const ColorRef savedColor = m_textColor;
    const int savedMode = m_bkMode;
    m_bkMode = TRANSPARENT;
    if (flags & DSS_DISABLED) {
        Rect shifted{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
        m_textColor = getSysColor(COLOR_BTNHIGHLIGHT);
        drawText(text, shifted, format);
        m_textColor = getSysColor(COLOR_BTNSHADOW);
    }
    drawText(text, rect, format);
    m_textColor = savedColor;
    m_bkMode = savedMode;
    return true;
}

} // namespace gdi

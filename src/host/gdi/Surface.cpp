#include "gdi/Surface.h"

#include <algorithm>
#include <cstring>

namespace gdi {

Surface::Surface(const Dc &dc) : m_image(dc.image())
{
    if (!m_image)
        return;
    m_width = m_image->width();
    m_height = m_image->height();
    m_bottomUp = dc.bitmap().isBottomUp();
    m_drawable = QRegion(0, 0, m_width, m_height);
    if (const auto clip = dc.clipRegion()) {
        m_clipped = true;
        m_drawable &= *clip;
    }
}

bool Surface::isVisible(int x, int y) const
{
    if (!inBounds(x, y))
        return false;
    return !m_clipped || m_drawable.contains(QPoint(x, y));
}

void Surface::fill(const QRect &rect, const Brush &brush)
{
    if (brush.style() == BS_NULL || brush.isNull())
        return;
    if (brush.style() != BS_PATTERN) {
        fillSolid(rect, brush.pixelAt(0, 0));
        return;
    }
    for (const QRect &part : m_drawable & rect) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            quint32 *line = row(y);
            for (int x = part.left(); x <= part.right(); ++x)
                line[x] = brush.pixelAt(x, y);
        }
    }
}

void Surface::fillSolid(const QRect &rect, quint32 pixel)
{
    for (const QRect &part : m_drawable & rect) {
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::fill_n(row(y) + part.left(), part.width(), pixel);
    }
}

void Surface::paint(const std::function<void(QPainter &)> &f)
{
    if (!m_bottomUp) {
        QPainter painter(m_image);
        painter.setClipRegion(m_drawable);
        f(painter);
        return;
    }
    QImage upright = m_image->mirrored(false, true);
    {
        QPainter painter(&upright);
        painter.setClipRegion(m_drawable);
        f(painter);
    }
    const qsizetype bytes = std::min(upright.bytesPerLine(), m_image->bytesPerLine());
    for (int y = 0; y < m_height; ++y)
        std::memcpy(row(y), upright.constScanLine(y), size_t(bytes));
}

quint32 applyRop(Rop rop, quint32 p, quint32 s, quint32 d)
{
    // The high word's low byte is the truth table: bit (p << 2 | s << 1 | d) is the result.
    const unsigned table = (rop >> 16) & 0xFF;
    quint32 result = 0;
    for (unsigned index = 0; index < 8; ++index) {
        if (!(table & (1u << index)))
            continue;
        result |= ((index & 4) ? p : ~p) & ((index & 2) ? s : ~s) & ((index & 1) ? d : ~d);
    }
    return 0xFF000000u | (result & 0x00FFFFFFu);
}

bool ropUsesSource(Rop rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    return ((t >> 2) & 0x33) != (t & 0x33);
}

bool ropUsesPattern(Rop rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    return ((t >> 4) & 0x0F) != (t & 0x0F);
}

} // namespace gdi

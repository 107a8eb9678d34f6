#pragma once

// Internal to gdi: the pixel access every drawing call shares. Coordinates are the picture's
// (y downwards); a selected bottom-up DIB section is stored upside down and mapped here.

#include "gdi/Dc.h"

#include <QPainter>
#include <QRegion>

#include <functional>

namespace gdi {

class Surface {
public:
    explicit Surface(const Dc &dc);

    bool isValid() const { return m_image != nullptr; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isBottomUp() const { return m_bottomUp; }
    // A surface without an alpha channel: every pixel must stay opaque.
    bool isOpaque() const { return m_image->format() == QImage::Format_RGB32; }

    quint32 *row(int y) const
    {
        return reinterpret_cast<quint32 *>(m_image->scanLine(m_bottomUp ? m_height - 1 - y : y));
    }
    // Reading never detaches an image that shares its pixels with another.
    const quint32 *constRow(int y) const
    {
        return reinterpret_cast<const quint32 *>(m_image->constScanLine(m_bottomUp ? m_height - 1 - y : y));
    }
    quint32 pixel(int x, int y) const { return constRow(y)[x]; }
    bool inBounds(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    // Inside the surface and the clip region.
    bool isVisible(int x, int y) const;
    // The drawable area: the surface bounds within the clip region.
    const QRegion &drawable() const { return m_drawable; }

    void plot(int x, int y, quint32 pixel)
    {
        if (isVisible(x, y))
            row(y)[x] = pixel;
    }
    // Fills the drawable part of rect with what the brush paints.
    void fill(const QRect &rect, const Brush &brush);
    // Fills the drawable part of rect with one pixel value, a row's run at a time.
    void fillSolid(const QRect &rect, quint32 pixel);

    // Runs f with a painter on the surface, clipped to the drawable area. A bottom-up surface is
    // painted upright in a copy that then goes back row by row, so text looks as it does on any
    // other surface and the pixel memory stays where it is.
    void paint(const std::function<void(QPainter &)> &f);
    QImage *image() const { return m_image; }

private:
    QImage *m_image = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_bottomUp = false;
    bool m_clipped = false;
    QRegion m_drawable;
};

// The pixel a ternary raster operation gives for pattern p, source s and destination d.
quint32 applyRop(Rop rop, quint32 p, quint32 s, quint32 d);
bool ropUsesSource(Rop rop);
bool ropUsesPattern(Rop rop);

} // namespace gdi

// The blits: raster operations, stretching, colour-keyed and alpha-blended copies.

#include "gdi/Dc.h"
#include "gdi/Surface.h"

#include <algorithm>
#include <optional>

namespace gdi {

namespace {

// One axis of a blit: destination [dst, dst + dstLen) fed from source [src, src + srcLen).
struct Axis {
    int dst = 0;
    int dstLen = 0;
    int src = 0;
    int srcLen = 0;
    bool mirror = false;

    // Negative extents run the other way; a sign difference mirrors.
    static Axis make(int dst, int dstLen, int src, int srcLen)
    {
        dst = clampCoordinate(dst), dstLen = clampCoordinate(dstLen);
        src = clampCoordinate(src), srcLen = clampCoordinate(srcLen);
        Axis a;
        a.mirror = (dstLen < 0) != (srcLen < 0);
        a.dst = dstLen < 0 ? dst + dstLen : dst;
        a.dstLen = std::abs(dstLen);
        a.src = srcLen < 0 ? src + srcLen : src;
        a.srcLen = std::abs(srcLen);
        return a;
    }
    // Source pixels [first, last) that feed destination index i; `combine` takes every source
    // pixel when shrinking, otherwise the one under the destination pixel's centre.
    std::pair<int, int> sources(int i, bool combine) const
    {
        const qint64 j = mirror ? dstLen - 1 - i : i;
        if (combine && srcLen > dstLen)
            return {src + int(j * srcLen / dstLen), src + int((j + 1) * srcLen / dstLen)};
        const int s = src + int((2 * j + 1) * srcLen / (2 * qint64(dstLen)));
        return {s, s + 1};
    }
};

// Read access to a source context; a source that is also the destination is read from a copy
// of the area the blit reads, so the copy is not disturbed by its own writes.
class Source {
public:
    Source(const Dc &src, const Dc &dst, const QRect &area) : m_surface(src)
    {
        if (!m_surface.isValid())
            return;
        if (src.image() == dst.image()) {
            const QRect part = area & QRect(0, 0, m_surface.width(), m_surface.height());
            QImage copy(part.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
            for (int y = 0; y < part.height(); ++y)
                std::copy_n(m_surface.constRow(part.top() + y) + part.left(), part.width(),
                            reinterpret_cast<quint32 *>(copy.scanLine(y)));
            m_copy = std::move(copy);
            m_origin = part.topLeft();
            m_copyRect = part;
        }
    }
    bool isValid() const { return m_surface.isValid(); }
    bool contains(int x, int y) const
    {
        return m_copy ? m_copyRect.contains(x, y) : m_surface.inBounds(x, y);
    }
    quint32 pixel(int x, int y) const
    {
        if (m_copy)
            return reinterpret_cast<const quint32 *>(m_copy->constScanLine(y - m_origin.y()))[x - m_origin.x()];
        return m_surface.pixel(x, y);
    }
    int width() const { return m_surface.width(); }
    int height() const { return m_surface.height(); }

private:
    Surface m_surface;
    std::optional<QImage> m_copy;
    QPoint m_origin;
    QRect m_copyRect;
};

QRect sourceArea(const Axis &h, const Axis &v) { return QRect(h.src, v.src, h.srcLen, v.srcLen); }

// The source pixel for a stretched destination pixel, combined as the stretch mode says.
quint32 sample(const Source &src, const Axis &h, const Axis &v, int i, int j, int mode, bool &valid)
{
    const bool combine = mode != COLORONCOLOR;
    const auto [x0, x1] = h.sources(i, combine);
    const auto [y0, y1] = v.sources(j, combine);
    if (x1 - x0 == 1 && y1 - y0 == 1) {
        valid = src.contains(x0, y0);
        return valid ? src.pixel(x0, y0) : 0;
    }
    quint32 andAll = 0xFFFFFFFFu, orAll = 0;
    quint64 sum[3] = {0, 0, 0};
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (!src.contains(x, y))
                continue;
            const quint32 p = src.pixel(x, y);
            andAll &= p;
            orAll |= p;
            sum[0] += (p >> 16) & 0xFF, sum[1] += (p >> 8) & 0xFF, sum[2] += p & 0xFF;
            ++count;
        }
    valid = count > 0;
    if (!valid)
        return 0;
    if (mode == WHITEONBLACK)
        return orAll;
    if (mode == HALFTONE) {
        auto avg = [&](quint64 s) { return quint32((s + count / 2) / count); };
        return 0xFF000000u | (avg(sum[0]) << 16) | (avg(sum[1]) << 8) | avg(sum[2]);
    }
    return andAll;
}

} // namespace

bool Dc::bitBlt(int x, int y, int w, int h, const Dc *src, int sx, int sy, Rop rop)
{
    x = clampCoordinate(x), y = clampCoordinate(y), w = clampCoordinate(w), h = clampCoordinate(h);
    sx = clampCoordinate(sx), sy = clampCoordinate(sy);
    // Equal extents: negative ones describe the same rectangles from the other corner.
    if (w < 0)
        x += w, sx += w, w = -w;
    if (h < 0)
        y += h, sy += h, h = -h;
    return stretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

bool Dc::stretchBlt(int x, int y, int w, int h, const Dc *src, int sx, int sy, int sw, int sh, Rop rop)
{
    Surface dst(*this);
    if (!dst.isValid())
        return false;
    const bool needsSource = ropUsesSource(rop);
    if (needsSource && (!src || !src->image()))
        return false;
    if (w == 0 || h == 0 || (needsSource && (sw == 0 || sh == 0)))
        return true;
    const Axis ha = Axis::make(x, w, sx, needsSource ? sw : w);
    const Axis va = Axis::make(y, h, sy, needsSource ? sh : h);
    const QRect target(ha.dst, va.dst, ha.dstLen, va.dstLen);
    std::optional<Source> source;
    if (needsSource)
        source.emplace(*src, *this, sourceArea(ha, va));
    const bool usesPattern = ropUsesPattern(rop);
    const bool plainCopy = (rop >> 16 & 0xFF) == (SRCCOPY >> 16 & 0xFF);
    const bool mirrored = ha.mirror || va.mirror;
    const bool sameSize = ha.srcLen == ha.dstLen && va.srcLen == va.dstLen;

    for (const QRect &part : dst.drawable() & target) {
        for (int py = part.top(); py <= part.bottom(); ++py) {
            quint32 *line = dst.row(py);
            for (int px = part.left(); px <= part.right(); ++px) {
                quint32 s = 0;
                if (source) {
                    bool valid = false;
                    if (sameSize && !mirrored) {
                        const int qx = ha.src + px - ha.dst, qy = va.src + py - va.dst;
                        valid = source->contains(qx, qy);
                        if (valid)
                            s = source->pixel(qx, qy);
                    } else {
                        s = sample(*source, ha, va, px - ha.dst, py - va.dst, m_stretchMode, valid);
                    }
                    if (!valid)
                        continue; // outside the source: the platform leaves these pixels alone
                }
                if (plainCopy) {
                    // A plain copy keeps the source's alpha where the destination has alpha.
                    line[px] = dst.isOpaque() ? (0xFF000000u | s) : s;
                    continue;
                }
                const quint32 p = usesPattern ? m_brush.pixelAt(px, py) : 0;
                line[px] = applyRop(rop, p, s, line[px]);
            }
        }
    }
    return true;
}

namespace {

// What the colour-keyed and the blended copies share: the platform's refusals, the sampling
// and the walk of the drawable destination; `put` combines one sampled source pixel into place.
template <typename Put>
bool sampledBlit(Dc &dc, int x, int y, int w, int h, const Dc &src, int sx, int sy, int sw, int sh, Put put)
{
    Surface dst(dc);
    if (!dst.isValid() || !src.image() || w < 0 || h < 0 || sw < 0 || sh < 0)
        return false;
    if (w == 0 || h == 0 || sw == 0 || sh == 0)
        return true;
    const Axis ha = Axis::make(x, w, sx, sw);
    const Axis va = Axis::make(y, h, sy, sh);
    const Source source(src, dc, sourceArea(ha, va));
    for (const QRect &part : dst.drawable() & QRect(ha.dst, va.dst, ha.dstLen, va.dstLen)) {
        for (int py = part.top(); py <= part.bottom(); ++py) {
            quint32 *line = dst.row(py);
            for (int px = part.left(); px <= part.right(); ++px) {
                bool valid = false;
                const quint32 s = sample(source, ha, va, px - ha.dst, py - va.dst, COLORONCOLOR, valid);
                if (valid)
                    put(line[px], s, dst.isOpaque());
            }
        }
    }
    return true;
}

} // namespace

bool Dc::transparentBlt(int x, int y, int w, int h, const Dc &src, int sx, int sy, int sw, int sh,
                        ColorRef transparent)
{
    const quint32 key = toPixel(transparent) & 0x00FFFFFFu;
    return sampledBlit(*this, x, y, w, h, src, sx, sy, sw, sh, [key](quint32 &d, quint32 s, bool) {
        if ((s & 0x00FFFFFFu) != key)
            d = 0xFF000000u | s;
    });
}

bool Dc::alphaBlend(int x, int y, int w, int h, const Dc &src, int sx, int sy, int sw, int sh,
                    BlendFunction blend)
{
    if (blend.blendOp != AC_SRC_OVER || (blend.alphaFormat != 0 && blend.alphaFormat != AC_SRC_ALPHA))
        return false;
    // The platform refuses a source rectangle that leaves the source surface.
    if (sx < 0 || sy < 0 || qint64(sx) + sw > src.width() || qint64(sy) + sh > src.height())
        return false;
    const quint32 ca = blend.sourceConstantAlpha;
    const bool perPixel = blend.alphaFormat == AC_SRC_ALPHA;
    auto scale = [](quint32 c, quint32 a) { return (c * a + 127) / 255; };
    return sampledBlit(*this, x, y, w, h, src, sx, sy, sw, sh, [&](quint32 &d, quint32 s, bool opaque) {
        quint32 out = 0;
        for (int shift = 0; shift <= 24; shift += 8) {
            const quint32 sc = (s >> shift) & 0xFF;
            const quint32 dc = (d >> shift) & 0xFF;
            quint32 v;
            if (perPixel) {
                // Premultiplied source over the destination.
                const quint32 sa = scale(s >> 24, ca);
                v = std::min<quint32>(255, scale(sc, ca) + scale(dc, 255 - sa));
            } else {
                v = scale(sc, ca) + scale(dc, 255 - ca);
            }
            out |= std::min<quint32>(v, 255) << shift;
        }
        d = opaque ? (out | 0xFF000000u) : out;
    });
}

} // namespace gdi

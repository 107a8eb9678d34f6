#include "gdi/Region.h"

#include "gdi/Raster.h"

#include <algorithm>

namespace gdi {

int Region::type() const
{
    if (m_region.isEmpty())
        return NULLREGION;
    return m_region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

Region createRectRgn(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (left == right || top == bottom)
        return Region();
    return Region(QRegion(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1))));
}

Region createRoundRectRgn(int left, int top, int right, int bottom, int w, int h)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    // The platform's rounded regions leave out one more column at the right and row at the
    // bottom than rectangular ones; callers pass right + 1 and bottom + 1 for that.
    --right;
    --bottom;
    QRegion region;
    const auto spans = raster::roundRectSpans(left, top, right, bottom, w, h);
    for (size_t i = 0; i < spans.size(); ++i) {
        const int y = top + int(i);
        if (spans[i].right > spans[i].left)
            region += QRect(spans[i].left, y, spans[i].right - spans[i].left, 1);
    }
    return Region(region);
}

int combineRgn(Region &dest, const Region &a, const Region &b, int mode)
{
    switch (mode) {
    case RGN_AND:
        dest = Region(a.region() & b.region());
        break;
    case RGN_OR:
        dest = Region(a.region() | b.region());
        break;
    case RGN_XOR:
        dest = Region(a.region() ^ b.region());
        break;
    case RGN_DIFF:
        dest = Region(a.region() - b.region());
        break;
    case RGN_COPY:
        dest = Region(a.region());
        break;
    default:
        return RGN_ERROR;
    }
    return dest.type();
}

} // namespace gdi

#include "gdi/Region.h"

#include "gdi/Geometry.h"
#include "gdi/Raster.h"

#include <algorithm>
#include <vector>

namespace gdi {

int Region::type() const
{
    if (m_region.isEmpty())
        return NULLREGION;
    return m_region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

Region createRectRgn(int left, int top, int right, int bottom)
{
    const Rect r = normalisedRect(left, top, right, bottom);
    if (r.isEmpty())
        return Region();
    return Region(QRegion(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1))));
}

Region createRoundRectRgn(int left, int top, int right, int bottom, int w, int h)
{
    const Rect r = normalisedRect(left, top, right, bottom);
    // The platform's rounded regions leave out one more column at the right and row at the
    // bottom than rectangular ones; callers pass right + 1 and bottom + 1 for that.
    const raster::RoundRectShape shape(r.left, r.top, r.right - 1, r.bottom - 1, w, h);
    if (shape.isEmpty())
        return Region();
    // One band per corner row and one for the straight middle, already in the banded order
    // QRegion keeps, so it takes them as they are.
    std::vector<QRect> bands;
    auto add = [&](int y0, int y1) {
        const raster::Span span = shape.row(y0);
        if (span.right > span.left && y1 >= y0)
            bands.emplace_back(QPoint(span.left, y0), QPoint(span.right - 1, y1));
    };
    const int corners = shape.cornerRows();
    for (int i = 0; i < corners; ++i)
        add(shape.top() + i, shape.top() + i);
    add(shape.top() + corners, shape.bottom() - 1 - corners);
    for (int i = corners - 1; i >= 0; --i)
        add(shape.bottom() - 1 - i, shape.bottom() - 1 - i);
    QRegion region;
    region.setRects(bands.data(), int(bands.size()));
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

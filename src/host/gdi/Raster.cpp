#include "gdi/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi::raster {

namespace {

// Where the true line passes exactly between two pixels, lines heading into these octants take
// the other pixel; that keeps a line and its reverse on the same pixels.
bool takesBias(qint64 dx, qint64 dy)
{
    if (dy > 0)
        return dx <= 0 && -dx <= dy; // steep, down and to the left
    if (dx < 0)
        return true; // up (or level) and to the left
    return dx > -dy; // flat, up (or level) and to the right
}

} // namespace

void thinLine(QPoint a, QPoint b, const QRect &bounds, const std::function<void(int, int)> &plot)
{
    const qint64 dx = qint64(b.x()) - a.x();
    const qint64 dy = qint64(b.y()) - a.y();
    if (dx == 0 && dy == 0)
        return;
    const qint64 adx = std::abs(dx);
    const qint64 ady = std::abs(dy);
    const int sx = dx > 0 ? 1 : -1;
    const int sy = dy > 0 ? 1 : -1;
    const qint64 bias = takesBias(dx, dy) ? 1 : 0;
    const bool flat = adx > ady; // diagonals step along y
    const qint64 length = flat ? adx : ady;

    // Only the steps whose major coordinate lies within the bounds.
    const qint64 start = flat ? a.x() : a.y();
    const int step = flat ? sx : sy;
    const qint64 lo = flat ? bounds.left() : bounds.top();
    const qint64 hi = flat ? bounds.right() : bounds.bottom();
    const qint64 first = std::max<qint64>(0, step > 0 ? lo - start : start - hi);
    const qint64 last = std::min<qint64>(length - 1, step > 0 ? hi - start : start - lo);

    for (qint64 k = first; k <= last; ++k) {
        // The minor offset after k steps, in closed form: the error term of the incremental
        // algorithm crosses zero exactly at these quotients.
        qint64 x;
        qint64 y;
        if (flat) {
            x = a.x() + sx * k;
            y = a.y() + sy * ((2 * k * ady + adx - 1 + bias) / (2 * adx));
        } else {
            y = a.y() + sy * k;
            x = a.x() + sx * ((2 * k * adx + ady - 1 + bias) / (2 * ady));
        }
        if (x >= bounds.left() && x <= bounds.right() && y >= bounds.top() && y <= bounds.bottom())
            plot(int(x), int(y));
    }
}

namespace {

// Whether the pixel centre p is covered by a pen of the given width swept from a to b. Exact in
// 128-bit integers for every coordinate within the platform's limit.
bool inSweep(QPoint p, QPoint a, QPoint b, int width)
{
    using Wide = __int128;
    const Wide diameter2 = Wide(width) * width; // distances are doubled below
    const Wide ex = Wide(b.x()) - a.x(), ey = Wide(b.y()) - a.y();
    const Wide wx = Wide(p.x()) - a.x(), wy = Wide(p.y()) - a.y();
    const Wide len2 = ex * ex + ey * ey;
    const Wide dot = wx * ex + wy * ey;
    Wide vx, vy; // the direction from the nearest point of the segment to p
    int order;   // doubled distance squared against the diameter squared
    auto compare = [](Wide l, Wide r) { return l < r ? -1 : (l > r ? 1 : 0); };
    if (len2 == 0 || dot <= 0) {
        vx = wx, vy = wy;
        order = compare(4 * (wx * wx + wy * wy), diameter2);
    } else if (dot >= len2) {
        vx = Wide(p.x()) - b.x(), vy = Wide(p.y()) - b.y();
        order = compare(4 * (vx * vx + vy * vy), diameter2);
    } else {
        // Beside the segment: the distance is |cross| / |e|.
        const Wide cross = wx * ey - wy * ex;
        vx = wx * len2 - dot * ex, vy = wy * len2 - dot * ey;
        order = compare(4 * cross * cross, diameter2 * len2);
    }
    if (order != 0)
        return order < 0;
    // On the boundary: covered where the pen lies to the right of or below the centre.
    return vx < 0 || (vx == 0 && vy < 0);
}

} // namespace

void wideStroke(const std::vector<QPoint> &points, int width, const QRect &bounds,
                const std::function<void(int, int)> &plot)
{
    if (points.empty() || width <= 1)
        return;
    width = std::min(width, 1 << 27);
    const int reach = width / 2 + 1;
    for (size_t i = 0; i < points.size(); ++i) {
        const QPoint a = points[i];
        const QPoint b = i + 1 < points.size() ? points[i + 1] : a;
        if (i + 1 == points.size() && points.size() > 1)
            break;
        const QRect box = (QRect(a, QSize(1, 1)) | QRect(b, QSize(1, 1))).adjusted(-reach, -reach, reach, reach) & bounds;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (inSweep(QPoint(x, y), a, b, width))
                    plot(x, y);
    }
}

int cornerInset(int row, int ew, int eh)
{
    // Column j (from the corner) is inside when (2j + 1 - ew)^2 eh^2 + (2row + 1 - eh)^2 ew^2 <=
    // ew^2 eh^2. A square root gives the answer to within a column; exact integers settle it.
    using Wide = __int128;
    const Wide a2 = Wide(ew) * ew;
    const Wide b2 = Wide(eh) * eh;
    const Wide dy = 2 * Wide(row) + 1 - eh;
    const Wide rest = a2 * b2 - dy * dy * a2;
    if (rest < 0)
        return ew / 2;
    auto inside = [&](qint64 j) {
        const Wide dx = 2 * Wide(j) + 1 - ew;
        return dx * dx * b2 <= rest;
    };
    const long double reach = std::sqrt(static_cast<long double>(rest) / static_cast<long double>(b2));
    qint64 j = std::clamp<qint64>(qint64(std::ceil((ew - 1 - reach) / 2)), 0, ew / 2);
    while (j > 0 && inside(j - 1))
        --j;
    while (j < ew / 2 && !inside(j))
        ++j;
    return int(j);
}

RoundRectShape::RoundRectShape(int left, int top, int right, int bottom, int ew, int eh)
    : m_left(left), m_top(top), m_right(right), m_bottom(bottom)
{
    m_ew = isEmpty() ? 0 : int(std::min<qint64>(qint64(right) - left, std::abs(qint64(ew))));
    m_eh = isEmpty() ? 0 : int(std::min<qint64>(qint64(bottom) - top, std::abs(qint64(eh))));
}

Span RoundRectShape::row(int y) const
{
    const int corners = cornerRows();
    const int fromTop = y - m_top;
    const int fromBottom = m_bottom - 1 - y;
    const int i = std::min(fromTop, fromBottom);
    if (i >= corners)
        return {m_left, m_right};
    const int inset = cornerInset(i, m_ew, m_eh);
    return {m_left + inset, m_right - inset};
}

} // namespace gdi::raster

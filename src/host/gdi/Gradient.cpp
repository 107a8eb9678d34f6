#include "gdi/Dc.h"
#include "gdi/Surface.h"

#include <algorithm>

namespace gdi {

bool Dc::gradientFill(std::span<const TriVertex> vertices, std::span<const GradientRect> rects, quint32 mode)
{
    Surface s(*this);
    if (!s.isValid() || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V))
        return false;
    for (const GradientRect &r : rects)
        if (r.upperLeft >= vertices.size() || r.lowerRight >= vertices.size())
            return false;

    for (const GradientRect &r : rects) {
        TriVertex a = vertices[r.upperLeft];
        TriVertex b = vertices[r.lowerRight];
        // The corners may come in any order; colours stay with their side of the sweep.
        const bool horizontal = mode == GRADIENT_FILL_RECT_H;
        if (horizontal ? a.x > b.x : a.y > b.y)
            std::swap(a, b);
        for (TriVertex *v : {&a, &b})
            v->x = clampCoordinate(v->x), v->y = clampCoordinate(v->y);
        const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
        const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
        if (left == right || top == bottom)
            continue;
        const qint64 length = horizontal ? qint64(right) - left : qint64(bottom) - top;
        // Weighted 16-bit mix of the two vertices at `pos` of `length`; the pixel takes the high byte.
        auto channel = [length](quint16 c0, quint16 c1, qint64 pos) {
            return quint32(((c0 * (length - pos) + c1 * pos) / length) >> 8);
        };
        auto colour = [&](qint64 pos) {
            return 0xFF000000u | (channel(a.red, b.red, pos) << 16) | (channel(a.green, b.green, pos) << 8) |
                   channel(a.blue, b.blue, pos);
        };
        const QRect area(QPoint(left, top), QPoint(right - 1, bottom - 1));
        for (const QRect &part : s.drawable() & area)
            for (int y = part.top(); y <= part.bottom(); ++y) {
                quint32 *line = s.row(y);
                for (int x = part.left(); x <= part.right(); ++x)
                    line[x] = colour(horizontal ? qint64(x) - left : qint64(y) - top);
            }
    }
    return true;
}

} // namespace gdi

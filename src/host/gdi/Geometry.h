#pragma once

#include <QRect>

#include <algorithm>

namespace gdi {

// The platform keeps device coordinates within 27 bits; coordinates beyond are taken as that
// limit, which keeps every pixel calculation inside int.
inline constexpr int MaxCoordinate = 1 << 27;
constexpr int clampCoordinate(qint64 v) { return int(std::clamp<qint64>(v, -MaxCoordinate, MaxCoordinate)); }

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point &, const Point &) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size &, const Size &) = default;
};

// The platform's rectangle: right and bottom lie just outside it.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return clampCoordinate(qint64(right) - left); }
    int height() const { return clampCoordinate(qint64(bottom) - top); }
    bool isEmpty() const { return right <= left || bottom <= top; }
    // Within the coordinate limit; an empty rectangle gives an empty QRect.
    QRect toQRect() const
    {
        return QRect(QPoint(clampCoordinate(left), clampCoordinate(top)),
                     QPoint(clampCoordinate(qint64(right) - 1), clampCoordinate(qint64(bottom) - 1)));
    }
    static Rect fromQRect(const QRect &r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    friend bool operator==(const Rect &, const Rect &) = default;
};

// The rectangle that two opposite corners span, given in either order, within the coordinate
// limit: what the figure and region calls take their corners as.
constexpr Rect normalisedRect(int left, int top, int right, int bottom)
{
    left = clampCoordinate(left), top = clampCoordinate(top);
    right = clampCoordinate(right), bottom = clampCoordinate(bottom);
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

} // namespace gdi

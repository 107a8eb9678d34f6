#pragma once

#include <QRect>

namespace gdi {

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

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    static Rect fromQRect(const QRect &r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    friend bool operator==(const Rect &, const Rect &) = default;
};

} // namespace gdi

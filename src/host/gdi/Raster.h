#pragma once

// Internal to gdi: the platform's pixel rules as pure functions.

#include <QPoint>
#include <QRect>

#include <functional>
#include <vector>

namespace gdi::raster {

// The pixels of a one-pixel line from a to b, b itself excluded (the platform's Bresenham with
// its tie bias, so a line and its reverse cover the same pixels shifted by one end).
// Only steps whose pixel lies inside `bounds` are reported, so huge coordinates cost nothing.
void thinLine(QPoint a, QPoint b, const QRect &bounds, const std::function<void(int, int)> &plot);

// The pixels a pen of `width` (> 1) covers along the polyline: every pixel whose centre lies
// inside the pen's sweep (round ends and joins), a centre on the boundary counting only where the
// sweep lies to its right or below (the top-left fill rule).
void wideStroke(const std::vector<QPoint> &points, int width, const QRect &bounds,
                const std::function<void(int, int)> &plot);

// Inset of row `row` (0 at the top of a corner ellipse of ew x eh): the number of pixels left
// out at that row's end. Pixels count when their centre lies inside or on the ellipse.
int cornerInset(int row, int ellipseWidth, int ellipseHeight);

struct Span {
    int left;
    int right;
};

// A rounded rectangle covering columns [left, right) and rows [top, bottom) with corner
// ellipses ew x eh (clamped to the size; below 2 means square corners). Rows are worked out
// when asked for, so a huge figure costs only the rows that are drawn.
class RoundRectShape {
public:
    RoundRectShape(int left, int top, int right, int bottom, int ew, int eh);

    bool isEmpty() const { return m_right <= m_left || m_bottom <= m_top; }
    int left() const { return m_left; }
    int top() const { return m_top; }
    int right() const { return m_right; }
    int bottom() const { return m_bottom; }
    // Rows at the top and at the bottom that the corners narrow.
    int cornerRows() const { return m_ew < 2 || m_eh < 2 ? 0 : m_eh / 2; }
    // The columns of row y, which must lie in [top, bottom).
    Span row(int y) const;

private:
    int m_left, m_top, m_right, m_bottom, m_ew, m_eh;
};

} // namespace gdi::raster

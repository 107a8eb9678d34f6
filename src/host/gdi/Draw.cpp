// Lines, pixels, rectangles and edges: exact integer rules on the surface.

#include "gdi/Dc.h"
#include "gdi/Raster.h"
#include "gdi/Surface.h"
#include "gdi/SysColors.h"

#include <algorithm>

namespace gdi {

namespace {

QRect spanRect(int left, int top, int right, int bottom) { return Rect{left, top, right, bottom}.toQRect(); }

// The outline in the pen and the interior in the brush of a figure, over the rows that can show.
void drawFigure(Surface &s, const Dc &dc, const raster::RoundRectShape &shape)
{
    const Pen &pen = dc.pen();
    const bool penVisible = pen.style != PS_NULL;
    const int reach = penVisible && pen.width > 1 ? pen.width / 2 + 1 : 1;
    // Rows of the figure near enough to the surface to matter, with their spans.
    const int first = std::max(shape.top(), -reach);
    const int last = std::min(shape.bottom() - 1, s.height() - 1 + reach);
    if (first > last)
        return;
    std::vector<raster::Span> spans;
    spans.reserve(size_t(last - first + 1));
    for (int y = first; y <= last; ++y)
        spans.push_back(shape.row(y));
    auto spanAt = [&](int y) -> const raster::Span & { return spans[size_t(y - first)]; };
    // The columns of row y whose four neighbours all lie inside the figure; the rest of the row's
    // span is its outline. The rows above and below are in `spans` for every row that shows.
    auto interior = [&](int y) -> raster::Span {
        const raster::Span &here = spanAt(y);
        if (y - 1 < shape.top() || y + 1 >= shape.bottom())
            return {here.left, here.left};
        const raster::Span &up = spanAt(y - 1);
        const raster::Span &down = spanAt(y + 1);
        const int left = std::max({here.left + 1, up.left, down.left});
        const int right = std::min({here.right - 1, up.right, down.right});
        return left < right ? raster::Span{left, right} : raster::Span{here.left, here.left};
    };
    const int rowFrom = std::max(first, 0);
    const int rowTo = std::min(last, s.height() - 1);
    auto clamped = [&](int from, int to) { return std::pair{std::max(from, 0), std::min(to, s.width())}; };

    const Brush &brush = dc.brush();
    if (brush.style() != BS_NULL && !brush.isNull()) {
        // Without a pen the platform fills one pixel less to the right and below.
        const int fillTo = penVisible ? rowTo : std::min(rowTo, shape.bottom() - 2);
        for (int y = rowFrom; y <= fillTo; ++y) {
            const raster::Span run = penVisible ? interior(y) : raster::Span{spanAt(y).left, std::min(spanAt(y).right, shape.right() - 1)};
            const auto [x0, x1] = clamped(run.left, run.right);
            if (x0 < x1)
                s.fill(QRect(x0, y, x1 - x0, 1), brush);
        }
    }
    if (!penVisible)
        return;
    const quint32 ink = toPixel(pen.color);
    if (pen.width <= 1) {
        auto outline = [&](int y, int from, int to) {
            const auto [x0, x1] = clamped(from, to);
            if (x0 < x1)
                s.fillSolid(QRect(x0, y, x1 - x0, 1), ink);
        };
        for (int y = rowFrom; y <= rowTo; ++y) {
            const raster::Span &span = spanAt(y);
            const raster::Span inner = interior(y);
            if (inner.left >= inner.right) {
                outline(y, span.left, span.right);
            } else {
                outline(y, span.left, inner.left);
                outline(y, inner.right, span.right);
            }
        }
        return;
    }
    // A wide pen sweeps the centre line: down the left ends of the rows, along the bottom row,
    // up the right ends and along the top row; only the rows that can show are walked.
    const QRect bounds(0, 0, s.width(), s.height());
    auto plot = [&](int x, int y) { s.plot(x, y, ink); };
    std::vector<QPoint> leftSide, rightSide;
    for (int y = first; y <= last; ++y) {
        leftSide.emplace_back(spans[size_t(y - first)].left, y);
        rightSide.emplace_back(spans[size_t(y - first)].right - 1, y);
    }
    raster::wideStroke(leftSide, pen.width, bounds, plot);
    raster::wideStroke(rightSide, pen.width, bounds, plot);
    if (first == shape.top())
        raster::wideStroke({leftSide.front(), rightSide.front()}, pen.width, bounds, plot);
    if (last == shape.bottom() - 1)
        raster::wideStroke({leftSide.back(), rightSide.back()}, pen.width, bounds, plot);
}

} // namespace

bool Dc::lineTo(int x, int y)
{
    Surface s(*this);
    if (!s.isValid())
        return false;
    const QPoint from(clampCoordinate(m_position.x), clampCoordinate(m_position.y));
    const QPoint to(clampCoordinate(x), clampCoordinate(y));
    m_position = {x, y};
    if (m_pen.style == PS_NULL)
        return true;
    const quint32 ink = toPixel(m_pen.color);
    const QRect bounds(0, 0, s.width(), s.height());
    auto plot = [&](int px, int py) { s.plot(px, py, ink); };
    if (m_pen.width <= 1 && (from.x() == to.x() || from.y() == to.y())) {
        // A level or upright line is one run: from its start up to its end, the end left out.
        if (from != to)
            s.fillSolid(QRect(QPoint(std::min(from.x(), to.x() + 1), std::min(from.y(), to.y() + 1)),
                              QPoint(std::max(from.x(), to.x() - 1), std::max(from.y(), to.y() - 1))),
                        ink);
    } else if (m_pen.width <= 1)
        raster::thinLine(from, to, bounds, plot);
    else
        raster::wideStroke({from, to}, m_pen.width, bounds, plot);
    return true;
}

bool Dc::setPixelV(int x, int y, ColorRef color)
{
    Surface s(*this);
    if (!s.isValid() || !s.isVisible(x, y))
        return false;
    s.row(y)[x] = toPixel(color);
    return true;
}

ColorRef Dc::getPixel(int x, int y) const
{
    Surface s(*this);
    if (!s.isValid() || !s.isVisible(x, y))
        return CLR_INVALID;
    return fromPixel(s.pixel(x, y));
}

bool Dc::fillRect(const Rect &rect, const Brush &brush)
{
    Surface s(*this);
    if (!s.isValid() || brush.isNull())
        return false;
    if (!rect.isEmpty())
        s.fill(rect.toQRect(), brush);
    return true;
}

bool Dc::frameRect(const Rect &rect, const Brush &brush)
{
    Surface s(*this);
    if (!s.isValid() || brush.isNull())
        return false;
    if (rect.isEmpty())
        return true;
    const Rect &r = rect;
    s.fill(spanRect(r.left, r.top, r.right, r.top + 1), brush);
    s.fill(spanRect(r.left, r.bottom - 1, r.right, r.bottom), brush);
    s.fill(spanRect(r.left, r.top, r.left + 1, r.bottom), brush);
    s.fill(spanRect(r.right - 1, r.top, r.right, r.bottom), brush);
    return true;
}

bool Dc::rectangle(int left, int top, int right, int bottom)
{
    Surface s(*this);
    if (!s.isValid())
        return false;
    const Rect r = normalisedRect(left, top, right, bottom);
    drawFigure(s, *this, raster::RoundRectShape(r.left, r.top, r.right, r.bottom, 0, 0));
    return true;
}

bool Dc::roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    Surface s(*this);
    if (!s.isValid())
        return false;
    const Rect r = normalisedRect(left, top, right, bottom);
    drawFigure(s, *this, raster::RoundRectShape(r.left, r.top, r.right, r.bottom, ellipseWidth, ellipseHeight));
    return true;
}

bool Dc::drawEdge(Rect &rect, quint32 edge, quint32 flags)
{
    Surface s(*this);
    if (!s.isValid())
        return false;
    // Top-left and bottom-right colours of the outer and inner edge; a soft edge exchanges the
    // top-left colours of its outer and inner edge.
    const bool soft = flags & BF_SOFT;
    int outerLT = -1, outerRB = -1, innerLT = -1, innerRB = -1;
    if (edge & BDR_RAISEDOUTER)
        outerLT = soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, outerRB = COLOR_3DDKSHADOW;
    else if (edge & BDR_SUNKENOUTER)
        outerLT = soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, outerRB = COLOR_BTNHIGHLIGHT;
    if (edge & BDR_RAISEDINNER)
        innerLT = soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, innerRB = COLOR_BTNSHADOW;
    else if (edge & BDR_SUNKENINNER)
        innerLT = soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, innerRB = COLOR_3DLIGHT;

    Rect r = rect;
    auto ring = [&](int lt, int rb) {
        if (lt < 0 || r.isEmpty())
            return;
        const Brush light = Brush::solid(getSysColor(lt));
        const Brush dark = Brush::solid(getSysColor(rb));
        if (flags & BF_TOP)
            s.fill(spanRect(r.left, r.top, r.right, r.top + 1), light);
        if (flags & BF_LEFT)
            s.fill(spanRect(r.left, r.top, r.left + 1, r.bottom), light);
        if (flags & BF_BOTTOM)
            s.fill(spanRect(r.left, r.bottom - 1, r.right, r.bottom), dark);
        if (flags & BF_RIGHT)
            s.fill(spanRect(r.right - 1, r.top, r.right, r.bottom), dark);
        r.left += (flags & BF_LEFT) ? 1 : 0;
        r.top += (flags & BF_TOP) ? 1 : 0;
        r.right -= (flags & BF_RIGHT) ? 1 : 0;
        r.bottom -= (flags & BF_BOTTOM) ? 1 : 0;
    };
    ring(outerLT, outerRB);
    ring(innerLT, innerRB);
    if ((flags & BF_MIDDLE) && !r.isEmpty())
        s.fill(r.toQRect(), Brush::solid(getSysColor(COLOR_BTNFACE)));
    if (flags & BF_ADJUST)
        rect = r;
    return true;
}

} // namespace gdi

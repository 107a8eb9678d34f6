// Lines, pixels, rectangles and edges: exact integer rules on the surface.

#include "gdi/Dc.h"
#include "gdi/Raster.h"
#include "gdi/Surface.h"
#include "gdi/SysColors.h"

#include <algorithm>

namespace gdi {

namespace {

QRect spanRect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void normalise(int &left, int &top, int &right, int &bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

// The outline and interior of a filled figure given as row spans, drawn in the pen and brush.
void drawFigure(Surface &s, const Dc &dc, int left, int top, int right, int bottom,
                const std::vector<raster::Span> &spans, const std::vector<QPoint> &path)
{
    const Pen &pen = dc.pen();
    const bool penVisible = pen.style != PS_NULL;
    const int rows = int(spans.size());
    auto inside = [&](int x, int y) {
        const int i = y - top;
        return i >= 0 && i < rows && x >= spans[size_t(i)].left && x < spans[size_t(i)].right;
    };
    // A pixel of the figure is on the outline when one of its four neighbours is outside.
    auto onOutline = [&](int x, int y) {
        return !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
    };

    const Brush &brush = dc.brush();
    if (brush.style() != BS_NULL && !brush.isNull()) {
        if (penVisible) {
            for (int i = 0; i < rows; ++i)
                for (int x = spans[size_t(i)].left; x < spans[size_t(i)].right; ++x)
                    if (!onOutline(x, top + i) && s.isVisible(x, top + i))
                        s.row(top + i)[x] = brush.pixelAt(x, top + i);
        } else {
            // Without a pen the platform fills one pixel less to the right and below.
            for (int i = 0; i + 1 < rows; ++i)
                for (int x = spans[size_t(i)].left; x < std::min(spans[size_t(i)].right, right - 1); ++x)
                    if (s.isVisible(x, top + i))
                        s.row(top + i)[x] = brush.pixelAt(x, top + i);
        }
    }
    if (!penVisible)
        return;
    const quint32 ink = toPixel(pen.color);
    const QRect bounds(0, 0, s.width(), s.height());
    if (pen.width <= 1) {
        const QRect box = spanRect(left, top, right, bottom) & bounds;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (inside(x, y) && onOutline(x, y))
                    s.plot(x, y, ink);
        return;
    }
    raster::wideStroke(path, pen.width, bounds, [&](int x, int y) { s.plot(x, y, ink); });
}

} // namespace

bool Dc::lineTo(int x, int y)
{
    Surface s(*this);
    if (!s.isValid())
        return false;
    const QPoint from(m_position.x, m_position.y);
    const QPoint to(x, y);
    m_position = {x, y};
    if (m_pen.style == PS_NULL)
        return true;
    const quint32 ink = toPixel(m_pen.color);
    const QRect bounds(0, 0, s.width(), s.height());
    auto plot = [&](int px, int py) { s.plot(px, py, ink); };
    if (m_pen.width <= 1)
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
    normalise(left, top, right, bottom);
    if (right - left < 1 || bottom - top < 1)
        return true;
    const std::vector<raster::Span> spans(size_t(bottom - top), raster::Span{left, right});
    const std::vector<QPoint> path = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
    drawFigure(s, *this, left, top, right, bottom, spans, path);
    return true;
}

bool Dc::roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    Surface s(*this);
    if (!s.isValid())
        return false;
    normalise(left, top, right, bottom);
    if (right - left < 1 || bottom - top < 1)
        return true;
    const auto spans = raster::roundRectSpans(left, top, right, bottom, ellipseWidth, ellipseHeight);
    // The centre line of a wide pen: down the left ends of the rows, back up the right ends.
    std::vector<QPoint> path;
    for (int i = 0; i < int(spans.size()); ++i)
        path.emplace_back(spans[size_t(i)].left, top + i);
    for (int i = int(spans.size()) - 1; i >= 0; --i)
        path.emplace_back(spans[size_t(i)].right - 1, top + i);
    path.push_back(path.front());
    drawFigure(s, *this, left, top, right, bottom, spans, path);
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

#include "platform/clsGradient.h"

#include "gdi/Dc.h"
#include "runtime/OleColor.h"
#include "runtime/Surface.h"

#include <QWidget>

#include <cmath>

namespace {

struct PointF {
    float x = 0;
    float y = 0;
};

// Halves to even, as the design's conversions to whole numbers round.
long roundHalfEven(double value) { return long(std::nearbyint(value)); }

float reduceAngle(float value)
{
    float reduced = float(double(value) - 360.0 * std::floor(double(value) / 360.0));
    // A value just below a multiple of 360 can round up to 360 itself in single precision.
    if (reduced >= 360.0f)
        reduced -= 360.0f;
    return reduced;
}

quint32 frozenSystemColor(quint32 value)
{
    if ((value & 0x80000000u) && (value & 0x7FFFFFFFu) <= 24u)
        return runtime::GetSysColor(int(value & 0x7FFFFFFFu));
    return value;
}

double safeDivide(double a, double b) { return b == 0 ? 0.0 : a / b; }

// Turns point about centre by degrees, counter-clockwise on the screen (y grows downward).
void rotatePoint(const PointF &centre, PointF &point, float degrees)
{
    const float radians = float(double(degrees) * 0.017453292519943278);
    const float dx = point.x - centre.x;
    const float dy = point.y - centre.y;
    const double c = std::cos(double(radians));
    const double s = std::sin(double(radians));
    point.x = float(double(centre.x) + double(dx) * c + double(dy) * s);
    point.y = float(double(centre.y) - double(dx) * s + double(dy) * c);
}

}

void clsGradient::setAngle(float value) { m_angle = reduceAngle(value); }
void clsGradient::setColor1(quint32 value) { m_color1 = frozenSystemColor(value); }
void clsGradient::setColor2(quint32 value) { m_color2 = frozenSystemColor(value); }

int clsGradient::BlendColors(quint32 color1, quint32 color2, int Steps, std::vector<quint32> &colors)
{
    if (Steps < 2)
        Steps = 2;
    const long r1 = color1 & 0xFF, g1 = (color1 & 0xFF00) / 256, b1 = (color1 & 0xFF0000) / 65536;
    const long r2 = color2 & 0xFF, g2 = (color2 & 0xFF00) / 256, b2 = (color2 & 0xFF0000) / 65536;
    // The divisor is Steps, not Steps - 1: the middle entries stop short of the second colour.
    const float dr = float(safeDivide(double(r2 - r1), Steps));
    const float dg = float(safeDivide(double(g2 - g1), Steps));
    const float db = float(safeDivide(double(b2 - b1), Steps));
    colors.assign(size_t(Steps), 0);
    colors.front() = color1;
    colors.back() = color2;
    for (int i = 1; i <= Steps - 2; ++i) {
        const long r = roundHalfEven(double(r1) + double(i) * double(dr));
        const long g = roundHalfEven(double(g1) + double(i) * double(dg));
        const long b = roundHalfEven(double(b1) + double(i) * double(db));
        colors[size_t(i)] = quint32(r + g * 256 + b * 65536);
    }
    return Steps;
}

std::vector<QPoint> clsGradient::SweepPoints(float angle, int w, int h)
{
    const float reducedAngle = reduceAngle(angle);
    const PointF centre{float(std::floor(w / 2.0)), float(std::floor(h / 2.0))};
    const int m = w > h ? w : h;
    const float r = float((std::sqrt(double(m) * m + double(m) * m) + 2.0) / 2.0);
    PointF p0{centre.x - r, centre.y};
    PointF p1{centre.x + r, centre.y};
    const float lineAngle = reduceAngle(reducedAngle + 90.0f);
    rotatePoint(centre, p0, lineAngle);
    rotatePoint(centre, p1, lineAngle);

    const float dx = std::fabs(p0.x - p1.x);
    const float dy = std::fabs(p0.y - p1.y);
    double offsetX = 0, offsetY = 0;
    int stepX = 0, stepY = 0;
    const bool sweepAlongX = dy >= dx;
    // Which edge the sweep starts from, by the gradient's angle (not the line's).
    const bool upToRight = reducedAngle <= 90.0f || reducedAngle > 270.0f;
    const bool upToBottom = reducedAngle <= 180.0f;
    if (sweepAlongX) {
        if (upToRight) {
            offsetX = -double(std::max(p0.x, p1.x));
            stepX = 1;
        } else {
            offsetX = double(w) - double(std::min(p0.x, p1.x));
            stepX = -1;
        }
    } else if (upToBottom) {
        offsetY = double(h) - double(std::min(p0.y, p1.y));
        stepY = -1;
    } else {
        offsetY = -double(std::max(p0.y, p1.y));
        stepY = 1;
    }

    std::vector<QPoint> points;
    points.reserve(2000);
    points.emplace_back(int(roundHalfEven(double(p0.x) + offsetX)), int(roundHalfEven(double(p0.y) + offsetY)));
    points.emplace_back(int(roundHalfEven(double(p1.x) + offsetX)), int(roundHalfEven(double(p1.y) + offsetY)));
    const auto beyond = [&](const QPoint &p) {
        if (stepX > 0)
            return p.x() > w;
        if (stepX < 0)
            return p.x() < 0;
        if (stepY > 0)
            return p.y() > h;
        return p.y() < 0;
    };
    for (;;) {
        const QPoint &previous = points[points.size() - 2];
        points.emplace_back(previous.x() + stepX, previous.y() + stepY);
        if (beyond(points[points.size() - 1]) && beyond(points[points.size() - 2]))
            break;
    }
    return points;
}

long clsGradient::DrawGradient(gdi::Dc &dc, int w, int h) const
{
    const std::vector<QPoint> points = SweepPoints(m_angle, w, h);
    const long n = long(points.size());
    std::vector<quint32> colors;
    BlendColors(m_color1, m_color2, int(roundHalfEven(n / 2.0)), colors);
    long i = 0;
    for (; i <= n - 2; i += 2) {
        dc.moveTo(points[size_t(i)].x(), points[size_t(i)].y());
        const gdi::Pen previous = dc.selectPen(gdi::createPen(gdi::PS_SOLID, 1, colors[size_t(i / 2)] & 0x00FFFFFFu));
        dc.lineTo(points[size_t(i + 1)].x(), points[size_t(i + 1)].y());
        dc.selectPen(previous);
    }
    return i;
}

bool clsGradient::Draw(QWidget *target) const
{
    runtime::Surface *surface = runtime::surfaceOf(target);
    if (!surface)
        return false;
    const QRect client = target->rect();
    if (client.width() <= 1 || client.height() <= 1)
        return false;
    return DrawGradient(*surface->hdc(), client.width(), client.height()) > 0;
}

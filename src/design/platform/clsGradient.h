#pragma once

#include <QPoint>
#include <QtGlobal>

#include <vector>

class QWidget;

namespace gdi {
class Dc;
}

// Fills the client area of a window (a picture box in practice) with a linear two-colour
// gradient at any angle, by sweeping a one-pixel line perpendicular to the gradient's direction
// across the area, one position per pixel, each position in its own colour.
//
// Angle is the direction from Color1 to Color2, counter-clockwise with y up: 0 left to right,
// 90 bottom to top, 270 top to bottom. The instance keeps only its three properties.
class clsGradient {
public:
    // Reduced into [0, 360) on set (-45 reads 315).
    float Angle() const { return m_angle; }
    void setAngle(float value);
    // A system colour with an index up to 24 is replaced by its current value on set.
    quint32 Color1() const { return m_color1; }
    void setColor1(quint32 value);
    quint32 Color2() const { return m_color2; }
    void setColor2(quint32 value);

    // Draws into the target's device context over its client area. False when the target is
    // no drawing surface or its area is 1 pixel or less either way, or no line was drawn.
    bool Draw(QWidget *target) const;

    // Fills colors with Steps colours (at least 2) from color1 to color2 and answers how many.
    // The step is the colour distance / Steps, so the last step is twice the others.
    static int BlendColors(quint32 color1, quint32 color2, int Steps, std::vector<quint32> &colors);

    // The sweep over a w x h area at an angle: pairs of points, each pair one line position
    // (its end point not drawn), from the near edge to the first position wholly past the far
    // edge. Usually even in length; a trailing single point is no line.
    static std::vector<QPoint> SweepPoints(float angle, int width, int height);

    // The drawing itself into a device context; answers the index where the line loop stopped
    // (greater than 0 when a line was drawn).
    long DrawGradient(gdi::Dc &dc, int width, int height) const;

private:
    float m_angle = 315.0f;
    quint32 m_color1 = 0xFFFFD0u;
    quint32 m_color2 = 0x400000u;
};

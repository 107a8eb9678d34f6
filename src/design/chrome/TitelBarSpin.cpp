#include "chrome/TitelBarSpin.h"

#include "chrome/TitelBarColors.h"

#include <cmath>

namespace titelbar {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943278;

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

}

double LeadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    int end = 0;
    bool digits = false;
    if (end < trimmed.size() && (trimmed[end] == u'+' || trimmed[end] == u'-'))
        ++end;
    while (end < trimmed.size() && trimmed[end].isDigit()) {
        ++end;
        digits = true;
    }
    if (end < trimmed.size() && trimmed[end] == u'.') {
        ++end;
        while (end < trimmed.size() && trimmed[end].isDigit()) {
            ++end;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    bool ok = false;
    const double value = trimmed.left(end).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

SpinStep SpinTick(const QString &tag, int imageWidth, int imageHeight)
{
    SpinStep step;
    const double w = imageWidth;
    const double h = imageHeight;
    std::array<QPoint, 3> p = {QPoint(nearest(-w / 2), nearest(-h / 2)), QPoint(nearest(w / 2), nearest(-h / 2)),
                               QPoint(nearest(-w / 2), nearest(h / 2))};

    const double angle = LeadingNumber(tag) + 20;
    step.tag = numberText(angle);

    const double k = std::tan(45 * kRadiansPerDegree);
    const double s = std::sin(90 * kRadiansPerDegree);
    const double c = std::cos(90 * kRadiansPerDegree);
    // The angle is taken as a 16-bit integer; a tag beyond that range skips the statement, which
    // leaves the angle at 0 and the picture edge-on.
    double a = 0;
    if (angle >= -32768.5 && angle < 32767.5)
        a = nearest(angle) + 90;
    const double f = std::sin(a * kRadiansPerDegree) * k;
    const double e = s * k;
    for (QPoint &pt : p) {
        const int x = nearest((pt.x() * s + pt.y() * c) * f);
        const int y = nearest((pt.y() * s - pt.x() * c) * e);
        pt = QPoint(x + imageWidth / 2, y + imageHeight / 2);
    }
    step.points = p;

    if (static_cast<float>(angle) >= 360.0f) {
        step.finished = true;
        step.tag = QStringLiteral("0");
    }
    return step;
}

}

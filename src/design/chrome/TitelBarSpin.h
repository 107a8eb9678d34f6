#pragma once

#include <QPoint>
#include <QString>

#include <array>

// One tick of a caption button's spin: the picture turns about its vertical centre line like a
// coin, 20 degrees a tick, drawn through three corner points (upper-left, upper-right, lower-left).
namespace titelbar {

struct SpinStep {
    QString tag;                 // the angle after this tick, "0" once the turn is complete
    std::array<QPoint, 3> points;
    bool finished = false;       // the tick reached 360 degrees
};

// `tag` is the timer's tag text, the angle so far; a text that is no number counts as 0.
SpinStep SpinTick(const QString &tag, int imageWidth, int imageHeight);

// The leading number of a text the way the runtime's Val reads it: "" and "x" are 0, "12ab" is 12.
double LeadingNumber(const QString &text);

}

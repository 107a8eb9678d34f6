#pragma once

#include <QString>

#include <optional>

// The arithmetic of the anchoring control, apart from any window: reading the anchor flags from a
// control's Tag and moving or stretching one control by the change of the window's size. All
// lengths are twips.
namespace AnchorLayout {

// The flags at the start of a Tag ("TFFT*/..."): four characters for Left, Top, Right and Bottom.
struct TagFlags {
    QString flags;    // the first four characters, empty when the Tag carries none
    QString tag;      // the Tag as it reads after the flags were taken off
};

// A Tag counts as flagged when "*/" occurs anywhere in it; its first four characters are the
// flags and its first six are removed, unless it is shorter than six characters.
TagFlags splitTag(const QString &tag);

struct Geometry {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The changes one layout pass makes to a control with the given flags; a member is empty where the
// control keeps its value. A stretch that would leave a height or width of 0 or less is skipped.
struct Move {
    std::optional<double> top;
    std::optional<double> height;
    std::optional<double> left;
    std::optional<double> width;
};
Move moveFor(const QString &flags, const Geometry &geometry, int dH, int dW);

}

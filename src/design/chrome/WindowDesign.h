#pragma once

#include "runtime/StdFont.h"

#include <QString>

class Anchor;
class QWidget;
class dcButton;

namespace runtime {
class Control;
class Form;
class Label;
}

// The vocabulary every window's design is written in: places in twips, the window font, the
// plain labels and the skinned buttons. A place is always converted into the scale of the
// container the control sits on (twips on a window, pixels on a skinned panel's surface), so no
// window converts by hand.
namespace WindowDesign {

// A window's size as designed, in twips.
struct Size {
    double width;
    double height;
};

// A place as designed, in twips, relative to the container.
struct Place {
    double left;
    double top;
    double width;
    double height;
};

runtime::StdFont WindowFont();

// Puts the control at the designed place, in its container's scale.
void Move(runtime::Control *control, const Place &twips);

// Puts a plain widget of the platform (no scale of its own) at the designed place.
void MoveWidget(QWidget *widget, const Place &twips);

// A transparent label in the window font.
runtime::Label *MakeLabel(QWidget *container, const QString &name, const QString &caption, const QString &tag,
                          const Place &twips);

// A skinned button in the window font.
dcButton *MakeButton(QWidget *container, const QString &name, const QString &caption, const QString &tag,
                     const Place &twips, const QString &toolTip = {});

// The window at its designed size at the screen's top left (its load centres it).
void SetDesignSize(runtime::Form *form, const Size &size);

// The load's start size: the anchor takes it as the start and so the smallest size, and the
// window takes it, height first. The main window lets the message loop run between the two.
void StartAnchorAt(Anchor *anchor, const Size &size);
void StartAt(runtime::Form *form, const Size &size);
void StartAtDesignSize(runtime::Form *form, Anchor *anchor, const Size &size);

} // namespace WindowDesign

#pragma once

#include "chrome/FrameRect.h"
#include "runtime/Screen.h"
#include "runtime/StdFont.h"

#include <QSize>
#include <QString>

class Anchor;
class QWidget;
class dcButton;

namespace runtime {
class Control;
class Form;
class Label;
class Surface;
}

// The vocabulary every window's design is written in: places in twips, the window font, the
// plain labels and the skinned buttons, the title bar, the frame. A place is always converted
// into the scale of the container the control sits on (twips on a window, pixels on a skinned
// panel's surface), so no window converts by hand.
namespace WindowDesign {

// Lengths go between twips and pixels by the runtime's conversions, each along its own axis.
using runtime::Axis;
using runtime::Rounding;
using runtime::ToPixels;
using runtime::ToTwips;

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

// A size in twips as whole pixels: the width by the horizontal scale, the height by the vertical.
QSize ToPixels(const Size &twips, Rounding rounding = Rounding::Nearest);

runtime::StdFont WindowFont();

// The skinned windows' title bar: its caption's font, and its height in twips as a new bar has it.
runtime::StdFont TitleBarFont();
inline constexpr double TitleBarHeight = 480;

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

// Draws the frame of a surface of the given size in twips (FrameRect) in the surface's pen, by
// the screen's scales; the caller clears and refreshes around it.
void DrawFrame(runtime::Surface &surface, double widthTwips, double heightTwips, int top,
               FrameRect::Rounding rounding = FrameRect::Rounding::WholeOperands);

} // namespace WindowDesign

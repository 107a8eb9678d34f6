#pragma once

#include "runtime/PropertyBag.h"

#include <QString>

class TitelBar;

namespace runtime {
class Form;
class Label;
}

// What every skinned, resizable window of the program does alike: its title bar, its one-pixel
// frame, its resize grip, its place on the screen.
namespace SkinnedWindow {

// Whether the title bar offers the maximise button; a window that does not stores neither of
// its two keys.
enum class MaximizeButton { Shown, Absent };

// The title bar's stored design values, the same on every window but for its caption.
runtime::PropertyBag TitleBarBag(const QString &caption, MaximizeButton maximize = MaximizeButton::Shown);

// The title bar from those values, captioned with the window's caption and as wide as the window.
TitelBar *CreateTitleBar(runtime::Form *form, MaximizeButton maximize = MaximizeButton::Shown);

// The grip label (Marlett "o") in the window's bottom-right corner.
runtime::Label *CreateGrip(runtime::Form *form);
void PlaceGrip(runtime::Form *form, runtime::Label *grip);

// Centred on the screen, each step followed by a yield when `yield` is set (otherwise in one
// move). Answers false when the window was unloaded during a yield.
bool CentreOnScreen(runtime::Form *form, bool yield);

// Clears the window's drawing and draws the frame in its ForeColor: left, right and bottom edges
// on the outermost pixels, the top edge above the window.
void DrawFrame(runtime::Form *form);

// The title bar follows the window's width; the grip hides while the title bar holds the window
// maximised.
void FollowResize(runtime::Form *form, TitelBar *bar, runtime::Label *grip);

// A drag of the grip with the left button alone sizes the window from its bottom-right corner;
// any other button state does nothing.
void StartGripSizing(runtime::Form *form, int button);

} // namespace SkinnedWindow

#pragma once

class QWidget;

// The resize grip in a window's bottom-right corner: a left-button drag on it sizes the window
// from that corner, as the system's own sizing border does.
namespace ResizeGrip {

// Starts sizing the window while the left button stays down: the window system's own sizing
// where it offers one, otherwise a loop of ours that follows the mouse (an X server without a
// window manager offers none). Does nothing while a sizing of the window already runs.
void BeginBottomRightDrag(QWidget *window);

// True while a sizing loop of ours runs for the window.
bool IsSizing(const QWidget *window);

}

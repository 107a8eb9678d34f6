#pragma once

class QWidget;

// The resize grip in a window's bottom-right corner: a left-button drag on it sizes the window
// from that corner, as the system's own sizing border does.
namespace ResizeGrip {

// Starts sizing the window while the left button stays down: the window system's own sizing
// where it offers one, otherwise a loop of ours that follows the mouse (an X server without a
// window manager offers none). Does nothing while a sizing of the window already runs; one counts
// as running until the next press or release of a mouse button, or a move without the left button.
void BeginBottomRightDrag(QWidget *window);

// True while a sizing of the window runs.
bool IsSizing(const QWidget *window);

}

#pragma once

#include <QPoint>
#include <QtGlobal>

class QWidget;

// Subscription to a window's messages, the stand-in for a subclassing library: a handler asks for
// some messages of one top-level window and is called for each of them while the message is being
// handled. Qt's events are translated into the message numbers the callers know.
namespace os {

inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_ACTIVATE = 0x0006;
inline constexpr unsigned WM_SIZING = 0x0214;
inline constexpr unsigned WM_MOVING = 0x0216;
inline constexpr unsigned WM_ENTERSIZEMOVE = 0x0231;
inline constexpr unsigned WM_EXITSIZEMOVE = 0x0232;

// Low word of WM_ACTIVATE's wParam; the high word is non-zero while the window is minimised.
inline constexpr unsigned WA_INACTIVE = 0;
inline constexpr unsigned WA_ACTIVE = 1;
inline constexpr unsigned WA_CLICKACTIVE = 2;

// wParam of WM_SIZE.
inline constexpr unsigned SIZE_RESTORED = 0;
inline constexpr unsigned SIZE_MINIMIZED = 1;
inline constexpr unsigned SIZE_MAXIMIZED = 2;

// A window rectangle in screen pixels; right and bottom are exclusive.
struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const WindowRect &) const = default;
};

// GetWindowRect: the window's outer rectangle on the screen.
WindowRect GetWindowRect(const QWidget *window);

class WindowMessageHandler
{
public:
    virtual ~WindowMessageHandler() = default;
    // Called for each subscribed message. `rect` is set for WM_MOVING and WM_SIZING: the rectangle
    // the window is moving or sizing to, which the handler may change; the window then takes the
    // changed rectangle. For WM_DESTROY the window is being destroyed and must not be used.
    virtual long WindowProc(QWidget *window, unsigned message, quintptr wParam, WindowRect *rect) = 0;
};

// The one program-wide registry of subscriptions. A handler unsubscribes before it is destroyed.
void Subscribe(WindowMessageHandler *handler, QWidget *window, unsigned message);
void Unsubscribe(WindowMessageHandler *handler, QWidget *window, unsigned message);
bool IsSubscribed(const WindowMessageHandler *handler, const QWidget *window, unsigned message);

// The caption drag (a left-button press on the caption area): the window system's own move loop
// where the platform offers one, otherwise a move loop of ours that follows the mouse until the
// button is released. Either way the subscribers see WM_ENTERSIZEMOVE, WM_MOVING for each step
// and WM_EXITSIZEMOVE. `cursor` is the mouse's screen position at the start. Returns false when
// there is no top-level window or a drag of it already runs.
bool BeginCaptionDrag(QWidget *window, QPoint cursor);
// True while a caption drag of `window` runs.
bool IsInCaptionDrag(const QWidget *window);

}

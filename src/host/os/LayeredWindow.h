#pragma once

#include "gdi/Color.h"

#include <QImage>
#include <QRegion>

class QWidget;

namespace os {

// Extended window styles (GetWindowLong / SetWindowLong with GWL_EXSTYLE).
inline constexpr quint32 WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr quint32 WS_EX_LAYERED = 0x00080000;

// SetLayeredWindowAttributes flags.
inline constexpr quint32 LWA_COLORKEY = 0x1;
inline constexpr quint32 LWA_ALPHA = 0x2;

// The extended styles recorded for a window (0 for one never set). Only WS_EX_LAYERED has an
// effect here: taking it away drops the window's layered attributes.
quint32 GetWindowExStyle(const QWidget *window);
// Answers the previous styles.
quint32 SetWindowExStyle(QWidget *window, quint32 styles);

// SetLayeredWindowAttributes: with LWA_COLORKEY every pixel of the window whose colour is
// exactly key is not drawn (and not hit by the mouse): the window gets a mask that leaves those
// pixels out, taken at once and kept up to date as the window repaints or resizes (taken again at
// most once a frame, and only when a widget moved, resized, appeared or went or a drawing surface's
// pixels changed; what comes back into the mask is painted again, as painting is clipped to the
// mask). With LWA_ALPHA the whole window is drawn with that opacity. Fails (false) on a window
// without WS_EX_LAYERED, as the platform does.
bool SetLayeredWindowAttributes(QWidget *window, gdi::ColorRef key, quint8 alpha, quint32 flags);

// What the window looks like for the colour key: the drawing surfaces of the runtime (forms,
// picture boxes, user controls) as they hold their pixels, every other visible widget as an
// opaque area. Its own pixels; no paint handler runs.
QImage ComposeWindowImage(QWidget *window);
// The part of an image that is not exactly key.
QRegion RegionWithoutColor(const QImage &image, gdi::ColorRef key);
// Recomputes the window's colour-key mask now, whether or not anything seems to have changed.
void UpdateLayeredMask(QWidget *window);

} // namespace os

#pragma once

#include "gdi/Region.h"

#include <optional>

class QWidget;

namespace os {

// SetWindowRgn: the window's shape follows the region (in the window's own pixels): only the
// pixels inside it are drawn and hit by the mouse. The window keeps its own copy; no region
// (std::nullopt) gives the window back its whole rectangle, an empty region hides all of it.
// redraw repaints the window at once. Answers 0 for a null window, as the platform does for a
// bad handle, and non-zero otherwise.
int SetWindowRgn(QWidget *window, std::optional<gdi::Region> region, bool redraw = true);

// GetWindowRgn's view: the region last given to the window, if any.
std::optional<gdi::Region> GetWindowRgn(const QWidget *window);

} // namespace os

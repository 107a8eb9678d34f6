#pragma once

#include <QRect>

#include <optional>

namespace os {

// GetSystemMetrics indices the callers use.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;

// GetDeviceCaps(screen, LOGPIXELSX / LOGPIXELSY): the screen's logical pixels per inch, the value
// the runtime converts twips with (runtime::Screen), so a test that injects a value sees it
// everywhere.
int GetScreenLogPixelsX();
int GetScreenLogPixelsY();
// Test hook: pretend the screen has this many pixels per inch (nullopt: the real screen again).
void SetScreenLogPixels(std::optional<int> dpi);

// GetSystemMetrics: the icon sizes follow the pixels per inch (16 and 32 at 96), the screen size
// is the primary screen's in pixels. An index not listed above answers 0, as the platform does.
int GetSystemMetrics(int index);

// SystemParametersInfo(SPI_GETWORKAREA): the primary screen less its panels, in pixels.
QRect GetWorkArea();

// SystemParametersInfo(SPI_GET/SETDRAGFULLWINDOWS): whether windows show their contents while
// dragged. Kept in the process (on by default), so a caller that switches it off and back can be
// checked.
bool GetDragFullWindows();
void SetDragFullWindows(bool on);

} // namespace os

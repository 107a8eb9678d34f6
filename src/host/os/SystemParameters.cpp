#include "os/SystemParameters.h"

#include "runtime/Screen.h"

#include <cmath>

namespace os {

namespace {

bool s_dragFullWindows = true;

int scaled(int size, int dpi) { return int(std::lround(size * dpi / 96.0)); }

}

int GetScreenLogPixelsX() { return runtime::Screen::LogicalDpiX(); }
int GetScreenLogPixelsY() { return runtime::Screen::LogicalDpiY(); }
void SetScreenLogPixels(std::optional<int> dpi) { runtime::Screen::setLogicalDpi(dpi); }

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
        return runtime::Screen::GeometryPixels().width();
    case SM_CYSCREEN:
        return runtime::Screen::GeometryPixels().height();
    case SM_CXICON:
        return scaled(32, GetScreenLogPixelsX());
    case SM_CYICON:
        return scaled(32, GetScreenLogPixelsY());
    case SM_CXSMICON:
        return scaled(16, GetScreenLogPixelsX());
    case SM_CYSMICON:
        return scaled(16, GetScreenLogPixelsY());
    default:
        return 0;
    }
}

QRect GetWorkArea() { return runtime::Screen::AvailableGeometryPixels(); }

bool GetDragFullWindows() { return s_dragFullWindows; }
void SetDragFullWindows(bool on) { s_dragFullWindows = on; }

} // namespace os

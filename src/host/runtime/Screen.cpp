#include "runtime/Screen.h"

#include "runtime/Form.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

namespace runtime {

namespace {

std::optional<int> s_injectedDpiX;
std::optional<int> s_injectedDpiY;
int s_mousePointer = 0;

int screenDpi(bool horizontal)
{
    if (const std::optional<int> &injected = horizontal ? s_injectedDpiX : s_injectedDpiY)
        return *injected > 0 ? *injected : 96;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96;
    const int dpi = int(std::lround(horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()));
    return dpi > 0 ? dpi : 96;
}

// Twips per unit; pixels are converted with the screen's twips per pixel.
double twipsPerUnit(int scale, bool horizontal)
{
    switch (scale) {
    case vbPoints:
        return 20.0;
    case vbPixels:
        return horizontal ? Screen::TwipsPerPixelX() : Screen::TwipsPerPixelY();
    case vbInches:
        return 1440.0;
    case vbMillimeters:
        return 1440.0 / 25.4;
    case vbCentimeters:
        return 1440.0 / 2.54;
    case vbHimetric:
        return 1440.0 / 2540.0;
    default: // twips, user and characters
        return 1.0;
    }
}

}

int Screen::LogicalDpiX() { return screenDpi(true); }
int Screen::LogicalDpiY() { return screenDpi(false); }
void Screen::setLogicalDpi(std::optional<int> dpi) { s_injectedDpiX = s_injectedDpiY = dpi; }

void Screen::setLogicalDpi(int horizontal, int vertical)
{
    s_injectedDpiX = horizontal;
    s_injectedDpiY = vertical;
}

double Screen::TwipsPerPixelX() { return 1440.0 / LogicalDpiX(); }
double Screen::TwipsPerPixelY() { return 1440.0 / LogicalDpiY(); }

QRect Screen::GeometryPixels()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect Screen::AvailableGeometryPixels()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

double Screen::Width() { return ToTwips(GeometryPixels().width(), Axis::Horizontal); }
double Screen::Height() { return ToTwips(GeometryPixels().height(), Axis::Vertical); }

Form *Screen::ActiveForm() { return qobject_cast<Form *>(QApplication::activeWindow()); }

int Screen::MousePointer() { return s_mousePointer; }

void Screen::setMousePointer(int pointer)
{
    if (pointer == s_mousePointer)
        return;
    if (s_mousePointer != 0)
        QGuiApplication::restoreOverrideCursor();
    s_mousePointer = pointer;
    if (pointer != 0)
        QGuiApplication::setOverrideCursor(cursorForPointer(pointer));
}

double ScaleX(double value, int fromScale, int toScale)
{
    return value * twipsPerUnit(fromScale, true) / twipsPerUnit(toScale, true);
}

double ScaleY(double value, int fromScale, int toScale)
{
    return value * twipsPerUnit(fromScale, false) / twipsPerUnit(toScale, false);
}

int Round(double value, Rounding rounding)
{
    // A part below this is floating-point error, not length.
    constexpr double kUpSlack = 1e-6;
    double whole = 0.0;
    switch (rounding) {
    case Rounding::Nearest:
        whole = std::round(value);
        break;
    case Rounding::HalfEven:
        whole = std::nearbyint(value); // the default rounding mode, which nothing here changes
        break;
    case Rounding::Down:
        whole = std::trunc(value);
        break;
    case Rounding::Up:
        whole = std::ceil(value - kUpSlack);
        break;
    }
    if (std::isnan(whole))
        return 0;
    return int(std::clamp(whole, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

double TwipsPerPixel(Axis axis)
{
    return axis == Axis::Horizontal ? Screen::TwipsPerPixelX() : Screen::TwipsPerPixelY();
}

double ToTwips(double pixels, Axis axis) { return pixels * TwipsPerPixel(axis); }

double ToPixelsUnrounded(double twips, Axis axis) { return twips / TwipsPerPixel(axis); }

int ToPixels(double twips, Axis axis, Rounding rounding)
{
    return ToPixels(twips, TwipsPerPixel(axis), rounding);
}

int ToPixels(double value, double unitsPerPixel, Rounding rounding)
{
    return std::clamp(Round(value / unitsPerPixel, rounding), -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

} // namespace runtime

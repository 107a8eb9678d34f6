#pragma once

#include <QRect>

#include <optional>

namespace runtime {

class Form;

// Units of the scale conversions (ScaleMode and ScaleX/ScaleY).
enum ScaleModeConstants {
    vbUser = 0,
    vbTwips = 1,
    vbPoints = 2,
    vbPixels = 3,
    vbCharacters = 4,
    vbInches = 5,
    vbMillimeters = 6,
    vbCentimeters = 7,
    vbHimetric = 8,
};

// A screen's frame: what changes faster on a window is not seen apart, so its paints and its
// colour-key mask follow at most once a frame.
inline constexpr int kFrameMs = 16;

// The screen as the windows see it: its size in twips and the twips per pixel that every
// position in twips is converted with (1440 / logical pixels per inch).
class Screen {
public:
    // The primary screen's logical pixels per inch, or the value a test injected. A screen that
    // reports nothing counts as 96.
    static int LogicalDpiX();
    static int LogicalDpiY();
    // Test hook: pretend the screen has this many pixels per inch (nullopt: the real screen).
    static void setLogicalDpi(std::optional<int> dpi);
    // Test hook: a screen whose pixels are not square, with its own count on each axis.
    static void setLogicalDpi(int horizontal, int vertical);

    static double TwipsPerPixelX();
    static double TwipsPerPixelY();

    // The primary screen's size in twips.
    static double Width();
    static double Height();
    // Its size and its work area (the screen less the panels) in pixels.
    static QRect GeometryPixels();
    static QRect AvailableGeometryPixels();

    // The form that holds the keyboard focus, or nullptr.
    static Form *ActiveForm();

    // The application-wide pointer (0 default, 11 hourglass, ...; the values of MousePointer).
    static int MousePointer();
    static void setMousePointer(int pointer);
};

// ScaleX and ScaleY: a length converted between two units (vbTwips, vbPixels, vbHimetric, ...)
// with the screen's twips per pixel. vbUser and vbCharacters count as twips.
double ScaleX(double value, int fromScale, int toScale);
double ScaleY(double value, int fromScale, int toScale);

// The one conversion between the design's twips and the screen's pixels, for every layer. Each
// length goes along one axis, because a screen's pixels need not be square.
enum class Axis { Horizontal, Vertical };

// How a length becomes whole pixels or whole twips.
enum class Rounding {
    Nearest,  // halves away from zero
    HalfEven, // halves to the even neighbour, as the design's own arithmetic rounds
    Down,     // a part dropped, toward zero
    Up,       // a part counted whole, unless it is below a millionth: a length taken from whole
              // pixels into twips comes back as the same pixels, not one more
};

// A number as a whole one; saturates at the int range, and 0 for what is no number.
int Round(double value, Rounding rounding);

// The screen's twips per pixel along the axis (TwipsPerPixelX or TwipsPerPixelY).
double TwipsPerPixel(Axis axis);

double ToTwips(double pixels, Axis axis);
// Twips as pixels with the part pixel kept, for a length converted on into another scale.
double ToPixelsUnrounded(double twips, Axis axis);
int ToPixels(double twips, Axis axis, Rounding rounding = Rounding::Nearest);

// A length or position in some unit as whole pixels, given the unit's size of one pixel. Kept
// within the largest extent a widget can have (and 0 for what is no number), so no value a
// caller passes wraps around into a small or negative size.
int ToPixels(double value, double unitsPerPixel, Rounding rounding = Rounding::Nearest);

} // namespace runtime

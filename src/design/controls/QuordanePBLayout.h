#pragma once

#include "gdi/Geometry.h"

#include <cstdint>
#include <vector>

// The segment arithmetic of the progress bar, apart from any window: segment sizes, the filled
// fraction, where the bar ends and where the gaps go, and how a tiled picture is cut into blits.
// Coordinates are pixels of the control's client area.
namespace QuordanePBLayout {

using Ltrb = gdi::Rect;

struct Segments {
    int chunk = 0;
    int space = 0;
    int step() const { return chunk + space; }
};

// 8 and 2 pixels scaled by the factor, rounded halves to even.
Segments segmentSizes(float factor);

// The width adjustment: the chunk takes up what is left of the client width W after whole steps.
Segments fitToWidth(Segments sizes, int clientWidth);

// The filled fraction (Value - Min) / (Max - Min), clamped to [0, 1]. Max = Min gives 1 when
// Value > Min and 0 otherwise; a difference outside the 32-bit range gives 0.
double fraction(std::int32_t value, std::int32_t min, std::int32_t max);

// Horizontal when the control is wider than it is tall; equal sizes fill bottom-up.
inline bool isHorizontal(int w, int h) { return w > h; }

// The inner rectangle: the client rectangle less the frame inset (2 pixels when BorderStyle > 0,
// Appearance 2 and not themed, 1 for any other BorderStyle above 0, none otherwise).
Ltrb innerRect(const Ltrb &client, int borderStyle, int appearance, bool themed);

// The bar rectangle for fraction p; with snap set (segments or a visual style) the bar's length is
// a whole number of steps from its start edge. A step of 0 or less snaps nothing.
Ltrb barRect(const Ltrb &inner, double p, bool horizontal, bool snap, int step);

// The gap rectangles over the bar (before clipping to it), in drawing order.
std::vector<Ltrb> gaps(const Ltrb &inner, const Ltrb &bar, bool horizontal, const Segments &segments);

// One piece of a tiled copy: the destination rectangle and the source point it reads from.
struct Blit {
    Ltrb destination;
    int sourceX = 0;
    int sourceY = 0;
    bool operator==(const Blit &) const = default;
};

// Destination point (X, Y) shows source pixel ((X + ox) mod tw, (Y + oy) mod th): the pattern is
// anchored at the destination's origin. Nothing for an empty area or tile.
std::vector<Blit> tiles(int x, int y, int w, int h, int tileWidth, int tileHeight, int ox, int oy);

}

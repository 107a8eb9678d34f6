#include "controls/QuordanePBLayout.h"

#include "controls/ColorMath.h"

#include <algorithm>
#include <limits>

namespace QuordanePBLayout {

Segments segmentSizes(float factor)
{
    return {ColorMath::roundHalfEven(8.0 * factor), ColorMath::roundHalfEven(2.0 * factor)};
}

Segments fitToWidth(Segments sizes, int clientWidth)
{
    if (sizes.step() > 0)
        sizes.chunk += clientWidth % sizes.step();
    return sizes;
}

double fraction(std::int32_t value, std::int32_t min, std::int32_t max)
{
    // The differences are 32-bit in the design; one that leaves that range leaves the bar empty.
    const std::int64_t done = std::int64_t(value) - min;
    const std::int64_t range = std::int64_t(max) - min;
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    if (done < lo || done > hi || range < lo || range > hi)
        return 0.0;
    if (range == 0)
        return value > min ? 1.0 : 0.0;
    return std::clamp(double(done) / double(range), 0.0, 1.0);
}

Ltrb innerRect(const Ltrb &client, int borderStyle, int appearance, bool themed)
{
    if (borderStyle <= 0)
        return client;
    const int inset = appearance == 2 && !themed ? 2 : 1;
    return {client.left + inset, client.top + inset, client.right - inset, client.bottom - inset};
}

Ltrb barRect(const Ltrb &inner, double p, bool horizontal, bool snap, int step)
{
    Ltrb bar = inner;
    const bool snapping = snap && step > 0;
    // % keeps the dividend's sign, as the design's mod does.
    if (horizontal) {
        int right = ColorMath::roundHalfEven(double(inner.right - inner.left) * p + inner.left);
        if (snapping) {
            right -= (right - inner.left) % step;
            right = std::max(right, inner.left);
        }
        bar.right = right;
    } else {
        int top = ColorMath::roundHalfEven(double(inner.bottom - inner.top) * (1.0 - p) + inner.top);
        if (snapping) {
            top -= (top - inner.bottom) % step;
            top = std::min(top, inner.bottom);
        }
        bar.top = top;
    }
    return bar;
}

std::vector<Ltrb> gaps(const Ltrb &inner, const Ltrb &bar, bool horizontal, const Segments &segments)
{
    std::vector<Ltrb> result;
    const int step = segments.step();
    if (step <= 0)
        return result;
    if (horizontal) {
        for (long long x = bar.left + segments.chunk; x <= bar.right; x += step)
            result.push_back({int(x), inner.top, int(x + segments.space), inner.bottom});
    } else {
        for (long long y = bar.bottom; y >= bar.top + segments.chunk; y -= step)
            result.push_back({inner.left, int(y), inner.right, int(y + segments.space)});
    }
    return result;
}

std::vector<Blit> tiles(int x, int y, int w, int h, int tileWidth, int tileHeight, int ox, int oy)
{
    std::vector<Blit> result;
    if (h <= 0 || w <= 0 || tileWidth <= 0 || tileHeight <= 0)
        return result;
    // Euclidean remainders, so that a negative origin still anchors the pattern correctly.
    const auto wrap = [](long long v, int m) { return int(((v % m) + m) % m); };
    const int sx0 = wrap((long long)x + ox, tileWidth);
    const int sy0 = wrap((long long)y + oy, tileHeight);
    const long long endY = (long long)y + h;
    const long long endX = (long long)x + w;
    for (long long row = y, sy = sy0; row < endY; sy = 0) {
        const long long rowBottom = std::min(row + (tileHeight - sy), endY);
        for (long long col = x, sx = sx0; col < endX; sx = 0) {
            const long long colRight = std::min(col + (tileWidth - sx), endX);
            result.push_back({{int(col), int(row), int(colRight), int(rowBottom)}, int(sx), int(sy)});
            col = colRight;
        }
        row = rowBottom;
    }
    return result;
}

}

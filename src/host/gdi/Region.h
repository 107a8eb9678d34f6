#pragma once

#include <QRegion>

namespace gdi {

// What the region calls answer.
inline constexpr int RGN_ERROR = 0; // the platform's ERROR
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// CombineRgn modes.
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

// A region handle as a value over QRegion, in device pixels (right and bottom exclusive).
class Region {
public:
    Region() = default;
    explicit Region(QRegion region) : m_region(std::move(region)) {}

    const QRegion &region() const { return m_region; }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int type() const;
    bool contains(int x, int y) const { return m_region.contains(QPoint(x, y)); }
    void offset(int dx, int dy) { m_region.translate(dx, dy); }

private:
    QRegion m_region;
};

// CreateRectRgn: the corners may come in either order.
Region createRectRgn(int left, int top, int right, int bottom);
// CreateRoundRectRgn: corner ellipses of width w and height h, rounded as the platform rounds.
Region createRoundRectRgn(int left, int top, int right, int bottom, int w, int h);
// CombineRgn: dest := a (mode) b; b is ignored for RGN_COPY. An unknown mode answers RGN_ERROR
// and leaves dest as it was.
int combineRgn(Region &dest, const Region &a, const Region &b, int mode);

} // namespace gdi

#pragma once

#include "gdi/Color.h"

#include <QImage>

#include <memory>

namespace gdi {

// Pen styles the callers create.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_NULL = 5;

// A pen is a value: CreatePen makes one, selecting copies it into the context.
struct Pen {
    int style = PS_SOLID;
    int width = 1; // 0 and 1 draw the one-pixel line; wider pens sweep a round pen of that width
    ColorRef color = 0;
    friend bool operator==(const Pen &, const Pen &) = default;
};

inline Pen createPen(int style, int width, ColorRef color) { return Pen{style, width, color}; }

// A bitmap handle: shared pixels, so a bitmap selected into a memory context and the handle the
// caller keeps draw the same image. A null bitmap is the failure result of every creator.
class Bitmap {
public:
    Bitmap() = default;
    // Takes over an image; a null image or a format other than 32 bits per pixel gives a null bitmap.
    explicit Bitmap(QImage image);

    bool isNull() const { return !m_data; }
    int width() const;
    int height() const;
    // The pixels in memory order (for a bottom-up DIB section that is the picture upside down).
    QImage *image() const;
    // True for a DIB section whose first row in memory is the bottom row of the picture.
    bool isBottomUp() const;
    // The picture the right way up, as a copy.
    QImage toImage() const;

    friend bool operator==(const Bitmap &a, const Bitmap &b) { return a.m_data == b.m_data; }

protected:
    struct Data {
        QImage image;
        bool bottomUp = false;
    };
    explicit Bitmap(std::shared_ptr<Data> data) : m_data(std::move(data)) {}
    std::shared_ptr<Data> m_data;
};

// The largest pixel memory a bitmap or DIB section may have: 2 GB, below it.
inline constexpr qint64 MaxBitmapBytes = qint64(1) << 31;

// CreateCompatibleBitmap: a 32-bit bitmap (contents undefined on the platform; black here).
// Zero width or height gives the platform's 1 x 1 bitmap; a negative side, or one of
// MaxBitmapBytes or more, gives a null bitmap.
Bitmap createCompatibleBitmap(int width, int height);

// Brush styles.
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HOLLOW = BS_NULL;
inline constexpr int BS_PATTERN = 3;

// A brush is a value. A pattern brush keeps its own copy of the bitmap's picture, so the bitmap
// may be deleted (or drawn on) after the brush is made.
class Brush {
public:
    Brush() = default; // the hollow brush
    static Brush solid(ColorRef color);
    static Brush hollow();
    // A null bitmap gives a null (failed) brush.
    static Brush pattern(const Bitmap &bitmap);

    int style() const { return m_style; }
    ColorRef color() const { return m_color; }
    const QImage &patternImage() const { return m_pattern; }
    bool isNull() const { return m_failed; }
    // The pixel the brush paints at device position (x, y); patterns are anchored at (0, 0).
    quint32 pixelAt(int x, int y) const;

private:
    int m_style = BS_NULL;
    ColorRef m_color = 0;
    QImage m_pattern;
    bool m_failed = false;
};

inline Brush createSolidBrush(ColorRef color) { return Brush::solid(color); }
inline Brush createPatternBrush(const Bitmap &bitmap) { return Brush::pattern(bitmap); }

} // namespace gdi

#pragma once

#include "gdi/Objects.h"

#include <cstdint>

namespace gdi {

inline constexpr quint32 BI_RGB = 0;
inline constexpr quint32 DIB_RGB_COLORS = 0;

// The 40-byte bitmap information header, laid out as .bmp files and the DIB calls carry it.
// A positive height means bottom-up rows, a negative one top-down.
struct BitmapInfoHeader {
    quint32 size = 40;
    qint32 width = 0;
    qint32 height = 0;
    quint16 planes = 1;
    quint16 bitCount = 32;
    quint32 compression = BI_RGB;
    quint32 sizeImage = 0;
    qint32 xPelsPerMeter = 0;
    qint32 yPelsPerMeter = 0;
    quint32 clrUsed = 0;
    quint32 clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// Bytes of one row of an uncompressed DIB: padded to a multiple of 4.
constexpr qint64 dibStride(qint64 width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

// A DIB section: a 32-bit bitmap whose pixel memory is addressable in the row order its header
// states (bottom-up for a positive height, top-down for a negative one). It is a Bitmap, so it can
// be selected into a memory context and drawn with every call. The memory stays put for the
// section's life as long as nobody keeps a QImage copy of image() (use toImage() for copies).
class DibSection : public Bitmap {
public:
    DibSection() = default;

    // Start of the pixel memory: rows of bytesPerLine() bytes, blue, green, red, alpha.
    uchar *bits() const;
    qint64 bytesPerLine() const;
    qint64 sizeImage() const;

private:
    friend DibSection createDIBSection(const BitmapInfoHeader &, quint32);
    explicit DibSection(std::shared_ptr<Data> data) : Bitmap(std::move(data)) {}
};

// CreateDIBSection for a 32-bit uncompressed header with non-zero width and height; the memory
// starts zeroed. Anything else gives a null DIB section.
DibSection createDIBSection(const BitmapInfoHeader &header, quint32 usage = DIB_RGB_COLORS);

} // namespace gdi

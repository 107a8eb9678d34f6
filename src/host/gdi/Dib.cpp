// DIB sections and the calls that move pixels between DIB memory and a context.

#include "gdi/Dib.h"
#include "gdi/Dc.h"
#include "gdi/DrawDib.h"
#include "gdi/Surface.h"

#include <cstring>
#include <limits>

namespace gdi {

namespace {

// Uncompressed 24- or 32-bit rows of a sane size: all the DIB calls accept.
bool usableHeader(const BitmapInfoHeader &h)
{
    if (h.size < sizeof(BitmapInfoHeader) || h.planes != 1 || h.compression != BI_RGB)
        return false;
    if (h.bitCount != 24 && h.bitCount != 32)
        return false;
    if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<qint32>::min())
        return false;
    return dibStride(h.width, h.bitCount) * std::abs(qint64(h.height)) < MaxBitmapBytes;
}

quint32 readPixel(const uchar *rowBytes, int x, int bitCount)
{
    const uchar *p = rowBytes + qint64(x) * (bitCount / 8);
    return 0xFF000000u | (quint32(p[2]) << 16) | (quint32(p[1]) << 8) | p[0];
}

} // namespace

uchar *DibSection::bits() const { return m_data ? m_data->image.bits() : nullptr; }
qint64 DibSection::bytesPerLine() const { return m_data ? m_data->image.bytesPerLine() : 0; }
qint64 DibSection::sizeImage() const { return m_data ? m_data->image.sizeInBytes() : 0; }

DibSection createDIBSection(const BitmapInfoHeader &header, quint32 usage)
{
    if (usage != DIB_RGB_COLORS || !usableHeader(header) || header.bitCount != 32)
        return {};
    auto data = std::make_shared<Bitmap::Data>();
    data->image = QImage(header.width, std::abs(header.height), QImage::Format_ARGB32);
    if (data->image.isNull())
        return {};
    data->image.fill(0);
    data->bottomUp = header.height > 0;
    return DibSection(std::move(data));
}

int Dc::getDIBits(const Bitmap &bitmap, int start, int lines, void *bits, BitmapInfoHeader &header,
                  quint32 usage) const
{
    if (isNull() || bitmap.isNull() || usage != DIB_RGB_COLORS || header.size < sizeof(BitmapInfoHeader))
        return 0;
    if (!bits) {
        if (header.bitCount == 0) {
            header = BitmapInfoHeader{};
            header.width = bitmap.width();
            header.height = bitmap.height();
        }
        if (!usableHeader(header))
            return 0;
        header.sizeImage = quint32(dibStride(header.width, header.bitCount) * std::abs(qint64(header.height)));
        return bitmap.height();
    }
    if (!usableHeader(header) || start < 0 || lines <= 0)
        return 0;
    const QImage picture = bitmap.toImage();
    const qint64 stride = dibStride(header.width, header.bitCount);
    const int rows = std::min<qint64>(std::abs(qint64(header.height)), picture.height());
    const int columns = std::min(int(header.width), picture.width());
    const bool bottomUp = header.height > 0;
    const int bytes = header.bitCount / 8;
    int copied = 0;
    for (qint64 scan = start; scan < qint64(start) + lines && scan < rows; ++scan) {
        const int y = bottomUp ? picture.height() - 1 - int(scan) : int(scan);
        const auto *src = reinterpret_cast<const quint32 *>(picture.constScanLine(y));
        uchar *dst = static_cast<uchar *>(bits) + (scan - start) * stride;
        for (int x = 0; x < columns; ++x) {
            const quint32 p = src[x];
            uchar *out = dst + qint64(x) * bytes;
            out[0] = uchar(p), out[1] = uchar(p >> 8), out[2] = uchar(p >> 16);
            if (bytes == 4)
                out[3] = uchar(p >> 24);
        }
        ++copied;
    }
    return copied;
}

int Dc::setDIBitsToDevice(int x, int y, int w, int h, int sx, int sy, int startScan, int lines,
                          const void *bits, const BitmapInfoHeader &header, quint32 usage)
{
    Surface s(*this);
    if (!s.isValid() || !bits || usage != DIB_RGB_COLORS || !usableHeader(header) || w < 0 || h < 0 ||
        startScan < 0 || lines <= 0)
        return 0;
    const qint64 stride = dibStride(header.width, header.bitCount);
    const qint64 dibRows = std::abs(qint64(header.height));
    const bool bottomUp = header.height > 0;
    for (int j = 0; j < h; ++j) {
        // A bottom-up source rectangle is measured from the picture's bottom-left corner.
        const qint64 scan = bottomUp ? qint64(sy) + (h - 1 - j) : qint64(sy) + j;
        if (scan < startScan || scan >= qint64(startScan) + lines || scan < 0 || scan >= dibRows)
            continue;
        const uchar *rowBytes = static_cast<const uchar *>(bits) + (scan - startScan) * stride;
        for (int i = 0; i < w; ++i) {
            const qint64 column = qint64(sx) + i;
            const qint64 px = qint64(x) + i, py = qint64(y) + j;
            if (column < 0 || column >= header.width || px < 0 || py < 0 || px >= s.width() || py >= s.height())
                continue;
            s.plot(int(px), int(py), readPixel(rowBytes, int(column), header.bitCount));
        }
    }
    return lines;
}

bool DrawDib::draw(Dc &target, int x, int y, int w, int h, const BitmapInfoHeader &header, const void *bits,
                   int sx, int sy, int sw, int sh, quint32)
{
    if (target.isNull() || !bits || !usableHeader(header))
        return false;
    const int width = header.width;
    const int height = int(std::abs(qint64(header.height)));
    if (w == -1)
        w = width;
    if (h == -1)
        h = height;
    if (sw == -1)
        sw = width;
    if (sh == -1)
        sh = height;
    if (w < 0 || h < 0 || sw < 0 || sh < 0)
        return false;
    // The DIB the right way up, then one stretch of it.
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return false;
    const qint64 stride = dibStride(width, header.bitCount);
    for (int row = 0; row < height; ++row) {
        const uchar *rowBytes = static_cast<const uchar *>(bits) + qint64(header.height > 0 ? height - 1 - row : row) * stride;
        auto *out = reinterpret_cast<quint32 *>(picture.scanLine(row));
        for (int col = 0; col < width; ++col)
            out[col] = readPixel(rowBytes, col, header.bitCount);
    }
    Dc source(&picture);
    const int mode = target.setStretchBltMode(COLORONCOLOR);
    const bool ok = target.stretchBlt(x, y, w, h, &source, sx, sy, sw, sh, SRCCOPY);
    target.setStretchBltMode(mode);
    return ok;
}

} // namespace gdi

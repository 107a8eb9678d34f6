#include "controls/pcDibSection.h"

#include "runtime/App.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <random>
#include <unistd.h>

namespace {

// Conversions to a byte or an integer round to the nearest, halves to even.
int roundEven(double v) { return int(std::nearbyint(v)); }
// Clamped before the conversion: factors far outside the colour model (or not numbers at all)
// must give a byte, not an undefined conversion.
uchar toByte(double v)
{
    if (!(v > 0))
        return 0;
    return v >= 255 ? 255 : uchar(roundEven(v));
}

void putLE(uchar *p, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = uchar(v >> (8 * i));
}

} // namespace

pcDibSectionError::pcDibSectionError(int number, QString source, QString description)
    : std::runtime_error(description.toStdString()), Number(number), Source(std::move(source)),
      Description(std::move(description))
{
}

pcDibSection::~pcDibSection() { ClearUp(); }

void pcDibSection::AlphaPaintPicture(gdi::Dc &target, int x, int y, int width, int height, int srcX, int srcY,
                                     quint8 constantAlpha)
{
    if (!m_dc)
        return;
    const QSize size = sizeOrOwn(width, height);
    target.alphaBlend(x, y, size.width(), size.height(), *m_dc, srcX, srcY, size.width(), size.height(),
                      gdi::BlendFunction{gdi::AC_SRC_OVER, 0, constantAlpha, gdi::AC_SRC_ALPHA});
}

void pcDibSection::Clear()
{
    if (m_bits)
        std::memset(m_bits, 0, size_t(m_dib.sizeImage()));
}

void pcDibSection::ClearUp()
{
    if (m_dc) {
        if (!m_dib.isNull())
            m_dc->selectBitmap(m_previousBitmap);
        m_dc.reset();
    }
    m_dib = gdi::DibSection();
    m_previousBitmap = gdi::Bitmap();
    m_bits = nullptr;
    m_drawDib.reset();
}

void pcDibSection::CodeAlphaBlend(pcDibSection &destination, const pcDibSection &source, int dx, int dy, int width,
                                  int height, int alpha)
{
    if (!destination.m_bits || !source.m_bits)
        return;
    // The blended area: the narrower row and the smaller height for -1, else as given. Pixels
    // outside either image are left out rather than stopping at the first one; the loops cover
    // only the overlap, in 64 bits, so no offset or size can overflow or run long.
    const qint64 columns = width == -1 ? std::min(source.Width(), destination.Width()) : width;
    const qint64 rows = height == -1 ? std::min(source.Height(), destination.Height()) : height;
    const qint64 firstX = std::max<qint64>(0, -qint64(dx));
    const qint64 lastX = std::min({columns, qint64(source.Width()), qint64(destination.Width()) - dx});
    const qint64 firstY = std::max<qint64>(0, -qint64(dy));
    const qint64 lastY = std::min({rows, qint64(source.Height()), qint64(destination.Height()) - dy});
    const double a = std::clamp(alpha, 0, 255) / 255.0;
    for (qint64 y = firstY; y < lastY; ++y) {
        const uchar *from = source.m_bits + y * source.BytesPerScanLine();
        uchar *to = destination.m_bits + (dy + y) * destination.BytesPerScanLine();
        for (qint64 x = firstX; x < lastX; ++x) {
            const uchar *s = from + x * 4;
            uchar *d = to + (dx + x) * 4;
            for (int c = 0; c < 3; ++c)
                d[c] = toByte((1 - a) * d[c] + s[c] * a);
        }
    }
}

bool pcDibSection::Create(int width, int height)
{
    const bool drawDib = UseDrawDib();
    ClearUp();
    gdi::Dc memory = gdi::createCompatibleDc();
    gdi::DibSection dib;
    if (!CreateDIB(&memory, width, height, dib))
        return false;
    m_previousBitmap = memory.selectBitmap(dib);
    m_dib = std::move(dib);
    m_dc.emplace(std::move(memory));
    setUseDrawDib(drawDib);
    return true;
}

bool pcDibSection::CreateDIB(const gdi::Dc *, int width, int height, gdi::DibSection &dib)
{
    m_header = gdi::BitmapInfoHeader{};
    m_header.width = width;
    m_header.height = height;
    m_header.bitCount = 32;
    m_header.sizeImage = quint32(qint64(height) * BytesPerScanLine());
    // Rows are bottom-up and the image size is Height x BytesPerScanLine: a negative height (a
    // top-down section to the platform) fits neither, so it makes no image.
    dib = height > 0 ? gdi::createDIBSection(m_header) : gdi::DibSection();
    m_bits = dib.bits();
    return !dib.isNull();
}

void pcDibSection::CreateFromHBitmap(const gdi::Bitmap &bitmap)
{
    if (!Create(bitmap.width(), bitmap.height()))
        return;
    gdi::Dc temporary = gdi::createCompatibleDc();
    const gdi::Bitmap previous = temporary.selectBitmap(bitmap);
    LoadPictureBlt(temporary, 0, 0, -1, -1, gdi::SRCCOPY);
    temporary.selectBitmap(previous);
}

void pcDibSection::CreateFromPicture(const runtime::StdPicture &picture)
{
    // Only a bitmap picture's handle is a bitmap.
    const bool isBitmap = picture && picture.Type() == runtime::StdPicture::vbPicTypeBitmap;
    CreateFromHBitmap(isBitmap ? gdi::Bitmap(picture.image().convertToFormat(QImage::Format_RGB32)) : gdi::Bitmap());
}

QSize pcDibSection::sizeOrOwn(int width, int height) const
{
    return {width < 0 ? Width() : width, height < 0 ? Height() : height};
}

template <typename Visit>
void pcDibSection::forEachPixel(Visit visit)
{
    if (!m_bits)
        return;
    for (int y = 0; y < Height(); ++y) {
        uchar *row = m_bits + qint64(y) * BytesPerScanLine();
        for (int x = 0; x < Width() * 4; x += 4)
            visit(row + x);
    }
}

template <typename Change>
void pcDibSection::changeEachPixel(Change change)
{
    forEachPixel([&](uchar *pixel) {
        HLS hls = RGBToHLS(pixel[2], pixel[1], pixel[0]);
        change(hls);
        int r, g, b;
        HLSToRGB(hls, r, g, b);
        pixel[0] = uchar(b), pixel[1] = uchar(g), pixel[2] = uchar(r);
    });
}

void pcDibSection::Lighten(int percent)
{
    const double factor = 1 + percent / 100.0;
    changeEachPixel([factor](HLS &hls) { hls.l = float(std::min(1.0, hls.l * factor)); });
}

void pcDibSection::LoadPictureBlt(const gdi::Dc &source, int srcX, int srcY, int width, int height, gdi::Rop rop)
{
    if (!m_dc)
        return;
    const QSize size = sizeOrOwn(width, height);
    m_dc->bitBlt(0, 0, size.width(), size.height(), &source, srcX, srcY, rop);
}

void pcDibSection::ModifyHLS(double hueFactor, double lightnessFactor, double saturationFactor)
{
    changeEachPixel([=](HLS &hls) {
        hls.h = float(hls.h * hueFactor);
        hls.l = float(std::min(1.0, hls.l * lightnessFactor));
        hls.s = float(std::min(1.0, hls.s * saturationFactor));
    });
}

void pcDibSection::PaintPicture(gdi::Dc &target, int x, int y, int width, int height, int srcX, int srcY, gdi::Rop rop)
{
    const QSize size = sizeOrOwn(width, height);
    if (m_drawDib) {
        if (m_bits)
            m_drawDib->draw(target, x, y, size.width(), size.height(), m_header, m_bits, srcX, srcY, size.width(),
                            size.height(), 0);
        return;
    }
    target.bitBlt(x, y, size.width(), size.height(), hdc(), srcX, srcY, rop);
}

void pcDibSection::RandomiseBits(bool grey)
{
    std::mt19937 generator(unsigned(std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<double> random(0.0, 1.0);
    forEachPixel([&](uchar *pixel) {
        if (grey) {
            const int v = roundEven(random(generator) * 255);
            const uchar a = toByte(random(generator) * 255);
            pixel[0] = pixel[1] = pixel[2] = toByte(a * v / 255.0);
            pixel[3] = a;
        } else {
            const uchar a = toByte(random(generator) * 255);
            for (int c = 0; c < 3; ++c)
                pixel[c] = toByte(random(generator) * 255 * a / 255.0);
            pixel[3] = a;
        }
    });
}

std::unique_ptr<pcDibSection> pcDibSection::Resample(int newHeight, int newWidth) const
{
    auto result = std::make_unique<pcDibSection>();
    if (!result->Create(newWidth, newHeight))
        return nullptr;
    if (newWidth == Width() && newHeight == Height()) {
        if (m_dc)
            result->LoadPictureBlt(*m_dc, 0, 0, -1, -1, gdi::SRCCOPY);
    } else {
        ResampleInto(*result);
    }
    return result;
}

void pcDibSection::ResampleInto(pcDibSection &target) const
{
    if (!m_bits || !target.m_bits)
        return;
    const double sx = double(Width() - 1) / target.Width();
    const double sy = double(Height() - 1) / target.Height();
    const int stride = BytesPerScanLine();
    // The neighbours past the last column or row of a one-pixel image are that pixel itself.
    auto byteAt = [&](int column, int row, int c) {
        column = std::min(column, Width() - 1);
        row = std::min(row, Height() - 1);
        return m_bits[qint64(row) * stride + column * 4 + c];
    };
    for (int y = 0; y < target.Height(); ++y) {
        const double fy = sy * y;
        const int iy = int(fy);
        const double ty = fy - iy;
        uchar *out = target.m_bits + qint64(y) * target.BytesPerScanLine();
        for (int x = 0; x < target.Width(); ++x) {
            const double fx = sx * x;
            const int ix = int(fx);
            const double tx = fx - ix;
            for (int c = 0; c < 3; ++c) {
                const int left = roundEven((1 - ty) * byteAt(ix, iy, c) + ty * byteAt(ix, iy + 1, c));
                const int right = roundEven((1 - ty) * byteAt(ix + 1, iy, c) + ty * byteAt(ix + 1, iy + 1, c));
                out[x * 4 + c] = toByte((1 - tx) * left + tx * right);
            }
        }
    }
}

bool pcDibSection::SavePicture(const QString &fileName) const { return SaveToBitmap(m_bits, fileName); }

bool pcDibSection::SaveToBitmap(const uchar *pixels, const QString &fileName) const
{
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw pcDibSectionError(17, runtime::App::EXEName() + QStringLiteral(".cDIBSection"), WinApiErrorText(errno));

    const quint32 imageSize = m_header.sizeImage;
    std::array<uchar, 14> fileHeader{};
    fileHeader[0] = 'B', fileHeader[1] = 'M';
    putLE(&fileHeader[2], imageSize + 58, 4);
    putLE(&fileHeader[10], 58, 4);

    std::array<uchar, 44> infoHeader{}; // the 40-byte header and the 4 zero bytes after it
    putLE(&infoHeader[0], m_header.size, 4);
    putLE(&infoHeader[4], quint32(m_header.width), 4);
    putLE(&infoHeader[8], quint32(m_header.height), 4);
    putLE(&infoHeader[12], m_header.planes, 2);
    putLE(&infoHeader[14], m_header.bitCount, 2);
    putLE(&infoHeader[16], m_header.compression, 4);
    putLE(&infoHeader[20], imageSize, 4);

    auto write = [fd](const void *data, qint64 size) {
        if (size > 0 && !data)
            return false;
        const ssize_t written = size > 0 ? ::write(fd, data, size_t(size)) : 0;
        return !CheckWriteResult(written >= 0, size, written);
    };
    const bool ok = write(fileHeader.data(), qint64(fileHeader.size())) &&
                    write(infoHeader.data(), qint64(infoHeader.size())) && write(pixels, imageSize);
    ::close(fd);
    return ok;
}

bool pcDibSection::CheckWriteResult(bool succeeded, qint64 expected, qint64 written)
{
    return !(succeeded && written == expected);
}

QString pcDibSection::WinApiErrorText(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

int pcDibSection::BytesPerScanLine() const
{
    // A width no section can have (only a failed Create leaves one) must not overflow.
    return int(std::clamp<qint64>(qint64(m_header.width) * 4, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

void pcDibSection::setUseDrawDib(bool use)
{
    if (use && !m_drawDib)
        m_drawDib = std::make_unique<gdi::DrawDib>();
    else if (!use)
        m_drawDib.reset();
}

float pcDibSection::MaxOf3(float a, float b, float c) { return std::max({a, b, c}); }
float pcDibSection::MinOf3(float a, float b, float c) { return std::min({a, b, c}); }

pcDibSection::HLS pcDibSection::RGBToHLS(int red, int green, int blue)
{
    const float r = red / 255.0f, g = green / 255.0f, b = blue / 255.0f;
    const float max = MaxOf3(r, g, b);
    const float min = MinOf3(r, g, b);
    HLS hls;
    hls.l = (max + min) / 2;
    if (max == min)
        return hls;
    const float d = max - min;
    hls.s = hls.l <= 0.5f ? d / (max + min) : d / (2 - max - min);
    if (r == max)
        hls.h = (g - b) / d;
    else if (g == max)
        hls.h = 2 + (b - r) / d;
    else
        hls.h = 4 + (r - g) / d;
    return hls;
}

void pcDibSection::HLSToRGB(const HLS &hls, int &red, int &green, int &blue)
{
    const float h = hls.h, l = hls.l, s = hls.s;
    float r, g, b;
    if (s == 0) {
        r = g = b = l;
    } else {
        const float m1 = l <= 0.5f ? l * (1 - s) : l - (1 - l) * s;
        const float m2 = 2 * l - m1;
        const float d = m2 - m1;
        if (h < 1) {
            r = m2;
            if (h < 0)
                g = m1, b = m1 - h * d;
            else
                b = m1, g = m1 + h * d;
        } else if (h < 3) {
            g = m2;
            if (h < 2)
                b = m1, r = m1 - (h - 2) * d;
            else
                r = m1, b = m1 + (h - 2) * d;
        } else {
            b = m2;
            if (h < 4)
                r = m1, g = m1 - (h - 4) * d;
            else
                g = m1, r = m1 + (h - 4) * d;
        }
    }
    // Factors that push a channel past the byte's range are clamped to it.
    red = toByte(r * 255.0);
    green = toByte(g * 255.0);
    blue = toByte(b * 255.0);
}

// DIB sections, GetDIBits, SetDIBitsToDevice and the DrawDib stand-in.

#include "gdi/Dc.h"
#include "gdi/DrawDib.h"
#include "support_canvas.h"

#include <gtest/gtest.h>

#include <vector>

using namespace gdi;

namespace {

BitmapInfoHeader header(int w, int h, int bits = 32)
{
    BitmapInfoHeader hd;
    hd.width = w;
    hd.height = h;
    hd.bitCount = quint16(bits);
    return hd;
}

// Blue, green, red of the pixel at column x of a memory row.
ColorRef bgrAt(const uchar *row, int x, int bytes)
{
    const uchar *p = row + x * bytes;
    return rgb(p[2], p[1], p[0]);
}

TEST(DibSection, PositiveHeightStoresTheBottomRowFirst)
{
    const DibSection dib = createDIBSection(header(3, 2));
    ASSERT_FALSE(dib.isNull());
    EXPECT_TRUE(dib.isBottomUp());
    EXPECT_EQ(dib.bytesPerLine(), 12);
    EXPECT_EQ(dib.sizeImage(), 24);
    for (qint64 i = 0; i < dib.sizeImage(); ++i)
        ASSERT_EQ(dib.bits()[i], 0) << "starts zeroed";

    Dc dc = createCompatibleDc();
    dc.selectBitmap(dib);
    dc.setPixelV(0, 0, rgb(1, 2, 3));   // top row of the picture
    dc.setPixelV(2, 1, rgb(7, 8, 9));   // bottom row
    uchar *bits = dib.bits();
    EXPECT_EQ(bgrAt(bits + 12, 0, 4), rgb(1, 2, 3)) << "the top row is the last in memory";
    EXPECT_EQ(bgrAt(bits, 2, 4), rgb(7, 8, 9));
    EXPECT_EQ(bits[12 + 3], 0xFF) << "drawn pixels are opaque";

    // And the other way: memory written directly shows at the picture's row.
    bits[0] = 0x30, bits[1] = 0x20, bits[2] = 0x10;
    EXPECT_EQ(dc.getPixel(0, 1), rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(dib.toImage().pixel(0, 1) & 0xFFFFFF, 0x102030u);
}

TEST(DibSection, NegativeHeightStoresTheTopRowFirst)
{
    const DibSection dib = createDIBSection(header(2, -2));
    ASSERT_FALSE(dib.isNull());
    EXPECT_FALSE(dib.isBottomUp());
    Dc dc = createCompatibleDc();
    dc.selectBitmap(dib);
    dc.setPixelV(1, 0, rgb(4, 5, 6));
    EXPECT_EQ(bgrAt(dib.bits(), 1, 4), rgb(4, 5, 6));
}

TEST(DibSection, DrawingCallsFollowThePictureOrder)
{
    const DibSection dib = createDIBSection(header(4, 4));
    Dc dc = createCompatibleDc();
    dc.selectBitmap(dib);
    dc.fillRect({0, 0, 4, 1}, createSolidBrush(rgb(9, 0, 0)));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(0xFF000000u);
    picture.setPixel(3, 3, 0xFF00FF00u);
    Dc src(&picture);
    dc.bitBlt(0, 0, 4, 4, &src, 0, 0, SRCPAINT);
    EXPECT_EQ(dc.getPixel(2, 0), rgb(9, 0, 0));
    EXPECT_EQ(dc.getPixel(3, 3), rgb(0, 255, 0));
    EXPECT_EQ(bgrAt(dib.bits() + 3 * 16, 2, 4), rgb(9, 0, 0));
    EXPECT_EQ(bgrAt(dib.bits(), 3, 4), rgb(0, 255, 0));
}

TEST(DibSection, RefusesHeadersItCannotHold)
{
    struct Row {
        const char *name;
        BitmapInfoHeader h;
    };
    BitmapInfoHeader compressed = header(2, 2);
    compressed.compression = 3;
    BitmapInfoHeader planes = header(2, 2);
    planes.planes = 2;
    BitmapInfoHeader shortHeader = header(2, 2);
    shortHeader.size = 12;
    for (const Row &r : {Row{"ZeroWidth", header(0, 2)}, Row{"NegativeWidth", header(-2, 2)},
                         Row{"ZeroHeight", header(2, 0)}, Row{"TwentyFourBits", header(2, 2, 24)},
                         Row{"Compressed", compressed}, Row{"TwoPlanes", planes}, Row{"ShortHeader", shortHeader},
                         Row{"Enormous", header(1 << 20, 1 << 20)}})
        EXPECT_TRUE(createDIBSection(r.h).isNull()) << r.name;
    EXPECT_TRUE(createDIBSection(header(2, 2), 1).isNull()) << "palette colours";
}

class DibTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A 3 x 2 picture: row 0 red ramp, row 1 blue.
        for (int x = 0; x < 3; ++x) {
            canvas.dc.setPixelV(x, 0, rgb(10 * (x + 1), 0, 0));
            canvas.dc.setPixelV(x, 1, rgb(0, 0, 100 + x));
        }
        bitmap = Bitmap(canvas.image.copy());
    }
    Canvas canvas{3, 2};
    Bitmap bitmap;
};

TEST_F(DibTransfer, GetDIBitsGivesPaddedBottomUpRows)
{
    BitmapInfoHeader h = header(3, 2, 24);
    std::vector<uchar> bits(size_t(dibStride(3, 24) * 2), 0xEE);
    ASSERT_EQ(dibStride(3, 24), 12);
    EXPECT_EQ(canvas.dc.getDIBits(bitmap, 0, 2, bits.data(), h), 2);
    EXPECT_EQ(bgrAt(bits.data(), 0, 3), rgb(0, 0, 100)) << "first row in memory is the bottom row";
    EXPECT_EQ(bgrAt(bits.data() + 12, 2, 3), rgb(30, 0, 0));
    EXPECT_EQ(bits[9], 0xEE) << "padding is not written";

    BitmapInfoHeader topDown = header(3, -2, 32);
    std::vector<uchar> bits32(24);
    EXPECT_EQ(canvas.dc.getDIBits(bitmap, 0, 2, bits32.data(), topDown), 2);
    EXPECT_EQ(bgrAt(bits32.data(), 1, 4), rgb(20, 0, 0));
}

TEST_F(DibTransfer, GetDIBitsFillsTheHeaderWhenAskedForNoBits)
{
    BitmapInfoHeader h;
    h.bitCount = 0;
    EXPECT_EQ(canvas.dc.getDIBits(bitmap, 0, 2, nullptr, h), 2);
    EXPECT_EQ(h.width, 3);
    EXPECT_EQ(h.height, 2);
    EXPECT_EQ(h.bitCount, 32);
    EXPECT_EQ(h.sizeImage, 24u);
    BitmapInfoHeader h24 = header(3, 2, 24);
    canvas.dc.getDIBits(bitmap, 0, 2, nullptr, h24);
    EXPECT_EQ(h24.sizeImage, 24u);
}

TEST_F(DibTransfer, GetDIBitsOfPartOfTheRows)
{
    BitmapInfoHeader h = header(3, 2, 32);
    std::vector<uchar> bits(12);
    EXPECT_EQ(canvas.dc.getDIBits(bitmap, 1, 5, bits.data(), h), 1) << "only scan line 1 exists past 1";
    EXPECT_EQ(bgrAt(bits.data(), 0, 4), rgb(10, 0, 0)) << "scan line 1 of a bottom-up DIB is the top row";
    Dc none;
    EXPECT_EQ(none.getDIBits(bitmap, 0, 2, bits.data(), h), 0);
    EXPECT_EQ(canvas.dc.getDIBits(Bitmap(), 0, 2, bits.data(), h), 0);
    BitmapInfoHeader bad = header(3, 2, 8);
    EXPECT_EQ(canvas.dc.getDIBits(bitmap, 0, 2, bits.data(), bad), 0);
}

TEST_F(DibTransfer, SetDIBitsToDeviceRoundTrips)
{
    BitmapInfoHeader h = header(3, 2, 24);
    std::vector<uchar> bits(24);
    ASSERT_EQ(canvas.dc.getDIBits(bitmap, 0, 2, bits.data(), h), 2);
    Canvas target(6, 4);
    EXPECT_EQ(target.dc.setDIBitsToDevice(2, 1, 3, 2, 0, 0, 0, 2, bits.data(), h), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(target.at(2 + x, 1 + y), canvas.at(x, y)) << x << "," << y;
    EXPECT_EQ(changedPixels(target).size(), 6u);
}

TEST_F(DibTransfer, SetDIBitsToDeviceMeasuresTheSourceFromTheBottom)
{
    BitmapInfoHeader h = header(3, 2, 24);
    std::vector<uchar> bits(24);
    canvas.dc.getDIBits(bitmap, 0, 2, bits.data(), h);
    Canvas target(3, 1);
    // One row from source y 1 (from the bottom): the picture's top row.
    EXPECT_EQ(target.dc.setDIBitsToDevice(0, 0, 3, 1, 0, 1, 0, 2, bits.data(), h), 2);
    EXPECT_EQ(target.at(2, 0), rgb(30, 0, 0));
    EXPECT_EQ(target.dc.setDIBitsToDevice(0, 0, 3, 1, 0, 0, 0, 2, nullptr, h), 0);
    EXPECT_EQ(target.dc.setDIBitsToDevice(0, 0, -3, 1, 0, 0, 0, 2, bits.data(), h), 0);
}

TEST(DrawDib, StretchesADibFromItsTopLeftCorner)
{
    const DibSection dib = createDIBSection(header(2, 2));
    Dc dc = createCompatibleDc();
    dc.selectBitmap(dib);
    dc.setPixelV(0, 0, rgb(1, 0, 0));
    dc.setPixelV(1, 0, rgb(2, 0, 0));
    dc.setPixelV(0, 1, rgb(3, 0, 0));
    dc.setPixelV(1, 1, rgb(4, 0, 0));

    DrawDib drawDib;
    Canvas target(4, 4);
    ASSERT_TRUE(drawDib.draw(target.dc, 0, 0, 4, 4, header(2, 2), dib.bits(), 0, 0, 2, 2));
    EXPECT_EQ(target.at(0, 0), rgb(1, 0, 0));
    EXPECT_EQ(target.at(3, 1), rgb(2, 0, 0));
    EXPECT_EQ(target.at(1, 3), rgb(3, 0, 0));
    EXPECT_EQ(target.at(3, 3), rgb(4, 0, 0));

    Canvas part(1, 1);
    ASSERT_TRUE(drawDib.draw(part.dc, 0, 0, -1, -1, header(2, 2), dib.bits(), 1, 1, 1, 1));
    EXPECT_EQ(part.at(0, 0), rgb(4, 0, 0));
    EXPECT_FALSE(drawDib.draw(part.dc, 0, 0, 1, 1, header(2, 2, 8), dib.bits(), 0, 0, 1, 1));
    EXPECT_FALSE(drawDib.draw(part.dc, 0, 0, 1, 1, header(2, 2), nullptr, 0, 0, 1, 1));
}

} // namespace

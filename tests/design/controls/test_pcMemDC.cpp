#include "controls/pcMemDC.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(pcMemDC, NoBufferUntilBothSidesArePositive)
{
    pcMemDC buffer;
    EXPECT_EQ(buffer.hdc(0, 10), nullptr);
    EXPECT_EQ(buffer.hdc(10, -1), nullptr);
    EXPECT_EQ(buffer.Width(), 0);
    EXPECT_EQ(buffer.Height(), 0);
    gdi::Dc *dc = buffer.hdc(5, 4);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->width(), 5);
    EXPECT_EQ(dc->height(), 4);
}

TEST(pcMemDC, RequestThatCannotBeMadeLeavesNoBuffer)
{
    pcMemDC buffer;
    ASSERT_NE(buffer.hdc(5, 4), nullptr);
    // Far beyond any screen: the creation fails, the old buffer is gone and the size reads 0 x 0.
    EXPECT_EQ(buffer.hdc(100000, 100000), nullptr);
    EXPECT_EQ(buffer.Width(), 0);
    EXPECT_EQ(buffer.Height(), 0);
    QImage screen = filled(4, 4, 0xFF102030u);
    const QImage before = screen;
    gdi::Dc target(&screen);
    buffer.Draw(target);
    EXPECT_EQ(screen, before);
    EXPECT_NE(buffer.hdc(5, 4), nullptr) << "a later request that fits makes one again";
}

TEST(pcMemDC, GrowsToExactlyALargerRequestAndKeepsItForSmallerOnes)
{
    pcMemDC buffer;
    buffer.hdc(50, 40);
    gdi::Dc *dc = buffer.hdc(100, 20);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(buffer.Width(), 100);
    EXPECT_EQ(buffer.Height(), 20) << "the side that was larger shrinks to the request";
    EXPECT_EQ(dc->height(), 20);

    dc->setPixelV(99, 19, gdi::rgb(1, 2, 3));
    dc = buffer.hdc(40, 10);
    EXPECT_EQ(dc->width(), 100);
    EXPECT_EQ(dc->getPixel(99, 19), gdi::rgb(1, 2, 3)) << "the same buffer, contents kept";
}

TEST(pcMemDC, SizeSettersFollowTheRequestRule)
{
    pcMemDC buffer;
    buffer.setWidth(30);
    EXPECT_EQ(buffer.hdc(0, 0), nullptr) << "no buffer while the height is 0";
    EXPECT_EQ(buffer.Width(), 30);
    buffer.setHeight(10);
    gdi::Dc *dc = buffer.hdc(0, 0);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->width(), 30);
    EXPECT_EQ(dc->height(), 10);

    dc->setPixelV(0, 0, gdi::rgb(9, 9, 9));
    buffer.setWidth(30);
    EXPECT_EQ(buffer.hdc(0, 0)->getPixel(0, 0), gdi::rgb(9, 9, 9)) << "setting the same width does nothing";
    buffer.setWidth(20);
    EXPECT_EQ(buffer.Width(), 20);
    EXPECT_EQ(buffer.hdc(0, 0)->width(), 30) << "a smaller value is stored, the buffer stays";
    buffer.setWidth(40);
    EXPECT_EQ(buffer.hdc(0, 0)->width(), 40);
}

TEST(pcMemDC, DrawCopiesTheWholeBufferForZeroSizes)
{
    pcMemDC buffer;
    gdi::Dc *dc = buffer.hdc(3, 2);
    dc->fillRect({0, 0, 3, 2}, gdi::createSolidBrush(gdi::rgb(200, 0, 0)));
    dc->setPixelV(2, 1, gdi::rgb(0, 200, 0));
    QImage screen = filled(8, 8, 0xFF000000u);
    gdi::Dc target(&screen);
    buffer.Draw(target, 0, 0, 0, 0, 4, 5);
    EXPECT_EQ(target.getPixel(4, 5), gdi::rgb(200, 0, 0));
    EXPECT_EQ(target.getPixel(6, 6), gdi::rgb(0, 200, 0));
    EXPECT_EQ(target.getPixel(7, 6), 0u);
    EXPECT_EQ(target.getPixel(3, 5), 0u);

    buffer.Draw(target, 2, 1, 1, 1, 0, 0);
    EXPECT_EQ(target.getPixel(0, 0), gdi::rgb(0, 200, 0));
}

TEST(pcMemDC, DrawWithoutABufferChangesNothing)
{
    pcMemDC buffer;
    QImage screen = filled(4, 4, 0xFF102030u);
    const QImage before = screen;
    gdi::Dc target(&screen);
    buffer.Draw(target);
    EXPECT_EQ(screen, before);
}

TEST(pcMemDC, CreateFromPictureSizesAndCopies)
{
    QImage picture = filled(3, 2, 0xFF0000FFu);
    picture.setPixel(1, 1, 0xFFFFFF00u);
    pcMemDC buffer;
    buffer.CreateFromPicture(runtime::StdPicture::fromImage(picture));
    EXPECT_EQ(buffer.Width(), 3);
    EXPECT_EQ(buffer.Height(), 2);
    gdi::Dc *dc = buffer.hdc(0, 0);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->getPixel(0, 0), gdi::rgb(0, 0, 255));
    EXPECT_EQ(dc->getPixel(1, 1), gdi::rgb(255, 255, 0));

    pcMemDC empty;
    empty.CreateFromPicture(runtime::StdPicture());
    EXPECT_EQ(empty.hdc(0, 0), nullptr);
    EXPECT_EQ(empty.Width(), 0);
}

} // namespace

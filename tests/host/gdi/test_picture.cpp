#include "gdi/Picture.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kPng = QStringLiteral(KESTROVA_FIXTURES "/../../src/host/runtime/cursors/apphand.png");

bool imagePluginLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}

// A PNG reaches the same pixels as Qt's guess would, without a single image plugin loaded on the
// way. This test's process reads no other picture first.
TEST(Picture, PngIsReadWithoutLoadingImagePlugins)
{
    ASSERT_FALSE(imagePluginLoaded());
    const QByteArray bytes = fileBytes(kPng);
    ASSERT_FALSE(bytes.isEmpty());
    const QImage decoded = gdi::DecodePicture(bytes);
    const QImage read = gdi::ReadPicture(kPng);
    EXPECT_FALSE(imagePluginLoaded());
    const QImage guessed = QImage::fromData(bytes);
    ASSERT_FALSE(guessed.isNull());
    EXPECT_EQ(decoded, guessed);
    EXPECT_EQ(read, guessed);
}

TEST(Picture, OtherFormatsAndFailures)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "BMP"));
    EXPECT_EQ(gdi::DecodePicture(bmp).convertToFormat(QImage::Format_RGB32), image);
    EXPECT_TRUE(gdi::DecodePicture(fileBytes(kPng).left(40)).isNull()); // a PNG cut short
    EXPECT_TRUE(gdi::DecodePicture(QByteArray()).isNull());
    EXPECT_TRUE(gdi::ReadPicture(QStringLiteral(KESTROVA_FIXTURES "/no-such-picture.png")).isNull());
}

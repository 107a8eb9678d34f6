#include "controls/pcDibSection.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <map>

namespace {

// The colour bytes of a pixel in memory order: row from the bottom, column from the left.
gdi::ColorRef at(const pcDibSection &dib, int memoryRow, int column)
{
    const uchar *p = dib.DIBSectionBitsPtr() + memoryRow * dib.BytesPerScanLine() + column * 4;
    return gdi::rgb(p[2], p[1], p[0]);
}

void put(pcDibSection &dib, int memoryRow, int column, gdi::ColorRef c, uchar alpha = 0)
{
    uchar *p = dib.DIBSectionBitsPtr() + memoryRow * dib.BytesPerScanLine() + column * 4;
    p[0] = uchar(gdi::blue(c)), p[1] = uchar(gdi::green(c)), p[2] = uchar(gdi::red(c)), p[3] = alpha;
}

TEST(pcDibSection, CreateMakesZeroedBottomUpMemoryOfFourBytesAPixel)
{
    for (int w = 1; w <= 7; ++w) {
        pcDibSection dib;
        ASSERT_TRUE(dib.Create(w, 3)) << w;
        EXPECT_EQ(dib.BytesPerScanLine(), 4 * w);
        EXPECT_EQ(dib.hDib().sizeImage(), dib.Height() * dib.BytesPerScanLine());
        ASSERT_NE(dib.DIBSectionBitsPtr(), nullptr);
        ASSERT_NE(dib.hdc(), nullptr);
        EXPECT_TRUE(dib.hDib().isBottomUp());
        for (int i = 0; i < 12 * w; ++i)
            ASSERT_EQ(dib.DIBSectionBitsPtr()[i], 0);
    }
}

TEST(pcDibSection, CreateFailsForImpossibleSizes)
{
    for (const auto &[w, h] : std::map<int, int>{{0, 4}, {4, 0}, {-3, 4}, {1 << 20, 1 << 20}, {INT_MAX, 2}}) {
        pcDibSection dib;
        EXPECT_FALSE(dib.Create(w, h)) << w << "x" << h;
        EXPECT_EQ(dib.hdc(), nullptr);
        EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
        dib.Clear();
        dib.Lighten(10);
        dib.RandomiseBits(true);
        EXPECT_EQ(dib.Resample(2, 2)->Width(), 2) << "a new image is still made";
    }
}

TEST(pcDibSection, CreateRefusesANegativeHeight)
{
    // A negative height would make a top-down image whose header states a negative size: saving
    // it would write gigabytes from a buffer of a few bytes.
    pcDibSection dib;
    EXPECT_FALSE(dib.Create(3, -2));
    EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(dib.SavePicture(dir.filePath("none.bmp")));
    EXPECT_EQ(dib.Resample(-2, 3), nullptr);
}

TEST(pcDibSection, PicturesArriveWithTheirBottomRowFirst)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(0xFFFF0000u);                  // red top row
    picture.setPixel(0, 1, 0xFF0000FFu);        // blue bottom-left
    picture.setPixel(1, 1, 0xFF00FF00u);        // green bottom-right
    pcDibSection dib;
    dib.CreateFromPicture(runtime::StdPicture::fromImage(picture));
    ASSERT_EQ(dib.Width(), 2);
    EXPECT_EQ(at(dib, 0, 0), gdi::rgb(0, 0, 255));
    EXPECT_EQ(at(dib, 0, 1), gdi::rgb(0, 255, 0));
    EXPECT_EQ(at(dib, 1, 0), gdi::rgb(255, 0, 0));

    pcDibSection none;
    none.CreateFromPicture(runtime::StdPicture());
    EXPECT_EQ(none.hdc(), nullptr);
}

TEST(pcDibSection, ColourModelRoundTripsAndMapsTheHueCircle)
{
    struct Row {
        gdi::ColorRef c;
        float h, l, s;
    };
    for (const Row &r : {Row{gdi::rgb(255, 0, 0), 0, 0.5f, 1}, Row{gdi::rgb(0, 255, 0), 2, 0.5f, 1},
                         Row{gdi::rgb(0, 0, 255), 4, 0.5f, 1}, Row{gdi::rgb(255, 0, 128), -128 / 255.0f, 0.5f, 1},
                         Row{gdi::rgb(128, 128, 128), 0, 128 / 255.0f, 0}}) {
        const auto hls = pcDibSection::RGBToHLS(gdi::red(r.c), gdi::green(r.c), gdi::blue(r.c));
        EXPECT_NEAR(hls.h, r.h, 1e-5);
        EXPECT_NEAR(hls.l, r.l, 1e-5);
        EXPECT_NEAR(hls.s, r.s, 1e-5);
        int red, green, blue;
        pcDibSection::HLSToRGB(hls, red, green, blue);
        EXPECT_EQ(gdi::rgb(red, green, blue), r.c);
    }
}

TEST(pcDibSection, NeutralChangesKeepColoursAndAlpha)
{
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            put(dib, y, x, gdi::rgb(x * 17, y * 16, (x * y) % 256), uchar(x + y));
    const QByteArray before(reinterpret_cast<const char *>(dib.DIBSectionBitsPtr()), 16 * 64);
    dib.Lighten(0);
    dib.ModifyHLS(1, 1, 1);
    for (int i = 0; i < before.size(); ++i) {
        const int was = uchar(before[i]);
        const int now = dib.DIBSectionBitsPtr()[i];
        if (i % 4 == 3)
            ASSERT_EQ(now, was) << "alpha untouched at " << i;
        else
            ASSERT_LE(std::abs(now - was), 1) << "byte " << i;
    }
}

TEST(pcDibSection, FactorsFarOutsideTheColourModelClampEachChannel)
{
    // rgb(200, 100, 50): hue 1/3, lightness 0.49, saturation 0.6, so m1 = 50 and m2 = 200.
    // A huge hue factor drives red far past the top, a factor that is no number gives no red;
    // either way every channel is a byte.
    const struct {
        double hueFactor;
        gdi::ColorRef expected;
    } cases[] = {{1e30, gdi::rgb(255, 50, 200)}, {std::nan(""), gdi::rgb(0, 50, 200)}, {-1e30, gdi::rgb(200, 50, 255)}};
    for (const auto &c : cases) {
        pcDibSection dib;
        ASSERT_TRUE(dib.Create(1, 1));
        put(dib, 0, 0, gdi::rgb(200, 100, 50), 3);
        dib.ModifyHLS(c.hueFactor, 1, 1);
        EXPECT_EQ(at(dib, 0, 0), c.expected) << c.hueFactor;
        EXPECT_EQ(dib.DIBSectionBitsPtr()[3], 3);
    }
}

TEST(pcDibSection, LighteningPastTheTopGivesWhite)
{
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(2, 1));
    put(dib, 0, 0, gdi::rgb(200, 100, 150), 77);
    put(dib, 0, 1, gdi::rgb(10, 20, 30));
    dib.Lighten(100);
    EXPECT_EQ(at(dib, 0, 0), gdi::rgb(255, 255, 255));
    EXPECT_EQ(dib.DIBSectionBitsPtr()[3], 77);
    EXPECT_EQ(at(dib, 0, 1), gdi::rgb(20, 40, 60)) << "dark colours double their lightness";
    dib.ModifyHLS(1, 1, 0);
    EXPECT_EQ(at(dib, 0, 1), gdi::rgb(40, 40, 40)) << "no saturation leaves the grey of the lightness";
}

TEST(pcDibSection, CodeAlphaBlendMixesColourBytesOnly)
{
    pcDibSection source, destination;
    ASSERT_TRUE(source.Create(2, 2));
    ASSERT_TRUE(destination.Create(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            if (x < 2)
                put(source, y, x, gdi::rgb(200, 100, 1), 9);
            put(destination, y, x, gdi::rgb(100, 200, 2), 50);
        }
    pcDibSection::CodeAlphaBlend(destination, source, 0, 0, -1, -1, 0);
    EXPECT_EQ(at(destination, 1, 1), gdi::rgb(100, 200, 2));
    pcDibSection::CodeAlphaBlend(destination, source, 0, 0, -1, -1, 255);
    EXPECT_EQ(at(destination, 1, 1), gdi::rgb(200, 100, 1));
    EXPECT_EQ(at(destination, 0, 2), gdi::rgb(100, 200, 2)) << "past the narrower image";
    EXPECT_EQ(destination.DIBSectionBitsPtr()[3], 50) << "alpha untouched";

    pcDibSection::CodeAlphaBlend(destination, source, 1, 1, -1, -1, 255);
    EXPECT_EQ(at(destination, 1, 2), gdi::rgb(200, 100, 1));
    put(destination, 0, 0, gdi::rgb(100, 0, 2));
    put(source, 0, 0, gdi::rgb(200, 255, 1));
    pcDibSection::CodeAlphaBlend(destination, source, 0, 0, 1, 1, 51);
    EXPECT_EQ(at(destination, 0, 0), gdi::rgb(120, 51, 2));
}

TEST(pcDibSection, CodeAlphaBlendOutsideTheDestinationIsClipped)
{
    pcDibSection source, destination;
    ASSERT_TRUE(source.Create(4, 4));
    ASSERT_TRUE(destination.Create(2, 2));
    std::memset(source.DIBSectionBitsPtr(), 0xFF, 64);
    pcDibSection::CodeAlphaBlend(destination, source, 1, 1, 4, 4, 255);
    EXPECT_EQ(at(destination, 1, 1), gdi::rgb(255, 255, 255));
    EXPECT_EQ(at(destination, 0, 0), gdi::rgb(0, 0, 0));
    pcDibSection::CodeAlphaBlend(destination, source, -5, 9, -1, -1, 255);
}

TEST(pcDibSection, CodeAlphaBlendWithExtremeOffsetsAndSizesTouchesOnlyTheOverlap)
{
    pcDibSection source, destination;
    ASSERT_TRUE(source.Create(2, 2));
    ASSERT_TRUE(destination.Create(2, 2));
    std::memset(source.DIBSectionBitsPtr(), 0xFF, 16);
    // Offsets and sizes whose byte positions do not fit 32 bits: nothing outside, no overflow,
    // and no loop over the rows or columns that lie outside both images.
    pcDibSection::CodeAlphaBlend(destination, source, INT_MAX, INT_MIN, INT_MAX, INT_MAX, 255);
    pcDibSection::CodeAlphaBlend(destination, source, INT_MIN, INT_MAX, INT_MAX, INT_MAX, 255);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_EQ(at(destination, row, column), gdi::rgb(0, 0, 0)) << row << "," << column;
    pcDibSection::CodeAlphaBlend(destination, source, 1, 0, INT_MAX, INT_MAX, 255);
    EXPECT_EQ(at(destination, 0, 1), gdi::rgb(255, 255, 255));
    EXPECT_EQ(at(destination, 1, 1), gdi::rgb(255, 255, 255));
    EXPECT_EQ(at(destination, 0, 0), gdi::rgb(0, 0, 0));
}

TEST(pcDibSection, ResampleToTheSameSizeIsAnExactCopy)
{
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(5, 3));
    dib.RandomiseBits(false);
    const auto copy = dib.Resample(3, 5);
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(copy->DIBSectionBitsPtr(), dib.DIBSectionBitsPtr(), 60), 0);
}

TEST(pcDibSection, ResampleMixesNeighboursBilinearly)
{
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(3, 1));
    put(dib, 0, 0, gdi::rgb(0, 0, 0));
    put(dib, 0, 1, gdi::rgb(100, 0, 0));
    put(dib, 0, 2, gdi::rgb(200, 0, 0));
    const auto wide = dib.Resample(1, 4); // sx = 2 / 4: columns 0, 0.5, 1, 1.5
    ASSERT_TRUE(wide);
    EXPECT_EQ(gdi::red(at(*wide, 0, 0)), 0);
    EXPECT_EQ(gdi::red(at(*wide, 0, 1)), 50);
    EXPECT_EQ(gdi::red(at(*wide, 0, 2)), 100);
    EXPECT_EQ(gdi::red(at(*wide, 0, 3)), 150);
    EXPECT_EQ(wide->DIBSectionBitsPtr()[3], 0) << "alpha not written";

    pcDibSection thin;
    ASSERT_TRUE(thin.Create(1, 1));
    put(thin, 0, 0, gdi::rgb(7, 8, 9));
    const auto grown = thin.Resample(3, 3);
    ASSERT_TRUE(grown);
    EXPECT_EQ(at(*grown, 2, 2), gdi::rgb(7, 8, 9)) << "a one-pixel image repeats its pixel";
    EXPECT_EQ(dib.Resample(0, 3), nullptr);
}

TEST(pcDibSection, RandomBitsArePremultiplied)
{
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(32, 32));
    for (const bool grey : {true, false}) {
        dib.RandomiseBits(grey);
        bool anyColour = false;
        for (int i = 0; i < 32 * 32 * 4; i += 4) {
            const uchar *p = dib.DIBSectionBitsPtr() + i;
            ASSERT_LE(std::max({p[0], p[1], p[2]}), p[3]);
            if (grey) {
                ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]);
            }
            anyColour |= p[0] != p[1];
        }
        EXPECT_EQ(anyColour, !grey);
    }
}

TEST(pcDibSection, DrawDibHandleFollowsItsSwitchAndSurvivesCreate)
{
    pcDibSection dib;
    EXPECT_FALSE(dib.UseDrawDib());
    dib.setUseDrawDib(true);
    ASSERT_TRUE(dib.Create(2, 2));
    EXPECT_TRUE(dib.UseDrawDib());
    dib.setUseDrawDib(false);
    EXPECT_FALSE(dib.UseDrawDib());
    dib.setUseDrawDib(true);
    EXPECT_TRUE(dib.UseDrawDib());
    dib.ClearUp();
    EXPECT_FALSE(dib.UseDrawDib());
    EXPECT_EQ(dib.hdc(), nullptr);
    EXPECT_EQ(dib.Width(), 2) << "the header keeps its size";
}

TEST(pcDibSection, PaintPictureDrawsTheSameWithAndWithoutDrawDib)
{
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(3, 2));
    put(dib, 1, 0, gdi::rgb(1, 2, 3), 255); // top-left of the picture
    put(dib, 0, 2, gdi::rgb(4, 5, 6), 255); // bottom-right
    QImage plain(5, 4, QImage::Format_RGB32), viaDrawDib(5, 4, QImage::Format_RGB32);
    plain.fill(0xFF777777u);
    viaDrawDib.fill(0xFF777777u);
    gdi::Dc a(&plain), b(&viaDrawDib);
    dib.PaintPicture(a, 1, 1);
    dib.setUseDrawDib(true);
    dib.PaintPicture(b, 1, 1);
    EXPECT_EQ(plain, viaDrawDib);
    EXPECT_EQ(a.getPixel(1, 1), gdi::rgb(1, 2, 3));
    EXPECT_EQ(a.getPixel(3, 2), gdi::rgb(4, 5, 6));
    EXPECT_EQ(a.getPixel(4, 1), gdi::rgb(0x77, 0x77, 0x77));
}

TEST(pcDibSection, AlphaPaintPictureBlendsPremultipliedPixels)
{
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(2, 1));
    put(dib, 0, 0, gdi::rgb(100, 0, 0), 128);
    put(dib, 0, 1, gdi::rgb(0, 0, 0), 0);
    QImage screen(2, 1, QImage::Format_RGB32);
    screen.fill(0xFFC8C8C8u); // 200 grey
    gdi::Dc target(&screen);
    dib.AlphaPaintPicture(target, 0, 0);
    EXPECT_EQ(target.getPixel(0, 0), gdi::rgb(200, 100, 100));
    EXPECT_EQ(target.getPixel(1, 0), gdi::rgb(200, 200, 200));
}

class SavedBitmap : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(dib.Create(3, 2));
        // Picture rows: top (memory row 1) red, green, blue; bottom (memory row 0) greys.
        put(dib, 1, 0, gdi::rgb(255, 0, 0));
        put(dib, 1, 1, gdi::rgb(0, 255, 0));
        put(dib, 1, 2, gdi::rgb(0, 0, 255));
        put(dib, 0, 0, gdi::rgb(10, 20, 30));
        put(dib, 0, 1, gdi::rgb(128, 128, 128));
        put(dib, 0, 2, gdi::rgb(254, 1, 77));
        path = dir.filePath("saved.bmp");
    }
    gdi::ColorRef expected(int x, int y) const { return at(dib, 1 - y, x); }

    QTemporaryDir dir;
    pcDibSection dib;
    QString path;
};

TEST_F(SavedBitmap, FileLayoutIsHeadersThenBottomUpPixelsAtFiftyEight)
{
    ASSERT_TRUE(dib.SavePicture(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    auto le32 = [&](int at) {
        return quint32(uchar(bytes[at])) | quint32(uchar(bytes[at + 1])) << 8 | quint32(uchar(bytes[at + 2])) << 16 |
               quint32(uchar(bytes[at + 3])) << 24;
    };
    ASSERT_EQ(bytes.size(), 58 + 24);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(le32(2), 24u + 58u);
    EXPECT_EQ(le32(10), 58u);
    EXPECT_EQ(le32(14), 40u);
    EXPECT_EQ(le32(18), 3u);
    EXPECT_EQ(le32(22), 2u);
    EXPECT_EQ(le32(34), 24u);
    EXPECT_EQ(le32(54), 0u) << "four zero bytes after the header";
    EXPECT_EQ(std::memcmp(bytes.constData() + 58, dib.DIBSectionBitsPtr(), 24), 0);
}

TEST_F(SavedBitmap, QImageReadsTheSamePixels)
{
    ASSERT_TRUE(dib.SavePicture(path));
    const QImage read(path);
    ASSERT_FALSE(read.isNull());
    ASSERT_EQ(read.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(gdi::fromPixel(read.pixel(x, y)), expected(x, y)) << x << "," << y;
}

TEST_F(SavedBitmap, ImageMagickReadsTheSamePixels)
{
    ASSERT_TRUE(dib.SavePicture(path));
    QProcess identify;
    identify.start("identify", {"-format", "%m %w %h", path});
    ASSERT_TRUE(identify.waitForFinished(30000));
    ASSERT_EQ(identify.exitCode(), 0) << identify.readAllStandardError().toStdString();
    const QString description = QString::fromUtf8(identify.readAllStandardOutput()).trimmed();
    EXPECT_TRUE(QRegularExpression(R"(^BMP\d? 3 2$)").match(description).hasMatch()) << description.toStdString();

    QProcess convert;
    convert.start("convert", {path, "-depth", "8", "txt:-"});
    ASSERT_TRUE(convert.waitForFinished(30000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(convert.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const QRegularExpression pixel(R"(^(\d+),(\d+):.*#([0-9A-Fa-f]{6}))");
    int seen = 0;
    for (const QString &line : lines) {
        const auto m = pixel.match(line);
        if (!m.hasMatch())
            continue;
        const int x = m.captured(1).toInt(), y = m.captured(2).toInt();
        const uint rrggbb = m.captured(3).toUInt(nullptr, 16);
        EXPECT_EQ(gdi::rgb(int(rrggbb >> 16), int((rrggbb >> 8) & 0xFF), int(rrggbb & 0xFF)), expected(x, y))
            << x << "," << y << ": " << line.toStdString();
        ++seen;
    }
    EXPECT_EQ(seen, 6);
}

// A larger picture of an odd width, every pixel different, compared as a whole by ImageMagick
// against a PNG of the intended picture made without the class: row order, stride and channel
// order all show up as differing pixels.
TEST(SavedBitmapCompare, ImageMagickFindsNoPixelDifferingFromTheIntendedPicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    constexpr int W = 37, H = 23;
    auto colourAt = [](int x, int y) { return gdi::rgb(x * 7, y * 11, (x * y + 3 * x + 5 * y) % 256); };
    pcDibSection dib;
    ASSERT_TRUE(dib.Create(W, H));
    QImage intended(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            put(dib, H - 1 - y, x, colourAt(x, y), uchar(x + y));
            intended.setPixel(x, y, gdi::toPixel(colourAt(x, y)));
        }
    const QString saved = dir.filePath("saved.bmp");
    const QString reference = dir.filePath("intended.png");
    ASSERT_TRUE(dib.SavePicture(saved));
    ASSERT_TRUE(intended.save(reference));

    // An uncompressed 32-bit bitmap's fourth byte is no alpha for the platform; ImageMagick reads
    // it as alpha unless told not to, and would then weigh colours by it.
    const QStringList arguments{"-alpha", "off", "-metric", "AE", saved, reference, "null:"};
    QProcess compare;
    compare.start("compare", arguments);
    ASSERT_TRUE(compare.waitForFinished(30000));
    // compare writes the count of differing pixels to its error output and answers 0 when equal.
    const QString differing = QString::fromUtf8(compare.readAllStandardError()).trimmed();
    EXPECT_EQ(compare.exitCode(), 0) << differing.toStdString();
    EXPECT_EQ(differing, QStringLiteral("0"));

    // The tool must see a difference where there is one: one pixel changed, one pixel counted.
    intended.setPixel(5, 0, gdi::toPixel(colourAt(5, 0) ^ 0x000001));
    ASSERT_TRUE(intended.save(reference));
    compare.start("compare", arguments);
    ASSERT_TRUE(compare.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(compare.readAllStandardError()).trimmed(), QStringLiteral("1"));
}

TEST_F(SavedBitmap, ReplacesAnExistingFile)
{
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
    old.close();
    ASSERT_TRUE(dib.SavePicture(path));
    EXPECT_EQ(QFileInfo(path).size(), 82);
}

TEST_F(SavedBitmap, UnopenableFileRaisesErrorSeventeen)
{
    const QString missing = dir.filePath("no/such/folder/out.bmp");
    try {
        dib.SavePicture(missing);
        FAIL() << "no error raised";
    } catch (const pcDibSectionError &e) {
        EXPECT_EQ(e.Number, 17);
        EXPECT_TRUE(e.Source.endsWith(".cDIBSection")) << e.Source.toStdString();
        EXPECT_FALSE(e.Description.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(missing));
}

} // namespace

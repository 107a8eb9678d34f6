// Draws the application icon "AAA": twelve square 32-bit images and their group directory, in
// the layout the program's icon resources use. Run by hand (target platform_icons) when the
// artwork changes; its output is kept in src/design/platform/icons/.
//
//   make-icon <output folder>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cmath>
#include <cstdio>

namespace {

// Sizes in the order of their image numbers 1 to 12.
constexpr int kSizes[] = {128, 96, 72, 64, 60, 56, 48, 40, 32, 24, 20, 16};

const QColor kLight(0x2F, 0x80, 0xED);
const QColor kDark(0x0B, 0x3A, 0x8C);

// The nearest even number: every size is even, so even parts centre on whole pixels.
int nearestEven(qreal value)
{
    return 2 * int(std::lround(value / 2));
}

// A blue tile with a white chip on it. The chip, its core and its pins lie on whole pixels and
// mirror each other, so the small sizes stay sharp; at 16 pixels the pins thin to two a side,
// one pixel each, in line with the core's edges.
QImage draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal s = size;
    QLinearGradient tile(0, 0, s, s);
    tile.setColorAt(0, kLight);
    tile.setColorAt(1, kDark);
    QPainterPath background;
    background.addRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), s * 0.2, s * 0.2);
    painter.fillPath(background, tile);

    const int chip = nearestEven(s * 0.46);
    const int origin = (size - chip) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const qreal corner = size >= 32 ? s * 0.05 : 0;
    painter.drawRoundedRect(QRectF(origin, origin, chip, chip), corner, corner);

    const int pins = size >= 32 ? 3 : 2;
    const int pinWidth = pins == 3 ? std::max(2, nearestEven(s * 0.06)) : std::max(1, int(std::lround(s * 0.06)));
    const int pinLength = std::max(1, int(std::lround(s * 0.09)));
    const auto spaced = [&](int i) { return origin + int(std::lround(qreal(chip) * (i + 1) / (pins + 1) - pinWidth / 2.0)); };
    for (int i = 0; i < pins; ++i) {
        // The first half is spaced along the side, the rest mirrors it.
        const int mirrored = pins - 1 - i;
        const int along = i <= mirrored ? spaced(i) : 2 * origin + chip - pinWidth - spaced(mirrored);
        painter.drawRect(QRect(along, origin - pinLength, pinWidth, pinLength));
        painter.drawRect(QRect(along, origin + chip, pinWidth, pinLength));
        painter.drawRect(QRect(origin - pinLength, along, pinLength, pinWidth));
        painter.drawRect(QRect(origin + chip, along, pinLength, pinWidth));
    }

    const int core = std::max(2, nearestEven(chip * 0.42));
    painter.setBrush(kDark);
    painter.drawRect(QRect(origin + (chip - core) / 2, origin + (chip - core) / 2, core, core));
    return image;
}

void put16(QByteArray &bytes, int value)
{
    char data[2];
    qToLittleEndian<quint16>(quint16(value), data);
    bytes.append(data, 2);
}

void put32(QByteArray &bytes, quint32 value)
{
    char data[4];
    qToLittleEndian<quint32>(value, data);
    bytes.append(data, 4);
}

}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon <output folder>\n");
        return 2;
    }
    const QDir folder(QFile::decodeName(argv[1]));
    QByteArray directory;
    put16(directory, 0);   // reserved
    put16(directory, 1);   // icons
    put16(directory, int(std::size(kSizes)));
    int id = 0;
    for (const int size : kSizes) {
        ++id;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        draw(size).save(&buffer, "PNG");
        QFile file(folder.filePath(QStringLiteral("aaa-%1.png").arg(size)));
        if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size()) {
            std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        directory.append(char(size)).append(char(size)).append(char(0)).append(char(0));
        put16(directory, 1);    // planes
        put16(directory, 32);   // bits per pixel
        put32(directory, quint32(png.size()));
        put16(directory, id);
    }
    QFile group(folder.filePath(QStringLiteral("AAA.grp")));
    if (!group.open(QIODevice::WriteOnly) || group.write(directory) != directory.size()) {
        std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(group.fileName()));
        return 1;
    }
    return 0;
}

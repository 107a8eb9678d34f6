#include "windows/LogoArt.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace LogoArt {

namespace {

constexpr int Size = 90; // drawn large, shown scaled

QImage Canvas(int width)
{
    QImage image(width, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The maker's mark: a ring with a tail.
QImage MakerMark()
{
    QImage image = Canvas(Size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, Size);
    fill.setColorAt(0, QColor(0x2E, 0x8B, 0xE6));
    fill.setColorAt(1, QColor(0x0B, 0x3C, 0x8C));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(QRectF(6, 6, Size - 12, Size - 12));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(24, 24, Size - 48, Size - 48));
    QPainterPath tail;
    tail.moveTo(Size * 0.55, Size * 0.62);
    tail.lineTo(Size * 0.92, Size * 0.95);
    tail.lineTo(Size * 0.78, Size * 0.98);
    tail.lineTo(Size * 0.46, Size * 0.70);
    tail.closeSubpath();
    p.setBrush(fill);
    p.drawPath(tail);
    return image;
}

// A rounded badge in the network's colour with its letter.
QImage Badge(QColor colour, const QString &letter)
{
    QImage image = Canvas(Size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(4, 4, Size - 8, Size - 8), 16, 16);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(Size * 2 / 3);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 4, Size, Size), Qt::AlignCenter, letter);
    return image;
}

}

runtime::StdPicture Picture(int index)
{
    switch (index) {
    case 0: return runtime::StdPicture::fromImage(MakerMark());
    case 1: return runtime::StdPicture::fromImage(Badge(QColor(0x3B, 0x59, 0x98), QStringLiteral("f")));
    case 2: return runtime::StdPicture::fromImage(Badge(QColor(0x1D, 0xA1, 0xF2), QStringLiteral("t")));
    default: return {};
    }
}

}

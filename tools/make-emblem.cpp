// Draws the colour window's emblem (256 x 256, with transparency) and the program's hand cursor
// "APPHAND" (its fingertip at the image's centre, the hot spot of a picture cursor). Run by hand
// (target skin_artwork) when the artwork changes; its output is kept in the source tree.
//
//   make-emblem <emblem.png> <emblem-48.png> <apphand.png>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>

namespace {

// A ring of twelve hues around a light core, with three paint drops: the scheme's colours.
QImage drawEmblem()
{
    constexpr int kSize = 256;
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(128, 128);

    QRadialGradient shadow(centre + QPointF(4, 6), 124);
    shadow.setColorAt(0.85, QColor(0, 0, 0, 90));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(centre + QPointF(4, 6), 124, 124);

    constexpr int kWedges = 12;
    const QRectF outer(12, 12, 232, 232);
    for (int i = 0; i < kWedges; ++i) {
        QPainterPath wedge;
        wedge.moveTo(centre);
        wedge.arcTo(outer, 90 - i * 30.0, -30.0);
        wedge.closeSubpath();
        p.setBrush(QColor::fromHsv(i * 30, 200, 245));
        p.setPen(QPen(QColor(255, 255, 255, 200), 2));
        p.drawPath(wedge);
    }

    QRadialGradient core(centre - QPointF(18, 18), 80);
    core.setColorAt(0.0, QColor(0xFA, 0xFA, 0xFA));
    core.setColorAt(1.0, QColor(0xC8, 0xCC, 0xD4));
    p.setBrush(core);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40, 160), 3));
    p.drawEllipse(centre, 62, 62);

    const struct { QPointF at; QColor colour; } drops[] = {
        {{128, 100}, QColor(0x33, 0x99, 0xFF)},
        {{104, 142}, QColor(0xFD, 0xC8, 0x00)},
        {{152, 142}, QColor(0x11, 0x65, 0xBB)},
    };
    for (const auto &drop : drops) {
        QRadialGradient shine(drop.at - QPointF(5, 5), 22);
        shine.setColorAt(0.0, drop.colour.lighter(150));
        shine.setColorAt(1.0, drop.colour);
        p.setBrush(shine);
        p.setPen(QPen(drop.colour.darker(160), 2));
        p.drawEllipse(drop.at, 19, 19);
    }
    return image;
}

// A pointing hand, black outline on white, the index fingertip at (24, 24) of a 48-pixel image.
QImage drawHand()
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(19.5, 23.5);
    QPainterPath hand;
    hand.moveTo(3, 2);
    hand.cubicTo(3, -1, 8, -1, 8, 2);     // index fingertip
    hand.lineTo(8, 9);
    hand.cubicTo(8, 7, 12, 7, 12, 10);    // middle finger
    hand.cubicTo(12, 8, 16, 8, 16, 11);   // ring finger
    hand.cubicTo(16, 9, 20, 9, 20, 12);   // little finger
    hand.lineTo(20, 17);
    hand.cubicTo(20, 20, 18, 22, 17, 23); // palm towards the wrist
    hand.lineTo(6, 23);
    hand.cubicTo(4, 20, 1, 17, -1, 14);   // the thumb side
    hand.cubicTo(-2, 12, 0, 10, 3, 13);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(Qt::black, 0.8));
    for (double x : {8.0, 12.0, 16.0})
        p.drawLine(QPointF(x, 10), QPointF(x, 14));
    return image;
}

}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-emblem <emblem.png> <emblem-48.png> <apphand.png>\n");
        return 2;
    }
    const QString emblem = QString::fromLocal8Bit(argv[1]);
    // The colour window shows the emblem at 48 pixels on a 96-dpi screen: that size comes ready,
    // scaled from the stored picture exactly as the window would scale it.
    const bool ok = drawEmblem().save(emblem, "PNG")
                    && QImage(emblem).scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           .save(QString::fromLocal8Bit(argv[2]), "PNG")
                    && drawHand().save(QString::fromLocal8Bit(argv[3]), "PNG");
    return ok ? 0 : 1;
}

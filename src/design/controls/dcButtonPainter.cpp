#include "controls/dcButtonPainter.h"

#include "controls/dcButtonState.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace dcButtonPainter {

namespace {

using ColorMath::Color;

constexpr quint32 MeasureFlags = gdi::DT_CALCRECT | gdi::DT_NOCLIP | gdi::DT_WORDBREAK | gdi::DT_CENTER;
constexpr quint32 CaptionFlags = gdi::DT_CENTER | gdi::DT_WORDBREAK | gdi::DT_NOCLIP;
constexpr float DisabledOpacity = 0.2f;

// Lines here include both end pixels; LineTo leaves the last one out.
void line(gdi::Dc &dc, int x1, int y1, int x2, int y2)
{
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
    dc.setPixelV(x2, y2, dc.pen().color);
}

void faceGradient(gdi::Dc &dc, QSize size, Color top, Color bottom)
{
    const auto rows = dcButtonLayout::faceGradientRows(top, bottom, size.height());
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        if (size.width() == 1) {
            dc.setPixelV(0, y, rows[y]);
            continue;
        }
        dc.selectPen(gdi::createPen(gdi::PS_SOLID, 1, rows[y]));
        line(dc, 0, y, size.width() - 1, y);
    }
}

void caption(gdi::Dc &dc, const dcButtonLook &look, const QRect &where, int dx, int dy, Color color)
{
    gdi::Rect r = gdi::Rect::fromQRect(where.translated(dx, dy));
    dc.setTextColor(color);
    dc.drawText(look.caption, r, CaptionFlags);
}

void captionWithRelief(gdi::Dc &dc, const dcButtonLook &look, const QRect &where, int d, Color base)
{
    if (look.caption.isEmpty())
        return;
    const Color light = ColorMath::shift(base, 0.1f);
    const Color dark = ColorMath::shift(base, -0.1f);
    switch (look.specialEffect) {
    case 1:
        caption(dc, look, where, d + 1, d + 1, dark);
        caption(dc, look, where, d - 1, d - 1, light);
        break;
    case 2:
        caption(dc, look, where, d - 1, d - 1, dark);
        caption(dc, look, where, d + 1, d + 1, light);
        break;
    case 3:
        caption(dc, look, where, d + 1, d + 1, dark);
        break;
    default:
        break;
    }
    caption(dc, look, where, d, d, look.colors.TextColor);
}

const dcButtonPicture &chosenPicture(const dcButtonLook &look, int state)
{
    using dcButtonState::Picture;
    switch (dcButtonState::statePicture(state, look.value, !look.pictureNormal.isNull(),
                                        !look.pictureHot.isNull(), !look.pictureDown.isNull())) {
    case Picture::Hot: return look.pictureHot;
    case Picture::Down: return look.pictureDown;
    default: return look.pictureNormal;
    }
}

// The picture's own pixels: an icon with its alpha, a bitmap as it is.
QImage ownImage(const dcButtonPicture &picture)
{
    return picture.isIcon() ? picture.icon.image() : picture.bitmap.toImage();
}

// The part of a picture stretched over `drawn` that falls inside `visible`, so that a huge
// drawn size costs no more than the control's own size. Nearest-pixel stretching keeps colour
// keys exact.
QImage stretchedPart(const QImage &picture, const QRect &drawn, const QRect &visible, bool smooth)
{
    QImage part(visible.size(), QImage::Format_ARGB32_Premultiplied);
    part.fill(Qt::transparent);
    QPainter painter(&part);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(drawn.translated(-visible.topLeft()), picture);
    return part;
}

void pictureCopy(gdi::Dc &dc, const dcButtonLook &look, const dcButtonPicture &picture, const QImage &own,
                 const QRect &where, int dx, int dy)
{
    const QRect drawn(std::max(0, where.x() + dx), std::max(0, where.y() + dy), where.width(), where.height());
    const QRect visible = drawn.intersected(QRect(QPoint(0, 0), look.size));
    if (visible.isEmpty())
        return;
    const QImage part = stretchedPart(own, drawn, visible, true);
    if (picture.isIcon())
        dc.drawState(gdi::Icon(part), visible.x(), visible.y(), visible.width(), visible.height(), gdi::DST_ICON);
    else
        dc.drawState(gdi::Bitmap(part.convertToFormat(QImage::Format_ARGB32)), visible.x(), visible.y(),
                     visible.width(), visible.height(), gdi::DST_BITMAP);
}

void pictureWithRelief(gdi::Dc &dc, const dcButtonLook &look, const QRect &where, int state, int d)
{
    const dcButtonPicture &picture = chosenPicture(look, state);
    if (picture.isNull() || where.isEmpty())
        return;
    const QImage own = ownImage(picture);
    switch (look.specialEffect) {
    case 1:
        pictureCopy(dc, look, picture, own, where, d + 1, d + 1);
        pictureCopy(dc, look, picture, own, where, d - 1, d - 1);
        break;
    case 2:
        pictureCopy(dc, look, picture, own, where, d - 1, d - 1);
        pictureCopy(dc, look, picture, own, where, d + 1, d + 1);
        break;
    default:
        break;
    }
    pictureCopy(dc, look, picture, own, where, d, d);
}

gdi::BitmapInfoHeader header24(int width, int height)
{
    gdi::BitmapInfoHeader h;
    h.width = width;
    h.height = height;
    h.bitCount = 24;
    h.sizeImage = static_cast<quint32>(gdi::dibStride(width, 24) * height);
    return h;
}

// The disabled picture, faded into what is already painted under it.
void disabledPicture(gdi::Dc &dc, const dcButtonLook &look, const QRect &where, int d)
{
    const dcButtonPicture &picture = look.pictureNormal;
    if (picture.isNull() || where.isEmpty())
        return;
    // Only the part inside the control is composited; what lies outside would not show.
    const QRect drawn = where.translated(d, d);
    const QRect target = drawn.intersected(QRect(QPoint(0, 0), look.size));
    if (target.width() < 1 || target.height() < 1)
        return;
    const QSize own = picture.ownSize.isEmpty() ? QSize(ownImage(picture).size()) : picture.ownSize;
    if (own.isEmpty())
        return;

    // Rendered at its own size: a bitmap as it is, an icon over the transparent colour.
    gdi::Dc source = gdi::createCompatibleDc(&dc);
    gdi::Bitmap sourceBits = gdi::createCompatibleBitmap(own.width(), own.height());
    source.selectBitmap(sourceBits);
    std::optional<Color> transparent;
    if (look.useMaskColor)
        transparent = look.colors.MaskKeyColor;
    else if (picture.isIcon())
        transparent = source.getPixel(0, 0);
    if (picture.isIcon()) {
        source.fillRect({0, 0, own.width(), own.height()}, gdi::createSolidBrush(transparent.value_or(0)));
        source.drawIconEx(0, 0, picture.icon, own.width(), own.height(), gdi::DI_NORMAL);
    } else {
        gdi::Dc bitmapDc = gdi::createCompatibleDc(&dc);
        bitmapDc.selectBitmap(picture.bitmap);
        source.bitBlt(0, 0, own.width(), own.height(), &bitmapDc, 0, 0, gdi::SRCCOPY);
    }

    const int w = target.width();
    const int h = target.height();
    const gdi::Bitmap frontBits(
        stretchedPart(sourceBits.toImage(), drawn, target, false).convertToFormat(QImage::Format_ARGB32));
    gdi::Dc back = gdi::createCompatibleDc(&dc);
    gdi::Bitmap backBits = gdi::createCompatibleBitmap(w, h);
    back.selectBitmap(backBits);
    back.bitBlt(0, 0, w, h, &dc, target.x(), target.y(), gdi::SRCCOPY);

    gdi::BitmapInfoHeader header = header24(w, h);
    std::vector<uchar> frontPixels(header.sizeImage);
    std::vector<uchar> backPixels(header.sizeImage);
    if (back.getDIBits(frontBits, 0, h, frontPixels.data(), header) != h)
        return;
    gdi::BitmapInfoHeader backHeader = header24(w, h);
    if (back.getDIBits(backBits, 0, h, backPixels.data(), backHeader) != h)
        return;

    const double opacity = DisabledOpacity;
    const qint64 stride = gdi::dibStride(w, 24);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uchar *p = frontPixels.data() + y * stride + x * 3;
            const uchar *b = backPixels.data() + y * stride + x * 3;
            if (transparent && dc.getNearestColor(gdi::rgb(p[2], p[1], p[0])) == *transparent) {
                std::memcpy(p, b, 3);
                continue;
            }
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uchar>(std::clamp(
                    ColorMath::roundHalfEven(b[c] + opacity * (p[c] - b[c])), 0, 255));
        }
    }
    dc.setDIBitsToDevice(target.x(), target.y(), w, h, 0, 0, 0, h, frontPixels.data(), header);
}

void focusFrame(gdi::Dc &dc, const dcButtonLook &look)
{
    const int W = look.size.width();
    const int H = look.size.height();
    const Color c = look.colors.FaceColor;
    dc.selectPen(gdi::createPen(gdi::PS_SOLID, 1, c));
    line(dc, 1, 1, W - 2, 1);
    line(dc, 1, H - 2, W - 2, H - 2);
    if (dcButtonLayout::leftRounded(look.buttonShape)) {
        line(dc, 1, 1, 1, H - 2);
        dc.setPixelV(2, 2, c);
        dc.setPixelV(2, H - 3, c);
    }
    if (dcButtonLayout::rightRounded(look.buttonShape)) {
        line(dc, W - 2, 1, W - 2, H - 2);
        dc.setPixelV(W - 3, 2, c);
        dc.setPixelV(W - 3, H - 3, c);
    }
}

void border(gdi::Dc &dc, const dcButtonLook &look, Color c)
{
    const int W = look.size.width();
    const int H = look.size.height();
    dc.selectPen(gdi::createPen(gdi::PS_SOLID, 1, c));
    dc.selectBrush(gdi::Brush::hollow());
    dc.rectangle(0, 0, W, H);
    if (dcButtonLayout::leftRounded(look.buttonShape)) {
        dc.setPixelV(1, 1, c);
        dc.setPixelV(1, H - 2, c);
    }
    if (dcButtonLayout::rightRounded(look.buttonShape)) {
        dc.setPixelV(W - 2, 1, c);
        dc.setPixelV(W - 2, H - 2, c);
    }
}

} // namespace

dcButtonLayout::Placement layOut(const dcButtonLook &look)
{
    QSize captionSize;
    const bool hasCaption = !look.caption.isEmpty();
    if (hasCaption) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        gdi::Dc measure(&scratch);
        measure.selectFont(look.font);
        gdi::Rect r{0, 0, look.size.width(), look.size.height()};
        measure.drawText(look.caption, r, MeasureFlags);
        captionSize = QSize(r.width(), r.height());
    }
    return dcButtonLayout::place(look.size, captionSize, hasCaption, !look.pictureNormal.isNull(),
                                 look.pictureDrawSize, look.pictureAlignment);
}

gdi::Region windowRegion(QSize size, int buttonShape)
{
    const dcButtonLayout::Shape s = dcButtonLayout::shape(size, buttonShape);
    const QRect &r = s.roundRect;
    gdi::Region region = gdi::createRoundRectRgn(r.x(), r.y(), r.x() + r.width(), r.y() + r.height(),
                                                 s.ellipse, s.ellipse);
    for (const QRect &square : s.squares) {
        const gdi::Region part = gdi::createRectRgn(square.x(), square.y(), square.x() + square.width(),
                                                    square.y() + square.height());
        gdi::combineRgn(region, region, part, gdi::RGN_OR);
    }
    return region;
}

int paint(gdi::Dc &dc, const dcButtonLook &look, const dcButtonLayout::Placement &placement, int state)
{
    using namespace dcButtonState;
    const dcButtonColors &colors = look.colors;
    const int painted = paintedState(state, look.checkBoxMode, look.value, look.enabled);
    const int d = contentOffset(painted, look.value);
    const int W = look.size.width();
    const int H = look.size.height();

    dc.selectFont(look.font);
    dc.setBkMode(gdi::TRANSPARENT);
    if (painted == Disabled) {
        dc.fillRect({0, 0, W, H}, gdi::createSolidBrush(colors.DisabledBackColor));
        disabledPicture(dc, look, placement.picture, d);
        if (!look.caption.isEmpty())
            caption(dc, look, placement.caption, d, d, colors.DisabledTextColor);
        border(dc, look, colors.DisabledTextColor);
        return painted;
    }

    const Color stateColor = painted == Hot ? colors.HotBackColor
                             : painted == Down ? colors.DownBackColor
                                               : colors.FaceColor;
    faceGradient(dc, look.size, colors.FaceTopColor, stateColor);
    const Color base = ColorMath::blend(colors.FaceTopColor, stateColor, 0.5f);
    pictureWithRelief(dc, look, placement.picture, painted, d);
    captionWithRelief(dc, look, placement.caption, d, base);
    if (look.focusFrameAllowed && (look.hasFocus || look.isDefault))
        focusFrame(dc, look);
    border(dc, look, colors.TextColor);
    return painted;
}

QImage render(const dcButtonLook &look, int state)
{
    QImage image(look.size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::black);
    gdi::Dc dc(&image);
    paint(dc, look, layOut(look), state);
    return image;
}

}

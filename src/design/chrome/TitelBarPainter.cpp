#include "chrome/TitelBarPainter.h"

#include "chrome/TitelBarBackground.h"
#include "chrome/TitelBarColors.h"
#include "chrome/TitelBarGlyphs.h"
#include "components/AlphaImgShape.h"
#include "platform/clsGradient.h"
#include "runtime/Surface.h"

#include <QPainter>


namespace titelbar {

namespace {

// What a gradient half too thin to draw shows: a picture box's own back colour.
constexpr runtime::OleColor kUnpainted = 0x8000000F;

// A line as MoveTo/LineTo draw it: the end point left out.
void line(gdi::Dc &dc, int penWidth, std::uint32_t color, int x1, int y1, int x2, int y2)
{
    const gdi::Pen previous = dc.selectPen(gdi::createPen(gdi::PS_SOLID, penWidth, color));
    dc.moveTo(x1, y1);
    dc.lineTo(x2, y2);
    dc.selectPen(previous);
}

// A mirrored copy of the column at x = 3 laid behind the caption, tapered at both ends.
void dashBehindCaption(gdi::Dc &dc, const TitelBarLook &look)
{
    const int x0 = 6;
    const int tw = nearest(dc.getTextExtent(look.caption).cx);
    const int b = look.borderNormal;
    const int h = nearest(look.size.height() - 2.0 * b);
    const int sx = x0 - 3;
    const int sy = h + 2;
    dc.stretchBlt(x0, b, tw, h, &dc, sx, sy, 1, -h, gdi::SRCCOPY);
    dc.stretchBlt(x0 - 1, b + 1, 1, h - 2, &dc, sx, sy, 1, -(h - 2), gdi::SRCCOPY);
    dc.stretchBlt(x0 - 2, b + 2, 1, h - 4, &dc, sx, sy, 1, -(h - 4), gdi::SRCCOPY);
    dc.stretchBlt(x0 + tw, b + 1, 1, h - 2, &dc, sx, sy, 1, -(h - 2), gdi::SRCCOPY);
    dc.stretchBlt(x0 + tw + 1, b + 2, 1, h - 4, &dc, sx, sy, 1, -(h - 4), gdi::SRCCOPY);
}

// An outline or a solid box between two corners, both corners included.
void box(gdi::Dc &dc, gdi::ColorRef color, double x1, double y1, double x2, double y2, bool filled)
{
    const gdi::Rect r{nearest(x1), nearest(y1), nearest(x2) + 1, nearest(y2) + 1};
    if (filled)
        dc.fillRect(r, gdi::createSolidBrush(color));
    else
        dc.frameRect(r, gdi::createSolidBrush(color));
}

void maximizeGlyph(gdi::Dc &dc, gdi::ColorRef color, double side)
{
    const int a = nearest(0.25 * side);
    const int c = nearest(0.5 * side);
    box(dc, color, a, a, a + c, a + c, false);
    box(dc, color, a, a, a + c, a + 0.1 * side, true);
}

void restoreGlyph(gdi::Dc &dc, gdi::ColorRef color, double side)
{
    const int extent = nearest(0.35 * side);
    int y = nearest(0.2 * side);
    int x = nearest(0.4 * side);
    box(dc, color, x, y, x + extent, y + extent, false);
    box(dc, color, x, y, x + extent, y + 0.1 * side, true);
    y = nearest(0.4 * side);
    x = nearest(0.2 * side);
    box(dc, color, x, y, x + extent, y + extent, true);
    box(dc, color, x, y, x + extent, y + 0.1 * side, true);
}

// One character's outline, fitted into a box centred on the picture.
void characterGlyph(gdi::Dc &dc, const TitelBarButtonLook &look)
{
    const int at = nearest(look.side - look.glyphSide) / 2;
    if (const ButtonCharacter *character = ButtonCharacterOf(look.glyph))
        AlphaImg::PaintOutline(dc, QRect(at, at, look.glyphSide, look.glyphSide), character->outline, look.glyphColor);
}

// One half of a button's gradient: 90 runs from color1 at the bottom edge to color2 at the top,
// 270 the other way.
QImage gradientHalf(int width, int rows, float angle, runtime::OleColor color1, runtime::OleColor color2)
{
    QImage half = runtime::NewSurfaceImage(QSize(width, rows), kUnpainted);
    if (width <= 1 || rows <= 1)
        return half;
    clsGradient gradient;
    gradient.setAngle(angle);
    gradient.setColor1(color1);
    gradient.setColor2(color2);
    gdi::Dc dc(&half);
    gradient.DrawGradient(dc, width, rows);
    return half;
}

}

void paintBackground(gdi::Dc &dc, const TitelBarLook &look)
{
    BackgroundInput in;
    in.style = look.style;
    in.width = look.size.width();
    in.height = look.size.height();
    in.c1 = look.leftBegin;
    in.c2 = look.leftEnd;
    in.c3 = look.rightBegin;
    in.c4 = look.rightEnd;
    in.borderHighLight = look.borderHighLight;
    in.borderDarkLight = look.borderDarkLight;
    in.borderNormal = look.borderNormal;
    in.cover = look.cover;
    in.dotStep = look.dotStep;
    in.buttons = look.buttons;

    const BackgroundPlan plan = PlanBackground(in);
    for (const Line &l : plan.lines)
        line(dc, 1, l.color, l.x1, l.y1, l.x2, l.y2);
    for (const Pixel &p : plan.pixels)
        dc.setPixelV(p.x, p.y, p.color);
    if (look.dashBack) {
        dc.selectFont(look.font.toQFont());
        dashBehindCaption(dc, look);
    }
}

void paintIcon(gdi::Dc &dc, const TitelBarLook &look)
{
    const runtime::StdPicture &picture = look.icon;
    if (picture.isNothing())
        return;
    const bool icon = picture.Type() == runtime::StdPicture::vbPicTypeIcon;
    // DSS_RIGHT passed as a sign-extended 16-bit value: every bit from 15 up is set.
    const quint32 flags = (icon ? gdi::DST_ICON : gdi::DST_BITMAP) | 0xFFFF8000u;
    const int w = picture.pixelWidth();
    const int h = picture.pixelHeight();
    if (icon)
        dc.drawState(gdi::Icon(picture.image()), look.iconAt.x(), look.iconAt.y(), w, h, flags);
    else
        dc.drawState(gdi::Bitmap(picture.image().convertToFormat(QImage::Format_RGB32)), look.iconAt.x(),
                     look.iconAt.y(), w, h, flags);
}

void paintCaption(gdi::Dc &dc, const TitelBarLook &look)
{
    const std::uint32_t shadow = ShadeColor(ColorMath::blend(look.leftBegin, look.leftEnd, 0.5f), -0.1f);
    dc.selectFont(look.font.toQFont());
    dc.setBkMode(gdi::TRANSPARENT);
    CaptionInput in;
    in.posX = look.captionPosX;
    in.posY = look.captionPosY;
    in.scaleWidth = look.size.width();
    in.scaleHeight = look.size.height();
    in.textWidth = dc.getTextExtent(look.caption).cx;
    in.textHeight = dc.getTextMetrics().height;
    in.borderNormal = look.borderNormal;
    in.hasPicture = !look.icon.isNothing();
    in.picturePosX = look.iconAt.x();
    in.holderWidth = look.icon.pixelWidth();
    const QPoint at = CaptionPosition(in);

    dc.setTextColor(shadow);
    dc.textOut(at.x() + 1, at.y() + 1, look.caption);
    dc.setTextColor(look.captionColor);
    dc.textOut(at.x(), at.y(), look.caption);
}

void paintBorder(gdi::Dc &dc, const TitelBarLook &look)
{
    const int width = look.borderNormal;
    if (width <= 0)
        return;
    const int w = look.size.width();
    const int h = look.size.height();
    line(dc, width, look.borderDarkLight, 0, h - 1, w, h - 1);
    line(dc, width, look.borderDarkLight, w - 1, 0, w - 1, h - 1);
    line(dc, width, look.borderHighLight, 0, 0, w, 0);
    line(dc, width, look.borderHighLight, 0, 0, 0, h);
}

void paint(gdi::Dc &dc, const TitelBarLook &look)
{
    paintBackground(dc, look);
    paintIcon(dc, look);
    paintCaption(dc, look);
    paintBorder(dc, look);
}

QImage render(const TitelBarLook &look, std::uint32_t colorKey)
{
    QImage image = runtime::NewSurfaceImage(look.size, colorKey);
    gdi::Dc dc(&image);
    paint(dc, look);
    return image;
}

QImage renderButton(const TitelBarButtonLook &look)
{
    // An odd side has no two whole halves: the bottom one takes the extra row, which would
    // otherwise stay unpainted as a line under the button.
    const int side = look.side;
    const int half = nearest(side / 2.0);
    QImage picture = runtime::NewSurfaceImage(QSize(side, side), kUnpainted);
    {
        QPainter painter(&picture);
        painter.drawImage(0, 0, gradientHalf(side, half, 90, look.middle, look.top));
        painter.drawImage(0, half, gradientHalf(side, side - half, 270, look.middle, look.bottom));
    }
    gdi::Dc dc(&picture);
    const gdi::ColorRef glyphColor = runtime::TranslateOrBlack(look.glyphColor);
    using Glyph = TitelBarButtonLook::Glyph;
    switch (look.glyph) {
    case Glyph::Help:
    case Glyph::Minimize:
    case Glyph::Close:
        characterGlyph(dc, look);
        break;
    case Glyph::Maximize:
        maximizeGlyph(dc, glyphColor, side);
        break;
    case Glyph::Restore:
        restoreGlyph(dc, glyphColor, side);
        break;
    }
    return picture;
}

}

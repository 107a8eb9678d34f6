// The title bar's repaint: colour key, button places, background, icon, caption and frame.

#include "chrome/TitelBar.h"

#include "chrome/TitelBarBackground.h"
#include "chrome/TitelBarColors.h"
#include "chrome/TitelBarLayout.h"
#include "components/AlphaImgCtl.h"
#include "runtime/DoEvents.h"
#include "runtime/PictureBox.h"
#include "runtime/Screen.h"

void TitelBar::GetRealColor(runtime::OleColor Color, runtime::OleColor &Result) const
{
    gdi::ColorRef rgb = 0;
    if (runtime::OleTranslateColor(Color, 0, &rgb) == runtime::S_OK) {
        Result = rgb;
        return;
    }
    runtime::DoEvents();
    Result = 0;
}

float TitelBar::TwipsPerPixelX() const
{
    return float(runtime::Screen::TwipsPerPixelX());
}

float TitelBar::TwipsPerPixelY() const
{
    return float(runtime::Screen::TwipsPerPixelY());
}

void TitelBar::drawLineApi(runtime::OleColor color, int x1, int y1, int x2, int y2)
{
    gdi::Dc *dc = hdc();
    const gdi::Pen previous = dc->selectPen(gdi::createPen(gdi::PS_SOLID, DrawWidth(), color));
    dc->moveTo(x1, y1);
    dc->lineTo(x2, y2);
    dc->selectPen(previous);
}

void TitelBar::Refresh()
{
    Surface::setBackColor(ColorKey);
    Surface::setAutoRedraw(true);
    Surface::setPicture({});
    Cls();
    runtime::OleColor fore = 0;
    GetRealColor(m_p.CaptionColor, fore);
    Surface::setForeColor(fore);
    SetTBX_();
    SetVerlauf(m_p.BackColorV1Begin, m_p.BackColorV1End, m_p.BackColorV2Begin, m_p.BackColorV2End);
    SetImageI();
    Shadow();
    BSetBorder(m_p.BorderNormal);
    Surface::setAutoRedraw(false);
    // Only a running program keeps the painting as the surface's background picture; a designer
    // repaints from the properties.
    if (Ambient().UserMode) {
        // setPicture would clear to the back colour and draw the picture again: the same pixels.
        Surface::setPicture(Image());
    }
    runtime::DoEvents();
    update();
}

void TitelBar::SetVerlauf(runtime::OleColor &c1, runtime::OleColor &c2, runtime::OleColor &c3, runtime::OleColor &c4)
{
    setDrawWidth(1);
    titelbar::BackgroundInput in;
    in.style = m_p.Style;
    in.width = width();
    in.height = height();
    GetRealColor(c1, in.c1);
    GetRealColor(c2, in.c2);
    GetRealColor(c3, in.c3);
    GetRealColor(c4, in.c4);
    GetRealColor(m_p.BorderColorHighLight, in.borderHighLight);
    GetRealColor(m_p.BorderColorDarkLight, in.borderDarkLight);
    in.borderNormal = m_p.BorderNormal;
    const int twipsPerPixel = titelbar::nearest(TwipsPerPixelX());
    in.cover = twipsPerPixel > 0 ? m_p.BackColorCover / twipsPerPixel : 0;
    in.dotStep = twipsPerPixel > 0 ? 60 / twipsPerPixel : 4;
    in.buttons = buttonRow();

    const titelbar::BackgroundPlan plan = titelbar::PlanBackground(in);
    for (const titelbar::Line &l : plan.lines)
        drawLineApi(l.color, l.x1, l.y1, l.x2, l.y2);
    gdi::Dc *dc = hdc();
    for (const titelbar::Pixel &p : plan.pixels)
        dc->setPixelV(p.x, p.y, p.color);

    if (m_p.DashBack) {
        // A mirrored copy of the column at x = 3 laid behind the caption, tapered at both ends.
        const int x0 = 6;
        const int tw = titelbar::nearest(dc->getTextExtent(m_p.Caption).cx);
        const int b = m_p.BorderNormal;
        const int h = titelbar::nearest(height() - 2.0 * b);
        const int sx = x0 - 3;
        const int sy = h + 2;
        dc->stretchBlt(x0, b, tw, h, dc, sx, sy, 1, -h, gdi::SRCCOPY);
        dc->stretchBlt(x0 - 1, b + 1, 1, h - 2, dc, sx, sy, 1, -(h - 2), gdi::SRCCOPY);
        dc->stretchBlt(x0 - 2, b + 2, 1, h - 4, dc, sx, sy, 1, -(h - 4), gdi::SRCCOPY);
        dc->stretchBlt(x0 + tw, b + 1, 1, h - 2, dc, sx, sy, 1, -(h - 2), gdi::SRCCOPY);
        dc->stretchBlt(x0 + tw + 1, b + 2, 1, h - 4, dc, sx, sy, 1, -(h - 4), gdi::SRCCOPY);
    }
}

void TitelBar::SetImageI()
{
    m_image1->setPicture(m_p.PictureButton);
    const runtime::StdPicture picture = m_image1->Picture();
    if (picture.isNothing())
        return;
    const bool icon = picture.Type() == runtime::StdPicture::vbPicTypeIcon;
    // DSS_RIGHT passed as a sign-extended 16-bit value: every bit from 15 up is set.
    const quint32 flags = (icon ? gdi::DST_ICON : gdi::DST_BITMAP) | 0xFFFF8000u;
    titelbar::PlaceIcon(m_p.PicturePosMode, width(), height(), m_image1->width(), m_image1->height(),
                        m_p.PicturePosX, m_p.PicturePosY);
    gdi::Dc *dc = hdc();
    if (icon)
        dc->drawState(gdi::Icon(picture.image()), m_p.PicturePosX, m_p.PicturePosY, m_image1->width(),
                      m_image1->height(), flags);
    else
        dc->drawState(gdi::Bitmap(picture.image().convertToFormat(QImage::Format_RGB32)), m_p.PicturePosX,
                      m_p.PicturePosY, m_image1->width(), m_image1->height(), flags);
}

void TitelBar::Shadow()
{
    const QString caption = m_p.Caption;
    const runtime::OleColor main = Surface::ForeColor();
    runtime::OleColor v1Begin = 0, v1End = 0;
    GetRealColor(m_p.BackColorV1Begin, v1Begin);
    GetRealColor(m_p.BackColorV1End, v1End);
    const runtime::OleColor shadow = titelbar::ShadeColor(ColorMath::blend(v1Begin, v1End, 0.5f), -0.1f);
    const bool persistent = Surface::AutoRedraw();
    Surface::setAutoRedraw(true);

    gdi::Dc *dc = hdc();
    dc->setBkMode(gdi::TRANSPARENT);
    const gdi::TextMetrics metrics = dc->getTextMetrics();
    titelbar::CaptionInput in;
    in.posX = m_p.CaptionPosX;
    in.posY = m_p.CaptionPosY;
    in.scaleWidth = width();
    in.scaleHeight = height();
    in.textWidth = dc->getTextExtent(caption).cx;
    in.textHeight = metrics.height;
    in.penWidth = DrawWidth();
    in.borderNormal = m_p.BorderNormal;
    in.hasPicture = !m_p.PictureButton.isNothing();
    in.picturePosX = m_p.PicturePosX;
    in.holderWidth = m_image1->width();
    const QPoint at = titelbar::CaptionPosition(in);

    runtime::OleColor mainRgb = 0;
    GetRealColor(main, mainRgb);
    dc->setTextColor(shadow);
    dc->textOut(at.x() + 1, at.y() + 1, caption);
    dc->setTextColor(mainRgb);
    dc->textOut(at.x(), at.y(), caption);
    Surface::setAutoRedraw(persistent);
}

void TitelBar::BSetBorder(int &Width)
{
    if (Width <= 0) {
        Width = 0;
        return;
    }
    setDrawWidth(Width);
    const int w = width();
    const int h = height();
    runtime::OleColor dark = 0, high = 0;
    GetRealColor(m_p.BorderColorDarkLight, dark);
    GetRealColor(m_p.BorderColorHighLight, high);
    drawLineApi(dark, 0, h - 1, w, h - 1);
    drawLineApi(dark, w - 1, 0, w - 1, h - 1);
    drawLineApi(high, 0, 0, w, 0);
    drawLineApi(high, 0, 0, 0, h);
}

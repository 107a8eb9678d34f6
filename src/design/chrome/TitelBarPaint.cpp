// The title bar's repaint: colour key, button places, then the face painted from its look.

#include "chrome/TitelBar.h"

#include "runtime/DoEvents.h"
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

TitelBarLook TitelBar::look() const
{
    using runtime::TranslateOrBlack;
    TitelBarLook l;
    l.size = size();
    l.style = m_p.Style;
    l.leftBegin = TranslateOrBlack(m_p.BackColorV1Begin);
    l.leftEnd = TranslateOrBlack(m_p.BackColorV1End);
    l.rightBegin = TranslateOrBlack(m_p.BackColorV2Begin);
    l.rightEnd = TranslateOrBlack(m_p.BackColorV2End);
    l.borderHighLight = TranslateOrBlack(m_p.BorderColorHighLight);
    l.borderDarkLight = TranslateOrBlack(m_p.BorderColorDarkLight);
    l.borderNormal = m_p.BorderNormal;
    const int twipsPerPixel = runtime::Round(TwipsPerPixelX(), runtime::Rounding::HalfEven);
    l.cover = twipsPerPixel > 0 ? m_p.BackColorCover / twipsPerPixel : 0;
    l.dotStep = twipsPerPixel > 0 ? 60 / twipsPerPixel : 4;
    l.buttons = buttonRow();
    l.dashBack = m_p.DashBack;
    l.caption = m_p.Caption;
    l.font = Surface::Font();
    l.captionColor = TranslateOrBlack(m_p.CaptionColor);
    l.captionPosX = m_p.CaptionPosX;
    l.captionPosY = m_p.CaptionPosY;
    l.icon = m_p.PictureButton;
    l.iconAt = QPoint(m_p.PicturePosX, m_p.PicturePosY);
    return l;
}

void TitelBar::draw(gdi::Dc &dc) const
{
    titelbar::paint(dc, look());
}

void TitelBar::Refresh()
{
    if (redrawAfterHold([this] { Refresh(); }))
        return;
    ++m_repaints;
    Surface::setBackColor(ColorKey);
    Surface::setAutoRedraw(true);
    Surface::setPicture({});
    Cls();
    Surface::setForeColor(runtime::TranslateOrBlack(m_p.CaptionColor));
    // The background's tab reads where the buttons are.
    if (!SetTBX_())
        return;
    placeIcon();
    draw(*hdc());
    Surface::setAutoRedraw(false);
    // Only a running program keeps the painting as the surface's background picture; a designer
    // repaints from the properties.
    if (Ambient().UserMode) {
        // setPicture would clear to the back colour and draw the picture again: the same pixels.
        Surface::setPicture(Image());
    }
    if (runtime::DoEventsStillLoaded(this))
        update();
}

void TitelBar::SetVerlauf(runtime::OleColor &c1, runtime::OleColor &c2, runtime::OleColor &c3, runtime::OleColor &c4)
{
    TitelBarLook l = look();
    l.leftBegin = runtime::TranslateOrBlack(c1);
    l.leftEnd = runtime::TranslateOrBlack(c2);
    l.rightBegin = runtime::TranslateOrBlack(c3);
    l.rightEnd = runtime::TranslateOrBlack(c4);
    titelbar::paintBackground(*hdc(), l);
}

void TitelBar::placeIcon()
{
    const runtime::StdPicture &picture = m_p.PictureButton;
    if (picture.isNothing())
        return;
    titelbar::PlaceIcon(m_p.PicturePosMode, width(), height(), picture.pixelWidth(), picture.pixelHeight(),
                        m_p.PicturePosX, m_p.PicturePosY);
}

void TitelBar::SetImageI()
{
    placeIcon();
    titelbar::paintIcon(*hdc(), look());
}

void TitelBar::Shadow()
{
    titelbar::paintCaption(*hdc(), look());
}

void TitelBar::BSetBorder(int &Width)
{
    if (Width <= 0) {
        Width = 0;
        return;
    }
    setDrawWidth(Width);
    TitelBarLook l = look();
    l.borderNormal = Width;
    titelbar::paintBorder(*hdc(), l);
}

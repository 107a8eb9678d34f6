// The title bar's button pictures and their layout.

#include "chrome/TitelBar.h"

#include "components/AlphaImgCtl.h"
#include "runtime/DoEvents.h"

TitelBarButtonLook TitelBar::buttonLook(TitelBarButtonLook::Glyph glyph) const
{
    const bool close = glyph == TitelBarButtonLook::Glyph::Close;
    TitelBarButtonLook l;
    l.glyph = glyph;
    l.side = m_buttonSide;
    l.glyphSide = m_glyphSide;
    l.top = m_p.BackColorV2Begin;
    l.middle = close ? m_p.ButtonXBackColor : m_p.ButtonBackColor;
    l.bottom = m_p.BackColorV2End;
    l.glyphColor = close ? m_p.ButtonXForeColor : m_p.ButtonForeColor;
    return l;
}

void TitelBar::UpdateTitleBarButtons()
{
    using Glyph = TitelBarButtonLook::Glyph;
    const std::pair<AlphaImg::AlphaImgCtl *, Glyph> buttons[] = {{m_tbarHelp, Glyph::Help},
                                                                  {m_tbarMin, Glyph::Minimize},
                                                                  {m_imgMaximize, Glyph::Maximize},
                                                                  {m_imgRestore, Glyph::Restore},
                                                                  {m_tbarX, Glyph::Close}};
    for (const auto &[button, glyph] : buttons) {
        paintButtonPicture(button, glyph);
        if (!runtime::DoEventsStillLoaded(this))
            return;
    }
}

void TitelBar::paintButtonPicture(AlphaImg::AlphaImgCtl *button, TitelBarButtonLook::Glyph glyph)
{
    if (redrawAfterHold([this, button, glyph] { paintButtonPicture(button, glyph); }, button))
        return;
    const gdi::Bitmap picture(titelbar::renderButton(buttonLook(glyph)));
    button->setPicture(AlphaImg::AICGlobals::LoadPictureFromBitmap(picture, -1, -1));
    if (glyph == TitelBarButtonLook::Glyph::Restore) {
        // A scheme change while the window is maximised keeps the restore glyph on the button.
        m_tbarMax->setPicture((bDidMaximize ? m_imgRestore : m_imgMaximize)->Picture());
    }
}

titelbar::ButtonRow TitelBar::buttonRow() const
{
    const auto box = [](const AlphaImg::AlphaImgCtl *c, bool shown) {
        return titelbar::ButtonBox{c->x(), c->y(), c->width(), c->height(), shown};
    };
    return {box(m_tbarX, m_p.ShowClose), box(m_tbarMax, m_p.ShowMaximized), box(m_tbarMin, m_p.ShowMinimized),
            box(m_tbarHelp, m_p.ShowHelp)};
}

bool TitelBar::SetTBX_()
{
    const int repaint = m_repaints;
    const auto stillCurrent = [this, repaint] { return runtime::DoEventsStillLoaded(this) && m_repaints == repaint; };
    m_tbarX->setEnabled(m_p.ShowCloseEnabled);
    m_tbarMax->setEnabled(m_p.ShowMaximizedEnabled);
    m_tbarMin->setEnabled(m_p.ShowMinimizedEnabled);
    m_tbarHelp->setEnabled(m_p.ShowHelpEnabled);

    titelbar::ButtonRow row = buttonRow();
    titelbar::LayoutButtons(row, m_p.Style, ScaleWidth(), ScaleHeight());

    m_tbarX->move(row.close.left, row.close.top);
    if (!stillCurrent())
        return false;
    const std::pair<AlphaImg::AlphaImgCtl *, const titelbar::ButtonBox *> others[] = {
        {m_tbarMax, &row.maximize}, {m_tbarMin, &row.minimize}, {m_tbarHelp, &row.help}};
    for (const auto &[ctl, p] : others) {
        if (!p->shown)
            continue;
        ctl->move(p->left, p->top);
        if (!stillCurrent())
            return false;
    }
    m_tbarX->setVisible(m_p.ShowClose);
    m_tbarMin->setVisible(m_p.ShowMinimized);
    m_tbarMax->setVisible(m_p.ShowMaximized);
    m_tbarHelp->setVisible(m_p.ShowHelp);
    return stillCurrent();
}

// The title bar's button pictures (a three-stop gradient with a glyph) and their layout.

#include "chrome/TitelBar.h"

#include "chrome/TitelBarColors.h"
#include "chrome/TitelBarLayout.h"
#include "components/AlphaImgCtl.h"
#include "components/AlphaImgShape.h"
#include "platform/clsGradient.h"
#include "runtime/DoEvents.h"
#include "runtime/PictureBox.h"

#include <QPainter>

namespace {

// An outline or a solid box between two corners, both corners included.
void drawBox(runtime::PictureBox &box, double x1, double y1, double x2, double y2, bool filled)
{
    gdi::Dc *dc = box.hdc();
    const gdi::ColorRef color = runtime::TranslateOrBlack(box.ForeColor());
    const gdi::Rect r{titelbar::nearest(x1), titelbar::nearest(y1), titelbar::nearest(x2) + 1,
                      titelbar::nearest(y2) + 1};
    if (filled)
        dc->fillRect(r, gdi::createSolidBrush(color));
    else
        dc->frameRect(r, gdi::createSolidBrush(color));
}

void drawMaximizeGlyph(runtime::PictureBox &box)
{
    const double sw = box.ScaleWidth();
    const double sh = box.ScaleHeight();
    const int a = titelbar::nearest(0.25 * sh);
    const int b = titelbar::nearest(0.25 * sw);
    const int c = titelbar::nearest(0.5 * sh);
    const int d = titelbar::nearest(0.5 * sw);
    drawBox(box, b, a, b + d, a + c, false);
    drawBox(box, b, a, b + d, a + 0.1 * sh, true);
}

void drawRestoreGlyph(runtime::PictureBox &box)
{
    const double sw = box.ScaleWidth();
    const double sh = box.ScaleHeight();
    const int hh = titelbar::nearest(0.35 * sh);
    const int ww = titelbar::nearest(0.35 * sw);
    int y = titelbar::nearest(0.2 * sh);
    int x = titelbar::nearest(0.4 * sw);
    drawBox(box, x, y, x + ww, y + hh, false);
    drawBox(box, x, y, x + ww, y + 0.1 * sh, true);
    y = titelbar::nearest(0.4 * sh);
    x = titelbar::nearest(0.2 * sw);
    drawBox(box, x, y, x + ww, y + hh, true);
    drawBox(box, x, y, x + ww, y + 0.1 * sh, true);
}


}

void TitelBar::UpdateTitleBarButtons()
{
    m_picPrepare->setForeColor(m_p.ButtonForeColor);
    m_shapeQMark->setColor(m_p.ButtonForeColor);
    m_shapeBarMark->setColor(m_p.ButtonForeColor);
    paintButtonImage(*m_picPrepare, m_p.ButtonBackColor, m_shapeQMark, *m_tbarHelp, false, false, false);
    paintButtonImage(*m_picPrepare, m_p.ButtonBackColor, m_shapeBarMark, *m_tbarMin, false, false, false);
    paintButtonImage(*m_picPrepare, m_p.ButtonBackColor, nullptr, *m_imgMaximize, true, true, false);
    paintButtonImage(*m_picPrepare, m_p.ButtonBackColor, nullptr, *m_imgRestore, true, false, true);
    // A scheme change while the window is maximised keeps the restore glyph on the button.
    m_tbarMax->setPicture((bDidMaximize ? m_imgRestore : m_imgMaximize)->Picture());
    m_picPrepare->setForeColor(m_p.ButtonXForeColor);
    m_shapeXMark->setColor(m_p.ButtonXForeColor);
    paintButtonImage(*m_picPrepare, m_p.ButtonXBackColor, m_shapeXMark, *m_tbarX, false, false, false);
}

void TitelBar::paintButtonImage(runtime::PictureBox &box, runtime::OleColor backColor, AlphaImg::AlphaShapeCtl *shape,
                                AlphaImg::AlphaImgCtl &target, bool noShape, bool maximizeGlyph, bool restoreGlyph)
{
    box.setAutoRedraw(true);
    box.setPicture({});
    box.Cls();
    const int h = titelbar::nearest(box.ScaleHeight());
    const int w = titelbar::nearest(box.ScaleWidth());
    makeButtonGradient(box, h, w, m_p.BackColorV2Begin, backColor, m_p.BackColorV2End);
    if (maximizeGlyph)
        drawMaximizeGlyph(box);
    if (restoreGlyph)
        drawRestoreGlyph(box);
    if (!noShape && shape) {
        const int x = titelbar::nearest(box.ScaleWidth() - shape->width()) / 2;
        const int y = titelbar::nearest(box.ScaleHeight() - shape->height()) / 2;
        shape->PaintShape(*box.hdc(), x, y);
    }
    box.setPicture(box.Image());
    box.setAutoRedraw(false);
    target.setPicture(AlphaImg::AICGlobals::LoadPictureFromBitmap(gdi::Bitmap(box.Picture().image()), -1, -1));
}

void TitelBar::makeButtonGradient(runtime::PictureBox &box, int h, int w, runtime::OleColor top,
                                  runtime::OleColor middle, runtime::OleColor bottom)
{
    for (runtime::PictureBox *p : {m_picBlendTop, m_picBlendBottom, m_picBlendFinal}) {
        p->setPicture({});
        p->Cls();
    }
    // An odd height has no two whole halves: the bottom one takes the extra row, which would
    // otherwise stay in the box's back colour as a line under the button.
    const int half = titelbar::nearest(h / 2.0);
    m_picBlendTop->resize(w, half);
    m_picBlendBottom->resize(w, h - half);
    m_picBlendFinal->resize(w, h);

    // 90 runs from the first colour at the bottom edge to the second at the top; 270 the other way.
    m_gradient->setAngle(90);
    m_gradient->setColor1(middle);
    m_gradient->setColor2(top);
    m_gradient->Draw(m_picBlendTop);
    m_picBlendTop->setPicture(m_picBlendTop->Image());
    m_gradient->setAngle(270);
    m_gradient->setColor1(middle);
    m_gradient->setColor2(bottom);
    m_gradient->Draw(m_picBlendBottom);
    m_picBlendBottom->setPicture(m_picBlendBottom->Image());

    {
        QPainter painter(m_picBlendFinal->hdc()->image());
        painter.drawImage(0, 0, m_picBlendTop->Picture().image());
        painter.drawImage(0, m_picBlendTop->height(), m_picBlendBottom->Picture().image());
    }
    m_picBlendFinal->setPicture(m_picBlendFinal->Image());
    runtime::DoEvents();
    box.setPicture(m_picBlendFinal->Picture());
}

titelbar::ButtonRow TitelBar::buttonRow() const
{
    const auto box = [](const AlphaImg::AlphaImgCtl *c, bool shown) {
        return titelbar::ButtonBox{c->x(), c->y(), c->width(), c->height(), shown};
    };
    return {box(m_tbarX, m_p.ShowClose), box(m_tbarMax, m_p.ShowMaximized), box(m_tbarMin, m_p.ShowMinimized),
            box(m_tbarHelp, m_p.ShowHelp)};
}

void TitelBar::SetTBX_()
{
    m_tbarX->setEnabled(m_p.ShowCloseEnabled);
    m_tbarMax->setEnabled(m_p.ShowMaximizedEnabled);
    m_tbarMin->setEnabled(m_p.ShowMinimizedEnabled);
    m_tbarHelp->setEnabled(m_p.ShowHelpEnabled);

    titelbar::ButtonRow row = buttonRow();
    titelbar::LayoutButtons(row, m_p.Style, ScaleWidth(), ScaleHeight());

    m_tbarX->move(row.close.left, row.close.top);
    runtime::DoEvents();
    const std::pair<AlphaImg::AlphaImgCtl *, const titelbar::ButtonBox *> others[] = {
        {m_tbarMax, &row.maximize}, {m_tbarMin, &row.minimize}, {m_tbarHelp, &row.help}};
    for (const auto &[ctl, p] : others) {
        if (!p->shown)
            continue;
        ctl->move(p->left, p->top);
        runtime::DoEvents();
    }
    m_tbarX->setVisible(m_p.ShowClose);
    m_tbarMin->setVisible(m_p.ShowMinimized);
    m_tbarMax->setVisible(m_p.ShowMaximized);
    m_tbarHelp->setVisible(m_p.ShowHelp);
    runtime::DoEvents();
}

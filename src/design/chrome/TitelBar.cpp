#include "chrome/TitelBar.h"

#include "chrome/WindowDesign.h"
#include "components/AlphaImgCtl.h"
#include "controls/StoredProperties.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Screen.h"
#include "runtime/Timer.h"

#include <algorithm>

namespace {

constexpr int kButtonTwips = 300;
constexpr int kShapeTwips = 180;
constexpr int kTimerInterval = 25;

}

using StoredProperties::fitsInt16;

TitelBar::TitelBar(QWidget *container, const QString &name, int index)
    : runtime::UserControl(container, name, index)
{
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    createConstituents();
    m_hover = 255;
    m_p.BorderNormal = 0;
    UpdateTitleBarButtons();
    // A window manager may maximise a window that already fills the work area: its size, and so
    // the bar's, stays, and only the window's own resize notification tells of it.
    if (runtime::Form *parent = Parent())
        connect(parent, &runtime::Form::Resize, this, [this] { followSystemMaximize(); });
}

TitelBar::~TitelBar() = default;

void TitelBar::createConstituents()
{
    using WindowDesign::Axis;
    using WindowDesign::Rounding;
    m_buttonSide = WindowDesign::ToPixels(kButtonTwips, Axis::Horizontal, Rounding::HalfEven);
    m_glyphSide = WindowDesign::ToPixels(kShapeTwips, Axis::Horizontal, Rounding::HalfEven);

    const auto imageControl = [&](const char *controlName, const char *tip, bool visible) {
        auto *ctl = new AlphaImg::AlphaImgCtl(this, QString::fromLatin1(controlName));
        ctl->resize(m_buttonSide, m_buttonSide);
        ctl->setToolTipText(QString::fromLatin1(tip));
        ctl->setVisible(visible);
        return ctl;
    };
    m_tbarHelp = imageControl("TBARHelp", "Help", false);
    m_tbarMin = imageControl("TBAR_", "Minimize", true);
    m_tbarMax = imageControl("TBARMax", "Maximize", false);
    m_tbarX = imageControl("TBARX", "Close", true);
    m_imgMaximize = imageControl("AlphaImgCtlMaximize", "Maximize", false);
    m_imgRestore = imageControl("AlphaImgCtlRestore", "Restore Down", false);

    const auto timer = [&](const char *controlName) {
        return new runtime::Timer(this, QString::fromLatin1(controlName), kTimerInterval, false);
    };
    m_spins[SpinHelp] = {m_tbarHelp, timer("TimerButtonHelpAnimation")};
    m_spins[SpinMin] = {m_tbarMin, timer("TimerButtonMinAnimation")};
    m_spins[SpinMax] = {m_tbarMax, timer("TimerButtonMaxAnimation")};
    m_spins[SpinX] = {m_tbarX, timer("TimerButtonXAnimation")};
    m_timer1 = timer("Timer1");
    connect(m_timer1, &runtime::Timer::Tick, this, &TitelBar::hoverTimerTick);

    for (SpinIndex i : {SpinHelp, SpinMin, SpinMax, SpinX})
        connectButton(i);
}

runtime::Timer *TitelBar::TimerButtonAnimation(AlphaImg::AlphaImgCtl *button) const
{
    for (const Spin &s : m_spins) {
        if (s.button == button)
            return s.timer;
    }
    return nullptr;
}

// Stored design data ------------------------------------------------------------------------------

void TitelBar::UserControl_InitProperties()
{
    m_p = TitelBarProperties::Fresh();
    const TitelBarProperties::SurfaceValues surface = TitelBarProperties::FreshSurface();
    Surface::setFont(surface.Font);
    Surface::setBackColor(surface.BackColor);
    Surface::setForeColor(surface.ForeColor);
    UpdateTitleBarButtons();
    // A new bar is as high as a caption: the design's height in twips on a twips host, 32 pixels
    // on a pixel host.
    if (const runtime::Surface *host = runtime::surfaceOf(parentWidget())) {
        if (host->ScaleMode() == runtime::vbTwips)
            resize(width(), WindowDesign::ToPixels(WindowDesign::TitleBarHeight, WindowDesign::Axis::Vertical));
        else if (host->ScaleMode() == runtime::vbPixels)
            resize(width(), 32);
    }
    m_hover = 255;
    Refresh();
}

void TitelBar::UserControl_ReadProperties(const runtime::PropertyBag &PropBag)
{
    TitelBarProperties::SurfaceValues surface;
    surface.BackColor = Surface::BackColor();
    surface.ForeColor = Surface::ForeColor();
    surface.Font = Surface::Font();
    m_p.Read(PropBag, surface, Ambient().Font);
    Surface::setBackColor(surface.BackColor);
    Surface::setForeColor(surface.ForeColor);
    Surface::setFont(surface.Font);
    setPicture(surface.Picture);
    Surface::setAutoRedraw(surface.AutoRedraw);
    UpdateTitleBarButtons();
    if (runtime::DoEventsStillLoaded(this))
        Refresh();
}

void TitelBar::UserControl_WriteProperties(runtime::PropertyBag &PropBag)
{
    TitelBarProperties::SurfaceValues surface;
    surface.BackColor = Surface::BackColor();
    surface.ForeColor = Surface::ForeColor();
    surface.Font = Surface::Font();
    surface.Picture = Surface::Picture();
    surface.AutoRedraw = Surface::AutoRedraw();
    m_p.Write(PropBag, surface, Ambient().Font);
}

// Property sets -----------------------------------------------------------------------------------

template <class T>
void TitelBar::setAndRepaint(T &field, const T &value, const char *key)
{
    setStored(field, value, key, [this] { Refresh(); });
}

template <class T>
void TitelBar::setAndRebuild(T &field, const T &value, const char *key)
{
    setStored(field, value, key, [this] {
        UpdateTitleBarButtons();
        Refresh();
    });
}

template <class T>
void TitelBar::setAndLayout(T &field, const T &value, const char *key)
{
    setStored(field, value, key, [this] { SetTBX_(); });
}

void TitelBar::setAutoRedraw(bool value)
{
    setStored(m_p.AutoRedraw, value, "AutoRedraw", [] {});
}

void TitelBar::setBackColorCover(qint32 value) { setAndRepaint(m_p.BackColorCover, value, "BackColorCover"); }

void TitelBar::setBackColor(runtime::OleColor value)
{
    Surface::setBackColor(value);
    PropertyChanged(QStringLiteral("BackColor"));
    Refresh();
}

void TitelBar::setBackColorV1Begin(runtime::OleColor value) { setAndRepaint(m_p.BackColorV1Begin, value, "BackColorV1Begin"); }
void TitelBar::setBackColorV1End(runtime::OleColor value) { setAndRepaint(m_p.BackColorV1End, value, "BackColorV1End"); }
void TitelBar::setBackColorV2Begin(runtime::OleColor value) { setAndRebuild(m_p.BackColorV2Begin, value, "BackColorV2Begin"); }
void TitelBar::setBackColorV2End(runtime::OleColor value) { setAndRebuild(m_p.BackColorV2End, value, "BackColorV2End"); }
void TitelBar::setBorderColorDarkLight(runtime::OleColor value) { setAndRepaint(m_p.BorderColorDarkLight, value, "BorderColorDarkLight"); }
void TitelBar::setBorderColorHighLight(runtime::OleColor value) { setAndRepaint(m_p.BorderColorHighLight, value, "BorderColorHighLight"); }

void TitelBar::setBorderNormal(int value)
{
    if (value < 0 || value > 255)
        return; // a byte: the assignment overflows and is skipped
    setAndRepaint(m_p.BorderNormal, value, "BorderNormal");
}

void TitelBar::setButtonBackColor(runtime::OleColor value) { setAndRebuild(m_p.ButtonBackColor, value, "ButtonBackColor"); }
void TitelBar::setButtonForeColor(runtime::OleColor value) { setAndRebuild(m_p.ButtonForeColor, value, "ButtonForeColor"); }
void TitelBar::setButtonXBackColor(runtime::OleColor value) { setAndRebuild(m_p.ButtonXBackColor, value, "ButtonXBackColor"); }
void TitelBar::setButtonXForeColor(runtime::OleColor value) { setAndRebuild(m_p.ButtonXForeColor, value, "ButtonXForeColor"); }
void TitelBar::setCaptionColorBack(runtime::OleColor value) { setAndRepaint(m_p.CaptionColorBack, value, "CaptionColorBack"); }

void TitelBar::setCaptionColor(runtime::OleColor value)
{
    setStored(m_p.CaptionColor, value, "CaptionColor", [this, value] {
        Surface::setForeColor(value);
        Refresh();
    });
}

void TitelBar::setCaption(const QString &value) { setAndRepaint(m_p.Caption, value, "Caption"); }
void TitelBar::setCaptionPosX(int value) { setAndRepaint(m_p.CaptionPosX, value, "CaptionPosX"); }
void TitelBar::setCaptionPosY(int value) { setAndRepaint(m_p.CaptionPosY, value, "CaptionPosY"); }
void TitelBar::setDashBack(bool value) { setAndRepaint(m_p.DashBack, value, "DashBack"); }

void TitelBar::setFont(const runtime::StdFont &value)
{
    Surface::setFont(value);
    PropertyChanged(QStringLiteral("Font"));
    Refresh();
}

void TitelBar::setForeColor(runtime::OleColor value)
{
    Surface::setForeColor(value);
    PropertyChanged(QStringLiteral("ForeColor"));
    Refresh();
}

void TitelBar::setIconStyle(int value)
{
    if (value < 0 || value > 255)
        return;
    setAndRepaint(m_p.IconStyle, std::min(value, 2), "IconStyle");
}

void TitelBar::setPictureButton(const runtime::StdPicture &value) { setAndRepaint(m_p.PictureButton, value, "PictureButton"); }

void TitelBar::setPicture(const runtime::StdPicture &value)
{
    Surface::setPicture(value);
    PropertyChanged(QStringLiteral("Picture"));
    SetImageI();
}

void TitelBar::setPicturePosMode(int value) { setAndRepaint(m_p.PicturePosMode, value, "PicturePosMode"); }

void TitelBar::setPicturePosX(int value)
{
    if (fitsInt16(value))
        setAndRepaint(m_p.PicturePosX, value, "PicturePosX");
}

void TitelBar::setPicturePosY(int value)
{
    if (fitsInt16(value))
        setAndRepaint(m_p.PicturePosY, value, "PicturePosY");
}

void TitelBar::setShowCloseEnabled(bool value) { setAndLayout(m_p.ShowCloseEnabled, value, "ShowCloseEnabled"); }
void TitelBar::setShowClose(bool value) { setAndLayout(m_p.ShowClose, value, "ShowClose"); }
void TitelBar::setShowHelpEnabled(bool value) { setAndLayout(m_p.ShowHelpEnabled, value, "ShowHelpEnabled"); }
void TitelBar::setShowHelp(bool value) { setAndLayout(m_p.ShowHelp, value, "ShowHelp"); }
void TitelBar::setShowMaximizedEnabled(bool value) { setAndLayout(m_p.ShowMaximizedEnabled, value, "ShowMaximizedEnabled"); }
void TitelBar::setShowMaximized(bool value) { setAndLayout(m_p.ShowMaximized, value, "ShowMaximized"); }
void TitelBar::setShowMinimizedEnabled(bool value) { setAndLayout(m_p.ShowMinimizedEnabled, value, "ShowMinimizedEnabled"); }
void TitelBar::setShowMinimized(bool value) { setAndLayout(m_p.ShowMinimized, value, "ShowMinimized"); }

void TitelBar::setStyle(int value)
{
    if (fitsInt16(value))
        setAndRepaint(m_p.Style, value, "Style");
}

void TitelBar::setTooltipText(const QString &value)
{
    setStored(m_p.TooltipText, value, "ToolTipText", [] {});
}

#pragma once

#include "chrome/TitelBarLayout.h"
#include "chrome/TitelBarPainter.h"
#include "chrome/TitelBarProperties.h"
#include "runtime/UserControl.h"

#include <QPoint>
#include <QPointer>

#include <array>

namespace AlphaImg {
class AlphaImgCtl;
}
namespace runtime {
class Form;
class Timer;
}

// The skinned title bar that stands in for the caption of every borderless window: a gradient
// background in one of fifteen styles, the icon, the caption with its shadow and an optional
// frame, and four spinning buttons (help, minimise, maximise/restore, close). It drags its window
// and maximises it to the work area and back.
//
// The bar's face and its button pictures are a look (TitelBarLook, TitelBarButtonLook) painted by
// the free functions of TitelBarPainter.h; the repaint draws the face onto the bar's own drawing
// surface, where whatever the background style leaves unpainted stays in the colour key &HF7B8F8,
// which the windows make see-through.
class TitelBar : public runtime::UserControl {
    Q_OBJECT
    Q_PROPERTY(QWidget *ActiveControl READ ActiveControl)
    Q_PROPERTY(bool AutoRedraw READ AutoRedraw WRITE setAutoRedraw)
    Q_PROPERTY(qint32 BackColorCover READ BackColorCover WRITE setBackColorCover)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 BackColorV1Begin READ BackColorV1Begin WRITE setBackColorV1Begin)
    Q_PROPERTY(quint32 BackColorV1End READ BackColorV1End WRITE setBackColorV1End)
    Q_PROPERTY(quint32 BackColorV2Begin READ BackColorV2Begin WRITE setBackColorV2Begin)
    Q_PROPERTY(quint32 BackColorV2End READ BackColorV2End WRITE setBackColorV2End)
    Q_PROPERTY(quint32 BorderColorDarkLight READ BorderColorDarkLight WRITE setBorderColorDarkLight)
    Q_PROPERTY(quint32 BorderColorHighLight READ BorderColorHighLight WRITE setBorderColorHighLight)
    Q_PROPERTY(int BorderNormal READ BorderNormal WRITE setBorderNormal)
    Q_PROPERTY(quint32 ButtonBackColor READ ButtonBackColor WRITE setButtonBackColor)
    Q_PROPERTY(quint32 ButtonForeColor READ ButtonForeColor WRITE setButtonForeColor)
    Q_PROPERTY(quint32 ButtonXBackColor READ ButtonXBackColor WRITE setButtonXBackColor)
    Q_PROPERTY(quint32 ButtonXForeColor READ ButtonXForeColor WRITE setButtonXForeColor)
    Q_PROPERTY(quint32 CaptionColorBack READ CaptionColorBack WRITE setCaptionColorBack)
    Q_PROPERTY(quint32 CaptionColor READ CaptionColor WRITE setCaptionColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE setCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE setCaptionPosY)
    Q_PROPERTY(bool DashBack READ DashBack WRITE setDashBack)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool HasDC READ HasDC)
    Q_PROPERTY(int IconStyle READ IconStyle WRITE setIconStyle)
    Q_PROPERTY(runtime::StdPicture PictureButton READ PictureButton WRITE setPictureButton)
    Q_PROPERTY(runtime::StdPicture Picture READ Picture WRITE setPicture)
    Q_PROPERTY(int PicturePosMode READ PicturePosMode WRITE setPicturePosMode)
    Q_PROPERTY(int PicturePosX READ PicturePosX WRITE setPicturePosX)
    Q_PROPERTY(int PicturePosY READ PicturePosY WRITE setPicturePosY)
    Q_PROPERTY(bool ShowCloseEnabled READ ShowCloseEnabled WRITE setShowCloseEnabled)
    Q_PROPERTY(bool ShowClose READ ShowClose WRITE setShowClose)
    Q_PROPERTY(bool ShowHelpEnabled READ ShowHelpEnabled WRITE setShowHelpEnabled)
    Q_PROPERTY(bool ShowHelp READ ShowHelp WRITE setShowHelp)
    Q_PROPERTY(bool ShowMaximizedEnabled READ ShowMaximizedEnabled WRITE setShowMaximizedEnabled)
    Q_PROPERTY(bool ShowMaximized READ ShowMaximized WRITE setShowMaximized)
    Q_PROPERTY(bool ShowMinimizedEnabled READ ShowMinimizedEnabled WRITE setShowMinimizedEnabled)
    Q_PROPERTY(bool ShowMinimized READ ShowMinimized WRITE setShowMinimized)
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(QString TooltipText READ TooltipText WRITE setTooltipText)

public:
    static constexpr runtime::OleColor ColorKey = 0xF7B8F8;

    TitelBar(QWidget *container, const QString &name = QStringLiteral("TitelBar1"), int index = -1);
    ~TitelBar() override;

    // True while the bar holds its window maximised to the work area.
    bool bDidMaximize = false;

    // Operations, in the order of the control's interface.
    void BSetBorder(int &Width);
    void GetRealColor(runtime::OleColor Color, runtime::OleColor &Result) const;
    // False when the window was unloaded during one of its yields.
    bool MaxminizeParent();
    Q_INVOKABLE void Refresh();
    void SetImageI();
    void SetVerlauf(runtime::OleColor &c1, runtime::OleColor &c2, runtime::OleColor &c3, runtime::OleColor &c4);
    void Shadow();
    float TwipsPerPixelX() const;
    float TwipsPerPixelY() const;
    void UpdateTitleBarButtons();
    // False when the window was unloaded during one of its yields, or when a repaint begun during
    // one of them laid the buttons out anew (this layout is then out of date and stops).
    bool SetTBX_();
    void TimerButtonHelpAnimation_Timer();
    void TimerButtonMaxAnimation_Timer();
    void TimerButtonMinAnimation_Timer();
    void TimerButtonXAnimation_Timer();

    QWidget *ActiveControl() const { return focusWidget(); }
    bool AutoRedraw() const { return m_p.AutoRedraw; }
    void setAutoRedraw(bool value);
    qint32 BackColorCover() const { return m_p.BackColorCover; }
    void setBackColorCover(qint32 value);
    runtime::OleColor BackColor() const { return Surface::BackColor(); }
    void setBackColor(runtime::OleColor value);
    runtime::OleColor BackColorV1Begin() const { return m_p.BackColorV1Begin; }
    void setBackColorV1Begin(runtime::OleColor value);
    runtime::OleColor BackColorV1End() const { return m_p.BackColorV1End; }
    void setBackColorV1End(runtime::OleColor value);
    runtime::OleColor BackColorV2Begin() const { return m_p.BackColorV2Begin; }
    void setBackColorV2Begin(runtime::OleColor value);
    runtime::OleColor BackColorV2End() const { return m_p.BackColorV2End; }
    void setBackColorV2End(runtime::OleColor value);
    runtime::OleColor BorderColorDarkLight() const { return m_p.BorderColorDarkLight; }
    void setBorderColorDarkLight(runtime::OleColor value);
    runtime::OleColor BorderColorHighLight() const { return m_p.BorderColorHighLight; }
    void setBorderColorHighLight(runtime::OleColor value);
    int BorderNormal() const { return m_p.BorderNormal; }
    void setBorderNormal(int value);
    runtime::OleColor ButtonBackColor() const { return m_p.ButtonBackColor; }
    void setButtonBackColor(runtime::OleColor value);
    runtime::OleColor ButtonForeColor() const { return m_p.ButtonForeColor; }
    void setButtonForeColor(runtime::OleColor value);
    runtime::OleColor ButtonXBackColor() const { return m_p.ButtonXBackColor; }
    void setButtonXBackColor(runtime::OleColor value);
    runtime::OleColor ButtonXForeColor() const { return m_p.ButtonXForeColor; }
    void setButtonXForeColor(runtime::OleColor value);
    runtime::OleColor CaptionColorBack() const { return m_p.CaptionColorBack; }
    void setCaptionColorBack(runtime::OleColor value);
    runtime::OleColor CaptionColor() const { return m_p.CaptionColor; }
    void setCaptionColor(runtime::OleColor value);
    QString Caption() const { return m_p.Caption; }
    void setCaption(const QString &value);
    int CaptionPosX() const { return m_p.CaptionPosX; }
    void setCaptionPosX(int value);
    int CaptionPosY() const { return m_p.CaptionPosY; }
    void setCaptionPosY(int value);
    bool DashBack() const { return m_p.DashBack; }
    void setDashBack(bool value);
    runtime::StdFont Font() const { return Surface::Font(); }
    void setFont(const runtime::StdFont &value);
    runtime::OleColor ForeColor() const { return Surface::ForeColor(); }
    void setForeColor(runtime::OleColor value);
    bool HasDC() const { return true; }
    int IconStyle() const { return m_p.IconStyle; }
    void setIconStyle(int value);
    runtime::StdPicture PictureButton() const { return m_p.PictureButton; }
    void setPictureButton(const runtime::StdPicture &value);
    runtime::StdPicture Picture() const { return Surface::Picture(); }
    void setPicture(const runtime::StdPicture &value);
    int PicturePosMode() const { return m_p.PicturePosMode; }
    void setPicturePosMode(int value);
    int PicturePosX() const { return m_p.PicturePosX; }
    void setPicturePosX(int value);
    int PicturePosY() const { return m_p.PicturePosY; }
    void setPicturePosY(int value);
    bool ShowCloseEnabled() const { return m_p.ShowCloseEnabled; }
    void setShowCloseEnabled(bool value);
    bool ShowClose() const { return m_p.ShowClose; }
    void setShowClose(bool value);
    bool ShowHelpEnabled() const { return m_p.ShowHelpEnabled; }
    void setShowHelpEnabled(bool value);
    bool ShowHelp() const { return m_p.ShowHelp; }
    void setShowHelp(bool value);
    bool ShowMaximizedEnabled() const { return m_p.ShowMaximizedEnabled; }
    void setShowMaximizedEnabled(bool value);
    bool ShowMaximized() const { return m_p.ShowMaximized; }
    void setShowMaximized(bool value);
    bool ShowMinimizedEnabled() const { return m_p.ShowMinimizedEnabled; }
    void setShowMinimizedEnabled(bool value);
    bool ShowMinimized() const { return m_p.ShowMinimized; }
    void setShowMinimized(bool value);
    int Style() const { return m_p.Style; }
    void setStyle(int value);
    QString TooltipText() const { return m_p.TooltipText; }
    void setTooltipText(const QString &value);

    // What the face depends on now, and the face painted from it onto any device context.
    TitelBarLook look() const;
    void draw(gdi::Dc &dc) const;
    TitelBarButtonLook buttonLook(TitelBarButtonLook::Glyph glyph) const;

    // The constituents, for the host's tests and the colour window.
    AlphaImg::AlphaImgCtl *TBARHelp() const { return m_tbarHelp; }
    AlphaImg::AlphaImgCtl *TBAR_() const { return m_tbarMin; }
    AlphaImg::AlphaImgCtl *TBARMax() const { return m_tbarMax; }
    AlphaImg::AlphaImgCtl *TBARX() const { return m_tbarX; }
    AlphaImg::AlphaImgCtl *AlphaImgCtlMaximize() const { return m_imgMaximize; }
    AlphaImg::AlphaImgCtl *AlphaImgCtlRestore() const { return m_imgRestore; }
    runtime::Timer *Timer1() const { return m_timer1; }
    runtime::Timer *TimerButtonAnimation(AlphaImg::AlphaImgCtl *button) const;
    // 255 idle, 1 tracking (the bar holds the mouse and Timer1 polls the cursor).
    int HoverTracking() const { return m_hover; }

signals:
    void Click();
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void Resize();
    void HelpButtonClick();
    void ResizedParent();

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const runtime::PropertyBag &PropBag) override;
    void UserControl_WriteProperties(runtime::PropertyBag &PropBag) override;
    void UserControl_Resize() override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Spin {
        AlphaImg::AlphaImgCtl *button = nullptr;
        runtime::Timer *timer = nullptr;
        bool running = false;
        std::array<QPoint, 3> points{};
    };
    enum SpinIndex { SpinHelp, SpinMin, SpinMax, SpinX };

    void createConstituents();
    void connectButton(SpinIndex index);
    // One button's picture drawn from the scheme; while the window holds paints, once at the last
    // release.
    void paintButtonPicture(AlphaImg::AlphaImgCtl *button, TitelBarButtonLook::Glyph glyph);
    // A set stores the value and marks its key changed, then repaints the bar, rebuilds the button
    // pictures and repaints, or lays the buttons out anew.
    template <class T>
    void setAndRepaint(T &field, const T &value, const char *key);
    template <class T>
    void setAndRebuild(T &field, const T &value, const char *key);
    template <class T>
    void setAndLayout(T &field, const T &value, const char *key);

    // Painting (TitelBarPaint.cpp): the icon's place by PicturePosMode, kept in PicturePosX/Y.
    void placeIcon();

    // Button places (TitelBarButtons.cpp): the buttons where they are now, each with whether it is
    // to be shown.
    titelbar::ButtonRow buttonRow() const;

    // Buttons and the parent (TitelBarActions.cpp).
    void spinTick(SpinIndex index);
    void buttonEnter(SpinIndex index);
    void buttonLeave(SpinIndex index);
    void buttonDown();
    void buttonUp(SpinIndex index);
    void stopHoverTracking();
    void hoverTimerTick();
    bool IsCursorInside() const;
    // A system maximise becomes the work-area maximise; false when the window was unloaded
    // during one of its yields.
    bool followSystemMaximize();
    void focusParent();
    void setButtonPicture(AlphaImg::AlphaImgCtl &from);

    TitelBarProperties m_p;
    int m_buttonSide = 0; // pixels, of every caption button and its picture
    int m_glyphSide = 0;  // pixels, of the box a character glyph is fitted into
    AlphaImg::AlphaImgCtl *m_tbarHelp = nullptr;
    AlphaImg::AlphaImgCtl *m_tbarMin = nullptr;
    AlphaImg::AlphaImgCtl *m_tbarMax = nullptr;
    AlphaImg::AlphaImgCtl *m_tbarX = nullptr;
    AlphaImg::AlphaImgCtl *m_imgMaximize = nullptr;
    AlphaImg::AlphaImgCtl *m_imgRestore = nullptr;
    runtime::Timer *m_timer1 = nullptr;
    std::array<Spin, 4> m_spins{};

    // Saved bounds of the parent before the last maximise, in twips.
    qint32 m_savedTop = 0, m_savedLeft = 0, m_savedHeight = 0, m_savedWidth = 0;
    bool m_focus = false;
    int m_hover = 255;
    bool m_clickAfterDoubleClick = false;
    // Counts the repaints begun. A resize during one of a repaint's yields starts a repaint of its
    // own, which lays the bar out for the newer size; the older one must not go on after it.
    int m_repaints = 0;
};

#pragma once

#include "controls/dcButtonColors.h"
#include "controls/dcButtonLayout.h"
#include "controls/dcButtonPainter.h"
#include "runtime/UserControl.h"

#include <QPointer>

#include <functional>

class QAction;
class QMenu;

namespace os {
class MouseTracking;
}

// The skinned push button: a rounded gradient face with an optional picture and a caption, a
// two-state toggle in check-box mode, or the opener of an attached pop-up menu. Properties carry
// the design's names so that the colour engine can set them by name; painting goes through
// dcButtonPainter, so draw() also paints into any device context without a widget.
class dcButton : public runtime::UserControl {
    Q_OBJECT
    Q_PROPERTY(quint32 BackStartColor READ BackStartColor WRITE setBackStartColor)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int ButtonShape READ ButtonShape WRITE setButtonShape)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool CheckBoxMode READ CheckBoxMode WRITE setCheckBoxMode)
    Q_PROPERTY(runtime::StdFont Font READ Font WRITE setFont)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(bool FontItalic READ FontItalic WRITE setFontItalic)
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(float FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(bool FontStrikethru READ FontStrikethru WRITE setFontStrikethru)
    Q_PROPERTY(bool FontUnderline READ FontUnderline WRITE setFontUnderline)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(bool HandPointer READ HandPointer WRITE setHandPointer)
    Q_PROPERTY(QWidget *hwnd READ hwnd)
    Q_PROPERTY(quint32 MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(int PictureAlignment READ PictureAlignment WRITE setPictureAlignment)
    Q_PROPERTY(runtime::StdPicture PictureDown READ PictureDown WRITE setPictureDown)
    Q_PROPERTY(runtime::StdPicture PictureHot READ PictureHot WRITE setPictureHot)
    Q_PROPERTY(runtime::StdPicture PictureNormal READ PictureNormal WRITE setPictureNormal)
    Q_PROPERTY(int PictureOpacity READ PictureOpacity WRITE setPictureOpacity)
    Q_PROPERTY(int PictureSize READ PictureSize WRITE setPictureSize)
    Q_PROPERTY(int PictureSizeH READ PictureSizeH WRITE setPictureSizeH)
    Q_PROPERTY(int PictureSizeW READ PictureSizeW WRITE setPictureSizeW)
    Q_PROPERTY(int SpecialEffect READ SpecialEffect WRITE setSpecialEffect)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(bool Value READ Value WRITE setValue)

public:
    using OleColor = runtime::OleColor;
    using StdFont = runtime::StdFont;
    using StdPicture = runtime::StdPicture;

    dcButton(QWidget *container, const QString &name, int index = -1);
    ~dcButton() override;

    OleColor BackStartColor() const { return m_backStartColor; }
    void setBackStartColor(OleColor color);
    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    OleColor MaskColor() const { return m_maskColor; }
    void setMaskColor(OleColor color);
    int ButtonShape() const { return m_buttonShape; }
    void setButtonShape(int shape);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    bool CheckBoxMode() const { return m_checkBoxMode; }
    void setCheckBoxMode(bool on);
    void setEnabled(bool enabled) override;
    StdFont Font() const { return Surface::Font(); }
    void setFont(const StdFont &font);
    bool FontBold() const { return Font().Bold(); }
    void setFontBold(bool bold);
    bool FontItalic() const { return Font().Italic(); }
    void setFontItalic(bool italic);
    QString FontName() const { return Font().Name(); }
    void setFontName(const QString &name);
    float FontSize() const { return static_cast<float>(Font().Size()); }
    void setFontSize(float points);
    bool FontStrikethru() const { return Font().Strikethrough(); }
    void setFontStrikethru(bool strike);
    bool FontUnderline() const { return Font().Underline(); }
    void setFontUnderline(bool underline);
    bool HandPointer() const { return m_handPointer; }
    void setHandPointer(bool on);
    void setMouseIcon(const StdPicture &icon) override;
    void setMousePointer(int pointer) override;
    int PictureAlignment() const { return m_pictureAlignment; }
    void setPictureAlignment(int alignment);
    StdPicture PictureDown() const { return m_pictureDown; }
    void setPictureDown(const StdPicture &picture);
    StdPicture PictureHot() const { return m_pictureHot; }
    void setPictureHot(const StdPicture &picture);
    StdPicture PictureNormal() const { return m_pictureNormal; }
    void setPictureNormal(const StdPicture &picture);
    int PictureOpacity() const;
    void setPictureOpacity(int percent);
    int PictureSize() const { return m_pictureSize; }
    void setPictureSize(int size);
    int PictureSizeH() const { return m_pictureSizeH; }
    void setPictureSizeH(int pixels);
    int PictureSizeW() const { return m_pictureSizeW; }
    void setPictureSizeW(int pixels);
    int SpecialEffect() const { return m_specialEffect; }
    void setSpecialEffect(int effect);
    bool UseMaskColor() const { return m_useMaskColor; }
    void setUseMaskColor(bool on);
    bool Value() const { return m_value; }
    void setValue(bool value);

    // The methods.
    void About();
    void ColorScheme(bool NoRedraw = false);
    // False (the runtime's error 5, invalid argument) for an index outside 0..5; nothing changes.
    bool OverrideColor(int Index, OleColor Color, bool NoRedraw = false);
    // Attaches a pop-up menu shown instead of clicking, at Position 0-7 around the button; Flags
    // add TPM alignment bits (4 centre, 8 right, 16 vertical centre, 32 bottom). A null menu is
    // ignored.
    void SetPopupMenu(QMenu *Menu, int Position, int Flags = 0, QAction *DefaultMenu = nullptr);
    void UnsetPopupMenu();
    Q_INVOKABLE void Refresh();

    // The derived drawing colours and the state last painted.
    const dcButtonColors &colors() const { return m_colors; }
    int visualState() const { return m_state; }

    // Everything the face depends on now, and the face of a state painted into a device context
    // (state -1: the state last painted). What the widget shows is this drawing.
    dcButtonLook look() const;
    void draw(gdi::Dc &dc, int state = -1) const;

    // Host notifications the widget cannot learn by itself: the caption's access key, or Enter
    // and Esc when the host makes the button its default or cancel button (key code passed);
    // and a change of the container's ambient properties.
    void AccessKeyPress(int KeyAscii);
    void AmbientChanged(const QString &name);
    // The container's ambient DisplayAsDefault: the host marks its default button with it.
    void setDisplayAsDefault(bool isDefault);

signals:
    void Click();
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseEnter();
    void MouseLeave();
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const runtime::PropertyBag &PropBag) override;
    void UserControl_WriteProperties(runtime::PropertyBag &PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Show() override;
    void UserControl_Hide() override;

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Input state; all false at creation.
    struct Input {
        bool hasFocus = false;
        bool focusFrameAllowed = false;
        bool pressed = false;
        bool mouseDown = false;
        bool spaceHeld = false;
        bool hot = false;
        bool entered = false;
        int armed = 0; // dcButtonState::ArmedForClick, ArmedDoubleClick or the mouse button last pressed
        bool menuOpen = false;
        bool closedOverButton = false;
        bool isDefault = false;
    };
    struct Popup {
        QPointer<QMenu> menu;
        int position = 0;
        int flags = 0;
        QPointer<QAction> defaultItem;
        bool set = false;
    };

    // What a property set does after storing its value and before marking its key.
    enum class AfterStore { Repaint, RebuildColors, Refresh };
    template <class T>
    void store(T &field, const T &value, const char *key, AfterStore after);
    void setStatePicture(StdPicture &field, const StdPicture &picture, bool showing, const char *key);

    // Stored with the other keys, but held by the control window itself.
    struct WindowValues {
        bool enabled;
        StdFont font;
        StdPicture mouseIcon;
        int mousePointer;
    };
    WindowValues windowValues() const;
    void applyWindowValues(const WindowValues &window);
    // The stored keys in their order with their missing-key defaults, run by a
    // StoredProperties::Reader or Writer.
    template <class Io>
    void storedKeys(const Io &io, WindowValues &window, const runtime::AmbientProperties &ambient);

    // The repaint request: state -1 is the state last painted.
    void repaintState(int state, bool force);
    void rebuildColors();
    void applyAccessKey();
    void changeFont(const std::function<void(StdFont &)> &change);
    void markChanged(std::initializer_list<const char *> keys);
    void applyPictureSize(int size);
    QSize picturePixels(const StdPicture &picture) const;
    void updateWindowRegion();
    bool isRunTime() const;
    void startRunTimeServices();

    // Input handlers (dcButtonInput.cpp).
    void clickPath();
    void showPopupMenu();
    void onKeyDown(int keyCode, int shift);
    void onKeyUp(int keyCode, int shift);
    void onMouseDown(int button, int shift, float x, float y);
    void onMouseMove(int button, int shift, float x, float y, bool over);
    void onMouseUp(int button, int shift, float x, float y);
    void onDblClick();
    void onMouseLeaveMessage();
    void takeCapture();
    void releaseCapture();
    bool holdsCapture() const;
    bool pointerOverControl() const;
    void showHandCursor();

    // The button's own colours: a new button's, ColorScheme's and (but for the fore colour, which
    // is the host's) the missing keys'.
    static constexpr OleColor SchemeBackStartColor = 0x404040;
    static constexpr OleColor SchemeBackColor = 0x808080;
    static constexpr OleColor SchemeForeColor = 0xFFFFFF;
    static constexpr OleColor NewMaskColor = 0xC0C0C0;

    OleColor m_backStartColor = SchemeBackStartColor;
    OleColor m_backColor = SchemeBackColor;
    OleColor m_foreColor = SchemeForeColor;
    OleColor m_maskColor = NewMaskColor;
    QString m_caption;
    bool m_checkBoxMode = false;
    bool m_value = false;
    int m_specialEffect = 3;
    int m_buttonShape = 3;
    int m_pictureAlignment = 0;
    StdPicture m_pictureNormal;
    StdPicture m_pictureHot;
    StdPicture m_pictureDown;
    float m_pictureOpacity = 1.0f;
    int m_pictureSize = 0;
    int m_pictureSizeH = 0;
    int m_pictureSizeW = 0;
    bool m_useMaskColor = true;
    bool m_handPointer = false;
    int m_state = 0;
    dcButtonColors m_colors;
    bool m_layoutDirty = true;
    bool m_ready = false;
    bool m_hidden = false;
    bool m_repaintWhenShown = false;
    bool m_focusAtLastPaint = false;
    bool m_ambientDefault = false;
    QChar m_accessKey;
    int m_shortcutId = 0;
    dcButtonLayout::Placement m_placement;
    Input m_in;
    Popup m_popup;
    bool m_inMenuLoop = false;
    bool m_pressClosedMenu = false;
    os::MouseTracking *m_leaveTracking = nullptr; // child of this control
};

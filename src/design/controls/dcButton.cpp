#include "controls/dcButton.h"

#include "controls/StoredProperties.h"
#include "controls/dcButtonState.h"
#include "os/MouseTracking.h"
#include "os/WindowRegion.h"
#include "runtime/Screen.h"

#include <QKeySequence>
#include <QMenu>

namespace {

dcButtonPicture paintable(const runtime::StdPicture &picture)
{
    dcButtonPicture p;
    if (picture.isNothing())
        return p;
    if (picture.Type() == runtime::StdPicture::vbPicTypeIcon)
        p.icon = gdi::Icon(picture.image());
    else
        p.bitmap = gdi::Bitmap(picture.image().convertToFormat(QImage::Format_ARGB32));
    p.ownSize = QSize(picture.pixelWidth(), picture.pixelHeight());
    return p;
}

}

dcButton::dcButton(QWidget *container, const QString &name, int index)
    : runtime::UserControl(container, name, index)
{
    setAutoRedraw(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setPictureAlignment(dcButtonLayout::PictureLeft);
}

dcButton::~dcButton()
{
    releaseCapture();
}

bool dcButton::isRunTime() const { return Ambient().UserMode; }

// --- properties -------------------------------------------------------------------------------

void dcButton::markChanged(std::initializer_list<const char *> keys)
{
    for (const char *key : keys)
        PropertyChanged(QString::fromLatin1(key));
}

template <class T>
void dcButton::store(T &field, const T &value, const char *key, AfterStore after)
{
    setStored(field, value, key, [this, after] {
        switch (after) {
        case AfterStore::RebuildColors:
            rebuildColors();
            repaintState(-1, true);
            break;
        case AfterStore::Repaint:
            repaintState(-1, true);
            break;
        case AfterStore::Refresh:
            Refresh();
            break;
        }
    });
}

void dcButton::setBackStartColor(OleColor color) { store(m_backStartColor, color, "BackStartColor", AfterStore::RebuildColors); }
void dcButton::setBackColor(OleColor color) { store(m_backColor, color, "BackColor", AfterStore::RebuildColors); }
void dcButton::setForeColor(OleColor color) { store(m_foreColor, color, "ForeColor", AfterStore::RebuildColors); }

void dcButton::setMaskColor(OleColor color)
{
    m_maskColor = color;
    m_colors.MaskKeyColor = runtime::TranslateOrBlack(color);
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("MaskColor"));
}

void dcButton::setButtonShape(int shape) { store(m_buttonShape, shape, "ButtonShape", AfterStore::Refresh); }

void dcButton::setCaption(const QString &caption)
{
    m_caption = caption;
    applyAccessKey();
    Refresh();
    PropertyChanged(QStringLiteral("Caption"));
}

void dcButton::setCheckBoxMode(bool on)
{
    m_checkBoxMode = on;
    if (!on && m_value) {
        m_value = false;
        PropertyChanged(QStringLiteral("Value"));
    }
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("CheckBox"));
}

void dcButton::setEnabled(bool enabled)
{
    Control::setEnabled(enabled);
    repaintState(!enabled ? dcButtonState::Disabled : (m_in.hot ? dcButtonState::Hot : dcButtonState::Normal),
                 false);
    PropertyChanged(QStringLiteral("Enabled"));
}

void dcButton::setFont(const StdFont &font)
{
    Surface::setFont(font);
    Refresh();
    PropertyChanged(QStringLiteral("Font"));
}

// The font switches change the control's font without marking "Font".
void dcButton::changeFont(const std::function<void(StdFont &)> &change)
{
    StdFont font = Font();
    change(font);
    Surface::setFont(font);
    Refresh();
}

void dcButton::setFontBold(bool bold) { changeFont([bold](StdFont &f) { f.setBold(bold); }); }
void dcButton::setFontItalic(bool italic) { changeFont([italic](StdFont &f) { f.setItalic(italic); }); }
void dcButton::setFontName(const QString &name) { changeFont([&name](StdFont &f) { f.setName(name); }); }
void dcButton::setFontSize(float points) { changeFont([points](StdFont &f) { f.setSize(points); }); }
void dcButton::setFontStrikethru(bool strike) { changeFont([strike](StdFont &f) { f.setStrikethrough(strike); }); }
void dcButton::setFontUnderline(bool underline) { changeFont([underline](StdFont &f) { f.setUnderline(underline); }); }

void dcButton::setHandPointer(bool on)
{
    // The system hand cursor always exists here, so a run-time True stays True.
    m_handPointer = on;
    PropertyChanged(QStringLiteral("HandPointer"));
}

void dcButton::setMouseIcon(const StdPicture &icon)
{
    Control::setMouseIcon(icon);
    Control::setMousePointer(icon.isNothing() ? runtime::vbDefault : runtime::vbCustom);
    PropertyChanged(QStringLiteral("MouseIcon"));
}

void dcButton::setMousePointer(int pointer)
{
    if (pointer != runtime::vbCustom && m_handPointer)
        setHandPointer(false);
    Control::setMousePointer(pointer);
    PropertyChanged(QStringLiteral("MousePointer"));
}

void dcButton::setPictureAlignment(int alignment) { store(m_pictureAlignment, alignment, "PicAlign", AfterStore::Refresh); }

void dcButton::setPictureNormal(const StdPicture &picture)
{
    if (picture.isNothing()) {
        m_pictureDown = {};
        m_pictureHot = {};
        m_pictureOpacity = 0.0f;
    } else if (m_pictureOpacity == 0.0f) {
        m_pictureOpacity = 1.0f;
    }
    m_pictureNormal = picture;
    applyPictureSize(m_pictureSize);
    Refresh();
    markChanged({"PicNormal", "PicOpacity"});
}

void dcButton::setPictureHot(const StdPicture &picture) { setStatePicture(m_pictureHot, picture, m_in.hot, "PicHot"); }
void dcButton::setPictureDown(const StdPicture &picture) { setStatePicture(m_pictureDown, picture, m_in.pressed, "PicDown"); }

// The hot and the down picture: the first picture a button gets is its normal one, and a picture
// of another size than the normal one keeps the drawn size from following either.
void dcButton::setStatePicture(StdPicture &field, const StdPicture &picture, bool showing, const char *key)
{
    if (!picture.isNothing() && m_pictureNormal.isNothing()) {
        setPictureNormal(picture);
        return;
    }
    if (!picture.isNothing() && m_pictureSize == 0
        && (picture.Width() != m_pictureNormal.Width() || picture.Height() != m_pictureNormal.Height()))
        setPictureSize(5);
    field = picture;
    if (showing)
        repaintState(-1, true);
    PropertyChanged(QString::fromLatin1(key));
}

int dcButton::PictureOpacity() const { return dcButtonState::opacityPercent(m_pictureOpacity); }

void dcButton::setPictureOpacity(int percent)
{
    m_pictureOpacity = dcButtonState::opacityFraction(percent);
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("PicOpacity"));
}

QSize dcButton::picturePixels(const StdPicture &picture) const
{
    const double w = runtime::ScaleX(picture.Width(), runtime::vbHimetric, runtime::vbPixels);
    const double h = runtime::ScaleY(picture.Height(), runtime::vbHimetric, runtime::vbPixels);
    return {ColorMath::roundHalfEven(w), ColorMath::roundHalfEven(h)};
}

void dcButton::applyPictureSize(int size)
{
    if (m_pictureNormal.isNothing()) {
        m_pictureSize = m_pictureSizeH = m_pictureSizeW = 0;
        return;
    }
    m_pictureSize = size;
    if (size == 0) {
        const QSize own = picturePixels(m_pictureNormal);
        m_pictureSizeW = own.width();
        m_pictureSizeH = own.height();
    } else if (const int side = dcButtonState::standardPictureSide(size)) {
        m_pictureSizeW = m_pictureSizeH = side;
    }
}

void dcButton::setPictureSize(int size)
{
    applyPictureSize(size);
    Refresh();
    markChanged({"PicSize", "PicSizeH", "PicSizeW"});
}

void dcButton::setPictureSizeH(int pixels)
{
    m_pictureSize = 5;
    m_pictureSizeH = pixels;
    Refresh();
    markChanged({"PicSize", "PicSizeH"});
}

void dcButton::setPictureSizeW(int pixels)
{
    m_pictureSize = 5;
    m_pictureSizeW = pixels;
    Refresh();
    markChanged({"PicSize", "PicSizeW"});
}

void dcButton::setSpecialEffect(int effect) { store(m_specialEffect, effect, "Effects", AfterStore::Repaint); }
void dcButton::setUseMaskColor(bool on) { store(m_useMaskColor, on, "UseMask", AfterStore::Repaint); }

void dcButton::setValue(bool value)
{
    m_value = value;
    if (!value || m_checkBoxMode) {
        repaintState(-1, true);
    } else if (isRunTime()) {
        m_in.armed = dcButtonState::ArmedForClick;
        clickPath();
    } else {
        m_value = false;
    }
    PropertyChanged(QStringLiteral("Value"));
}

// --- methods ----------------------------------------------------------------------------------

// The shell is asked to open an empty file name, which opens nothing.
void dcButton::About() {}

void dcButton::ColorScheme(bool NoRedraw)
{
    m_backColor = SchemeBackColor;
    m_foreColor = SchemeForeColor;
    m_backStartColor = SchemeBackStartColor;
    rebuildColors();
    if (!NoRedraw)
        repaintState(-1, true);
}

bool dcButton::OverrideColor(int Index, OleColor Color, bool NoRedraw)
{
    if (!m_colors.override(Index, runtime::TranslateOrBlack(Color)))
        return false;
    if (!NoRedraw)
        repaintState(-1, true);
    return true;
}

void dcButton::SetPopupMenu(QMenu *Menu, int Position, int Flags, QAction *DefaultMenu)
{
    if (!Menu)
        return;
    m_popup.menu = Menu;
    m_popup.position = Position;
    m_popup.flags = Flags;
    m_popup.defaultItem = DefaultMenu;
    m_popup.set = true;
}

void dcButton::UnsetPopupMenu() { m_popup = Popup{}; }

void dcButton::Refresh()
{
    m_layoutDirty = true;
    repaintState(-1, true);
}

void dcButton::rebuildColors()
{
    using runtime::TranslateOrBlack;
    m_colors = dcButtonColors::derive(TranslateOrBlack(m_backColor), TranslateOrBlack(m_backStartColor),
                                      TranslateOrBlack(m_foreColor), TranslateOrBlack(m_maskColor));
}

void dcButton::applyAccessKey()
{
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    m_accessKey = dcButtonState::accessKey(m_caption);
    if (!m_accessKey.isNull())
        m_shortcutId = grabShortcut(QKeySequence(QStringLiteral("Alt+") + m_accessKey));
}

// --- stored design data -----------------------------------------------------------------------

void dcButton::UserControl_InitProperties()
{
    // A new button takes the missing-key defaults, but for its own colours (not the host's fore
    // colour) and the picture alignment it was made with.
    const int pictureAlignment = m_pictureAlignment;
    WindowValues window = windowValues();
    storedKeys(StoredProperties::Fresh{}, window, Ambient());
    m_pictureAlignment = pictureAlignment;
    applyWindowValues(window);
    ColorScheme(true);
    // Buttons made in code are placed afresh at run time, so they need the run-time services
    // that loading stored data would have started.
    if (isRunTime())
        startRunTimeServices();
    m_layoutDirty = true;
    m_ready = true;
    repaintState(-1, true);
}

template <class Io>
void dcButton::storedKeys(const Io &io, WindowValues &window, const runtime::AmbientProperties &ambient)
{
    const StdPicture none;
    io("BackColor", m_backColor, SchemeBackColor);
    io("BackStartColor", m_backStartColor, SchemeBackStartColor);
    io("ButtonShape", m_buttonShape, 3);
    io("Caption", m_caption, ambient.DisplayName);
    io("CheckBox", m_checkBoxMode, false);
    io("Effects", m_specialEffect, 3);
    io("Enabled", window.enabled, true);
    io("Font", window.font, ambient.Font);
    io("ForeColor", m_foreColor, ambient.ForeColor);
    io("HandPointer", m_handPointer, false);
    io("MaskColor", m_maskColor, NewMaskColor);
    io("MouseIcon", window.mouseIcon, none);
    io("MousePointer", window.mousePointer, int(runtime::vbDefault));
    io("PicAlign", m_pictureAlignment, 0);
    io("PicDown", m_pictureDown, none);
    io("PicHot", m_pictureHot, none);
    io("PicNormal", m_pictureNormal, none);
    io("PicOpacity", m_pictureOpacity, 1.0f);
    io("PicSize", m_pictureSize, 0);
    io("PicSizeH", m_pictureSizeH, 0);
    io("PicSizeW", m_pictureSizeW, 0);
    io("State", m_state, 0);
    io("UseMask", m_useMaskColor, true);
    io("Value", m_value, false);
}

dcButton::WindowValues dcButton::windowValues() const
{
    return {Enabled(), Font(), MouseIcon(), MousePointer()};
}

void dcButton::applyWindowValues(const WindowValues &window)
{
    Surface::setFont(window.font);
    Control::setMouseIcon(window.mouseIcon);
    Control::setMousePointer(window.mousePointer);
    applyAccessKey();
    Control::setEnabled(window.enabled);
}

void dcButton::UserControl_ReadProperties(const runtime::PropertyBag &bag)
{
    // Straight into the fields, without the side effects of the property sets.
    WindowValues window = windowValues();
    storedKeys(StoredProperties::Reader{bag}, window, Ambient());
    applyWindowValues(window);
    if (isRunTime())
        startRunTimeServices();
    rebuildColors();
    m_layoutDirty = true;
    repaintState(m_state, true);
    m_ready = true;
}

void dcButton::UserControl_WriteProperties(runtime::PropertyBag &bag)
{
    WindowValues window = windowValues();
    storedKeys(StoredProperties::Writer{bag}, window, Ambient());
}

void dcButton::startRunTimeServices()
{
    if (!m_leaveTracking) {
        m_leaveTracking = new os::MouseTracking(this);
        connect(m_leaveTracking, &os::MouseTracking::mouseLeave, this, &dcButton::onMouseLeaveMessage);
    }
}

// --- painting ---------------------------------------------------------------------------------

dcButtonLook dcButton::look() const
{
    dcButtonLook l;
    l.size = QSize(width(), height());
    l.colors = m_colors;
    l.caption = m_caption;
    l.font = Font().toQFont();
    l.checkBoxMode = m_checkBoxMode;
    l.value = m_value;
    l.enabled = Enabled();
    l.specialEffect = m_specialEffect;
    l.buttonShape = m_buttonShape;
    l.pictureAlignment = m_pictureAlignment;
    l.pictureSize = m_pictureSize;
    l.pictureDrawSize = QSize(m_pictureSizeW, m_pictureSizeH);
    l.useMaskColor = m_useMaskColor;
    l.pictureNormal = paintable(m_pictureNormal);
    l.pictureHot = paintable(m_pictureHot);
    l.pictureDown = paintable(m_pictureDown);
    l.focusFrameAllowed = m_in.focusFrameAllowed;
    l.hasFocus = m_in.hasFocus;
    l.isDefault = m_in.isDefault;
    return l;
}

void dcButton::draw(gdi::Dc &dc, int state) const
{
    const dcButtonLook l = look();
    const dcButtonLayout::Placement placement = m_layoutDirty ? dcButtonPainter::layOut(l) : m_placement;
    dcButtonPainter::paint(dc, l, placement, state < 0 ? m_state : state);
}

void dcButton::updateWindowRegion()
{
    os::SetWindowRgn(this, dcButtonPainter::windowRegion(size(), m_buttonShape), true);
}

void dcButton::repaintState(int state, bool force)
{
    if (m_hidden) {
        m_repaintWhenShown = true;
        return;
    }
    if (state < 0)
        state = m_state;
    if (!force && state == m_state && m_in.hasFocus == m_focusAtLastPaint)
        return;
    if (redrawAfterHold([this, state] { repaintState(state, true); }))
        return;
    if (m_layoutDirty) {
        updateWindowRegion();
        m_placement = dcButtonPainter::layOut(look());
        m_layoutDirty = false;
    }
    m_focusAtLastPaint = m_in.hasFocus;
    m_state = state;
    draw(*hdc(), state);
    update();
}

void dcButton::UserControl_Resize()
{
    const int w = static_cast<int>(ScaleWidth());
    const int h = static_cast<int>(ScaleHeight());
    if (w < dcButtonLayout::MinimumSide || h < dcButtonLayout::MinimumSide) {
        resize(std::max(w, dcButtonLayout::MinimumSide), std::max(h, dcButtonLayout::MinimumSide));
        return;
    }
    if (isRunTime() || m_ready) {
        m_layoutDirty = true;
        repaintState(-1, true);
    }
}

void dcButton::UserControl_Show()
{
    m_hidden = false;
    // A window recoloured while hidden (the colour window is) must not come back in old colours.
    if (m_repaintWhenShown) {
        m_repaintWhenShown = false;
        repaintState(-1, true);
    }
}

void dcButton::UserControl_Hide() { m_hidden = true; }

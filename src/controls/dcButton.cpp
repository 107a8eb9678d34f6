#include "controls/dcButton.h"

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
    setPictureAlignment(3);
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

void dcButton::setBackStartColor(OleColor color)
{
    m_backStartColor = color;
    rebuildColors();
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("BackStartColor"));
}

void dcButton::setBackColor(OleColor color)
{
    m_backColor = color;
    rebuildColors();
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("BackColor"));
}

void dcButton::setForeColor(OleColor color)
{
    m_foreColor = color;
    rebuildColors();
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("ForeColor"));
}

void dcButton::setMaskColor(OleColor color)
{
    m_maskColor = color;
    m_colors.MaskKeyColor = runtime::TranslateOrBlack(color);
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("MaskColor"));
}

void dcButton::setButtonShape(int shape)
{
    m_buttonShape = shape;
    Refresh();
    PropertyChanged(QStringLiteral("ButtonShape"));
}

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

void dcButton::setPictureAlignment(int alignment)
{
    m_pictureAlignment = alignment;
    Refresh();
    PropertyChanged(QStringLiteral("PicAlign"));
}

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

void dcButton::setPictureHot(const StdPicture &picture)
{
    if (!picture.isNothing() && m_pictureNormal.isNothing()) {
        setPictureNormal(picture);
        return;
    }
    if (!picture.isNothing() && m_pictureSize == 0
        && (picture.Width() != m_pictureNormal.Width() || picture.Height() != m_pictureNormal.Height()))
        setPictureSize(5);
    m_pictureHot = picture;
    if (m_in.hot)
        repaintState(-1, true);
    PropertyChanged(QStringLiteral("PicHot"));
}

void dcButton::setPictureDown(const StdPicture &picture)
{
    if (!picture.isNothing() && m_pictureNormal.isNothing()) {
        setPictureNormal(picture);
        return;
    }
    if (!picture.isNothing() && m_pictureSize == 0
        && (picture.Width() != m_pictureNormal.Width() || picture.Height() != m_pictureNormal.Height()))
        setPictureSize(5);
    m_pictureDown = picture;
    if (m_in.pressed)
        repaintState(-1, true);
    PropertyChanged(QStringLiteral("PicDown"));
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

void dcButton::setSpecialEffect(int effect)
{
    m_specialEffect = effect;
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("Effects"));
}

void dcButton::setUseMaskColor(bool on)
{
    m_useMaskColor = on;
    repaintState(-1, true);
    PropertyChanged(QStringLiteral("UseMask"));
}

void dcButton::setValue(bool value)
{
    m_value = value;
    if (!value || m_checkBoxMode) {
        repaintState(-1, true);
    } else if (isRunTime()) {
        m_in.armed = 1;
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
    m_backColor = 0x808080;
    m_foreColor = 0xFFFFFF;
    m_backStartColor = 0x404040;
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
    const runtime::AmbientProperties ambient = Ambient();
    m_caption = ambient.DisplayName;
    applyAccessKey();
    m_checkBoxMode = false;
    m_specialEffect = 3;
    Control::setEnabled(true);
    Surface::setFont(ambient.Font);
    m_maskColor = 0xC0C0C0;
    m_pictureNormal = m_pictureHot = m_pictureDown = {};
    m_pictureOpacity = 1.0f;
    m_pictureSize = 0;
    m_buttonShape = 3;
    m_backColor = 0x808080;
    m_foreColor = 0xFFFFFF;
    m_backStartColor = 0x404040;
    m_useMaskColor = true;
    m_value = false;
    ColorScheme(true);
    rebuildColors();
    // Buttons made in code are placed afresh at run time, so they need the run-time services
    // that loading stored data would have started.
    if (isRunTime())
        startRunTimeServices();
    m_layoutDirty = true;
    m_ready = true;
    repaintState(-1, true);
}

void dcButton::UserControl_ReadProperties(const runtime::PropertyBag &bag)
{
    const runtime::AmbientProperties ambient = Ambient();
    bool enabled = Enabled();
    bag.ReadInto<OleColor>(QStringLiteral("BackColor"), m_backColor, 0x808080);
    bag.ReadInto<OleColor>(QStringLiteral("BackStartColor"), m_backStartColor, 0x404040);
    bag.ReadInto(QStringLiteral("ButtonShape"), m_buttonShape, 3);
    bag.ReadInto(QStringLiteral("Caption"), m_caption, ambient.DisplayName);
    bag.ReadInto(QStringLiteral("CheckBox"), m_checkBoxMode, false);
    bag.ReadInto(QStringLiteral("Effects"), m_specialEffect, 3);
    bag.ReadInto(QStringLiteral("Enabled"), enabled, true);
    bag.ReadInto<OleColor>(QStringLiteral("ForeColor"), m_foreColor, ambient.ForeColor);
    bag.ReadInto(QStringLiteral("HandPointer"), m_handPointer, false);
    bag.ReadInto<OleColor>(QStringLiteral("MaskColor"), m_maskColor, 0xC0C0C0);
    bag.ReadInto(QStringLiteral("PicDown"), m_pictureDown, StdPicture());
    bag.ReadInto(QStringLiteral("PicHot"), m_pictureHot, StdPicture());
    bag.ReadInto(QStringLiteral("PicNormal"), m_pictureNormal, StdPicture());
    bag.ReadInto(QStringLiteral("PicOpacity"), m_pictureOpacity, 1.0f);
    bag.ReadInto(QStringLiteral("PicSize"), m_pictureSize, 0);
    bag.ReadInto(QStringLiteral("PicSizeH"), m_pictureSizeH, 0);
    bag.ReadInto(QStringLiteral("PicSizeW"), m_pictureSizeW, 0);
    bag.ReadInto(QStringLiteral("State"), m_state, 0);
    bag.ReadInto(QStringLiteral("UseMask"), m_useMaskColor, true);
    bag.ReadInto(QStringLiteral("Value"), m_value, false);
    bag.ReadInto(QStringLiteral("PicAlign"), m_pictureAlignment, 0);

    StdFont font = ambient.Font;
    if (bag.ReadInto(QStringLiteral("Font"), font, ambient.Font))
        Surface::setFont(font);
    StdPicture mouseIcon;
    if (bag.ReadInto(QStringLiteral("MouseIcon"), mouseIcon, StdPicture()))
        Control::setMouseIcon(mouseIcon);
    int mousePointer = runtime::vbDefault;
    if (bag.ReadInto(QStringLiteral("MousePointer"), mousePointer, int(runtime::vbDefault)))
        Control::setMousePointer(mousePointer);

    applyAccessKey();
    Control::setEnabled(enabled);
    if (isRunTime())
        startRunTimeServices();
    rebuildColors();
    m_layoutDirty = true;
    repaintState(m_state, true);
    m_ready = true;
}

void dcButton::UserControl_WriteProperties(runtime::PropertyBag &bag)
{
    const runtime::AmbientProperties ambient = Ambient();
    auto picture = [](const StdPicture &p) { return QVariant::fromValue(p); };
    bag.WriteProperty(QStringLiteral("BackColor"), m_backColor, OleColor(0x808080));
    bag.WriteProperty(QStringLiteral("BackStartColor"), m_backStartColor, OleColor(0x404040));
    bag.WriteProperty(QStringLiteral("ButtonShape"), m_buttonShape, 3);
    bag.WriteProperty(QStringLiteral("Caption"), m_caption, ambient.DisplayName);
    bag.WriteProperty(QStringLiteral("CheckBox"), m_checkBoxMode, false);
    bag.WriteProperty(QStringLiteral("Effects"), m_specialEffect, 3);
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(Font()), QVariant::fromValue(ambient.Font));
    bag.WriteProperty(QStringLiteral("ForeColor"), m_foreColor, ambient.ForeColor);
    bag.WriteProperty(QStringLiteral("HandPointer"), m_handPointer, false);
    bag.WriteProperty(QStringLiteral("MaskColor"), m_maskColor, OleColor(0xC0C0C0));
    bag.WriteProperty(QStringLiteral("MouseIcon"), picture(MouseIcon()), picture({}));
    bag.WriteProperty(QStringLiteral("MousePointer"), MousePointer(), int(runtime::vbDefault));
    bag.WriteProperty(QStringLiteral("PicAlign"), m_pictureAlignment, 0);
    bag.WriteProperty(QStringLiteral("PicDown"), picture(m_pictureDown), picture({}));
    bag.WriteProperty(QStringLiteral("PicHot"), picture(m_pictureHot), picture({}));
    bag.WriteProperty(QStringLiteral("PicNormal"), picture(m_pictureNormal), picture({}));
    bag.WriteProperty(QStringLiteral("PicOpacity"), m_pictureOpacity, 1.0f);
    bag.WriteProperty(QStringLiteral("PicSize"), m_pictureSize, 0);
    bag.WriteProperty(QStringLiteral("PicSizeH"), m_pictureSizeH, 0);
    bag.WriteProperty(QStringLiteral("PicSizeW"), m_pictureSizeW, 0);
    bag.WriteProperty(QStringLiteral("State"), m_state, 0);
    bag.WriteProperty(QStringLiteral("UseMask"), m_useMaskColor, true);
    bag.WriteProperty(QStringLiteral("Value"), m_value, false);
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

#include "controls/QuordanePB.h"

#include "controls/ColorMath.h"
#include "controls/QuordanePBLayout.h"
#include "controls/pcDibSection.h"
#include "platform/ModDPI.h"
#include "platform/clsGradient.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Screen.h"

#include <QPainter>

namespace {

runtime::StdFont designFont()
{
    return runtime::StdFont(QStringLiteral("Segoe UI"), 8.25);
}

// The bitmap a holder shows for a picture: a copy, so that recolouring it leaves the picture alone.
gdi::Bitmap holderSurface(const runtime::StdPicture &picture)
{
    if (!picture)
        return {};
    return gdi::Bitmap(picture.image().convertToFormat(QImage::Format_RGB32));
}

}

QuordanePB::QuordanePB(QWidget *container, const QString &name, int index) : runtime::UserControl(container, name, index)
{
    m_dpiFactor = ModDPI::ScaleForDpi(runtime::Screen::LogicalDpiX());
    setScaleMode(runtime::vbTwips);
    setAutoRedraw(true);
    Surface::setBackColor(0xE0E0E0);
    Surface::setFont(designFont());
    m_look.font = designFont().toQFont();
}

QuordanePB::~QuordanePB() = default;

template <class T>
void QuordanePB::setAndRepaint(T &field, const T &value, const char *key)
{
    field = value;
    DrawBar();
    PropertyChanged(QString::fromLatin1(key));
}

void QuordanePB::rebuildIfBlending()
{
    if (m_look.blendToParent && m_loaded)
        BuildBlendPictures();
}

void QuordanePB::setAppearance(int value) { setAndRepaint(m_look.appearance, value, "Appearance"); }

void QuordanePB::setBackColor(quint32 value)
{
    Surface::setBackColor(value);
    m_look.backColor = value;
    rebuildIfBlending();
    DrawBar();
    PropertyChanged(QStringLiteral("BackColor"));
}

void QuordanePB::setBackPictureMode(int value) { setAndRepaint(m_look.backPictureMode, value, "BackPictureMode"); }

void QuordanePB::setBarColor(quint32 value)
{
    m_look.barColor = value;
    rebuildIfBlending();
    DrawBar();
    PropertyChanged(QStringLiteral("BarColor"));
}

void QuordanePB::setBarForeColor(quint32 value) { setAndRepaint(m_look.barForeColor, value, "BarForeColor"); }
void QuordanePB::setBarPictureMode(int value) { setAndRepaint(m_look.barPictureMode, value, "BarPictureMode"); }

void QuordanePB::setBlendToParent(bool value)
{
    m_look.blendToParent = value;
    if (value && m_loaded)
        BuildBlendPictures();
    DrawBar();
    PropertyChanged(QStringLiteral("BlendToParent"));
}

void QuordanePB::setBorderStyle(int value) { setAndRepaint(m_look.borderStyle, value, "BorderStyle"); }

void QuordanePB::setFont(const runtime::StdFont &font)
{
    Surface::setFont(font);
    m_look.font = font.toQFont();
    DrawBar();
    PropertyChanged(QStringLiteral("Font"));
}

void QuordanePB::setForeColor(quint32 value) { setAndRepaint(m_look.foreColor, value, "ForeColor"); }
void QuordanePB::setMax(int value) { setAndRepaint(m_look.max, value, "Max"); }
void QuordanePB::setMin(int value) { setAndRepaint(m_look.min, value, "Min"); }
void QuordanePB::setSegments(bool value) { setAndRepaint(m_look.segments, value, "Segments"); }
void QuordanePB::setShowText(bool value) { setAndRepaint(m_look.showText, value, "ShowText"); }
void QuordanePB::setTextAlignX(int value) { setAndRepaint(m_look.textAlignX, value, "TextAlignX"); }
void QuordanePB::setTextAlignY(int value) { setAndRepaint(m_look.textAlignY, value, "TextAlignY"); }
void QuordanePB::setText(const QString &value) { setAndRepaint(m_look.text, value, "Text"); }
void QuordanePB::setValue(int value) { setAndRepaint(m_look.value, value, "Value"); }
void QuordanePB::setXpStyle(bool value) { setAndRepaint(m_look.xpStyle, value, "XpStyle"); }

double QuordanePB::Percent() const
{
    return 100.0 * QuordanePBLayout::fraction(m_look.value, m_look.min, m_look.max);
}

void QuordanePB::setControlPicture(runtime::StdPicture &field, gdi::Bitmap &holder, bool &hasPicture,
                                   const runtime::StdPicture &picture)
{
    field = picture;
    holder = holderSurface(picture);
    hasPicture = static_cast<bool>(picture);
    DrawBar();
    // Either picture marks both keys, as the design's shared setter does.
    PropertyChanged(QStringLiteral("Picture"));
    PropertyChanged(QStringLiteral("BarPicture"));
}

void QuordanePB::setPicture(const runtime::StdPicture &picture)
{
    setControlPicture(m_picture, m_holders.back, m_holders.hasBack, picture);
}

void QuordanePB::setBarPicture(const runtime::StdPicture &picture)
{
    setControlPicture(m_barPicture, m_holders.bar, m_holders.hasBar, picture);
}

void QuordanePB::modifyHolder(const runtime::StdPicture &picture, gdi::Bitmap &holder, bool hasPicture,
                              double luminance, double saturation)
{
    if (!hasPicture || holder.isNull())
        return;
    // Always from the assigned picture, so recolourings do not add up; the holder's surface takes
    // the result and the next paint shows it.
    pcDibSection dib;
    dib.CreateFromPicture(picture);
    dib.ModifyHLS(1.0, luminance, saturation);
    gdi::Dc surface = gdi::createCompatibleDc();
    surface.selectBitmap(holder);
    dib.PaintPicture(surface, 0, 0, -1, -1, 0, 0, gdi::SRCCOPY);
}

void QuordanePB::ModifyBarPicture(double fLuminance, double fSaturation)
{
    modifyHolder(m_barPicture, m_holders.bar, m_holders.hasBar, fLuminance, fSaturation);
}

void QuordanePB::ModifyPicture(double fLuminance, double fSaturation)
{
    modifyHolder(m_picture, m_holders.back, m_holders.hasBack, fLuminance, fSaturation);
}

runtime::OleColor QuordanePB::hostBackColor() const
{
    const QVariant color = runtime::getPropertyByName(Parent(), "BackColor");
    return color.isValid() ? color.toUInt() : runtime::OleColor(0x8000000F);
}

void QuordanePB::UserControl_ReadProperties(const runtime::PropertyBag &bag)
{
    // Each value goes through its own setter, so every one repaints and marks itself changed; none
    // rebuilds the blend pictures yet.
    const auto read = [&bag](const char *key, const QVariant &defaultValue) {
        return bag.ReadProperty(QString::fromLatin1(key), defaultValue);
    };
    const auto picture = [](const QVariant &v) { return v.value<runtime::StdPicture>(); };
    setPicture(picture(read("Picture", QVariant::fromValue(runtime::StdPicture()))));
    setBackColor(read("BackColor", 0x8000000Fu).toUInt());
    setForeColor(read("ForeColor", 0x80000008u).toUInt());
    setAppearance(read("Appearance", 1).toInt());
    setBorderStyle(read("BorderStyle", 1).toInt());
    setBarColor(read("BarColor", 0x800000u).toUInt());
    setBarForeColor(read("BarForeColor", 0xFFFFFFu).toUInt());
    setBarPicture(picture(read("BarPicture", QVariant::fromValue(runtime::StdPicture()))));
    setBarPictureMode(read("BarPictureMode", 1).toInt());
    setBackPictureMode(read("BackPictureMode", 1).toInt());
    setMin(read("Min", 0).toInt());
    setMax(read("Max", 100).toInt());
    setValue(read("Value", 0).toInt());
    setShowText(read("ShowText", false).toBool());
    setTextAlignX(read("TextAlignX", 1).toInt());
    setTextAlignY(read("TextAlignY", 1).toInt());
    setText(read("Text", QString()).toString());
    setFont(read("Font", QVariant::fromValue(Surface::Font())).value<runtime::StdFont>());
    setSegments(read("Segments", false).toBool());
    setXpStyle(read("XpStyle", false).toBool());
    setBlendToParent(read("BlendToParent", true).toBool());
    if (runtime::DoEventsStillLoaded(this))
        m_loaded = true;
}

void QuordanePB::UserControl_WriteProperties(runtime::PropertyBag &bag)
{
    const auto picture = [](const runtime::StdPicture &p) { return QVariant::fromValue(p); };
    // The two pictures and the font are stored even when empty or unchanged.
    bag.WriteProperty(QStringLiteral("Picture"), picture(Picture()));
    bag.WriteProperty(QStringLiteral("BackColor"), BackColor(), 0x8000000Fu);
    bag.WriteProperty(QStringLiteral("ForeColor"), ForeColor(), 0x80000008u);
    bag.WriteProperty(QStringLiteral("Appearance"), Appearance(), 1);
    bag.WriteProperty(QStringLiteral("BorderStyle"), BorderStyle(), 1);
    bag.WriteProperty(QStringLiteral("BarColor"), BarColor(), 0x800000u);
    bag.WriteProperty(QStringLiteral("BarForeColor"), BarForeColor(), 0xFFFFFFu);
    bag.WriteProperty(QStringLiteral("BarPicture"), picture(BarPicture()));
    bag.WriteProperty(QStringLiteral("BarPictureMode"), BarPictureMode(), 1);
    bag.WriteProperty(QStringLiteral("BackPictureMode"), BackPictureMode(), 1);
    bag.WriteProperty(QStringLiteral("Min"), Min(), 0);
    bag.WriteProperty(QStringLiteral("Max"), Max(), 100);
    bag.WriteProperty(QStringLiteral("Value"), Value(), 0);
    bag.WriteProperty(QStringLiteral("ShowText"), ShowText(), false);
    bag.WriteProperty(QStringLiteral("TextAlignX"), TextAlignX(), 1);
    bag.WriteProperty(QStringLiteral("TextAlignY"), TextAlignY(), 1);
    bag.WriteProperty(QStringLiteral("Text"), Text(), QString());
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(Font()));
    bag.WriteProperty(QStringLiteral("Segments"), Segments(), false);
    bag.WriteProperty(QStringLiteral("XpStyle"), XpStyle(), false);
    bag.WriteProperty(QStringLiteral("BlendToParent"), BlendToParent(), true);
}

void QuordanePB::UserControl_Resize()
{
    rebuildIfBlending();
    DrawBar();
}

void QuordanePB::UserControl_Show()
{
    DrawBar();
}

void QuordanePB::Refresh()
{
    DrawBar();
}

void QuordanePB::BuildBlendPictures()
{
    // Host colour at the top and the bottom, the control's colour at mid-height: two halves, each
    // a gradient from the control's colour at the middle to the host's at the outer edge.
    const int w = width();
    const int topHeight = ColorMath::roundHalfEven(height() / 2.0);
    // The lower half takes the odd row, so that no row of the picture is left undrawn.
    const int bottomHeight = height() - topHeight;
    m_holders.backBlend = {};
    m_holders.barBlend = {};
    if (!runtime::DoEventsStillLoaded(this))
        return;
    const auto build = [&](runtime::OleColor own) {
        QImage picture(w, height(), QImage::Format_RGB32);
        if (picture.isNull())
            return gdi::Bitmap();
        picture.fill(Qt::black);
        m_gradient.setColor1(own);
        m_gradient.setColor2(hostBackColor());
        const auto half = [&](float angle, int top, int rows) {
            QImage image(w, rows, QImage::Format_RGB32);
            if (image.isNull())
                return;
            image.fill(Qt::black);
            gdi::Dc dc(&image);
            m_gradient.setAngle(angle);
            m_gradient.DrawGradient(dc, w, rows);
            QPainter(&picture).drawImage(0, top, image);
        };
        half(90.0f, 0, topHeight);
        half(270.0f, topHeight, bottomHeight);
        return gdi::Bitmap(std::move(picture));
    };
    m_holders.backBlend = build(m_look.backColor);
    if (!runtime::DoEventsStillLoaded(this))
        return;
    m_holders.barBlend = build(m_look.barColor);
    runtime::DoEvents();
}

void QuordanePB::DrawBar()
{
    const int w = width();
    const int h = height();
    // Composed off-screen and copied in one go; without a buffer straight onto the surface.
    gdi::Dc *buffer = m_buffer.hdc(w, h);
    gdi::Dc *target = buffer ? buffer : hdc();
    emit PrePaint(target, 0, 0, w, h, true);
    QuordanePBPaint::Host host;
    host.backColor = hostBackColor();
    host.dpiFactor = m_dpiFactor;
    host.window = this;
    host.yield = [this] { return runtime::DoEventsStillLoaded(this); };
    QuordanePBPaint::paint(*target, w, h, m_look, m_holders, host);
    if (buffer)
        m_buffer.Draw(*hdc(), 0, 0, w, h, 0, 0);
    update();
}

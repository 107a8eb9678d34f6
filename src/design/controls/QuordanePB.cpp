#include "controls/QuordanePB.h"

#include "controls/ColorMath.h"
#include "controls/QuordanePBLayout.h"
#include "controls/StoredProperties.h"
#include "controls/pcDibSection.h"
#include "platform/ModDPI.h"
#include "platform/clsGradient.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Screen.h"

#include <QMetaMethod>
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
    setStored(field, value, key, [this] { DrawBar(); });
}

void QuordanePB::rebuildIfBlending()
{
    if (m_look.blendToParent && m_loaded)
        BuildBlendPictures();
}

void QuordanePB::setAppearance(int value) { setAndRepaint(m_look.appearance, value, "Appearance"); }

void QuordanePB::setBackColor(quint32 value)
{
    setStored(m_look.backColor, value, "BackColor", [this, value] {
        Surface::setBackColor(value);
        rebuildIfBlending();
        DrawBar();
    });
}

void QuordanePB::setBackPictureMode(int value) { setAndRepaint(m_look.backPictureMode, value, "BackPictureMode"); }

void QuordanePB::setBarColor(quint32 value)
{
    setStored(m_look.barColor, value, "BarColor", [this] {
        rebuildIfBlending();
        DrawBar();
    });
}

void QuordanePB::setBarForeColor(quint32 value) { setAndRepaint(m_look.barForeColor, value, "BarForeColor"); }
void QuordanePB::setBarPictureMode(int value) { setAndRepaint(m_look.barPictureMode, value, "BarPictureMode"); }

void QuordanePB::setBlendToParent(bool value)
{
    setStored(m_look.blendToParent, value, "BlendToParent", [this] {
        rebuildIfBlending();
        DrawBar();
    });
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
void QuordanePB::setValue(int value)
{
    setStored(m_look.value, value, "Value", [this] {
        if (!surfaceShowsCurrentValue())
            DrawBar();
    });
}
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
    ++m_holdersGeneration;
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
    ++m_holdersGeneration;
}

void QuordanePB::ModifyPicture(double fLuminance, double fSaturation)
{
    modifyHolder(m_picture, m_holders.back, m_holders.hasBack, fLuminance, fSaturation);
    ++m_holdersGeneration;
}

runtime::OleColor QuordanePB::hostBackColor() const
{
    const QVariant color = runtime::getPropertyByName(Parent(), "BackColor");
    return color.isValid() ? color.toUInt() : runtime::OleColor(0x8000000F);
}

template <class Io>
void QuordanePB::storedKeys(const Io &io)
{
    using Self = QuordanePB;
    // The two pictures and the font are stored even when empty or unchanged.
    using StoredProperties::WrittenAlways;
    io("Picture", &Self::Picture, &Self::setPicture, WrittenAlways<runtime::StdPicture>{});
    io("BackColor", &Self::BackColor, &Self::setBackColor, 0x8000000Fu);
    io("ForeColor", &Self::ForeColor, &Self::setForeColor, 0x80000008u);
    io("Appearance", &Self::Appearance, &Self::setAppearance, 1);
    io("BorderStyle", &Self::BorderStyle, &Self::setBorderStyle, 1);
    io("BarColor", &Self::BarColor, &Self::setBarColor, 0x800000u);
    io("BarForeColor", &Self::BarForeColor, &Self::setBarForeColor, 0xFFFFFFu);
    io("BarPicture", &Self::BarPicture, &Self::setBarPicture, WrittenAlways<runtime::StdPicture>{});
    io("BarPictureMode", &Self::BarPictureMode, &Self::setBarPictureMode, 1);
    io("BackPictureMode", &Self::BackPictureMode, &Self::setBackPictureMode, 1);
    io("Min", &Self::Min, &Self::setMin, 0);
    io("Max", &Self::Max, &Self::setMax, 100);
    io("Value", &Self::Value, &Self::setValue, 0);
    io("ShowText", &Self::ShowText, &Self::setShowText, false);
    io("TextAlignX", &Self::TextAlignX, &Self::setTextAlignX, 1);
    io("TextAlignY", &Self::TextAlignY, &Self::setTextAlignY, 1);
    io("Text", &Self::Text, &Self::setText, QString());
    io("Font", &Self::Font, &Self::setFont, WrittenAlways<runtime::StdFont>{Font()});
    io("Segments", &Self::Segments, &Self::setSegments, false);
    io("XpStyle", &Self::XpStyle, &Self::setXpStyle, false);
    io("BlendToParent", &Self::BlendToParent, &Self::setBlendToParent, true);
}

void QuordanePB::UserControl_ReadProperties(const runtime::PropertyBag &bag)
{
    // Each value goes through its own setter, so every one repaints and marks itself changed; none
    // rebuilds the blend pictures yet.
    storedKeys(StoredProperties::SetterReader<QuordanePB>{bag, *this});
    if (runtime::DoEventsStillLoaded(this))
        m_loaded = true;
}

void QuordanePB::UserControl_WriteProperties(runtime::PropertyBag &bag)
{
    storedKeys(StoredProperties::GetterWriter<QuordanePB>{bag, *this});
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
    ++m_holdersGeneration;
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
    ++m_holdersGeneration;
    if (!runtime::DoEventsStillLoaded(this))
        return;
    m_holders.barBlend = build(m_look.barColor);
    ++m_holdersGeneration;
    runtime::DoEvents();
}

QuordanePBPaint::Drawn QuordanePB::draw(gdi::Dc &dc)
{
    QuordanePBPaint::Host host;
    host.backColor = hostBackColor();
    host.dpiFactor = m_dpiFactor;
    host.window = this;
    host.yield = [this] { return runtime::DoEventsStillLoaded(this); };
    return QuordanePBPaint::paint(dc, width(), height(), m_look, m_holders, host);
}

QuordanePB::PaintInputs QuordanePB::paintInputs() const
{
    PaintInputs inputs{m_look, m_holdersGeneration, hostBackColor(), width(), height()};
    inputs.look.value = 0;
    return inputs;
}

bool QuordanePB::surfaceShowsCurrentValue() const
{
    // A PrePaint handler may draw or change the context every time, so a watched bar always paints.
    return m_lastPaint && !isSignalConnected(QMetaMethod::fromSignal(&QuordanePB::PrePaint))
        && m_lastPaint->inputs == paintInputs()
        && m_lastPaint->drawn.sameBar(QuordanePBLayout::fraction(m_look.value, m_look.min, m_look.max));
}

void QuordanePB::DrawBar()
{
    if (redrawAfterHold([this] { DrawBar(); }))
        return;
    const int w = width();
    const int h = height();
    const PaintInputs before = paintInputs();
    const bool watched = isSignalConnected(QMetaMethod::fromSignal(&QuordanePB::PrePaint));
    m_lastPaint.reset();
    // Composed off-screen and copied in one go; without a buffer straight onto the surface.
    gdi::Dc *buffer = m_buffer.hdc(w, h);
    gdi::Dc *target = buffer ? buffer : hdc();
    emit PrePaint(target, 0, 0, w, h, true);
    const QuordanePBPaint::Drawn drawn = draw(*target);
    if (buffer)
        m_buffer.Draw(*hdc(), 0, 0, w, h, 0, 0);
    update();
    // Only a paint that made every pixel from these inputs, none of them changed by a handler run
    // during its yield, can stand in for the next one.
    if (drawn.complete && drawn.coveredClient && !watched && paintInputs() == before)
        m_lastPaint = LastPaint{before, drawn};
}

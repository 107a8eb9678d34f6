#include "controls/AnimationBar.h"

#include "controls/StoredProperties.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Screen.h"
#include "runtime/Timer.h"

#include <limits>

namespace {

// Bars take a colour that cannot be translated as white.
gdi::ColorRef barRgb(runtime::OleColor color)
{
    gdi::ColorRef rgb = 0;
    return runtime::OleTranslateColor(color, 0, &rgb) == runtime::S_OK ? rgb : gdi::ColorRef(0xFFFFFF);
}

}

AnimationBar::AnimationBar(QWidget *container, const QString &name, int index)
    : runtime::UserControl(container, name, index)
{
    setScaleMode(runtime::vbPixels);
    setAutoRedraw(true);
    m_timer = new runtime::Timer(this, QStringLiteral("tmrAnimation"), 0, false);
    connect(m_timer, &runtime::Timer::Tick, this, &AnimationBar::onTick);
    // Parked from the start; the yield of a reset waits for the first EndDisplay or BeginDisplay.
    resetParts();
}

AnimationBar::~AnimationBar() = default;

std::optional<runtime::OleColor> AnimationBar::colorFromText(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return runtime::OleColor(quint64(value) & 0xFFFFFFFFu);
}

void AnimationBar::setTiming(int milliseconds)
{
    if (StoredProperties::fitsInt16(milliseconds))
        m_timing = qint16(milliseconds);
}

void AnimationBar::setIncrement(int twips)
{
    if (StoredProperties::fitsInt16(twips))
        m_increment = qint16(twips);
}

int AnimationBar::trackWidthTwips() const
{
    return runtime::Round(runtime::ToTwips(width(), runtime::Axis::Horizontal), runtime::Rounding::HalfEven);
}

int AnimationBar::heightTwips() const
{
    return runtime::Round(runtime::ToTwips(height(), runtime::Axis::Vertical), runtime::Rounding::HalfEven);
}

void AnimationBar::defaultColor(QString &text, const char *parentProperty) const
{
    if (!text.isEmpty())
        return;
    const QVariant value = runtime::getPropertyByName(Parent(), parentProperty);
    if (value.isValid())
        text = QString::number(value.toUInt());
}

void AnimationBar::resetParts()
{
    m_timer->setEnabled(false);
    m_running.reset();
    m_frame.heightTwips = heightTwips();
    m_motion.reset(trackWidthTwips());
    redraw();
}

bool AnimationBar::reset()
{
    resetParts();
    return runtime::DoEventsStillLoaded(this);
}

void AnimationBar::EndDisplay()
{
    reset();
}

void AnimationBar::ApplyBackGroundColor()
{
    defaultColor(m_backGroundColor, "BackColor");
    if (const auto color = colorFromText(m_backGroundColor)) {
        m_trackColor = *color;
        m_frame.track = runtime::TranslateOrBlack(m_trackColor);
    }
    redraw();
}

void AnimationBar::BeginDisplay()
{
    if (!reset())
        return;
    defaultColor(m_leftColor, "ForeColor");
    defaultColor(m_rightColor, "ForeColor");
    defaultColor(m_pulseColor, "ForeColor");
    defaultColor(m_backGroundColor, "BackColor");
    if (m_timing == 0)
        m_timing = 75;
    if (m_increment == 0)
        m_increment = 150;
    if (m_style == 0)
        m_style = AnimationBarMotion::OneBarRight;

    if (const auto color = colorFromText(m_leftColor))
        m_leftBarColor = *color;
    if (const auto color = colorFromText(m_rightColor))
        m_rightBarColor = *color;
    if (const auto color = colorFromText(m_backGroundColor))
        m_trackColor = *color;
    m_frame.track = runtime::TranslateOrBlack(m_trackColor);

    // The gradients run towards the track's colour of this moment and stay so until the next
    // BeginDisplay, whatever the track becomes meanwhile.
    const gdi::ColorRef track = barRgb(m_trackColor);
    const AnimationBarPaint::BarShade leftShade{track, barRgb(m_leftBarColor)};
    const AnimationBarPaint::BarShade rightShade{barRgb(m_rightBarColor), track};
    m_frame.bars = {leftShade, rightShade, leftShade, rightShade};

    switch (m_style) {
    case AnimationBarMotion::Pulse:
        if (const auto color = colorFromText(m_pulseColor))
            m_pulsePartColor = *color;
        m_frame.pulse = runtime::TranslateOrBlack(m_pulsePartColor);
        m_motion.startPulse();
        [[fallthrough]];
    case AnimationBarMotion::OneBarRight:
    case AnimationBarMotion::OneBarLeft:
    case AnimationBarMotion::BarsInTurn:
    case AnimationBarMotion::BarsCrossing:
        m_running = m_style;
        m_timer->setInterval(m_timing);
        m_timer->setEnabled(true);
        break;
    default:
        break;
    }
    redraw();
}

void AnimationBar::onTick()
{
    if (!m_running)
        return;
    const bool yield = m_motion.tick(*m_running, m_increment, m_colorBars, trackWidthTwips());
    redraw();
    if (yield)
        runtime::DoEvents();
}

void AnimationBar::UserControl_Resize()
{
    // The parts follow the new size at once; the travel limits wait for the next reset.
    m_frame.heightTwips = heightTwips();
    redraw();
    runtime::DoEvents();
}

void AnimationBar::UserControl_Show()
{
    redraw();
}

void AnimationBar::redraw()
{
    AnimationBarPaint::paint(*hdc(), m_motion, m_frame, runtime::TwipsPerPixel(runtime::Axis::Horizontal),
                             runtime::TwipsPerPixel(runtime::Axis::Vertical));
    update();
}

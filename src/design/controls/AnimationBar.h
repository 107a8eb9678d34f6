#pragma once

#include "controls/AnimationBarMotion.h"
#include "controls/AnimationBarPaint.h"
#include "runtime/UserControl.h"

#include <optional>

namespace runtime {
class Timer;
}

// An indeterminate progress indicator: bars or a pulse move across a track on a timer while the
// host does long work. The host sets Style, calls BeginDisplay before the work and EndDisplay
// after it. The property sets only store; BeginDisplay (or, for the track, ApplyBackGroundColor)
// applies them. The four colours are kept as the decimal text of a colour value; an empty one
// stands for the parent window's colour. No stored design data, no events.
class AnimationBar : public runtime::UserControl {
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int Timing READ Timing WRITE setTiming)
    Q_PROPERTY(int Increment READ Increment WRITE setIncrement)
    Q_PROPERTY(bool ColorBars READ ColorBars WRITE setColorBars)
    Q_PROPERTY(QString BackGroundColor READ BackGroundColor WRITE setBackGroundColor)
    Q_PROPERTY(QString LeftColorBarColor READ LeftColorBarColor WRITE setLeftColorBarColor)
    Q_PROPERTY(QString RightColorBarColor READ RightColorBarColor WRITE setRightColorBarColor)
    Q_PROPERTY(QString PulseColor READ PulseColor WRITE setPulseColor)
    Q_PROPERTY(bool HasDC READ HasDC)
    Q_PROPERTY(QWidget *hwnd READ hwnd)

public:
    AnimationBar(QWidget *container, const QString &name, int index = -1);
    ~AnimationBar() override;

    int Style() const { return m_style; }
    void setStyle(int style) { m_style = style; }
    int Timing() const { return m_timing; }
    // Timing and Increment are 16-bit; a value that does not fit is refused.
    void setTiming(int milliseconds);
    int Increment() const { return m_increment; }
    void setIncrement(int twips);
    bool ColorBars() const { return m_colorBars; }
    void setColorBars(bool second) { m_colorBars = second; }
    QString BackGroundColor() const { return m_backGroundColor; }
    void setBackGroundColor(const QString &color) { m_backGroundColor = color; }
    QString LeftColorBarColor() const { return m_leftColor; }
    void setLeftColorBarColor(const QString &color) { m_leftColor = color; }
    QString RightColorBarColor() const { return m_rightColor; }
    void setRightColorBarColor(const QString &color) { m_rightColor = color; }
    QString PulseColor() const { return m_pulseColor; }
    void setPulseColor(const QString &color) { m_pulseColor = color; }
    bool HasDC() const { return true; }

    Q_INVOKABLE void ApplyBackGroundColor();
    Q_INVOKABLE void BeginDisplay();
    Q_INVOKABLE void EndDisplay();

    // What is on screen now, for a reader that paints it elsewhere.
    const AnimationBarMotion &motion() const { return m_motion; }
    const AnimationBarPaint::Frame &frame() const { return m_frame; }
    // The style whose timer runs, if any.
    std::optional<int> runningStyle() const { return m_running; }

    // The decimal text of a colour value as a colour; empty for text that is not a number.
    static std::optional<runtime::OleColor> colorFromText(const QString &text);

protected:
    void UserControl_Resize() override;
    void UserControl_Show() override;

private:
    void resetParts();
    bool reset(); // false when the window was unloaded during its yield
    void onTick();
    void redraw();
    int trackWidthTwips() const;
    int heightTwips() const;
    // Fills an empty colour text from the parent window's property of that name.
    void defaultColor(QString &text, const char *parentProperty) const;

    int m_style = 0;
    qint16 m_timing = 0;
    qint16 m_increment = 0;
    bool m_colorBars = false;
    QString m_backGroundColor;
    QString m_leftColor;
    QString m_rightColor;
    QString m_pulseColor;

    AnimationBarMotion m_motion;
    AnimationBarPaint::Frame m_frame;
    // The colour each part was last given, before translation.
    runtime::OleColor m_trackColor = 0xE0E0E0;
    runtime::OleColor m_leftBarColor = 0x800000;
    runtime::OleColor m_rightBarColor = 0x800000;
    runtime::OleColor m_pulsePartColor = 0;
    runtime::Timer *m_timer = nullptr;
    std::optional<int> m_running;
};

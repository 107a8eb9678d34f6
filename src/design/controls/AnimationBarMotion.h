#pragma once

#include <array>

// Where the parts of the animation bar are, and how one tick moves them, apart from any window.
// Positions are twips relative to the track; the track starts at 0.
class AnimationBarMotion
{
public:
    enum Bar { Left1, Right1, Left2, Right2 };   // pLeft, pRight, pLeft2, pRight2
    // The animations the Style numbers choose; the busy bars of the windows all run BarsCrossing.
    enum Style { OneBarRight = 1, OneBarLeft = 2, BarsInTurn = 3, BarsCrossing = 4, Pulse = 5 };

    static constexpr int BarWidth = 750;
    static constexpr int ParkGap = 150;          // how far outside the track a parked bar waits
    static constexpr int PulseTop = -15;
    static constexpr int PulseHeight = 285;

    // Parks the bars outside a track of the given width, takes the travel limits from there,
    // hides the pulse and lets it grow next.
    void reset(int trackWidth);

    // Shows the pulse at width 0, as style 5 starts.
    void startPulse();

    // One timer tick of the given style; Increment and ColorBars are read at every tick. Returns
    // whether the message loop runs after the tick.
    bool tick(int style, int increment, bool colorBars, int trackWidth);

    int barLeft(Bar bar) const { return m_left[bar]; }
    bool pulseVisible() const { return m_pulseVisible; }
    double pulseLeft() const { return m_pulseLeft; }
    int pulseWidth() const { return m_pulseWidth; }
    bool pulseGrowing() const { return m_growing; }

    // Travel limits of the active pair: the start (left bar's parked place) and the end (right
    // bar's parked place).
    int start(bool colorBars) const { return colorBars ? m_start2 : m_start1; }
    int end(bool colorBars) const { return colorBars ? m_end2 : m_end1; }

private:
    void pulseTick(int increment, int trackWidth, bool &yield);

    std::array<int, 4> m_left{-BarWidth - ParkGap, ParkGap, -BarWidth - ParkGap, ParkGap};
    int m_start1 = 0;
    int m_end1 = 0;
    int m_start2 = 0;
    int m_end2 = 0;
    bool m_pulseVisible = false;
    double m_pulseLeft = 0;
    int m_pulseWidth = 0;
    bool m_growing = true;
};

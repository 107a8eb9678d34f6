#include "controls/AnimationBarMotion.h"

namespace {

// Moves a position by delta; a move that leaves the 32-bit range is skipped, as the design's
// failing statement is, so a bar driven by a negative increment stops instead of overflowing.
void move(int &position, int delta)
{
    int moved;
    if (!__builtin_add_overflow(position, delta, &moved))
        position = moved;
}

}

void AnimationBarMotion::reset(int trackWidth)
{
    m_growing = true;
    m_pulseVisible = false;
    m_left[Left1] = m_left[Left2] = -BarWidth - ParkGap;
    m_left[Right1] = m_left[Right2] = trackWidth + ParkGap;
    m_start1 = m_left[Left1];
    m_end1 = m_left[Right1];
    m_start2 = m_left[Left2];
    m_end2 = m_left[Right2];
}

void AnimationBarMotion::startPulse()
{
    m_pulseVisible = true;
    m_pulseWidth = 0;
}

bool AnimationBarMotion::tick(int style, int increment, bool colorBars, int trackWidth)
{
    int &l = m_left[colorBars ? Left2 : Left1];
    int &r = m_left[colorBars ? Right2 : Right1];
    const int s = start(colorBars);
    const int e = end(colorBars);
    bool yield = true;
    switch (style) {
    case OneBarRight:
        move(l, increment);
        if (l >= e)
            l = s;
        yield = false;
        break;
    case OneBarLeft:
        if (r <= s)
            r = e;
        else
            move(r, -increment);
        break;
    case BarsInTurn:
        if (l < e) {
            move(l, increment);
        } else if (r > s) {
            move(r, -increment);
        } else {
            l = s;
            r = e;
        }
        break;
    case BarsCrossing:
        if (l < e)
            move(l, increment);
        else
            l = s;
        if (r > s)
            move(r, -increment);
        else
            r = e;
        break;
    case Pulse:
        pulseTick(increment, trackWidth, yield);
        break;
    default:
        yield = false;
        break;
    }
    return yield;
}

void AnimationBarMotion::pulseTick(int increment, int trackWidth, bool &yield)
{
    if (!m_growing) {
        if (static_cast<long long>(m_pulseWidth) - increment < 0) {
            // The turn from shrinking to growing is a tick of its own, without a yield.
            m_growing = true;
            yield = false;
            return;
        }
        move(m_pulseWidth, -increment);
    } else {
        move(m_pulseWidth, increment);
    }
    m_pulseLeft = trackWidth / 2.0 - m_pulseWidth / 2.0;
    if (m_growing && m_pulseWidth > trackWidth)
        m_growing = false;
}

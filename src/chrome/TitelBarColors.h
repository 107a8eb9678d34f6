#pragma once

#include "controls/ColorMath.h"

#include <cstdint>

// Colour arithmetic of the title bar on colours already translated to RGB (0x00BBGGRR). Mixing
// and shading are the skinned controls' shared ColorMath::blend and ColorMath::shift.
namespace titelbar {

// The integer nearest to x, a half going to the even integer.
inline int nearest(double x)
{
    return ColorMath::roundHalfEven(x);
}

// A linear ramp of row colours: row 0 is `from`, row `steps` is `to`. The step per channel is a
// single-precision quotient, as the bar's painting has always computed it.
class Ramp
{
public:
    Ramp(std::uint32_t from, std::uint32_t to, int steps);
    std::uint32_t at(int row) const;

private:
    int m_red, m_green, m_blue;
    float m_dRed, m_dGreen, m_dBlue;
};

}

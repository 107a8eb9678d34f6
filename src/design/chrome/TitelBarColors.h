#pragma once

#include "controls/ColorMath.h"

#include <cstdint>

// Colour arithmetic of the title bar on colours already translated to RGB (0x00BBGGRR). Mixing is
// the skinned controls' shared ColorMath::blend.
namespace titelbar {

// The integer nearest to x, a half going to the even integer.
inline int nearest(double x)
{
    return ColorMath::roundHalfEven(x);
}

// Each channel + f * 255, to the nearest integer (halves to even), clamped to 0..255. The product
// is single precision, so f = -0.1 lowers a channel by exactly 25.5 and 75.5 becomes 76; in double
// precision it would be 25.50000038 and round every half down.
std::uint32_t ShadeColor(std::uint32_t color, float f);

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

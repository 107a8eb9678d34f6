#include "chrome/TitelBarColors.h"

namespace titelbar {

std::uint32_t ShadeColor(std::uint32_t color, float f)
{
    const float delta = f * 255.0f;
    const auto channel = [delta](int c) { return nearest(c + double(delta)); };
    return ColorMath::rgb(channel(ColorMath::red(color)), channel(ColorMath::green(color)),
                          channel(ColorMath::blue(color)));
}

Ramp::Ramp(std::uint32_t from, std::uint32_t to, int steps)
    : m_red(ColorMath::red(from))
    , m_green(ColorMath::green(from))
    , m_blue(ColorMath::blue(from))
{
    const float n = static_cast<float>(steps);
    m_dRed = static_cast<float>(m_red - ColorMath::red(to)) / n;
    m_dGreen = static_cast<float>(m_green - ColorMath::green(to)) / n;
    m_dBlue = static_cast<float>(m_blue - ColorMath::blue(to)) / n;
}

std::uint32_t Ramp::at(int row) const
{
    // ColorMath::rgb clamps, so a ramp driven past its end stays a colour.
    const auto channel = [row](int start, float step) { return nearest(start - double(step) * row); };
    return ColorMath::rgb(channel(m_red, m_dRed), channel(m_green, m_dGreen), channel(m_blue, m_dBlue));
}

}

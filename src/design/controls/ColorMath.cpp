#include "controls/ColorMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ColorMath {

int red(Color c) { return static_cast<int>(c & 255u); }
int green(Color c) { return static_cast<int>((c >> 8) & 255u); }
int blue(Color c) { return static_cast<int>((c >> 16) & 255u); }

Color rgb(int r, int g, int b)
{
    auto channel = [](int v) { return static_cast<Color>(std::clamp(v, 0, 255)); };
    return channel(r) | (channel(g) << 8) | (channel(b) << 16);
}

int roundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (v <= lo)
        return std::numeric_limits<int>::min();
    if (v >= hi)
        return std::numeric_limits<int>::max();
    double whole = std::floor(v);
    const double rest = v - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<int>(whole);
}

Color blend(Color c1, Color c2, float t)
{
    const double f = t;
    auto mix = [f](int a, int b) { return roundHalfEven(a + f * (b - a)); };
    return rgb(mix(red(c1), red(c2)), mix(green(c1), green(c2)), mix(blue(c1), blue(c2)));
}

Color shift(Color c, float amount)
{
    const double delta = static_cast<double>(amount) * 255.0;
    auto move = [delta](int a) { return roundHalfEven(a + delta); };
    return rgb(move(red(c)), move(green(c)), move(blue(c)));
}

}

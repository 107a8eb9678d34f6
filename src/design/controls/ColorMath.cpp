#include "controls/ColorMath.h"

#include "runtime/Screen.h"

#include <algorithm>

namespace ColorMath {

int red(Color c) { return static_cast<int>(c & 255u); }
int green(Color c) { return static_cast<int>((c >> 8) & 255u); }
int blue(Color c) { return static_cast<int>((c >> 16) & 255u); }

Color rgb(int r, int g, int b)
{
    auto channel = [](int v) { return static_cast<Color>(std::clamp(v, 0, 255)); };
    return channel(r) | (channel(g) << 8) | (channel(b) << 16);
}

int roundHalfEven(double v) { return runtime::Round(v, runtime::Rounding::HalfEven); }

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

#pragma once

#include <cstdint>

// Per-channel colour arithmetic shared by the skinned controls. Colours are 0x00BBGGRR values
// that are already translated to RGB (no system-colour bit).
namespace ColorMath {

using Color = std::uint32_t;

int red(Color c);
int green(Color c);
int blue(Color c);

// Joins three channels; each is clamped to 0..255 first.
Color rgb(int r, int g, int b);

// Nearest integer, halves to the even one; saturates at the int range, NaN gives 0.
int roundHalfEven(double v);

// c1 + t * (c2 - c1) per channel. t is single precision on purpose: the controls' fractions
// (0.8, 0.6, ...) are single-precision constants and their rounding shows in the results.
Color blend(Color c1, Color c2, float t);

// c + amount * 255 per channel, clamped to 0..255.
Color shift(Color c, float amount);

}

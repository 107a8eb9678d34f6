#pragma once

namespace ModDPI {

// The program-wide scale factor of the screen; 0 until InitDPIScale runs (the main window's load
// runs it first thing). Every window multiplies its pixel sizes by it.
inline float DPIScale = 0.0f;

// The factor for a screen of that many logical pixels per inch: 1.0 up to 96 (and for 0 or a
// failed read), 1.25 up to 120, 1.5 up to 144, 2.0 up to 192, 2.25 up to 216, 2.5 up to 240,
// 3.0 above.
float ScaleForDpi(int dpi);

// Sets DPIScale from the screen's logical pixels per inch along its width.
void InitDPIScale();

} // namespace ModDPI

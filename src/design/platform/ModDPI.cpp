#include "platform/ModDPI.h"

#include "os/SystemParameters.h"

namespace ModDPI {

float ScaleForDpi(int dpi)
{
    if (dpi <= 96)
        return 1.0f;
    if (dpi <= 120)
        return 1.25f;
    if (dpi <= 144)
        return 1.5f;
    if (dpi <= 192)
        return 2.0f;
    if (dpi <= 216)
        return 2.25f;
    if (dpi <= 240)
        return 2.5f;
    return 3.0f;
}

void InitDPIScale() { DPIScale = ScaleForDpi(os::GetScreenLogPixelsX()); }

} // namespace ModDPI

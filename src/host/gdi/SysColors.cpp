#include "gdi/SysColors.h"

#include <array>

namespace gdi {

ColorRef getSysColor(int index)
{
    // The default colours of a fresh installation, by index; 25 has no colour of its own.
    static constexpr std::array<ColorRef, 31> scheme = {
        rgb(200, 200, 200), rgb(0, 0, 0),       rgb(153, 180, 209), rgb(191, 205, 219),
        rgb(240, 240, 240), rgb(255, 255, 255), rgb(100, 100, 100), rgb(0, 0, 0),
        rgb(0, 0, 0),       rgb(0, 0, 0),       rgb(180, 180, 180), rgb(244, 247, 252),
        rgb(171, 171, 171), rgb(0, 120, 215),   rgb(255, 255, 255), rgb(240, 240, 240),
        rgb(160, 160, 160), rgb(109, 109, 109), rgb(0, 0, 0),       rgb(0, 0, 0),
        rgb(255, 255, 255), rgb(105, 105, 105), rgb(227, 227, 227), rgb(0, 0, 0),
        rgb(255, 255, 225), rgb(0, 0, 0),       rgb(0, 102, 204),   rgb(185, 209, 234),
        rgb(215, 228, 242), rgb(0, 120, 215),   rgb(240, 240, 240),
    };
    if (index < 0 || index >= int(scheme.size()))
        return 0;
    return scheme[size_t(index)];
}

} // namespace gdi

#include "platform/ModSkin.h"

#include "os/LayeredWindow.h"

namespace ModSkin {

void SetTransparentColor(QWidget *window, quint32 color)
{
    os::SetWindowExStyle(window, os::GetWindowExStyle(window) | os::WS_EX_LAYERED);
    os::SetLayeredWindowAttributes(window, color, 0, os::LWA_COLORKEY);
}

} // namespace ModSkin

#include "platform/Mod32Icon.h"

#include "os/IconResource.h"
#include "os/SystemParameters.h"
#include "platform/ModLoadIconFromRes.h"

namespace Mod32Icon {

void SetIcon(QWidget *window, const QString &resourceName, bool setToOwner)
{
    if (!window)
        return;
    ModLoadIconFromRes::EnsureResources();
    QWidget *topmost = window;
    if (setToOwner) {
        while (QWidget *owner = os::GetOwner(topmost))
            topmost = owner;
    }
    const struct {
        int type;
        int cx;
        int cy;
    } sizes[] = {{os::ICON_BIG, os::SM_CXICON, os::SM_CYICON}, {os::ICON_SMALL, os::SM_CXSMICON, os::SM_CYSMICON}};
    for (const auto &size : sizes) {
        const gdi::Icon icon =
            os::LoadIconImage(resourceName, os::GetSystemMetrics(size.cx), os::GetSystemMetrics(size.cy), os::LR_DEFAULTCOLOR);
        if (icon.isNull())
            continue;
        if (setToOwner)
            os::SendSetIcon(topmost, size.type, icon);
        os::SendSetIcon(window, size.type, icon);
    }
}

}

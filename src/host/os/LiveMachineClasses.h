#pragma once

// The device setup classes as Windows assigns them: GUID, class name, the display name of the
// class key, and where its icon lies (a resource number of setupapi.dll, an IconPath, or the
// library named by EnumPropPages32). The stand-in libraries of the system folder carry these icons.

#include <QString>

#include <vector>

namespace os {

struct DeviceClass
{
    const char *name;        // the key's "Class" value, e.g. "Net"
    const char *guid;        // lower case in braces, as the registry key is named
    const char *description; // the key's default value, e.g. "Network adapters"
    int icon;                // the "Icon" value (a negative resource number), 0 for none
    const char *iconPath;    // "IconPath" (a REG_MULTI_SZ of "file,-n"), or null
    const char *propPages;   // "EnumPropPages32" ("library.dll,Entry"), or null
};

const std::vector<DeviceClass> &deviceClasses();
// By class name, without regard to letter case; the "Unknown" class (Other devices) when none.
const DeviceClass &deviceClass(const QString &name);

} // namespace os

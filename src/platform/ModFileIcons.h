#pragma once

#include <QString>

#include <cstdint>

// Class icons for the device lists: the icon a device class names (a file and an icon index)
// goes into the shared icon collection under a numeric key.
namespace ModFileIcons {

// A path ending in "dll" (any letter case) is loaded as a library and the icon with resource
// number |index| is taken from it; any other file is read with ExtractIconEx at the index, with
// the same index of the system folder's setupapi.dll as the fall-back. A file or index that names
// no icon leaves the key without one.
void AddFileIcon(std::int32_t key, const QString &path, std::int32_t index);

} // namespace ModFileIcons

#pragma once

#include <QString>

#include <cstdint>

// Class icons for the device lists: the icon a device class names (a file and an icon index)
// goes into the shared icon collection under a numeric key.
namespace ModFileIcons {

// A path ending in "dll" (any letter case) is loaded as a library and the icon with resource
// number |index| is taken from it; any other file is read with ExtractIconEx at the index, with
// the same index of the system folder's setupapi.dll as the fall-back. A file or index that names
// no icon leaves the key without one. Each file and index is read once: what it gave (an icon
// or none) is kept until ForgetReadIcons, so a scan of many devices of one class reads its icon
// file once.
void AddFileIcon(std::int32_t key, const QString &path, std::int32_t index);

// Lets go of the icons read so far; the next AddFileIcon of a file reads it again. The scan calls
// it when it clears the shared icon collection, so a file changed between scans is read anew.
void ForgetReadIcons();

} // namespace ModFileIcons

#pragma once

#include <QString>

#include <cstdint>

// What the registry knows of a device and its class: the reads the device scans make beside the
// management service. Each read lets the message loop run after every registry read.
namespace ModInformation {

// The file that holds the class icon, and its index (a resource reference: negative, or 0).
// An empty class GUID gives empty text and leaves the index as it was.
QString GetClassIconSource(const QString &classGuid, std::int32_t &iconIndex);
// The device's hardware IDs, each followed by "|" when they are a list; the device ID itself when
// the registry lists none; "Unknown" for an empty device ID.
QString GetHardwareIDs(const QString &deviceId);
// The version of the device's driver; "Unknown" when it has none; empty for an empty device ID.
QString GetDriverVersion(const QString &deviceId);
// The class key's display name, else its class name, else "Unknown (" guid ")".
QString GetDeviceClassName(const QString &classGuid);

} // namespace ModInformation

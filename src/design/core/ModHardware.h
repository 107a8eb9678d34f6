#pragma once

#include <QString>

class SuiteListView;
namespace runtime {
class Label;
}

// The inventory: one pass over the machine's Plug-and-Play devices as the management service
// reports them, each device row added to the all-hardware list and, by the list rules, to the
// lists of devices with problems, without drivers, and not made by "(Standard system devices)".
namespace ModHardware {

inline const QString DefaultClassGuid = QStringLiteral("{4D36E97E-E325-11CE-BFC1-08002BE10318}");

// The columns of a device row: the name is the row's text, the others its sub-items in this
// order (the hardware IDs joined with "|").
enum DeviceColumn {
    NameColumn,
    ManufacturerColumn,
    ErrorCodeColumn,
    ClassColumn,
    DriverVersionColumn,
    HardwareIdsColumn,
    DeviceColumnCount
};

// Adds rows only (the caller clears, sorts, sizes and shows the lists). Lets the message loop run
// after nearly every step; stops when ClosingProgram is set, and when a list it writes to has been
// unloaded meanwhile it leaves that list alone.
void GetHardware(SuiteListView *ListViewHardware, SuiteListView *ListViewNoDrivers, SuiteListView *ListViewProblems,
                 SuiteListView *ListViewNoSystemDevices, runtime::Label *LabelStatus);

// The list rules, on the working values of one device (name, manufacturer and class GUID after
// the "Unknown" and default replacements, not trimmed).
bool IsSkippedDeviceId(const QString &deviceId);
bool BelongsToProblems(std::int32_t errorCode, const QString &classGuid);
bool BelongsToNoDrivers(const QString &name, std::int32_t errorCode, const QString &classGuid);
bool BelongsToNoSystemDevices(const QString &manufacturer);


} // namespace ModHardware

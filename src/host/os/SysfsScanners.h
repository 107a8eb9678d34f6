#pragma once

// The live source's scanners, one per bus, each turning what sysfs shows into devices as Windows
// would list them: a Windows-form device ID, hardware and compatible IDs in Windows' order, the
// name and maker, the setup class and whether a driver is bound.

#include "os/SysfsContext.h"
#include "os/Wmi.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace os {

struct LiveDevice
{
    QString deviceId;
    QStringList hardwareIds;
    QStringList compatibleIds;
    QString name;
    std::optional<QString> manufacturer; // none for a device without a driver
    QString className;                   // a name of deviceClasses()
    std::uint32_t errorCode = 0;         // CM_PROB_FAILED_INSTALL for a device without its driver
    QString driverModule;                // the bound kernel module, for the driver version

    // A device that should have a driver and has none: named by its kind as Windows names it,
    // of class "Unknown", with no maker.
    void setWithoutDriver(const QString &genericName)
    {
        name = genericName;
        className = QStringLiteral("Unknown");
        errorCode = CM_PROB_FAILED_INSTALL;
    }
};

std::vector<LiveDevice> scanPci(const SysfsContext &context);
std::vector<LiveDevice> scanUsb(const SysfsContext &context);
std::vector<LiveDevice> scanHid(const SysfsContext &context);
std::vector<LiveDevice> scanFirmware(const SysfsContext &context); // ACPI, PNP and platform devices
std::vector<LiveDevice> scanVirtio(const SysfsContext &context);   // virtio devices not on PCI
std::vector<LiveDevice> scanProcessors(const SysfsContext &context);
std::vector<LiveDevice> scanDisks(const SysfsContext &context);
std::vector<LiveDevice> scanMonitors(const SysfsContext &context);

} // namespace os

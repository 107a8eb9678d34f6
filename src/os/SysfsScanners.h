#pragma once

// The live source's scanners, one per bus, each turning what sysfs shows into devices as Windows
// would list them: a Windows-form device ID, hardware and compatible IDs in Windows' order, the
// name and maker, the setup class and whether a driver is bound.

#include "os/LiveMachine.h"
#include "os/SysfsIds.h"

#include <QStringList>

#include <memory>
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
    std::uint32_t errorCode = 0;         // 28 when the device should have a driver and has none
    QString driverModule;                // the bound kernel module, for the driver version
};

// Reading helpers over the configured roots. Every read may fail (a missing or unreadable
// attribute gives an empty result) and never throws.
class SysfsContext
{
public:
    explicit SysfsContext(LiveMachineRoots roots);

    QString sysPath(const QString &relative) const;
    QString procPath(const QString &relative) const;
    // The attribute's text without trailing blanks; at most 64 KiB are read.
    static QString attribute(const QString &path);
    static QByteArray binaryAttribute(const QString &path, qint64 maxBytes = 65536);
    // Hexadecimal attribute ("0x8086" or "8086"), -1 when it cannot be read.
    static long hexAttribute(const QString &path);
    static QStringList entries(const QString &folder);
    static QString linkTarget(const QString &path); // canonical target, empty when not a link
    // The device's place in the device tree, relative to the sysfs root ("devices/pci0000:00/...").
    QString devicePath(const QString &folder) const;
    // The driver bound to the device folder and the kernel module behind it (empty if none).
    static QString boundDriver(const QString &deviceFolder);
    static QString driverModule(const QString &deviceFolder);

    const SysfsIds &pciIds() const;
    const SysfsIds &usbIds() const;

    // The "<n>&<hash>&0" part of an instance ID: stable for the same parent.
    static QString instancePrefix(int level, const QString &parent);

private:
    LiveMachineRoots m_roots;
    mutable std::unique_ptr<SysfsIds> m_pciIds;
    mutable std::unique_ptr<SysfsIds> m_usbIds;
};

std::vector<LiveDevice> scanPci(const SysfsContext &context);
std::vector<LiveDevice> scanUsb(const SysfsContext &context);
std::vector<LiveDevice> scanHid(const SysfsContext &context);
std::vector<LiveDevice> scanFirmware(const SysfsContext &context); // ACPI, PNP and platform devices
std::vector<LiveDevice> scanVirtio(const SysfsContext &context);   // virtio devices not on PCI
std::vector<LiveDevice> scanProcessors(const SysfsContext &context);
std::vector<LiveDevice> scanDisks(const SysfsContext &context);
std::vector<LiveDevice> scanMonitors(const SysfsContext &context);

QString hex4(unsigned value); // four upper-case hex digits
QString hex2(unsigned value);

} // namespace os

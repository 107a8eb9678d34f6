#pragma once

#include "os/LiveMachine.h"
#include "os/SysfsIds.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace os {

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

QString hex4(unsigned value); // four upper-case hex digits
QString hex2(unsigned value);

} // namespace os

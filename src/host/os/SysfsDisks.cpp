#include "os/SysfsScanners.h"

#include <QFileInfo>

namespace os {

namespace {

// Windows pads the inquiry fields of a disk's IDs with "_" to their fixed widths.
QString padded(QString text, int width)
{
    text = text.left(width);
    text.replace(QLatin1Char(' '), QLatin1Char('_'));
    return text + QString(width - text.size(), QLatin1Char('_'));
}

} // namespace

std::vector<LiveDevice> scanDisks(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    const QString block = context.sysPath(QStringLiteral("class/block"));
    for (const QString &name : SysfsContext::entries(block)) {
        const QString folder = block + QLatin1Char('/') + name;
        // Partitions and virtual block devices (loop, ram, dm, md, zram) have no own device.
        if (QFileInfo::exists(folder + QStringLiteral("/partition")) || !QFileInfo::exists(folder + QStringLiteral("/device")))
            continue;
        const QString device = folder + QStringLiteral("/device");
        QString vendor = SysfsContext::attribute(device + QStringLiteral("/vendor")).trimmed();
        QString model = SysfsContext::attribute(device + QStringLiteral("/model")).trimmed();
        QString rev = SysfsContext::attribute(device + QStringLiteral("/rev")).trimmed();
        if (rev.isEmpty())
            rev = SysfsContext::attribute(device + QStringLiteral("/firmware_rev")).trimmed();
        const QString tree = context.devicePath(device);
        bool ata = vendor == QLatin1String("ATA");
        if (name.startsWith(QLatin1String("nvme"))) {
            vendor = QStringLiteral("NVMe");
        } else if (name.startsWith(QLatin1String("vd")) || tree.contains(QLatin1String("/virtio"))) {
            vendor = QStringLiteral("Red Hat");
            model = QStringLiteral("VirtIO");
            rev = QStringLiteral("0001");
        } else if (name.startsWith(QLatin1String("sr"))) {
            continue; // optical drives are not disks
        }
        if (model.isEmpty())
            model = QStringLiteral("Disk");
        const QString v = padded(vendor, 8);
        const QString p = padded(model, 16);
        const QString r = padded(rev, 4);

        LiveDevice entry;
        entry.hardwareIds = {QStringLiteral("SCSI\\Disk") + v + p + r, QStringLiteral("SCSI\\Disk") + v + p,
                             QStringLiteral("SCSI\\Disk") + v, QStringLiteral("SCSI\\") + v + p + r.left(1),
                             v + p + r.left(1), QStringLiteral("GenDisk")};
        entry.compatibleIds = {QStringLiteral("SCSI\\Disk"), QStringLiteral("SCSI\\RAW")};
        entry.deviceId = QStringLiteral("SCSI\\DISK&VEN_") + QString(vendor).replace(QLatin1Char(' '), QLatin1Char('_')).toUpper()
                         + QStringLiteral("&PROD_") + QString(model).replace(QLatin1Char(' '), QLatin1Char('_')).toUpper()
                         + QLatin1Char('\\') + SysfsContext::instancePrefix(4, QFileInfo(tree).path())
                         + QStringLiteral("&000000");
        if (ata || vendor == QLatin1String("NVMe"))
            entry.name = model;
        else
            entry.name = vendor + QLatin1Char(' ') + model + QStringLiteral(" SCSI Disk Device");
        entry.manufacturer = QStringLiteral("(Standard disk drives)");
        entry.className = QStringLiteral("DiskDrive");
        entry.driverModule = SysfsContext::driverModule(device);
        devices.push_back(std::move(entry));
    }
    return devices;
}

} // namespace os

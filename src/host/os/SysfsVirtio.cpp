#include "os/SysfsScanners.h"

#include <QFileInfo>

namespace os {

namespace {

struct VirtioKind
{
    unsigned id;
    const char *name;
    const char *setupClass;
};

const VirtioKind kVirtioKinds[] = {
    {1, "VirtIO Ethernet Adapter", "Net"},       {2, "VirtIO Block Device", "SCSIAdapter"},
    {3, "VirtIO Serial Driver", "System"},       {4, "VirtIO RNG Device", "System"},
    {5, "VirtIO Balloon Driver", "System"},      {8, "VirtIO SCSI pass-through controller", "SCSIAdapter"},
    {16, "VirtIO GPU Controller", "Display"},    {18, "VirtIO Input Driver", "HIDClass"},
    {19, "VirtIO Socket Driver", "System"},      {26, "VirtIO FS Device", "System"},
};

// The vendor of the memory-mapped transport has 32 bits (QEMU's spells "QEMU" in ASCII); a
// PCI transport's has 16 and is named by pci.ids.
QString vendorDigits(long vendor)
{
    if (vendor <= 0xFFFF)
        return hex4(unsigned(vendor));
    return QStringLiteral("%1").arg(vendor & 0xFFFFFFFFl, 8, 16, QLatin1Char('0')).toUpper();
}

QString vendorName(const SysfsContext &context, long vendor)
{
    if (vendor <= 0xFFFF)
        return context.pciIds().vendor(std::uint16_t(vendor));
    QString text;
    for (int shift = 0; shift < 32; shift += 8) {
        const char ch = char((vendor >> shift) & 0xFF);
        if (ch < 0x20 || ch > 0x7E)
            return {};
        text.append(QLatin1Char(ch));
    }
    return text.trimmed();
}

} // namespace

// Virtio devices behind a virtio-pci function are that PCI device on Windows; the others (on
// virtio-mmio) are listed here under an enumerator of their own.
std::vector<LiveDevice> scanVirtio(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    const QString bus = context.sysPath(QStringLiteral("bus/virtio/devices"));
    for (const QString &name : SysfsContext::entries(bus)) {
        const QString folder = bus + QLatin1Char('/') + name;
        const QString tree = context.devicePath(folder);
        if (tree.contains(QLatin1String("/pci")))
            continue;
        const long device = SysfsContext::hexAttribute(folder + QStringLiteral("/device"));
        const long vendor = SysfsContext::hexAttribute(folder + QStringLiteral("/vendor"));
        if (device < 0 || vendor < 0)
            continue;
        const QString ven = QStringLiteral("VEN_") + vendorDigits(vendor);
        const QString dev = QStringLiteral("DEV_") + hex4(unsigned(device));
        LiveDevice entry;
        entry.hardwareIds = {QStringLiteral("VIRTIO\\") + ven + QLatin1Char('&') + dev, QStringLiteral("VIRTIO\\") + dev};
        entry.deviceId = entry.hardwareIds[0] + QLatin1Char('\\')
                         + SysfsContext::instancePrefix(3, QFileInfo(tree).path()) + QLatin1Char('&')
                         + name.mid(6);
        const VirtioKind *kind = nullptr;
        for (const VirtioKind &known : kVirtioKinds) {
            if (known.id == unsigned(device))
                kind = &known;
        }
        const QString kindName = kind ? QString::fromLatin1(kind->name) : QStringLiteral("VirtIO Device");
        if (SysfsContext::boundDriver(folder).isEmpty()) {
            entry.setWithoutDriver(kindName);
        } else {
            entry.name = kindName;
            const QString maker = vendorName(context, vendor);
            entry.manufacturer = maker.isEmpty() ? QStringLiteral("(Standard system devices)") : maker;
            entry.className = kind ? QString::fromLatin1(kind->setupClass) : QStringLiteral("System");
            entry.driverModule = SysfsContext::driverModule(folder);
        }
        devices.push_back(std::move(entry));
    }
    return devices;
}

} // namespace os

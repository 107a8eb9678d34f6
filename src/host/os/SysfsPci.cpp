#include "os/SysfsScanners.h"

#include <QFileInfo>

namespace os {

namespace {

struct PciClassRule
{
    int base;
    int sub; // -1 for any
    const char *setupClass;
    const char *genericName; // what Windows calls such a device when no driver is installed
};

// By PCI class code: the setup class a bound driver puts the device in, and the generic name.
const PciClassRule kPciClasses[] = {
    {0x01, 0x01, "HDC", "Standard Dual Channel PCI IDE Controller"},
    {0x01, 0x06, "HDC", "SATA Controller"},
    {0x01, 0x04, "SCSIAdapter", "RAID Controller"},
    {0x01, 0x08, "SCSIAdapter", "Standard NVM Express Controller"},
    {0x01, -1, "SCSIAdapter", "Mass Storage Controller"},
    {0x02, 0x00, "Net", "Ethernet Controller"},
    {0x02, -1, "Net", "Network Controller"},
    {0x03, 0x00, "Display", "Video Controller (VGA Compatible)"},
    {0x03, -1, "Display", "Video Controller"},
    {0x04, 0x00, "MEDIA", "Multimedia Video Controller"},
    {0x04, 0x01, "MEDIA", "Multimedia Audio Controller"},
    {0x04, 0x03, "MEDIA", "High Definition Audio Controller"},
    {0x04, -1, "MEDIA", "Multimedia Controller"},
    {0x05, -1, "System", "PCI Memory Controller"},
    {0x06, -1, "System", "PCI Device"},
    {0x07, 0x00, "Ports", "PCI Serial Port"},
    {0x07, 0x01, "Ports", "PCI Parallel Port"},
    {0x07, 0x03, "Modem", "PCI Modem"},
    {0x07, -1, "System", "PCI Simple Communications Controller"},
    {0x08, -1, "System", "Base System Device"},
    {0x09, -1, "HIDClass", "PCI Input Device"},
    {0x0B, -1, "Processor", "Coprocessor"},
    {0x0C, 0x03, "USB", "Universal Serial Bus (USB) Controller"},
    {0x0C, 0x05, "System", "SM Bus Controller"},
    {0x0C, -1, "System", "PCI Device"},
    {0x0D, 0x11, "Bluetooth", "Bluetooth Device"},
    {0x0D, -1, "Net", "Network Controller"},
    {0x10, -1, "System", "PCI Encryption/Decryption Controller"},
    {0x11, -1, "System", "PCI Data Acquisition and Signal Processing Controller"},
    {0x12, -1, "System", "Processing Accelerator"},
    {0x13, -1, "System", "Non-Essential Instrumentation"},
};

const PciClassRule &pciClass(int base, int sub)
{
    static const PciClassRule unassigned{-1, -1, "System", "PCI Device"};
    for (const PciClassRule &rule : kPciClasses) {
        if (rule.base == base && (rule.sub < 0 || rule.sub == sub))
            return rule;
    }
    return unassigned;
}

// The virtio device behind a virtio-pci function names the real driver (virtio_net, ...).
QString virtioChildModule(const QString &folder)
{
    for (const QString &entry : SysfsContext::entries(folder)) {
        if (entry.startsWith(QLatin1String("virtio")) && entry.size() > 6 && entry[6].isDigit()) {
            const QString module = SysfsContext::driverModule(folder + QLatin1Char('/') + entry);
            if (!module.isEmpty())
                return module;
        }
    }
    return {};
}

} // namespace

std::vector<LiveDevice> scanPci(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    const QString bus = context.sysPath(QStringLiteral("bus/pci/devices"));
    for (const QString &address : SysfsContext::entries(bus)) {
        const QString folder = bus + QLatin1Char('/') + address;
        const long vendor = SysfsContext::hexAttribute(folder + QStringLiteral("/vendor"));
        const long device = SysfsContext::hexAttribute(folder + QStringLiteral("/device"));
        if (vendor < 0 || device < 0)
            continue;
        const long subVendor = std::max(0L, SysfsContext::hexAttribute(folder + QStringLiteral("/subsystem_vendor")));
        const long subDevice = std::max(0L, SysfsContext::hexAttribute(folder + QStringLiteral("/subsystem_device")));
        const long revision = std::max(0L, SysfsContext::hexAttribute(folder + QStringLiteral("/revision")));
        const long classCode = std::max(0L, SysfsContext::hexAttribute(folder + QStringLiteral("/class")));
        const int base = int(classCode >> 16) & 0xFF;
        const int sub = int(classCode >> 8) & 0xFF;
        const int progIf = int(classCode) & 0xFF;

        const QString ven = QStringLiteral("VEN_") + hex4(unsigned(vendor));
        const QString dev = QStringLiteral("DEV_") + hex4(unsigned(device));
        const QString subsys = QStringLiteral("SUBSYS_") + hex4(unsigned(subDevice)) + hex4(unsigned(subVendor));
        const QString rev = QStringLiteral("REV_") + hex2(unsigned(revision));
        const QString cc6 = QStringLiteral("CC_") + hex2(unsigned(base)) + hex2(unsigned(sub)) + hex2(unsigned(progIf));
        const QString cc4 = QStringLiteral("CC_") + hex2(unsigned(base)) + hex2(unsigned(sub));
        const QString pci = QStringLiteral("PCI\\");

        LiveDevice entry;
        // Windows lists the first four as hardware IDs and the rest as compatible IDs. The two
        // forms that still name this device (vendor, device and revision; vendor and device)
        // are kept among the hardware IDs too, so that a database of vendor-and-device IDs
        // (pci.ids) finds it; the vendor-only and class-only forms name no device and stay
        // compatible IDs alone, so that no device name is ever submitted for them.
        entry.hardwareIds = {
            pci + ven + '&' + dev + '&' + subsys + '&' + rev,
            pci + ven + '&' + dev + '&' + subsys,
            pci + ven + '&' + dev + '&' + cc6,
            pci + ven + '&' + dev + '&' + cc4,
            pci + ven + '&' + dev + '&' + rev,
            pci + ven + '&' + dev,
        };
        entry.compatibleIds = {
            pci + ven + '&' + dev + '&' + rev, pci + ven + '&' + dev, pci + ven + '&' + cc6, pci + ven + '&' + cc4,
            pci + ven,                         pci + cc6,             pci + cc4,
        };
        // "0000:00:1f.3": slot 0x1f, function 3 give the "&F8" style address of the instance ID.
        const QStringList parts = address.split(QLatin1Char(':'));
        unsigned devfn = 0;
        if (parts.size() == 3) {
            const QStringList slotFn = parts[2].split(QLatin1Char('.'));
            if (slotFn.size() == 2)
                devfn = (slotFn[0].toUInt(nullptr, 16) << 3) | (slotFn[1].toUInt() & 7);
        }
        const QString parent = QFileInfo(context.devicePath(folder)).path();
        entry.deviceId = entry.hardwareIds[0] + QLatin1Char('\\') + SysfsContext::instancePrefix(3, parent)
                         + QLatin1Char('&') + hex2(devfn);

        const PciClassRule &rule = pciClass(base, sub);
        const QString driver = SysfsContext::boundDriver(folder);
        if (driver.isEmpty()) {
            entry.setWithoutDriver(QString::fromLatin1(rule.genericName));
        } else {
            const SysfsIds &ids = context.pciIds();
            QString name = ids.subsystem(std::uint16_t(vendor), std::uint16_t(device), std::uint16_t(subVendor),
                                         std::uint16_t(subDevice));
            if (name.isEmpty())
                name = ids.device(std::uint16_t(vendor), std::uint16_t(device));
            entry.name = name.isEmpty() ? QString::fromLatin1(rule.genericName) : name;
            const QString maker = ids.vendor(std::uint16_t(vendor));
            entry.manufacturer = maker.isEmpty() ? QStringLiteral("(Standard system devices)") : maker;
            entry.className = QString::fromLatin1(rule.setupClass);
            const QString virtio = virtioChildModule(folder);
            entry.driverModule = virtio.isEmpty() ? SysfsContext::driverModule(folder) : virtio;
        }
        devices.push_back(std::move(entry));
    }
    return devices;
}

} // namespace os

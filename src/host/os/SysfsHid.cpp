#include "os/SysfsScanners.h"

#include <QFileInfo>

namespace os {

namespace {

// The usage page and usage of the first top-level collection of a report descriptor: the
// Usage Page (0x05/0x06) and Usage (0x09/0x0A) items before the first Collection (0xA1).
std::pair<unsigned, unsigned> topLevelUsage(const QByteArray &descriptor)
{
    unsigned page = 0;
    unsigned usage = 0;
    qsizetype i = 0;
    while (i < descriptor.size()) {
        const auto prefix = std::uint8_t(descriptor[i]);
        if (prefix == 0xFE) { // long item: size in the next byte
            if (i + 1 >= descriptor.size())
                break;
            i += 3 + std::uint8_t(descriptor[i + 1]);
            continue;
        }
        const int sizes[] = {0, 1, 2, 4};
        const int size = sizes[prefix & 3];
        if (i + 1 + size > descriptor.size())
            break;
        unsigned data = 0;
        for (int b = 0; b < size; ++b)
            data |= unsigned(std::uint8_t(descriptor[i + 1 + b])) << (8 * b);
        const unsigned tag = prefix & 0xFC;
        if (tag == 0x04)
            page = data & 0xFFFF;
        else if (tag == 0x08 && usage == 0)
            usage = size == 4 ? (data & 0xFFFF) : data;
        else if (tag == 0xA0)
            break;
        i += 1 + size;
    }
    return {page, usage};
}

struct HidFunction
{
    const char *name;
    const char *maker;
    const char *setupClass;
    const char *systemId; // HID_DEVICE_SYSTEM_... or null
};

HidFunction hidFunction(unsigned page, unsigned usage)
{
    if (page == 0x01 && (usage == 0x06 || usage == 0x07))
        return {"HID Keyboard Device", "(Standard keyboards)", "Keyboard", "HID_DEVICE_SYSTEM_KEYBOARD"};
    if (page == 0x01 && (usage == 0x01 || usage == 0x02))
        return {"HID-compliant mouse", "Microsoft", "Mouse", "HID_DEVICE_SYSTEM_MOUSE"};
    if (page == 0x01 && (usage == 0x04 || usage == 0x05))
        return {"HID-compliant game controller", "(Standard system devices)", "HIDClass", "HID_DEVICE_SYSTEM_GAME"};
    if (page == 0x01 && usage == 0x80)
        return {"HID-compliant system controller", "(Standard system devices)", "HIDClass", "HID_DEVICE_SYSTEM_CONTROL"};
    if (page == 0x0C)
        return {"HID-compliant consumer control device", "Microsoft", "HIDClass", nullptr};
    if (page == 0x0D)
        return {"HID-compliant touch screen", "Microsoft", "HIDClass", nullptr};
    if (page >= 0xFF00)
        return {"HID-compliant vendor-defined device", "Microsoft", "HIDClass", nullptr};
    return {"HID-compliant device", "(Standard system devices)", "HIDClass", nullptr};
}

} // namespace

std::vector<LiveDevice> scanHid(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    const QString bus = context.sysPath(QStringLiteral("bus/hid/devices"));
    for (const QString &name : SysfsContext::entries(bus)) {
        // "0003:046D:C52B.0001": bus type, vendor, product, instance.
        const QStringList parts = name.split(QLatin1Char(':'));
        if (parts.size() != 3)
            continue;
        bool okBus = false, okVid = false, okPid = false;
        const unsigned busType = parts[0].toUInt(&okBus, 16);
        const unsigned vid = parts[1].toUInt(&okVid, 16);
        const unsigned pid = parts[2].section(QLatin1Char('.'), 0, 0).toUInt(&okPid, 16);
        if (!okBus || !okVid || !okPid)
            continue;
        const QString folder = bus + QLatin1Char('/') + name;
        const auto [page, usage] = topLevelUsage(
            SysfsContext::binaryAttribute(folder + QStringLiteral("/report_descriptor"), 4096));
        const HidFunction function = hidFunction(page, usage);

        // A USB HID sits on an interface whose device gives the revision and interface number.
        const QString deviceTree = context.devicePath(folder);
        const QString interfaceFolder = context.sysPath(QFileInfo(deviceTree).path());
        const long interfaceNumber = SysfsContext::hexAttribute(interfaceFolder + QStringLiteral("/bInterfaceNumber"));
        const long rev = SysfsContext::hexAttribute(interfaceFolder + QStringLiteral("/../bcdDevice"));

        QString base;
        if (busType == 0x05)
            base = QStringLiteral("HID\\{00001124-0000-1000-8000-00805f9b34fb}_VID&0002") + hex4(vid).toLower()
                   + QStringLiteral("_PID&") + hex4(pid).toLower();
        else
            base = QStringLiteral("HID\\VID_") + hex4(vid) + QStringLiteral("&PID_") + hex4(pid);
        const QString mi = interfaceNumber >= 0 ? QStringLiteral("&MI_") + hex2(unsigned(interfaceNumber)) : QString();
        const QString up = QStringLiteral("UP:") + hex4(page) + QStringLiteral("_U:") + hex4(usage);

        LiveDevice entry;
        if (rev >= 0)
            entry.hardwareIds.append(base + QStringLiteral("&REV_") + hex4(unsigned(rev)) + mi);
        entry.hardwareIds.append(base + mi);
        entry.hardwareIds.append(QStringLiteral("HID\\VID_") + hex4(vid) + QLatin1Char('&') + up);
        if (function.systemId)
            entry.hardwareIds.append(QString::fromLatin1(function.systemId));
        entry.hardwareIds.append(QStringLiteral("HID_DEVICE_") + up);
        entry.hardwareIds.append(QStringLiteral("HID_DEVICE"));
        entry.deviceId = base + mi + QLatin1Char('\\')
                         + SysfsContext::instancePrefix(7, deviceTree) + QStringLiteral("&0000");

        const QString driver = SysfsContext::boundDriver(folder);
        if (driver.isEmpty()) {
            entry.setWithoutDriver(QStringLiteral("HID-compliant device"));
        } else {
            entry.name = QString::fromLatin1(function.name);
            entry.manufacturer = QString::fromLatin1(function.maker);
            entry.className = QString::fromLatin1(function.setupClass);
            entry.driverModule = SysfsContext::driverModule(folder);
        }
        devices.push_back(std::move(entry));
    }
    return devices;
}

} // namespace os

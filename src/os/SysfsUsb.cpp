#include "os/SysfsScanners.h"

#include <QFileInfo>

namespace os {

namespace {

struct UsbFunction
{
    const char *name;
    const char *maker;
    const char *setupClass;
};

// What Windows' in-box drivers call a function of a standard interface class.
std::optional<UsbFunction> standardFunction(int interfaceClass)
{
    switch (interfaceClass) {
    case 0x01: return UsbFunction{"USB Audio Device", "(Generic USB Audio)", "MEDIA"};
    case 0x02: return UsbFunction{"USB Serial Device", "Microsoft", "Ports"};
    case 0x03: return UsbFunction{"USB Input Device", "(Standard system devices)", "HIDClass"};
    case 0x07: return UsbFunction{"USB Printing Support", "Microsoft", "USB"};
    case 0x08: return UsbFunction{"USB Mass Storage Device", "Compatible USB storage device", "USB"};
    case 0x09: return UsbFunction{"Generic USB Hub", "(Standard USB HUBs)", "USB"};
    case 0x0B: return UsbFunction{"Microsoft Usbccid Smartcard Reader (WUDF)", "Microsoft", "SmartCardReader"};
    case 0x0E: return UsbFunction{"USB Video Device", "Microsoft", "Camera"};
    case 0xE0: return UsbFunction{"Generic Bluetooth Adapter", "Microsoft", "Bluetooth"};
    default: return std::nullopt;
    }
}

struct UsbInterface
{
    QString folder;
    int number = 0;
    int cls = 0;
    int subClass = 0;
    int protocol = 0;
    QString driver;
};

QString classIds(const char *prefix, int cls, int sub, int prot, QStringList *out)
{
    const QString base = QStringLiteral("USB\\%1_").arg(QLatin1String(prefix)) + hex2(unsigned(cls));
    out->append(base + QStringLiteral("&SubClass_") + hex2(unsigned(sub)) + QStringLiteral("&Prot_") + hex2(unsigned(prot)));
    out->append(base + QStringLiteral("&SubClass_") + hex2(unsigned(sub)));
    out->append(base);
    return base;
}

} // namespace

std::vector<LiveDevice> scanUsb(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    const QString bus = context.sysPath(QStringLiteral("bus/usb/devices"));
    const QStringList names = SysfsContext::entries(bus);
    for (const QString &name : names) {
        if (name.contains(QLatin1Char(':')))
            continue; // an interface, handled with its device
        const QString folder = bus + QLatin1Char('/') + name;
        const long vid = SysfsContext::hexAttribute(folder + QStringLiteral("/idVendor"));
        const long pid = SysfsContext::hexAttribute(folder + QStringLiteral("/idProduct"));
        if (vid < 0 || pid < 0)
            continue;
        const long rev = std::max(0L, SysfsContext::hexAttribute(folder + QStringLiteral("/bcdDevice")));
        const long deviceClass = std::max(0L, SysfsContext::hexAttribute(folder + QStringLiteral("/bDeviceClass")));
        const QString parent = QFileInfo(context.devicePath(folder)).path();

        if (name.startsWith(QLatin1String("usb"))) {
            const int speed = SysfsContext::attribute(folder + QStringLiteral("/speed")).toInt();
            LiveDevice hub;
            const QString kind = speed >= 5000 ? QStringLiteral("USB\\ROOT_HUB30") : QStringLiteral("USB\\ROOT_HUB20");
            hub.hardwareIds = {kind + QStringLiteral("&VID") + hex4(unsigned(vid)) + QStringLiteral("&PID")
                                   + hex4(unsigned(pid)) + QStringLiteral("&REV") + hex4(unsigned(rev)),
                               kind + QStringLiteral("&VID") + hex4(unsigned(vid)) + QStringLiteral("&PID") + hex4(unsigned(pid)),
                               kind};
            hub.deviceId = kind + QLatin1Char('\\') + SysfsContext::instancePrefix(4, parent);
            hub.name = speed >= 5000 ? QStringLiteral("USB Root Hub (USB 3.0)") : QStringLiteral("USB Root Hub");
            hub.manufacturer = QStringLiteral("(Standard USB HUBs)");
            hub.className = QStringLiteral("USB");
            hub.driverModule = SysfsContext::driverModule(folder);
            devices.push_back(std::move(hub));
            continue;
        }

        std::vector<UsbInterface> interfaces;
        for (const QString &child : names) {
            if (!child.startsWith(name + QLatin1Char(':')))
                continue;
            const QString path = bus + QLatin1Char('/') + child;
            UsbInterface entry;
            entry.folder = path;
            entry.number = int(std::max(0L, SysfsContext::hexAttribute(path + QStringLiteral("/bInterfaceNumber"))));
            entry.cls = int(std::max(0L, SysfsContext::hexAttribute(path + QStringLiteral("/bInterfaceClass"))));
            entry.subClass = int(std::max(0L, SysfsContext::hexAttribute(path + QStringLiteral("/bInterfaceSubClass"))));
            entry.protocol = int(std::max(0L, SysfsContext::hexAttribute(path + QStringLiteral("/bInterfaceProtocol"))));
            entry.driver = SysfsContext::boundDriver(path);
            interfaces.push_back(entry);
        }

        const QString vidPid = QStringLiteral("USB\\VID_") + hex4(unsigned(vid)) + QStringLiteral("&PID_") + hex4(unsigned(pid));
        const QString revText = QStringLiteral("&REV_") + hex4(unsigned(rev));
        const QString serial = SysfsContext::attribute(folder + QStringLiteral("/serial"));
        const QString port = SysfsContext::attribute(folder + QStringLiteral("/devpath"));
        const QString instance = !serial.isEmpty() && !serial.contains(QLatin1Char('\\')) && serial.size() <= 64
                                     ? serial
                                     : SysfsContext::instancePrefix(5, parent) + QLatin1Char('&') + port;

        QString product = SysfsContext::attribute(folder + QStringLiteral("/product"));
        if (product.isEmpty())
            product = context.usbIds().device(std::uint16_t(vid), std::uint16_t(pid));
        QString maker = SysfsContext::attribute(folder + QStringLiteral("/manufacturer"));
        if (maker.isEmpty())
            maker = context.usbIds().vendor(std::uint16_t(vid));

        // A device with several interfaces (and no class of its own, or the
        // interface-association class) is a composite device whose interfaces are listed apart.
        const bool composite = interfaces.size() > 1 && (deviceClass == 0 || deviceClass == 0xEF);

        auto describe = [&](LiveDevice &entry, int cls, const QString &driver) {
            const std::optional<UsbFunction> function = standardFunction(cls);
            if (driver.isEmpty() && !(function && cls == 0x09)) {
                entry.setWithoutDriver(product.isEmpty() ? QStringLiteral("Unknown USB Device") : product);
                return;
            }
            if (function) {
                entry.name = QString::fromLatin1(function->name);
                entry.manufacturer = QString::fromLatin1(function->maker);
                entry.className = QString::fromLatin1(function->setupClass);
            } else {
                entry.name = product.isEmpty() ? QStringLiteral("USB Device") : product;
                entry.manufacturer = maker.isEmpty() ? QStringLiteral("(Standard USB Host Controller)") : maker;
                entry.className = QStringLiteral("USBDevice");
            }
        };

        LiveDevice entry;
        entry.hardwareIds = {vidPid + revText, vidPid};
        entry.deviceId = vidPid + QLatin1Char('\\') + instance;
        if (composite) {
            classIds("DevClass", int(deviceClass), 0, 0, &entry.compatibleIds);
            entry.compatibleIds.append(QStringLiteral("USB\\COMPOSITE"));
            entry.name = QStringLiteral("USB Composite Device");
            entry.manufacturer = QStringLiteral("(Standard USB Host Controller)");
            entry.className = QStringLiteral("USB");
            entry.driverModule = SysfsContext::driverModule(folder);
            devices.push_back(std::move(entry));
            for (const UsbInterface &interface : interfaces) {
                LiveDevice function;
                const QString mi = QStringLiteral("&MI_") + hex2(unsigned(interface.number));
                function.hardwareIds = {vidPid + revText + mi, vidPid + mi};
                classIds("Class", interface.cls, interface.subClass, interface.protocol, &function.compatibleIds);
                function.deviceId = vidPid + mi + QLatin1Char('\\') + SysfsContext::instancePrefix(6, name)
                                    + QLatin1Char('&') + hex4(unsigned(interface.number));
                describe(function, interface.cls, interface.driver);
                if (function.errorCode == 0)
                    function.driverModule = SysfsContext::driverModule(interface.folder);
                devices.push_back(std::move(function));
            }
            continue;
        }
        const UsbInterface first = interfaces.empty() ? UsbInterface{} : interfaces.front();
        const int cls = deviceClass != 0 && deviceClass != 0xEF ? int(deviceClass) : first.cls;
        classIds("Class", first.cls, first.subClass, first.protocol, &entry.compatibleIds);
        describe(entry, cls, first.driver.isEmpty() && cls == 0x09 ? SysfsContext::boundDriver(folder) : first.driver);
        if (entry.errorCode == 0)
            entry.driverModule = SysfsContext::driverModule(first.folder.isEmpty() ? folder : first.folder);
        devices.push_back(std::move(entry));
    }
    return devices;
}

} // namespace os

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

constexpr int kHubClass = 0x09;
// The class of a device that leaves its class to its interfaces, and the interface-association
// class: either makes a device of several interfaces a composite one.
constexpr int kPerInterfaceClass = 0x00;
constexpr int kMiscellaneousClass = 0xEF;
// From this speed (Mbit/s) on the root hub is a USB 3 one.
constexpr int kSuperSpeed = 5000;

// What Windows' in-box drivers call a function of a standard interface class.
std::optional<UsbFunction> standardFunction(int interfaceClass)
{
    switch (interfaceClass) {
    case 0x01: return UsbFunction{"USB Audio Device", "(Generic USB Audio)", "MEDIA"};
    case 0x02: return UsbFunction{"USB Serial Device", "Microsoft", "Ports"};
    case 0x03: return UsbFunction{"USB Input Device", "(Standard system devices)", "HIDClass"};
    case 0x07: return UsbFunction{"USB Printing Support", "Microsoft", "USB"};
    case 0x08: return UsbFunction{"USB Mass Storage Device", "Compatible USB storage device", "USB"};
    case kHubClass: return UsbFunction{"Generic USB Hub", "(Standard USB HUBs)", "USB"};
    case 0x0B: return UsbFunction{"Microsoft Usbccid Smartcard Reader (WUDF)", "Microsoft", "SmartCardReader"};
    case 0x0E: return UsbFunction{"USB Video Device", "Microsoft", "Camera"};
    case 0xE0: return UsbFunction{"Generic Bluetooth Adapter", "Microsoft", "Bluetooth"};
    default: return std::nullopt;
    }
}

// A device's own folder on the bus (a root hub's too), read once.
struct UsbDevice
{
    QString name; // "usb1" for a root hub, "1-1.2" for a device behind it
    QString folder;
    unsigned vid = 0;
    unsigned pid = 0;
    unsigned rev = 0;
    long deviceClass = 0;
    QString parent; // the device path of the folder it sits in
};

struct UsbInterface
{
    QString folder;
    int number = 0;
    int cls = 0;
    int subClass = 0;
    int protocol = 0;
    QString driver;
};

// How the device names itself, and the IDs Windows builds from its descriptors.
struct UsbIdentity
{
    QString vidPid;  // USB\VID_xxxx&PID_xxxx
    QString revText; // &REV_xxxx
    QString instance;
    QString product; // else the ID list's name of it
    QString maker;   // else the ID list's name of its vendor
};

// An absent attribute counts as 0.
long hexOrZero(const QString &path)
{
    return std::max(0L, SysfsContext::hexAttribute(path));
}

void appendClassIds(const char *prefix, int cls, int sub, int prot, QStringList *out)
{
    const QString base = QStringLiteral("USB\\%1_").arg(QLatin1String(prefix)) + hex2(unsigned(cls));
    out->append(base + QStringLiteral("&SubClass_") + hex2(unsigned(sub)) + QStringLiteral("&Prot_") + hex2(unsigned(prot)));
    out->append(base + QStringLiteral("&SubClass_") + hex2(unsigned(sub)));
    out->append(base);
}

// Nothing for a folder without vendor and product IDs.
std::optional<UsbDevice> readDevice(const SysfsContext &context, const QString &bus, const QString &name)
{
    UsbDevice device;
    device.name = name;
    device.folder = bus + QLatin1Char('/') + name;
    const long vid = SysfsContext::hexAttribute(device.folder + QStringLiteral("/idVendor"));
    const long pid = SysfsContext::hexAttribute(device.folder + QStringLiteral("/idProduct"));
    if (vid < 0 || pid < 0)
        return std::nullopt;
    device.vid = unsigned(vid);
    device.pid = unsigned(pid);
    device.rev = unsigned(hexOrZero(device.folder + QStringLiteral("/bcdDevice")));
    device.deviceClass = hexOrZero(device.folder + QStringLiteral("/bDeviceClass"));
    device.parent = QFileInfo(context.devicePath(device.folder)).path();
    return device;
}

LiveDevice rootHub(const UsbDevice &device)
{
    const bool superSpeed = SysfsContext::attribute(device.folder + QStringLiteral("/speed")).toInt() >= kSuperSpeed;
    const QString kind = superSpeed ? QStringLiteral("USB\\ROOT_HUB30") : QStringLiteral("USB\\ROOT_HUB20");
    const QString vidPid = kind + QStringLiteral("&VID") + hex4(device.vid) + QStringLiteral("&PID") + hex4(device.pid);
    LiveDevice hub;
    hub.hardwareIds = {vidPid + QStringLiteral("&REV") + hex4(device.rev), vidPid, kind};
    hub.deviceId = kind + QLatin1Char('\\') + SysfsContext::instancePrefix(4, device.parent);
    hub.name = superSpeed ? QStringLiteral("USB Root Hub (USB 3.0)") : QStringLiteral("USB Root Hub");
    hub.manufacturer = QStringLiteral("(Standard USB HUBs)");
    hub.className = QStringLiteral("USB");
    hub.driverModule = SysfsContext::driverModule(device.folder);
    return hub;
}

// The interfaces are the bus's entries "<device>:<config>.<interface>".
std::vector<UsbInterface> interfacesOf(const UsbDevice &device, const QString &bus, const QStringList &names)
{
    std::vector<UsbInterface> interfaces;
    for (const QString &child : names) {
        if (!child.startsWith(device.name + QLatin1Char(':')))
            continue;
        UsbInterface entry;
        entry.folder = bus + QLatin1Char('/') + child;
        entry.number = int(hexOrZero(entry.folder + QStringLiteral("/bInterfaceNumber")));
        entry.cls = int(hexOrZero(entry.folder + QStringLiteral("/bInterfaceClass")));
        entry.subClass = int(hexOrZero(entry.folder + QStringLiteral("/bInterfaceSubClass")));
        entry.protocol = int(hexOrZero(entry.folder + QStringLiteral("/bInterfaceProtocol")));
        entry.driver = SysfsContext::boundDriver(entry.folder);
        interfaces.push_back(entry);
    }
    return interfaces;
}

UsbIdentity identify(const SysfsContext &context, const UsbDevice &device)
{
    UsbIdentity identity;
    identity.vidPid = QStringLiteral("USB\\VID_") + hex4(device.vid) + QStringLiteral("&PID_") + hex4(device.pid);
    identity.revText = QStringLiteral("&REV_") + hex4(device.rev);
    // A serial number that can stand in an instance ID is the instance, as on Windows.
    const QString serial = SysfsContext::attribute(device.folder + QStringLiteral("/serial"));
    const QString port = SysfsContext::attribute(device.folder + QStringLiteral("/devpath"));
    identity.instance = !serial.isEmpty() && !serial.contains(QLatin1Char('\\')) && serial.size() <= 64
                            ? serial
                            : SysfsContext::instancePrefix(5, device.parent) + QLatin1Char('&') + port;
    identity.product = SysfsContext::attribute(device.folder + QStringLiteral("/product"));
    if (identity.product.isEmpty())
        identity.product = context.usbIds().device(std::uint16_t(device.vid), std::uint16_t(device.pid));
    identity.maker = SysfsContext::attribute(device.folder + QStringLiteral("/manufacturer"));
    if (identity.maker.isEmpty())
        identity.maker = context.usbIds().vendor(std::uint16_t(device.vid));
    return identity;
}

// A device with several interfaces (and no class of its own, or the interface-association
// class) is a composite device whose interfaces are listed apart.
bool isComposite(const UsbDevice &device, const std::vector<UsbInterface> &interfaces)
{
    return interfaces.size() > 1
           && (device.deviceClass == kPerInterfaceClass || device.deviceClass == kMiscellaneousClass);
}

// A function of class `cls` driven by `driver`: by the in-box driver's name for the class, else
// by the device's own; without a driver (a hub's is the hub driver) it is unknown.
void describe(LiveDevice &entry, const UsbIdentity &identity, int cls, const QString &driver)
{
    const std::optional<UsbFunction> function = standardFunction(cls);
    if (driver.isEmpty() && !(function && cls == kHubClass)) {
        entry.setWithoutDriver(identity.product.isEmpty() ? QStringLiteral("Unknown USB Device") : identity.product);
        return;
    }
    if (function) {
        entry.name = QString::fromLatin1(function->name);
        entry.manufacturer = QString::fromLatin1(function->maker);
        entry.className = QString::fromLatin1(function->setupClass);
    } else {
        entry.name = identity.product.isEmpty() ? QStringLiteral("USB Device") : identity.product;
        entry.manufacturer = identity.maker.isEmpty() ? QStringLiteral("(Standard USB Host Controller)") : identity.maker;
        entry.className = QStringLiteral("USBDevice");
    }
}

LiveDevice compositeParent(const UsbDevice &device, const UsbIdentity &identity)
{
    LiveDevice entry;
    entry.hardwareIds = {identity.vidPid + identity.revText, identity.vidPid};
    entry.deviceId = identity.vidPid + QLatin1Char('\\') + identity.instance;
    appendClassIds("DevClass", int(device.deviceClass), 0, 0, &entry.compatibleIds);
    entry.compatibleIds.append(QStringLiteral("USB\\COMPOSITE"));
    entry.name = QStringLiteral("USB Composite Device");
    entry.manufacturer = QStringLiteral("(Standard USB Host Controller)");
    entry.className = QStringLiteral("USB");
    entry.driverModule = SysfsContext::driverModule(device.folder);
    return entry;
}

// One interface of a composite device, listed as its own device.
LiveDevice compositeFunction(const UsbDevice &device, const UsbIdentity &identity, const UsbInterface &interface)
{
    LiveDevice function;
    const QString mi = QStringLiteral("&MI_") + hex2(unsigned(interface.number));
    function.hardwareIds = {identity.vidPid + identity.revText + mi, identity.vidPid + mi};
    appendClassIds("Class", interface.cls, interface.subClass, interface.protocol, &function.compatibleIds);
    function.deviceId = identity.vidPid + mi + QLatin1Char('\\') + SysfsContext::instancePrefix(6, device.name)
                        + QLatin1Char('&') + hex4(unsigned(interface.number));
    describe(function, identity, interface.cls, interface.driver);
    if (function.errorCode == 0)
        function.driverModule = SysfsContext::driverModule(interface.folder);
    return function;
}

// A device that is one function: its class, else its first interface's, says what it is.
LiveDevice singleDevice(const UsbDevice &device, const UsbIdentity &identity, const std::vector<UsbInterface> &interfaces)
{
    LiveDevice entry;
    entry.hardwareIds = {identity.vidPid + identity.revText, identity.vidPid};
    entry.deviceId = identity.vidPid + QLatin1Char('\\') + identity.instance;
    const UsbInterface first = interfaces.empty() ? UsbInterface{} : interfaces.front();
    const int cls = device.deviceClass != kPerInterfaceClass && device.deviceClass != kMiscellaneousClass
                        ? int(device.deviceClass)
                        : first.cls;
    appendClassIds("Class", first.cls, first.subClass, first.protocol, &entry.compatibleIds);
    describe(entry, identity, cls,
             first.driver.isEmpty() && cls == kHubClass ? SysfsContext::boundDriver(device.folder) : first.driver);
    if (entry.errorCode == 0)
        entry.driverModule = SysfsContext::driverModule(first.folder.isEmpty() ? device.folder : first.folder);
    return entry;
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
        const std::optional<UsbDevice> device = readDevice(context, bus, name);
        if (!device)
            continue;
        if (name.startsWith(QLatin1String("usb"))) {
            devices.push_back(rootHub(*device));
            continue;
        }
        const std::vector<UsbInterface> interfaces = interfacesOf(*device, bus, names);
        const UsbIdentity identity = identify(context, *device);
        if (!isComposite(*device, interfaces)) {
            devices.push_back(singleDevice(*device, identity, interfaces));
            continue;
        }
        devices.push_back(compositeParent(*device, identity));
        for (const UsbInterface &interface : interfaces)
            devices.push_back(compositeFunction(*device, identity, interface));
    }
    return devices;
}

} // namespace os

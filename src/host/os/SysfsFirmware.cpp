#include "os/SysfsScanners.h"

#include <QDir>
#include <QFileInfo>

#include <set>

namespace os {

namespace {

struct FirmwareDevice
{
    const char *id;
    const char *name;
    const char *maker;
    const char *setupClass;
};

// Firmware devices that Windows drives with its own in-box drivers, named as it names them.
const FirmwareDevice kFirmwareDevices[] = {
    {"PNP0A08", "PCI Express Root Complex", "(Standard system devices)", "System"},
    {"PNP0A03", "PCI Bus", "(Standard system devices)", "System"},
    {"PNP0A05", "Generic Bus", "(Standard system devices)", "System"},
    {"PNP0A06", "Generic Bus", "(Standard system devices)", "System"},
    {"PNP0000", "Programmable interrupt controller", "(Standard system devices)", "System"},
    {"PNP0100", "System timer", "(Standard system devices)", "System"},
    {"PNP0103", "High precision event timer", "(Standard system devices)", "System"},
    {"PNP0200", "Direct memory access controller", "(Standard system devices)", "System"},
    {"PNP0800", "System speaker", "(Standard system devices)", "System"},
    {"PNP0B00", "System CMOS/real time clock", "(Standard system devices)", "System"},
    {"PNP0C01", "System board", "(Standard system devices)", "System"},
    {"PNP0C02", "Motherboard resources", "(Standard system devices)", "System"},
    {"PNP0C04", "Numeric data processor", "(Standard system devices)", "System"},
    {"PNP0C09", "Microsoft ACPI-Compliant Embedded Controller", "Microsoft", "System"},
    {"PNP0C0A", "Microsoft ACPI-Compliant Control Method Battery", "Microsoft", "Battery"},
    {"PNP0C0B", "ACPI Fan", "(Standard system devices)", "System"},
    {"PNP0C0C", "ACPI Power Button", "(Standard system devices)", "System"},
    {"PNP0C0D", "ACPI Lid", "(Standard system devices)", "System"},
    {"PNP0C0E", "ACPI Sleep Button", "(Standard system devices)", "System"},
    {"PNP0C14", "Microsoft Windows Management Interface for ACPI", "Microsoft", "System"},
    {"PNP0C80", "Memory", "(Standard system devices)", "System"},
    {"PNP0303", "Standard PS/2 Keyboard", "(Standard keyboards)", "Keyboard"},
    {"PNP030B", "Standard PS/2 Keyboard", "(Standard keyboards)", "Keyboard"},
    {"PNP0F03", "PS/2 Compatible Mouse", "Microsoft", "Mouse"},
    {"PNP0F13", "PS/2 Compatible Mouse", "Microsoft", "Mouse"},
    {"PNP0501", "Communications Port", "(Standard port types)", "Ports"},
    {"PNP0400", "Printer Port", "(Standard port types)", "Ports"},
    {"PNP0401", "ECP Printer Port", "(Standard port types)", "Ports"},
    {"PNP0700", "Standard floppy disk controller", "(Standard floppy disk controllers)", "System"},
    {"MSFT0101", "Trusted Platform Module 2.0", "(Standard)", "SecurityDevices"},
    {"PNP0C50", "I2C HID Device", "Microsoft", "HIDClass"},
    {"ACPI0003", "Microsoft AC Adapter", "Microsoft", "Battery"},
    {"ACPI000E", "ACPI Wake Alarm", "(Standard system devices)", "System"},
    {"ACPI0010", "Generic Bus", "(Standard system devices)", "System"},
    {"ACPI0013", "Generic Bus", "(Standard system devices)", "System"},
    {"FixedButton", "ACPI Fixed Feature Button", "(Standard system devices)", "System"},
    {"ThermalZone", "ACPI Thermal Zone", "(Standard system devices)", "System"},
};

// The names Windows gives the firmware objects Linux names by its own IDs. Both fixed-feature
// buttons are one device there.
const std::pair<const char *, const char *> kWindowsIds[] = {
    {"LNXPWRBN", "FixedButton"},
    {"LNXSLPBN", "FixedButton"},
    {"LNXTHERM", "ThermalZone"},
};

// Firmware objects that are no device on Windows: the bus and processor objects (processors are
// listed from cpuinfo), the video extension, and the interrupt links that only route interrupts.
bool isListed(const QString &hid)
{
    for (const char *id : {"LNXSYBUS", "LNXCPU", "ACPI0007", "LNXVIDEO", "PNP0C0F"}) {
        if (hid == QLatin1String(id))
            return false;
    }
    return true;
}

QString windowsId(const QString &hid)
{
    for (const auto &[own, windows] : kWindowsIds) {
        if (hid == QLatin1String(own))
            return QString::fromLatin1(windows);
    }
    return hid;
}

// Platform devices without a firmware node that stand for a device a PC's firmware describes.
const std::pair<const char *, const char *> kPlatformDevices[] = {
    {"pcspkr", "PNP0800"},
    {"rtc_cmos", "PNP0B00"},
    {"i8042", "PNP0303"},
};

const FirmwareDevice *firmwareDevice(const QString &id)
{
    for (const FirmwareDevice &entry : kFirmwareDevices) {
        if (id.compare(QLatin1String(entry.id), Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

// Windows 10 lists an ACPI ID as ACPI\VEN_xxx&DEV_yyyy, ACPI\ID and *ID.
QStringList acpiHardwareIds(const QString &id)
{
    QStringList ids;
    if (id.size() == 7 || id.size() == 8) {
        const int split = id.size() - 4;
        ids.append(QStringLiteral("ACPI\\VEN_") + id.left(split) + QStringLiteral("&DEV_") + id.mid(split));
    }
    ids.append(QStringLiteral("ACPI\\") + id);
    ids.append(QLatin1Char('*') + id);
    return ids;
}

LiveDevice firmwareEntry(const QString &id, const QString &instance, const QString &driverFolder, bool haveDriver)
{
    LiveDevice entry;
    entry.hardwareIds = acpiHardwareIds(id);
    entry.deviceId = QStringLiteral("ACPI\\") + id.toUpper() + QLatin1Char('\\') + instance;
    const FirmwareDevice *known = firmwareDevice(id);
    if (known) {
        entry.name = QString::fromLatin1(known->name);
        entry.manufacturer = QString::fromLatin1(known->maker);
        entry.className = QString::fromLatin1(known->setupClass);
        entry.driverModule = SysfsContext::driverModule(driverFolder);
    } else if (haveDriver) {
        entry.name = QStringLiteral("ACPI Device ") + id;
        entry.manufacturer = QStringLiteral("(Standard system devices)");
        entry.className = QStringLiteral("System");
        entry.driverModule = SysfsContext::driverModule(driverFolder);
    } else {
        entry.setWithoutDriver(QStringLiteral("Unknown device"));
    }
    return entry;
}

// "COMn" for a port whose node carries a tty "ttySm".
QString comPortName(const QString &folder)
{
    for (const QString &tty : SysfsContext::entries(folder + QStringLiteral("/tty"))) {
        if (tty.startsWith(QLatin1String("ttyS")))
            return QStringLiteral("COM%1").arg(tty.mid(4).toInt() + 1);
    }
    return {};
}

// The physical nodes an ACPI device stands for: links "physical_node", "physical_node1", ...
QStringList physicalNodes(const QString &folder)
{
    QStringList nodes;
    for (const QString &entry : SysfsContext::entries(folder)) {
        if (entry.startsWith(QLatin1String("physical_node")))
            nodes.append(folder + QLatin1Char('/') + entry);
    }
    return nodes;
}

// The folder a driver is bound to: the ACPI device's own, else its first physical node with one;
// empty when none has.
QString drivenFolder(const QString &folder, const QStringList &nodes)
{
    if (!SysfsContext::boundDriver(folder).isEmpty())
        return folder;
    for (const QString &node : nodes) {
        if (!SysfsContext::boundDriver(node).isEmpty())
            return node;
    }
    return {};
}

// A status without its present bit is a device the firmware describes but the machine lacks.
bool isPresent(const QString &folder)
{
    const QString status = SysfsContext::attribute(folder + QStringLiteral("/status"));
    return status.isEmpty() || (status.toInt() & 1) != 0;
}

// The firmware's system object, which Windows lists as its ACPI system.
LiveDevice acpiSystem()
{
    LiveDevice system;
    system.hardwareIds = {QStringLiteral("ACPI_HAL\\PNP0C08"), QStringLiteral("*PNP0C08")};
    system.deviceId = QStringLiteral("ACPI_HAL\\PNP0C08\\0");
    system.name = QStringLiteral("Microsoft ACPI-Compliant System");
    system.manufacturer = QStringLiteral("Microsoft");
    system.className = QStringLiteral("System");
    return system;
}

// The device's unique ID, else the instance number of its name "<hid>:<hex>".
QString acpiInstance(const QString &folder, const QString &name)
{
    const QString uid = SysfsContext::attribute(folder + QStringLiteral("/uid"));
    return uid.isEmpty() ? QString::number(name.section(QLatin1Char(':'), 1).toInt(nullptr, 16)) : uid;
}

// A serial port is named with its port, "Communications Port (COM1)", where a node shows it.
void addPortName(LiveDevice &entry, const QStringList &nodes)
{
    QString port;
    for (const QString &node : nodes) {
        if (port.isEmpty())
            port = comPortName(node);
    }
    if (!port.isEmpty())
        entry.name += QStringLiteral(" (") + port + QLatin1Char(')');
}

// The ACPI devices that are devices on Windows too; `covered` receives the physical nodes they
// stand for.
void addAcpiDevices(const SysfsContext &context, std::vector<LiveDevice> &devices, std::set<QString> &covered)
{
    bool fixedButtonListed = false;
    const QString acpi = context.sysPath(QStringLiteral("bus/acpi/devices"));
    for (const QString &name : SysfsContext::entries(acpi)) {
        const QString folder = acpi + QLatin1Char('/') + name;
        const QString hid = windowsId(SysfsContext::attribute(folder + QStringLiteral("/hid")));
        if (hid.isEmpty() || !isListed(hid) || (hid == QLatin1String("FixedButton") && fixedButtonListed))
            continue;
        if (!isPresent(folder))
            continue;
        const QStringList nodes = physicalNodes(folder);
        for (const QString &node : nodes)
            covered.insert(QFileInfo(node).canonicalFilePath());
        if (hid == QLatin1String("LNXSYSTM")) {
            devices.push_back(acpiSystem());
            continue;
        }
        const QString driven = drivenFolder(folder, nodes);
        LiveDevice entry = firmwareEntry(hid, acpiInstance(folder, name), driven.isEmpty() ? folder : driven,
                                         !driven.isEmpty());
        fixedButtonListed = fixedButtonListed || hid == QLatin1String("FixedButton");
        if (hid == QLatin1String("PNP0501"))
            addPortName(entry, nodes);
        devices.push_back(std::move(entry));
    }
}

// PNP devices that no ACPI device stands for (the PnP BIOS of older machines).
void addPnpDevices(const SysfsContext &context, const std::set<QString> &covered, std::vector<LiveDevice> &devices)
{
    const QString pnp = context.sysPath(QStringLiteral("bus/pnp/devices"));
    for (const QString &name : SysfsContext::entries(pnp)) {
        const QString folder = pnp + QLatin1Char('/') + name;
        if (covered.count(QFileInfo(folder).canonicalFilePath()))
            continue;
        const QString id = SysfsContext::attribute(folder + QStringLiteral("/id")).section(QLatin1Char('\n'), 0, 0);
        if (id.isEmpty())
            continue;
        devices.push_back(firmwareEntry(id, name.section(QLatin1Char(':'), 1), folder,
                                        !SysfsContext::boundDriver(folder).isEmpty()));
    }
}

// The platform devices of kPlatformDevices that neither firmware bus listed.
void addPlatformDevices(const SysfsContext &context, const std::set<QString> &covered, std::vector<LiveDevice> &devices)
{
    const QString platform = context.sysPath(QStringLiteral("bus/platform/devices"));
    for (const auto &[device, id] : kPlatformDevices) {
        const QString folder = platform + QLatin1Char('/') + QLatin1String(device);
        if (!QFileInfo::exists(folder) || covered.count(QFileInfo(folder).canonicalFilePath()))
            continue;
        if (QFileInfo::exists(folder + QStringLiteral("/firmware_node")))
            continue;
        const QString pnpId = QString::fromLatin1(id);
        bool already = false;
        for (const LiveDevice &known : devices)
            already = already || known.hardwareIds.contains(QStringLiteral("ACPI\\") + pnpId);
        if (!already)
            devices.push_back(firmwareEntry(pnpId, QStringLiteral("0"), folder, true));
    }
}

} // namespace

std::vector<LiveDevice> scanFirmware(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    std::set<QString> covered; // physical nodes already stood for by an ACPI device
    addAcpiDevices(context, devices, covered);
    addPnpDevices(context, covered, devices);
    addPlatformDevices(context, covered, devices);
    return devices;
}

} // namespace os

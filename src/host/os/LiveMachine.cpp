#include "os/LiveMachine.h"

#include "os/LiveMachineClasses.h"
#include "os/SysfsScanners.h"

#include <map>
#include <set>

namespace os {

namespace {

const QString kEnum = QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\");
const QString kClass = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\");

// The ConfigFlags bit of a device whose driver installation failed.
constexpr std::uint32_t CONFIGFLAG_FAILEDINSTALL = 0x40;

std::vector<LiveDevice> scanAllBuses(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    for (auto scan : {scanFirmware, scanProcessors, scanPci, scanVirtio, scanUsb, scanHid, scanDisks, scanMonitors}) {
        std::vector<LiveDevice> found = scan(context);
        devices.insert(devices.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }
    return devices;
}

// Two devices may map to one ID (identical serial numbers); Windows keeps IDs unique by
// numbering the later ones.
class UniqueDeviceIds
{
public:
    QString take(const QString &deviceId)
    {
        QString unique = deviceId;
        for (int n = 2; m_taken.count(unique.toUpper()); ++n)
            unique = deviceId + QLatin1Char('&') + QString::number(n);
        m_taken.insert(unique.toUpper());
        return unique;
    }

private:
    std::set<QString> m_taken; // upper-cased
};

void writeClassKey(RegistryTree &registry, const DeviceClass &setupClass)
{
    const QString key = kClass + QLatin1String(setupClass.guid);
    registry.setString(HKEY_LOCAL_MACHINE, key, QString(), QString::fromLatin1(setupClass.description));
    registry.setString(HKEY_LOCAL_MACHINE, key, QStringLiteral("Class"), QString::fromLatin1(setupClass.name));
    if (setupClass.icon != 0)
        registry.setString(HKEY_LOCAL_MACHINE, key, QStringLiteral("Icon"), QString::number(setupClass.icon));
    if (setupClass.iconPath)
        registry.setMultiString(HKEY_LOCAL_MACHINE, key, QStringLiteral("IconPath"),
                                {QString::fromLatin1(setupClass.iconPath)});
    if (setupClass.propPages)
        registry.setString(HKEY_LOCAL_MACHINE, key, QStringLiteral("EnumPropPages32"),
                           QString::fromLatin1(setupClass.propPages));
}

// What the device's Enum key holds for every device, driver or not.
void writeEnumKey(RegistryTree &registry, const QString &enumKey, const LiveDevice &device,
                  const DeviceClass &setupClass)
{
    registry.setMultiString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("HardwareID"), device.hardwareIds);
    if (!device.compatibleIds.isEmpty())
        registry.setMultiString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("CompatibleIDs"), device.compatibleIds);
    registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("DeviceDesc"), device.name);
    registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("ClassGUID"), QString::fromLatin1(setupClass.guid));
    registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Class"), QString::fromLatin1(setupClass.name));
    registry.setDword(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("ConfigFlags"),
                      device.errorCode == CM_PROB_FAILED_INSTALL ? CONFIGFLAG_FAILEDINSTALL : 0);
}

// The bound module's version, or the kernel's for a module that states none.
QString driverVersion(const SysfsContext &context, const LiveDevice &device, const QString &kernel)
{
    const QString version =
        device.driverModule.isEmpty()
            ? QString()
            : SysfsContext::attribute(context.sysPath(QStringLiteral("module/") + device.driverModule
                                                      + QStringLiteral("/version")))
                  .trimmed();
    return version.isEmpty() ? kernel : version;
}

// A working device's driver: its key under the class ("{guid}\0003") and the Enum key's links to it.
void writeDriverKeys(RegistryTree &registry, const QString &enumKey, const LiveDevice &device, const QString &driver,
                     const QString &version)
{
    registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Driver"), driver);
    if (device.manufacturer)
        registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Mfg"), *device.manufacturer);
    if (!device.driverModule.isEmpty())
        registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Service"), device.driverModule);
    const QString driverKey = kClass + driver;
    registry.setString(HKEY_LOCAL_MACHINE, driverKey, QStringLiteral("DriverVersion"), version);
    registry.setString(HKEY_LOCAL_MACHINE, driverKey, QStringLiteral("DriverDesc"), device.name);
    registry.setString(HKEY_LOCAL_MACHINE, driverKey, QStringLiteral("MatchingDeviceId"),
                       device.hardwareIds.value(0).toLower());
}

WmiObject pnpEntity(const QString &deviceId, const LiveDevice &device, const QString &classGuid)
{
    WmiObject object;
    object.set(QStringLiteral("DeviceID"), deviceId);
    object.set(QStringLiteral("Name"), device.name);
    object.set(QStringLiteral("Manufacturer"), device.manufacturer ? QVariant(*device.manufacturer) : QVariant());
    object.set(QStringLiteral("ConfigManagerErrorCode"), QVariant(device.errorCode));
    object.set(QStringLiteral("ClassGuid"), classGuid);
    return object;
}

} // namespace

LiveMachine::LiveMachine(LiveMachineRoots roots) : m_roots(std::move(roots)) {}

Machine LiveMachine::read()
{
    const SysfsContext context(m_roots);
    const std::vector<LiveDevice> devices = scanAllBuses(context);
    const QString kernel = SysfsContext::attribute(context.procPath(QStringLiteral("sys/kernel/osrelease"))).trimmed();

    Machine machine;
    std::set<QString> classesWritten;
    std::map<QString, int> driverCounts; // next driver instance per class
    UniqueDeviceIds ids;
    for (const LiveDevice &device : devices) {
        const QString deviceId = ids.take(device.deviceId);
        const DeviceClass &setupClass = deviceClass(device.className);
        const QString guid = QString::fromLatin1(setupClass.guid);
        if (classesWritten.insert(guid).second)
            writeClassKey(machine.registry, setupClass);

        const QString enumKey = kEnum + deviceId;
        writeEnumKey(machine.registry, enumKey, device, setupClass);
        if (device.errorCode == 0) {
            const QString driver = guid + QStringLiteral("\\%1").arg(driverCounts[guid]++, 4, 10, QLatin1Char('0'));
            writeDriverKeys(machine.registry, enumKey, device, driver, driverVersion(context, device, kernel));
        }
        machine.devices.push_back(pnpEntity(deviceId, device, guid));
    }
    return machine;
}

} // namespace os

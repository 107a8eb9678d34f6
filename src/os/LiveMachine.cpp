#include "os/LiveMachine.h"

#include "os/LiveMachineClasses.h"
#include "os/SysfsScanners.h"

#include <map>
#include <set>

namespace os {

namespace {

const QString kEnum = QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\");
const QString kClass = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\");

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

} // namespace

LiveMachine::LiveMachine(LiveMachineRoots roots) : m_roots(std::move(roots)) {}

Machine LiveMachine::read()
{
    const SysfsContext context(m_roots);
    std::vector<LiveDevice> devices;
    for (auto scan : {scanFirmware, scanProcessors, scanPci, scanVirtio, scanUsb, scanHid, scanDisks, scanMonitors}) {
        std::vector<LiveDevice> found = scan(context);
        devices.insert(devices.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }

    QString kernel = SysfsContext::attribute(context.procPath(QStringLiteral("sys/kernel/osrelease"))).trimmed();
    Machine machine;
    std::set<QString> classesWritten;
    std::map<QString, int> driverCounts; // next driver instance per class
    std::set<QString> ids;
    for (LiveDevice &device : devices) {
        // Two devices may map to one ID (identical serial numbers); Windows keeps IDs unique.
        QString deviceId = device.deviceId;
        for (int n = 2; ids.count(deviceId.toUpper()); ++n)
            deviceId = device.deviceId + QLatin1Char('&') + QString::number(n);
        ids.insert(deviceId.toUpper());

        const DeviceClass &setupClass = deviceClass(device.className);
        const QString guid = QString::fromLatin1(setupClass.guid);
        if (classesWritten.insert(guid).second)
            writeClassKey(machine.registry, setupClass);

        const QString enumKey = kEnum + deviceId;
        machine.registry.setMultiString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("HardwareID"), device.hardwareIds);
        if (!device.compatibleIds.isEmpty())
            machine.registry.setMultiString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("CompatibleIDs"),
                                            device.compatibleIds);
        machine.registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("DeviceDesc"), device.name);
        machine.registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("ClassGUID"), guid);
        machine.registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Class"), QString::fromLatin1(setupClass.name));
        machine.registry.setDword(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("ConfigFlags"), device.errorCode == 28 ? 0x40 : 0);
        if (device.errorCode == 0) {
            const int instance = driverCounts[guid]++;
            const QString driver = guid + QStringLiteral("\\%1").arg(instance, 4, 10, QLatin1Char('0'));
            QString version = device.driverModule.isEmpty()
                                  ? QString()
                                  : SysfsContext::attribute(context.sysPath(QStringLiteral("module/") + device.driverModule
                                                                            + QStringLiteral("/version")))
                                        .trimmed();
            if (version.isEmpty())
                version = kernel;
            machine.registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Driver"), driver);
            if (device.manufacturer)
                machine.registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Mfg"), *device.manufacturer);
            if (!device.driverModule.isEmpty())
                machine.registry.setString(HKEY_LOCAL_MACHINE, enumKey, QStringLiteral("Service"), device.driverModule);
            const QString driverKey = kClass + driver;
            machine.registry.setString(HKEY_LOCAL_MACHINE, driverKey, QStringLiteral("DriverVersion"), version);
            machine.registry.setString(HKEY_LOCAL_MACHINE, driverKey, QStringLiteral("DriverDesc"), device.name);
            machine.registry.setString(HKEY_LOCAL_MACHINE, driverKey, QStringLiteral("MatchingDeviceId"),
                                       device.hardwareIds.value(0).toLower());
        }

        WmiObject object;
        object.set(QStringLiteral("DeviceID"), deviceId);
        object.set(QStringLiteral("Name"), device.name);
        object.set(QStringLiteral("Manufacturer"), device.manufacturer ? QVariant(*device.manufacturer) : QVariant());
        object.set(QStringLiteral("ConfigManagerErrorCode"), QVariant(device.errorCode));
        object.set(QStringLiteral("ClassGuid"), guid);
        machine.devices.push_back(std::move(object));
    }
    return machine;
}

} // namespace os

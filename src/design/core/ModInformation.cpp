#include "core/ModInformation.h"

#include "core/ModMain.h"
#include "core/RegistryRoutines.h"
#include "runtime/DoEvents.h"

#include <memory>

namespace ModInformation {

namespace {

const QString kClassKey = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\");
const QString kEnumKey = QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\");

// The module's two registry objects: each read replaces them, disposing of the previous ones.
std::unique_ptr<RegistryRoutines> g_reg;
std::unique_ptr<RegistryRoutines> g_reg2;

RegistryRoutines &fresh(std::unique_ptr<RegistryRoutines> &slot, const QString &keyRoot)
{
    slot = std::make_unique<RegistryRoutines>();
    slot->sethKey(os::HKEY_LOCAL_MACHINE);
    slot->setKeyRoot(keyRoot);
    return *slot;
}

// A value as text, with the expand and hex flags set and an empty default; yields afterwards.
QString readText(const RegistryRoutines &registry, const QString &name)
{
    std::uint32_t type = 0;
    const QString text = registry.GetRegistryValue(name, QVariant(), &type, true, true).toString();
    runtime::DoEvents();
    return text;
}

std::int32_t numberOf(const QString &text)
{
    bool ok = false;
    const std::int32_t number = text.trimmed().toInt(&ok);
    return ok ? number : 0;
}

} // namespace

QString GetClassIconSource(const QString &classGuid, std::int32_t &iconIndex)
{
    if (classGuid.isEmpty())
        return {};
    const RegistryRoutines &registry = fresh(g_reg, kClassKey + classGuid);
    QString result;
    std::int32_t n = 0;
    const QString iconPath = ModMain::TrimNull(readText(registry, QStringLiteral("IconPath")));
    if (!iconPath.isEmpty()) {
        const QStringList parts = iconPath.split(QLatin1Char(','));
        result = parts.value(0);
        n = numberOf(parts.value(1));
    } else {
        const QString icon = ModMain::TrimNull(readText(registry, QStringLiteral("Icon")));
        const QString pages = ModMain::TrimNull(readText(registry, QStringLiteral("EnumPropPages32")));
        QString file = QStringLiteral("setupapi.dll");
        if (!pages.isEmpty()) {
            const QString library = pages.section(QLatin1Char(','), 0, 0);
            if (!library.isEmpty())
                file = library;
        }
        result = ModMain::SystemFolder + file;
        n = numberOf(icon);
    }
    if (n > 0)
        n = -n;
    iconIndex = n;
    return result;
}

QString GetHardwareIDs(const QString &deviceId)
{
    if (deviceId.isEmpty())
        return QStringLiteral("Unknown");
    const RegistryRoutines &registry = fresh(g_reg, kEnumKey + deviceId);
    QString result = readText(registry, QStringLiteral("HardwareID"));
    result.replace(QChar(0), QLatin1Char('|'));
    return result.isEmpty() ? deviceId : result;
}

QString GetDriverVersion(const QString &deviceId)
{
    if (deviceId.isEmpty())
        return {};
    const QString driver = readText(fresh(g_reg, kEnumKey + deviceId), QStringLiteral("Driver"));
    if (driver.isEmpty())
        return QStringLiteral("Unknown");
    const QString version = readText(fresh(g_reg2, kClassKey + driver), QStringLiteral("DriverVersion"));
    return version.isEmpty() ? QStringLiteral("Unknown") : version;
}

QString GetDeviceClassName(const QString &classGuid)
{
    if (classGuid.isEmpty())
        return QStringLiteral("Unknown (") + QLatin1Char(')');
    const RegistryRoutines &registry = fresh(g_reg, kClassKey + classGuid);
    QString result = readText(registry, QString());
    if (result.isEmpty())
        result = readText(registry, QStringLiteral("Class"));
    if (result.isEmpty())
        result = QStringLiteral("Unknown (") + classGuid + QLatin1Char(')');
    return result;
}

} // namespace ModInformation

#include "os/SnapshotMachine.h"

#include "os/CsvReader.h"
#include "os/RegFile.h"
#include "os/SnapshotText.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <iterator>

namespace os {

namespace {

// The configuration manager's problem names in the order of their numbers, as Get-PnpDevice
// writes the error code (its Win32_PnPEntity objects carry an enumeration, not the number).
const char *const kProblemNames[] = {
    "NONE", "NOT_CONFIGURED", "DEVLOADER_FAILED", "OUT_OF_MEMORY", "ENTRY_IS_WRONG_TYPE", "LACKED_ARBITRATOR",
    "BOOT_CONFIG_CONFLICT", "FAILED_FILTER", "DEVLOADER_NOT_FOUND", "INVALID_DATA", "FAILED_START", "LIAR",
    "NORMAL_CONFLICT", "NOT_VERIFIED", "NEED_RESTART", "REENUMERATION", "PARTIAL_LOG_CONF", "UNKNOWN_RESOURCE",
    "REINSTALL", "REGISTRY", "VXDLDR", "WILL_BE_REMOVED", "DISABLED", "DEVLOADER_NOT_READY", "DEVICE_NOT_THERE",
    "MOVED", "TOO_EARLY", "NO_VALID_LOG_CONF", "FAILED_INSTALL", "HARDWARE_DISABLED", "CANT_SHARE_IRQ",
    "FAILED_ADD", "DISABLED_SERVICE", "TRANSLATION_FAILED", "NO_SOFTCONFIG", "BIOS_TABLE",
    "IRQ_TRANSLATION_FAILED", "FAILED_DRIVER_ENTRY", "DRIVER_FAILED_PRIOR_UNLOAD", "DRIVER_FAILED_LOAD",
    "DRIVER_SERVICE_KEY_INVALID", "LEGACY_SERVICE_NO_DEVICES", "DUPLICATE_DEVICE", "FAILED_POST_START", "HALTED",
    "PHANTOM", "SYSTEM_SHUTDOWN", "HELD_FOR_EJECT", "DRIVER_BLOCKED", "REGISTRY_TOO_LARGE", "SETPROPERTIES_FAILED",
    "WAITING_ON_DEPENDENCY", "UNSIGNED_DRIVER", "USED_BY_DEBUGGER", "DEVICE_RESET", "CONSOLE_LOCKED",
    "NEED_CLASS_CONFIG", "GUEST_ASSIGNMENT_FAILED",
};

// "CM_PROB_FAILED_INSTALL" as 28; any other value as it stands.
QVariant errorCodeOf(const QVariant &value)
{
    const QString text = value.toString().trimmed();
    static const QLatin1String prefix("CM_PROB_");
    if (!text.startsWith(prefix, Qt::CaseInsensitive))
        return value;
    const QStringView name = QStringView(text).mid(prefix.size());
    for (std::size_t code = 0; code < std::size(kProblemNames); ++code) {
        if (name.compare(QLatin1String(kProblemNames[code]), Qt::CaseInsensitive) == 0)
            return QVariant(std::uint32_t(code));
    }
    return value;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

SnapshotMachine::SnapshotMachine(QString folder) : m_folder(std::move(folder)) {}

Machine SnapshotMachine::read()
{
    const QDir dir(m_folder);
    Machine machine;
    machine.devices = devicesFromCsv(readAll(dir.filePath(QStringLiteral("pnpentity.csv"))));
    readRegFile(readAll(dir.filePath(QStringLiteral("registry.reg"))), machine.registry);
    linkCurrentControlSet(machine.registry);
    return machine;
}

std::vector<WmiObject> SnapshotMachine::devicesFromCsv(const QByteArray &bytes)
{
    const CsvTable table = parseCsv(decodeSavedText(bytes));

    // Each column's place among a device's properties, worked out once for the whole file: a
    // name that repeats (in any letter case) keeps the place of its first column and takes the
    // value of its last, as setting the property again would.
    const qsizetype columns = table.header.size();
    std::vector<std::size_t> placeOfColumn(std::size_t(columns), 0);
    std::vector<bool> isErrorCode(std::size_t(columns), false);
    QStringList names;
    QHash<QString, std::size_t> placeOfName;
    for (qsizetype i = 0; i < columns; ++i) {
        const QString &name = table.header[i];
        const QString folded = name.toCaseFolded();
        auto place = placeOfName.constFind(folded);
        if (place == placeOfName.constEnd()) {
            place = placeOfName.insert(folded, std::size_t(names.size()));
            names.append(name);
        }
        placeOfColumn[std::size_t(i)] = *place;
        isErrorCode[std::size_t(i)] = name.compare(QLatin1String("ConfigManagerErrorCode"), Qt::CaseInsensitive) == 0;
    }

    std::vector<WmiObject> devices;
    devices.reserve(table.records.size());
    for (const auto &record : table.records) {
        std::vector<std::pair<QString, QVariant>> properties;
        properties.reserve(record.size());
        for (std::size_t i = 0; i < record.size(); ++i) {
            const QVariant value = isErrorCode[i] && !record[i].isNull() ? errorCodeOf(record[i]) : record[i];
            // A record reaches its columns in order, so a place is either taken or the next one.
            const std::size_t place = placeOfColumn[i];
            if (place < properties.size())
                properties[place].second = value;
            else
                properties.emplace_back(names[qsizetype(place)], value);
        }
        devices.emplace_back(std::move(properties));
    }
    return devices;
}

void SnapshotMachine::linkCurrentControlSet(RegistryTree &tree)
{
    const std::shared_ptr<RegistryKey> system = tree.find(HKEY_LOCAL_MACHINE, QStringLiteral("SYSTEM"));
    if (!system || system->child(QStringLiteral("CurrentControlSet")))
        return;
    std::uint32_t current = 1;
    if (const auto select = system->child(QStringLiteral("Select"))) {
        if (const RegistryValue *value = select->value(QStringLiteral("Current"));
            value && value->type == REG_DWORD && value->data.size() >= 4) {
            current = std::uint8_t(value->data[0]) | (std::uint8_t(value->data[1]) << 8)
                      | (std::uint8_t(value->data[2]) << 16) | (std::uint32_t(std::uint8_t(value->data[3])) << 24);
        }
    }
    const QString name = QStringLiteral("ControlSet%1").arg(current, 3, 10, QLatin1Char('0'));
    if (const auto set = system->child(name))
        system->attachChild(QStringLiteral("CurrentControlSet"), set);
}

} // namespace os

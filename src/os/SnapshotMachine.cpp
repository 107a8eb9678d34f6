#include "os/SnapshotMachine.h"

#include "os/CsvReader.h"
#include "os/RegFile.h"
#include "os/SnapshotText.h"

#include <QDir>
#include <QFile>

namespace os {

namespace {

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
    std::vector<WmiObject> devices;
    devices.reserve(table.records.size());
    for (const auto &record : table.records) {
        WmiObject device;
        for (std::size_t i = 0; i < record.size(); ++i)
            device.set(table.header[qsizetype(i)], record[i]);
        devices.push_back(std::move(device));
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

#include "os/Wmi.h"

#include "os/LiveMachine.h"
#include "os/SnapshotMachine.h"

namespace os {

void WmiObject::set(const QString &name, const QVariant &value)
{
    for (auto &[key, stored] : m_properties) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            stored = value;
            return;
        }
    }
    m_properties.emplace_back(name, value);
}

std::optional<QVariant> WmiObject::get(const QString &name) const
{
    for (const auto &[key, value] : m_properties) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

namespace {

std::unique_ptr<MachineSource> &installedSource()
{
    static std::unique_ptr<MachineSource> source;
    return source;
}

QString canonicalQuery(const QString &query)
{
    return query.simplified().toLower();
}

bool isWorking(const WmiObject &device)
{
    const std::optional<QVariant> code = device.get(QStringLiteral("ConfigManagerErrorCode"));
    if (!code || code->isNull())
        return false;
    bool ok = false;
    const qlonglong number = code->toLongLong(&ok);
    return ok && number == 0;
}

} // namespace

void setMachineSource(std::unique_ptr<MachineSource> source)
{
    installedSource() = std::move(source);
}

MachineSource &machineSource()
{
    auto &source = installedSource();
    if (!source)
        source = machineSourceFromEnvironment();
    return *source;
}

std::unique_ptr<MachineSource> machineSourceFromEnvironment()
{
    const QString folder = qEnvironmentVariable("KESTROVA_MACHINE");
    if (!folder.isEmpty())
        return std::make_unique<SnapshotMachine>(folder);
    return std::make_unique<LiveMachine>();
}

std::vector<WmiObject> WmiServices::ExecQuery(const QString &query, int) const
{
    const QString wanted = canonicalQuery(query);
    const bool all = wanted == canonicalQuery(kQueryAllDevices);
    const bool working = wanted == canonicalQuery(kQueryWorkingDevices);
    if (!all && !working)
        return {};

    Machine machine = machineSource().read();
    installMachineRegistry(std::move(machine.registry));
    if (all)
        return std::move(machine.devices);
    std::vector<WmiObject> result;
    for (WmiObject &device : machine.devices) {
        if (isWorking(device))
            result.push_back(std::move(device));
    }
    return result;
}

std::unique_ptr<WmiServices> GetObject(const QString &moniker)
{
    // "winmgmts:{impersonationLevel=impersonate}!\\.\root\cimv2" names the same namespace.
    QString text = moniker.trimmed().toLower();
    if (!text.startsWith(QStringLiteral("winmgmts:")))
        return nullptr;
    text = text.mid(9);
    if (text.startsWith(QLatin1Char('{'))) {
        const qsizetype close = text.indexOf(QStringLiteral("}!"));
        if (close < 0)
            return nullptr;
        text = text.mid(close + 2);
    }
    if (text != QStringLiteral("\\\\.\\root\\cimv2") && text != QStringLiteral("root\\cimv2"))
        return nullptr;
    return std::make_unique<WmiServices>();
}

} // namespace os

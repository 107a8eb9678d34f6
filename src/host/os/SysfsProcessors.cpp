#include "os/SysfsScanners.h"

#include <QFile>

#include <map>

namespace os {

namespace {

// The fields of /proc/cpuinfo per processor number.
std::map<int, std::map<QString, QString>> readCpuInfo(const QString &path)
{
    std::map<int, std::map<QString, QString>> cpus;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return cpus;
    const QString text = QString::fromUtf8(file.read(4 * 1024 * 1024));
    int current = -1;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed();
        if (key == QLatin1String("processor"))
            current = value.toInt();
        else if (current >= 0)
            cpus[current][key] = value;
    }
    return cpus;
}

} // namespace

std::vector<LiveDevice> scanProcessors(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    const auto info = readCpuInfo(context.procPath(QStringLiteral("cpuinfo")));
    const QString bus = context.sysPath(QStringLiteral("bus/cpu/devices"));
    for (const QString &name : SysfsContext::entries(bus)) {
        if (!name.startsWith(QLatin1String("cpu")))
            continue;
        bool ok = false;
        const int number = name.mid(3).toInt(&ok);
        if (!ok)
            continue;
        const auto found = info.find(number);
        const std::map<QString, QString> fields = found == info.end() ? std::map<QString, QString>() : found->second;
        auto field = [&](const char *key) {
            const auto it = fields.find(QLatin1String(key));
            return it == fields.end() ? QString() : it->second;
        };
        const QString vendor = field("vendor_id");
        const QString model = field("model name").simplified();
        const bool amd = vendor == QLatin1String("AuthenticAMD");
        const QString arch = amd ? QStringLiteral("AMD64") : QStringLiteral("Intel64");
        const QString family = vendor.isEmpty() ? QStringLiteral("Unknown") : vendor;
        const QString base = family + QStringLiteral("_-_") + arch;
        const QString withFamily = base + QStringLiteral("_Family_") + field("cpu family");
        const QString withModel = withFamily + QStringLiteral("_Model_") + field("model");
        const QString full = withModel + QStringLiteral("_-_") + model;

        LiveDevice entry;
        for (const QString &id : {full, withModel, withFamily, base}) {
            entry.hardwareIds.append(QStringLiteral("ACPI\\") + id);
            entry.hardwareIds.append(QLatin1Char('*') + id);
        }
        entry.deviceId = QStringLiteral("ACPI\\") + QString(full).replace(QLatin1Char(' '), QLatin1Char('_')).toUpper()
                         + QStringLiteral("\\_") + QString::number(number);
        entry.name = model.isEmpty() ? QStringLiteral("Processor") : model;
        entry.manufacturer = amd ? QStringLiteral("Advanced Micro Devices")
                                 : vendor == QLatin1String("GenuineIntel") ? QStringLiteral("Intel")
                                                                          : QStringLiteral("(Standard processor types)");
        entry.className = QStringLiteral("Processor");
        devices.push_back(std::move(entry));
    }
    return devices;
}

} // namespace os

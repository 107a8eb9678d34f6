#include "os/SysfsScanners.h"

#include <QFileInfo>

namespace os {

// Connected displays with an EDID: the maker's three-letter PnP ID and the product code.
std::vector<LiveDevice> scanMonitors(const SysfsContext &context)
{
    std::vector<LiveDevice> devices;
    const QString drm = context.sysPath(QStringLiteral("class/drm"));
    for (const QString &name : SysfsContext::entries(drm)) {
        const QString folder = drm + QLatin1Char('/') + name;
        if (!name.contains(QLatin1Char('-')) || SysfsContext::attribute(folder + QStringLiteral("/status")) != QLatin1String("connected"))
            continue;
        const QByteArray edid = SysfsContext::binaryAttribute(folder + QStringLiteral("/edid"), 256);
        if (edid.size() < 128 || !edid.startsWith(QByteArray("\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00", 8)))
            continue;
        const unsigned maker = (unsigned(std::uint8_t(edid[8])) << 8) | std::uint8_t(edid[9]);
        QString pnp;
        for (int shift : {10, 5, 0})
            pnp.append(QChar(char16_t('A' - 1 + ((maker >> shift) & 0x1F))));
        const unsigned product = std::uint8_t(edid[10]) | (unsigned(std::uint8_t(edid[11])) << 8);
        const QString id = pnp + hex4(product);
        LiveDevice entry;
        entry.hardwareIds = {QStringLiteral("MONITOR\\") + id};
        entry.compatibleIds = {QStringLiteral("*PNP09FF")};
        entry.deviceId = QStringLiteral("DISPLAY\\") + id + QLatin1Char('\\')
                         + SysfsContext::instancePrefix(5, context.devicePath(folder)) + QStringLiteral("&UID0");
        entry.name = QStringLiteral("Generic PnP Monitor");
        entry.manufacturer = QStringLiteral("(Standard monitor types)");
        entry.className = QStringLiteral("Monitor");
        devices.push_back(std::move(entry));
    }
    return devices;
}

} // namespace os

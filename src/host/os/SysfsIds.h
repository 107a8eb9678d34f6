#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <unordered_map>

namespace os {

// Names from one of the public ID lists (pci.ids or usb.ids): vendor lines "vvvv  Name", device
// lines "\tdddd  Name", subsystem lines "\t\tssss ssss  Name". Only the vendor lines are indexed;
// a device is looked up by reading its vendor's block, so a scan that names a few devices reads the
// file once and parses little of it.
class SysfsIds
{
public:
    explicit SysfsIds(const QString &path);

    QString vendor(std::uint16_t vendor) const;
    QString device(std::uint16_t vendor, std::uint16_t device) const;
    QString subsystem(std::uint16_t vendor, std::uint16_t device, std::uint16_t subVendor,
                      std::uint16_t subDevice) const;

private:
    QByteArray m_text;
    std::unordered_map<std::uint16_t, qsizetype> m_vendors; // line start of each vendor
};

} // namespace os

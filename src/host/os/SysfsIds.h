#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>

namespace os {

// One line of a public ID list (pci.ids or usb.ids), read by the one rule that the scan's names
// and the database build share: the leading tabs give its depth, then a hex ID of four digits
// (two for a USB interface, two tabs in), for a PCI subsystem a second four-digit ID after one
// space, then two spaces and a name that is not blank. Comments, blank lines and the lines of the
// lists' other sections are no ID lines.
struct IdListLine {
    int depth = 0;
    std::uint16_t id = 0;
    int digits = 4;
    std::optional<std::uint16_t> second;
    QByteArrayView name;   // trimmed of white space; a view into the line read
};
std::optional<IdListLine> ReadIdListLine(QByteArrayView line);

// Whether a line ends the block of the vendor above it: a line that is neither blank, indented
// nor a comment (a vendor of its own, or the heading of another section such as "C 01  Mass
// storage controller").
bool EndsVendorBlock(QByteArrayView line);

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
    // Runs `visit(depth, line)` over the lines of the vendor's block no deeper than `deepest`
    // until it answers true. The visit reads a line in full (ReadIdListLine) only where its
    // leading ID is one it seeks.
    template<typename Visit>
    void forEachInVendorBlock(std::uint16_t vendor, int deepest, Visit &&visit) const;

    // The list is mapped, not read: the scan touches each of its pages once, and the kernel's
    // page cache holds them already. A file that cannot be mapped is read.
    QFile m_file;
    QByteArray m_read;
    QByteArrayView m_text;
    std::unordered_map<std::uint16_t, qsizetype> m_vendors; // line start of each vendor
};

} // namespace os

#include "IdCatalogue.h"

#include "os/SysfsIds.h"

#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace hwids {

void IdCatalogue::noteDate(QDate date)
{
    if (date.isValid() && (!newest_.isValid() || date > newest_))
        newest_ = date;
}

void IdCatalogue::offer(Names &names, const QString &key, const QString &text, QDate date)
{
    if (text.isEmpty())
        return;
    const auto found = names.find(key);
    if (found == names.end())
        names.insert(key, {text, date});
    else if (date > found->date)
        *found = {text, date};
}

namespace {

bool readLines(const QString &path, QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "make-hwids: cannot read %s\n", qPrintable(path));
        return false;
    }
    lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    return true;
}

// An ID as the catalogue keys it: upper-case hex of the line's digits.
QString hexKey(std::uint16_t id, int digits)
{
    return QStringLiteral("%1").arg(id, digits, 16, QLatin1Char('0')).toUpper();
}

QDate listDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^#\\s*Date:\\s*(\\d{4})-(\\d{2})-(\\d{2})"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

// The lists' date line comes before any ID, so every name is read with the date already known.
QDate idsDate(const QStringList &lines)
{
    for (const QString &text : lines) {
        if (!text.startsWith(QLatin1Char('#')))
            break;
        if (const QDate date = listDate(text); date.isValid())
            return date;
    }
    return {};
}

// The lines of a pci.ids-shaped list and its date, which the catalogue notes.
bool openIdsList(const QString &path, IdCatalogue &catalogue, QStringList &lines, QDate &date)
{
    if (!readLines(path, lines))
        return false;
    date = idsDate(lines);
    catalogue.noteDate(date);
    return true;
}

// pci.ids and usb.ids share one shape: a vendor line, its devices (products) one tab in, and
// below each of those a third level two tabs in. The third level differs: a PCI subsystem names
// a subvendor and subdevice, a USB interface one two-digit number.
struct IdTree {
    IdCatalogue::Names &vendors;
    IdCatalogue::Names &children;
    IdCatalogue::Names &grandchildren;
    bool grandchildHasSecondId;
};

bool readIdTree(const QString &path, IdCatalogue &catalogue, const IdTree &tree)
{
    QStringList lines;
    QDate date;
    if (!openIdsList(path, catalogue, lines, date))
        return false;
    QString vendor;
    QString child;
    for (const QString &text : std::as_const(lines)) {
        const QByteArray bytes = text.toUtf8();
        const std::optional<os::IdListLine> line = os::ReadIdListLine(bytes);
        if (!line || (!tree.grandchildHasSecondId && line->second)) {
            if (os::EndsVendorBlock(bytes))
                vendor.clear();
            continue;
        }
        const QString id = hexKey(line->id, line->digits);
        const QString name = QString::fromUtf8(line->name);
        if (line->depth == 0 && !line->second) {
            vendor = id;
            child.clear();
            IdCatalogue::offer(tree.vendors, vendor, name, date);
        } else if (vendor.isEmpty()) {
            continue;
        } else if (line->depth == 1 && !line->second) {
            child = vendor + QLatin1Char(':') + id;
            IdCatalogue::offer(tree.children, child, name, date);
        } else if (line->depth == 2 && !child.isEmpty() && !line->second != tree.grandchildHasSecondId) {
            QString key = child + QLatin1Char(':') + id;
            if (tree.grandchildHasSecondId)
                key += QLatin1Char(':') + hexKey(*line->second, 4);
            IdCatalogue::offer(tree.grandchildren, key, name, date);
        }
    }
    return true;
}

}

bool readPciIds(const QString &path, IdCatalogue &catalogue)
{
    return readIdTree(path, catalogue, {catalogue.pciVendors, catalogue.pciDevices, catalogue.pciSubsystems, true});
}

bool readUsbIds(const QString &path, IdCatalogue &catalogue)
{
    return readIdTree(path, catalogue, {catalogue.usbVendors, catalogue.usbProducts, catalogue.usbInterfaces, false});
}

namespace {

// udev writes a subsystem as "device (board)", or the device's name alone where the board line
// only repeated it; the board's own words are what the catalogue keeps, as pci.ids has them.
QString boardWords(const QString &model, const QString &deviceName)
{
    if (deviceName.isEmpty() || !model.startsWith(deviceName))
        return model;
    const QString rest = model.mid(deviceName.size()).trimmed();
    if (rest.isEmpty())
        return deviceName;
    if (rest.startsWith(QLatin1Char('(')) && rest.endsWith(QLatin1Char(')')))
        return rest.mid(1, rest.size() - 2).trimmed();
    return model;
}

}

namespace {

// Takes udev's records in their order, which puts a PCI device before its subsystems.
class HwdbRecords {
public:
    HwdbRecords(IdCatalogue &catalogue, QDate date) : catalogue_(catalogue), date_(date) {}

    // key: the record's "pci:v...*" or "usb:v...*" line, matched; field: VENDOR or MODEL.
    void take(const QRegularExpressionMatch &key, const QString &field, const QString &name)
    {
        const bool pci = key.captured(1) == QLatin1String("pci");
        const QString vendor = key.captured(2).toUpper();
        const QString device = key.captured(3).toUpper();
        if (field == QLatin1String("VENDOR")) {
            if (device.isEmpty())
                IdCatalogue::offer(pci ? catalogue_.pciVendors : catalogue_.usbVendors, vendor, name, date_);
            return;
        }
        if (device.isEmpty())
            return;
        const QString deviceId = vendor + QLatin1Char(':') + device;
        if (!pci) {
            IdCatalogue::offer(catalogue_.usbProducts, deviceId, name, date_);
        } else if (key.captured(4).isEmpty()) {
            deviceId_ = deviceId;
            deviceName_ = name;
            IdCatalogue::offer(catalogue_.pciDevices, deviceId, name, date_);
        } else {
            const QString subsystem = deviceId + QLatin1Char(':') + key.captured(4).toUpper() + QLatin1Char(':') + key.captured(5).toUpper();
            IdCatalogue::offer(catalogue_.pciSubsystems, subsystem, boardWords(name, deviceId_ == deviceId ? deviceName_ : QString()), date_);
        }
    }

private:
    IdCatalogue &catalogue_;
    const QDate date_;
    QString deviceId_;     // the last PCI device, whose name udev repeats in its subsystems' names
    QString deviceName_;
};

}

bool readHwdb(const QString &path, IdCatalogue &catalogue)
{
    QStringList lines;
    if (!readLines(path, lines))
        return false;
    // udev's lists carry no date line; the file's time is when its package made them.
    const QDate date = QFileInfo(path).lastModified().toUTC().date();
    catalogue.noteDate(date);
    static const QRegularExpression keyPattern(QStringLiteral(
        "^(pci|usb):v(?:0000)?([0-9A-Fa-f]{4})(?:(?:d0000|p)([0-9A-Fa-f]{4}))?(?:sv0000([0-9A-Fa-f]{4})sd0000([0-9A-Fa-f]{4}))?\\*$"));
    static const QRegularExpression valuePattern(QStringLiteral("^ ID_(VENDOR|MODEL)_FROM_DATABASE=(.*)$"));
    HwdbRecords records(catalogue, date);
    QRegularExpressionMatch key;
    for (const QString &text : std::as_const(lines)) {
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        if (!text.startsWith(QLatin1Char(' '))) {
            key = keyPattern.match(text);
            continue;
        }
        const QRegularExpressionMatch value = valuePattern.match(text);
        if (key.hasMatch() && value.hasMatch())
            records.take(key, value.captured(1), value.captured(2).trimmed());
    }
    return true;
}

}

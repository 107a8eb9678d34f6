#pragma once

#include <QDate>
#include <QMap>
#include <QString>

namespace hwids {

// One name a list gives an ID, with the date of the list that gave it.
struct DatedName {
    QString text;
    QDate date;
};

// The names the public ID lists give, keyed by upper-case hex IDs joined with ':'. Where two
// lists name one ID differently, the newer list's name stands.
class IdCatalogue {
public:
    using Names = QMap<QString, DatedName>;

    Names pciVendors;      // "8086"
    Names pciDevices;      // "8086:1C3A"
    Names pciSubsystems;   // "8086:1C3A:1028:04A3": device, then subvendor and subdevice; the board's own words
    Names usbVendors;      // "046D"
    Names usbProducts;     // "046D:C52B"
    Names usbInterfaces;   // "046D:C52B:00"

    // The newest date of any list read so far; invalid while no list had one.
    QDate newest() const { return newest_; }
    void noteDate(QDate date);

    // Gives the ID the name unless it has one from a list at least as new.
    static void offer(Names &names, const QString &key, const QString &text, QDate date);

private:
    QDate newest_;
};

// The lists in their two public forms. Each returns false when the file cannot be read.
bool readPciIds(const QString &path, IdCatalogue &catalogue);
bool readUsbIds(const QString &path, IdCatalogue &catalogue);
// udev's hardware database (pci: and usb: records); it names subsystems "device (board)".
bool readHwdb(const QString &path, IdCatalogue &catalogue);

}

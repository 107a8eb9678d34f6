#include "HardwareRows.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace hwids {

namespace {

// usb.ids does not say which products are composite or HID, so the children's forms are bounded
// by what real devices use. Any product may be composite: interfaces MI_00 to MI_03 cover phones,
// cameras, audio and keyboards. A HID child is named "HID\VID_v&PID_p" on a plain device, with
// "&MI_nn" on a composite one and "&ColNN" when it has several top-level collections; the HID forms
// of keyboards' and receivers' first two interfaces are given to every product, the further
// interfaces (a headset's HID on MI_03) and the collections only to products named as input devices.
constexpr int kInterfaces = 4;
constexpr int kHidInterfaces = 2;
constexpr int kInputHidInterfaces = 4;
constexpr int kInputCollections = 4;

const QString kUnknown = QStringLiteral("Unknown");

QString hex2(int number)
{
    return QStringLiteral("%1").arg(number, 2, 16, QLatin1Char('0')).toUpper();
}

QString textOf(const IdCatalogue::Names &names, const QString &key)
{
    const auto found = names.constFind(key);
    return found == names.constEnd() ? QString() : found->text;
}

QString makerOf(const IdCatalogue::Names &vendors, const QString &vendorId)
{
    const QString maker = textOf(vendors, vendorId);
    return maker.isEmpty() ? kUnknown : maker.left(kNameSize);
}

// "Name (detail)", fitted to the column by shortening the detail, never the name.
QString withDetail(const QString &name, const QString &detail)
{
    if (detail.isEmpty() || detail.compare(name, Qt::CaseInsensitive) == 0)
        return name.left(kNameSize);
    const QString whole = name + QStringLiteral(" (") + detail + QLatin1Char(')');
    if (whole.size() <= kNameSize)
        return whole;
    const qsizetype room = kNameSize - name.size() - qsizetype(sizeof(" (...)") - 1);
    if (room <= 0)
        return name.left(kNameSize);
    return name + QStringLiteral(" (") + detail.left(room).trimmed() + QStringLiteral("...)");
}

void addPci(const IdCatalogue &catalogue, std::vector<Entry> &rows)
{
    for (auto device = catalogue.pciDevices.cbegin(); device != catalogue.pciDevices.cend(); ++device) {
        const QString vendorId = device.key().section(QLatin1Char(':'), 0, 0);
        rows.push_back({QStringLiteral("PCI\\VEN_%1&DEV_%2").arg(vendorId, device.key().section(QLatin1Char(':'), 1, 1)),
                        device->text.left(kNameSize), makerOf(catalogue.pciVendors, vendorId)});
    }
    for (auto subsystem = catalogue.pciSubsystems.cbegin(); subsystem != catalogue.pciSubsystems.cend(); ++subsystem) {
        const QStringList ids = subsystem.key().split(QLatin1Char(':'));
        const QString device = textOf(catalogue.pciDevices, ids[0] + QLatin1Char(':') + ids[1]);
        // The list writes subvendor then subdevice; Windows writes the subsystem device first.
        rows.push_back({QStringLiteral("PCI\\VEN_%1&DEV_%2&SUBSYS_%3%4").arg(ids[0], ids[1], ids[3], ids[2]),
                        device.isEmpty() ? subsystem->text.left(kNameSize) : subsystemName(device, subsystem->text),
                        makerOf(catalogue.pciVendors, ids[0])});
    }
}

void addRootHubs(const IdCatalogue &catalogue, std::vector<Entry> &rows)
{
    static const QString standardHubs = QStringLiteral("(Standard USB HUBs)");
    for (const QString &kind : {QStringLiteral("USB\\ROOT_HUB"), QStringLiteral("USB\\ROOT_HUB20"), QStringLiteral("USB\\ROOT_HUB30")})
        rows.push_back({kind, QStringLiteral("USB Root Hub"), standardHubs});
    for (auto device = catalogue.pciDevices.cbegin(); device != catalogue.pciDevices.cend(); ++device) {
        const QString vendorId = device.key().section(QLatin1Char(':'), 0, 0);
        const QString deviceId = device.key().section(QLatin1Char(':'), 1, 1);
        for (const QString &kind : rootHubKinds(device->text)) {
            rows.push_back({QStringLiteral("%1&VID%2&PID%3").arg(kind, vendorId, deviceId),
                            withDetail(QStringLiteral("USB Root Hub"), device->text), makerOf(catalogue.pciVendors, vendorId)});
        }
    }
}

bool namesInputDevice(const QString &productName)
{
    static const QRegularExpression input(
        QStringLiteral("\\b(keyboard|keypad|numpad|mouse|mice|receiver|dongle|unifying|lightspeed|trackball|touchpad|trackpad|touch"
                       "|joystick|gamepad|game|controller|wheel|pedal|arcade|presenter|remote|headset|headphone|speaker|ups"
                       "|uninterruptible|pen|tablet|digitizer|stylus|hid|input|barcode|kvm|fido|u2f|security key|macro|rgb)"),
        QRegularExpression::CaseInsensitiveOption);
    return input.match(productName).hasMatch();
}

// The first `count` interface numbers, and any that usb.ids names for the product.
QList<int> interfaceNumbers(const IdCatalogue &catalogue, const QString &product, int count)
{
    QList<int> numbers;
    for (int number = 0; number < count; ++number)
        numbers << number;
    const QString prefix = product + QLatin1Char(':');
    for (auto named = catalogue.usbInterfaces.lowerBound(prefix); named != catalogue.usbInterfaces.cend() && named.key().startsWith(prefix);
         ++named) {
        const int number = named.key().section(QLatin1Char(':'), 2, 2).toInt(nullptr, 16);
        if (!numbers.contains(number))
            numbers << number;
    }
    return numbers;
}

void addUsbProduct(const IdCatalogue &catalogue, const QString &product, const QString &productName, std::vector<Entry> &rows)
{
    const QString vendorId = product.section(QLatin1Char(':'), 0, 0);
    const QString base = QStringLiteral("VID_%1&PID_%2").arg(vendorId, product.section(QLatin1Char(':'), 1, 1));
    const QString maker = makerOf(catalogue.usbVendors, vendorId);
    const auto interfaceName = [&](int number) {
        return withDetail(productName, textOf(catalogue.usbInterfaces, product + QLatin1Char(':') + hex2(number)));
    };
    const bool input = namesInputDevice(productName);
    const int collections = input ? kInputCollections : 0;
    const auto addHid = [&](const QString &form, const QString &name) {
        rows.push_back({QStringLiteral("HID\\") + base + form, name, maker});
        for (int collection = 1; collection <= collections; ++collection)
            rows.push_back({QStringLiteral("HID\\") + base + form + QStringLiteral("&Col") + hex2(collection), name, maker});
    };

    rows.push_back({QStringLiteral("USB\\") + base, productName.left(kNameSize), maker});
    for (const int number : interfaceNumbers(catalogue, product, kInterfaces))
        rows.push_back({QStringLiteral("USB\\") + base + QStringLiteral("&MI_") + hex2(number), interfaceName(number), maker});
    addHid(QString(), productName.left(kNameSize));
    for (const int number : interfaceNumbers(catalogue, product, input ? kInputHidInterfaces : kHidInterfaces))
        addHid(QStringLiteral("&MI_") + hex2(number), interfaceName(number));
}

void addUsb(const IdCatalogue &catalogue, std::vector<Entry> &rows)
{
    for (auto product = catalogue.usbProducts.cbegin(); product != catalogue.usbProducts.cend(); ++product)
        addUsbProduct(catalogue, product.key(), product->text, rows);
}

}

QString subsystemName(const QString &device, const QString &board)
{
    return withDetail(device, board);
}

QStringList rootHubKinds(const QString &controllerName)
{
    static const QRegularExpression usb(QStringLiteral("\\bUSB|[XEU]HCI"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression notHost(QStringLiteral("Device Controller|Function|Type-C|\\bPD\\b|1394|FireWire"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression super(QStringLiteral("xHCI|USB ?[34]|\\b3\\.[0-2]\\b|SuperSpeed"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression high(QStringLiteral("EHCI|USB ?2|\\b2\\.0\\b|Enhanced"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression full(QStringLiteral("OHCI|UHCI|USB ?1|\\b1\\.[01]\\b"), QRegularExpression::CaseInsensitiveOption);
    if (!usb.match(controllerName).hasMatch() || notHost.match(controllerName).hasMatch())
        return {};
    // An xHCI controller serves its USB 2 ports through its one root hub too.
    if (super.match(controllerName).hasMatch())
        return {QStringLiteral("USB\\ROOT_HUB30")};
    QStringList kinds;
    if (high.match(controllerName).hasMatch())
        kinds << QStringLiteral("USB\\ROOT_HUB20");
    if (full.match(controllerName).hasMatch())
        kinds << QStringLiteral("USB\\ROOT_HUB");
    if (kinds.isEmpty())
        kinds << QStringLiteral("USB\\ROOT_HUB30") << QStringLiteral("USB\\ROOT_HUB20") << QStringLiteral("USB\\ROOT_HUB");
    return kinds;
}

std::vector<Entry> hardwareRows(const IdCatalogue &catalogue)
{
    std::vector<Entry> rows;
    addPci(catalogue, rows);
    addRootHubs(catalogue, rows);
    addUsb(catalogue, rows);
    // In ID order the index fills its pages, which keeps the file small.
    std::sort(rows.begin(), rows.end(), [](const Entry &a, const Entry &b) { return a.hardwareId < b.hardwareId; });
    return rows;
}

}

// The shapes of USB and firmware devices the saved desktop does not have, each in a small tree
// written by the test: a USB 3 root hub, hubs, devices without interfaces or drivers, composite
// devices of the interface-association class, names from the ID list, serial numbers that
// cannot be instances; serial ports, devices driven through their physical nodes, PNP and
// platform devices that an ACPI device does or does not stand for.
#include "os/LiveMachine.h"
#include "os/LiveMachineClasses.h"
#include "os/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace os;

namespace {

struct UsbInterfaceRow
{
    int number;
    const char *cls;
    const char *subClass;
    const char *protocol;
    const char *driver; // nullptr for none
};

class Tree
{
public:
    Tree() : m_root(QFileInfo(m_dir.path()).canonicalFilePath()) {}

    QString root() const { return m_root; }

    void write(const QString &path, const QByteArray &text = {}) const
    {
        const QString full = m_root + QLatin1Char('/') + path;
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << full.toStdString();
        file.write(text);
    }

    void link(const QString &path, const QString &target) const
    {
        const QString full = m_root + QLatin1Char('/') + path;
        QDir().mkpath(QFileInfo(full).path());
        QDir().mkpath(m_root + QLatin1Char('/') + target);
        ASSERT_TRUE(QFile::link(m_root + QLatin1Char('/') + target, full)) << full.toStdString();
    }

    void driver(const QString &device, const QString &bus, const QString &name) const
    {
        write(QStringLiteral("sys/bus/%1/drivers/%2/uevent").arg(bus, name));
        link(device + QStringLiteral("/driver"), QStringLiteral("sys/bus/%1/drivers/%2").arg(bus, name));
    }

    QString usb(const QString &name, const QString &parent, const char *vid, const char *pid, const char *deviceClass,
                const char *product, const char *maker, const char *serial, const char *speed,
                const std::vector<UsbInterfaceRow> &interfaces) const
    {
        const QString path = parent + QLatin1Char('/') + name;
        const QString port = name.contains(QLatin1Char('-')) ? name.section(QLatin1Char('-'), -1) : QStringLiteral("0");
        const std::pair<const char *, QByteArray> attributes[] = {
            {"idVendor", vid}, {"idProduct", pid}, {"bcdDevice", "0100"}, {"bDeviceClass", deviceClass},
            {"speed", speed}, {"devpath", port.toLatin1()}, {"product", product}, {"manufacturer", maker},
            {"serial", serial}};
        for (const auto &[attribute, value] : attributes) {
            if (!value.isEmpty())
                write(path + QLatin1Char('/') + QLatin1String(attribute), value + '\n');
        }
        link(QStringLiteral("sys/bus/usb/devices/") + name, path);
        driver(path, QStringLiteral("usb"), QStringLiteral("usb"));
        for (const UsbInterfaceRow &row : interfaces) {
            const QString interface = name + QStringLiteral(":1.%1").arg(row.number);
            const QString folder = path + QLatin1Char('/') + interface;
            write(folder + QStringLiteral("/bInterfaceNumber"), QByteArray::number(row.number, 16) + '\n');
            write(folder + QStringLiteral("/bInterfaceClass"), QByteArray(row.cls) + '\n');
            write(folder + QStringLiteral("/bInterfaceSubClass"), QByteArray(row.subClass) + '\n');
            write(folder + QStringLiteral("/bInterfaceProtocol"), QByteArray(row.protocol) + '\n');
            link(QStringLiteral("sys/bus/usb/devices/") + interface, folder);
            if (row.driver)
                driver(folder, QStringLiteral("usb"), QString::fromLatin1(row.driver));
        }
        return path;
    }

    QString acpi(const QString &name, const char *hid, const char *driverName = nullptr, const QString &physical = {}) const
    {
        const QString path = QStringLiteral("sys/devices/LNXSYSTM:00/") + name;
        write(path + QStringLiteral("/hid"), QByteArray(hid) + '\n');
        link(QStringLiteral("sys/bus/acpi/devices/") + name, path);
        if (driverName)
            driver(path, QStringLiteral("acpi"), QString::fromLatin1(driverName));
        if (!physical.isEmpty())
            link(path + QStringLiteral("/physical_node"), physical);
        return path;
    }

    QString pnp(const QString &name, const QByteArray &ids) const
    {
        const QString path = QStringLiteral("sys/devices/pnp0/") + name;
        write(path + QStringLiteral("/id"), ids);
        link(QStringLiteral("sys/bus/pnp/devices/") + name, path);
        return path;
    }

private:
    QTemporaryDir m_dir;
    QString m_root;
};

QString text(const WmiObject &device, const char *name)
{
    const auto value = device.get(QString::fromLatin1(name));
    if (!value)
        return QStringLiteral("<absent>");
    return value->isNull() ? QStringLiteral("<null>") : value->toString();
}

class Shapes : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_tree = new Tree;
        const Tree &tree = *s_tree;
        tree.write(QStringLiteral("ids/usb.ids"), "1234  Widgets Inc.\n\t5678  Widget Pro\n");
        tree.write(QStringLiteral("proc/cpuinfo"));
        const QString controller = QStringLiteral("sys/devices/pci0000:00/0000:00:14.0");
        const QString root = tree.usb(QStringLiteral("usb2"), controller, "1d6b", "0003", "09", {}, {}, {}, "5000",
                                      {{0, "09", "00", "00", "hub"}});
        const QString hub = tree.usb(QStringLiteral("2-1"), root, "05e3", "0610", "09", "USB2.0 Hub", {}, {}, "480",
                                     {{0, "09", "00", "02", nullptr}});
        tree.usb(QStringLiteral("2-1.1"), hub, "abcd", "0001", "00", {}, {}, "A\\B", "12", {});
        tree.usb(QStringLiteral("2-1.2"), hub, "abcd", "0002", "ef", {}, "Maker", QByteArray(70, 'X').constData(), "12",
                 {{0, "ff", "00", "00", "vendordrv"}, {2, "ff", "01", "01", nullptr}, {3, "0e", "01", "00", "uvcvideo"}});
        tree.usb(QStringLiteral("2-1.3"), hub, "1234", "5678", "ff", {}, {}, {}, "12", {{0, "ff", "00", "00", "vendordrv"}});
        tree.usb(QStringLiteral("2-1.4"), hub, "1234", "5679", "00", "Thing", "Co", "SER1", "12",
                 {{0, "02", "02", "01", "cdc_acm"}, {1, "0a", "00", "00", "cdc_acm"}});

        const QString serial = tree.pnp(QStringLiteral("00:05"), "PNP0501\nPNP0500\n");
        tree.write(serial + QStringLiteral("/tty/ttyS2/dev"), "4:66\n");
        const QString port = tree.acpi(QStringLiteral("PNP0501:00"), "PNP0501", nullptr, serial);
        tree.write(port + QStringLiteral("/uid"), "7\n");
        const QString driven = tree.pnp(QStringLiteral("00:06"), "PNP0501\n");
        tree.driver(driven, QStringLiteral("pnp"), QStringLiteral("serial"));
        tree.acpi(QStringLiteral("WXYZ0001:0a"), "WXYZ0001", "somedrv");
        tree.acpi(QStringLiteral("WXYZ0002:0b"), "WXYZ0002", nullptr, driven);
        tree.pnp(QStringLiteral("00:07"), "\n");
        tree.pnp(QStringLiteral("00:08"), "PNP0B00\n");
        for (const char *device : {"pcspkr", "rtc_cmos", "i8042"}) {
            const QString folder = QStringLiteral("sys/devices/platform/") + QLatin1String(device);
            tree.write(folder + QStringLiteral("/modalias"), QByteArray("platform:") + device + '\n');
            tree.link(QStringLiteral("sys/bus/platform/devices/") + QLatin1String(device), folder);
        }
        tree.write(QStringLiteral("sys/devices/platform/i8042/firmware_node/hid"), "PNP0303\n");

        s_machine = new Machine(LiveMachine({tree.root() + "/sys", tree.root() + "/proc", tree.root() + "/ids"}).read());
    }
    static void TearDownTestSuite()
    {
        delete s_machine;
        delete s_tree;
    }

    static std::vector<const WmiObject *> devices(const QString &idPrefix)
    {
        std::vector<const WmiObject *> found;
        for (const WmiObject &object : s_machine->devices) {
            if (text(object, "DeviceID").startsWith(idPrefix))
                found.push_back(&object);
        }
        return found;
    }

    static QStringList ids(const char *idPrefix, const char *kind)
    {
        const std::vector<const WmiObject *> found = devices(QString::fromLatin1(idPrefix));
        if (found.size() != 1)
            return {QStringLiteral("<%1 devices>").arg(found.size())};
        const auto key = s_machine->registry.find(
            HKEY_LOCAL_MACHINE, QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\") + text(*found.front(), "DeviceID"));
        const RegistryValue *value = key ? key->value(QString::fromLatin1(kind)) : nullptr;
        if (!value)
            return {};
        QStringList list = regDecodeUtf16(value->data).split(QChar(0));
        while (!list.isEmpty() && list.back().isEmpty())
            list.removeLast();
        return list;
    }

    static Tree *s_tree;
    static Machine *s_machine;
};

Tree *Shapes::s_tree = nullptr;
Machine *Shapes::s_machine = nullptr;

struct Expected
{
    const char *id; // the whole device ID, or its start up to the instance
    const char *name;
    const char *maker; // "<null>" for none
    int code;
    const char *setupClass;
};

TEST_F(Shapes, EachDeviceIsListedOnceAsWindowsWould)
{
    const Expected rows[] = {
        {"USB\\ROOT_HUB30\\4&", "USB Root Hub (USB 3.0)", "(Standard USB HUBs)", 0, "USB"},
        {"USB\\VID_05E3&PID_0610\\5&", "Generic USB Hub", "(Standard USB HUBs)", 0, "USB"},
        {"USB\\VID_ABCD&PID_0001\\5&", "Unknown USB Device", "<null>", 28, "Unknown"},
        {"USB\\VID_ABCD&PID_0002\\5&", "USB Composite Device", "(Standard USB Host Controller)", 0, "USB"},
        {"USB\\VID_ABCD&PID_0002&MI_00\\6&", "USB Device", "Maker", 0, "USBDevice"},
        {"USB\\VID_ABCD&PID_0002&MI_02\\6&", "Unknown USB Device", "<null>", 28, "Unknown"},
        {"USB\\VID_ABCD&PID_0002&MI_03\\6&", "USB Video Device", "Microsoft", 0, "Camera"},
        {"USB\\VID_1234&PID_5678\\5&", "Widget Pro", "Widgets Inc.", 0, "USBDevice"},
        {"USB\\VID_1234&PID_5679\\SER1", "USB Composite Device", "(Standard USB Host Controller)", 0, "USB"},
        {"USB\\VID_1234&PID_5679&MI_00\\6&", "USB Serial Device", "Microsoft", 0, "Ports"},
        {"USB\\VID_1234&PID_5679&MI_01\\6&", "Thing", "Co", 0, "USBDevice"},
        {"ACPI\\PNP0501\\7", "Communications Port (COM3)", "(Standard port types)", 0, "Ports"},
        {"ACPI\\WXYZ0001\\10", "ACPI Device WXYZ0001", "(Standard system devices)", 0, "System"},
        {"ACPI\\WXYZ0002\\11", "ACPI Device WXYZ0002", "(Standard system devices)", 0, "System"},
        {"ACPI\\PNP0B00\\08", "System CMOS/real time clock", "(Standard system devices)", 0, "System"},
        {"ACPI\\PNP0800\\0", "System speaker", "(Standard system devices)", 0, "System"},
    };
    for (const Expected &row : rows) {
        const std::vector<const WmiObject *> found = devices(QString::fromLatin1(row.id));
        ASSERT_EQ(found.size(), 1u) << row.id;
        EXPECT_EQ(text(*found.front(), "Name"), QString::fromLatin1(row.name)) << row.id;
        EXPECT_EQ(text(*found.front(), "Manufacturer"), QString::fromLatin1(row.maker)) << row.id;
        EXPECT_EQ(text(*found.front(), "ConfigManagerErrorCode"), QString::number(row.code)) << row.id;
        EXPECT_EQ(text(*found.front(), "ClassGuid"), QString::fromLatin1(deviceClass(row.setupClass).guid)) << row.id;
    }
    EXPECT_EQ(s_machine->devices.size(), std::size(rows))
        << "the covered serial port, the empty PNP ID, the listed clock and the keyboard with a firmware node add none";
}

TEST_F(Shapes, IdsOfHubsAndCompositeDevices)
{
    EXPECT_EQ(ids("USB\\ROOT_HUB30", "HardwareID"),
              QStringList({"USB\\ROOT_HUB30&VID1D6B&PID0003&REV0100", "USB\\ROOT_HUB30&VID1D6B&PID0003", "USB\\ROOT_HUB30"}));
    EXPECT_EQ(ids("USB\\VID_ABCD&PID_0002\\", "CompatibleIDs"),
              QStringList({"USB\\DevClass_EF&SubClass_00&Prot_00", "USB\\DevClass_EF&SubClass_00", "USB\\DevClass_EF",
                           "USB\\COMPOSITE"}));
    EXPECT_EQ(ids("USB\\VID_ABCD&PID_0002&MI_03", "HardwareID"),
              QStringList({"USB\\VID_ABCD&PID_0002&REV_0100&MI_03", "USB\\VID_ABCD&PID_0002&MI_03"}));
    EXPECT_EQ(ids("USB\\VID_ABCD&PID_0002&MI_03", "CompatibleIDs"),
              QStringList({"USB\\Class_0E&SubClass_01&Prot_00", "USB\\Class_0E&SubClass_01", "USB\\Class_0E"}));
    EXPECT_EQ(ids("USB\\VID_05E3&PID_0610", "CompatibleIDs"),
              QStringList({"USB\\Class_09&SubClass_00&Prot_02", "USB\\Class_09&SubClass_00", "USB\\Class_09"}));
}

} // namespace

#include "os/LiveMachine.h"
#include "os/LiveMachineClasses.h"
#include "os/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <map>

using namespace os;

namespace {

const QString kFixture = QStringLiteral(KESTROVA_FIXTURES "/machines/sysfs-desktop");
const QString kEnum = QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\");
const QString kClass = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\");

LiveMachineRoots fixtureRoots()
{
    return {kFixture + "/sys", kFixture + "/proc", kFixture + "/ids"};
}

QString text(const WmiObject &device, const char *name)
{
    const auto value = device.get(QString::fromLatin1(name));
    if (!value)
        return QStringLiteral("<absent>");
    return value->isNull() ? QStringLiteral("<null>") : value->toString();
}

QStringList multiString(const RegistryTree &tree, const QString &path, const QString &name)
{
    const auto key = tree.find(HKEY_LOCAL_MACHINE, path);
    const RegistryValue *value = key ? key->value(name) : nullptr;
    if (!value || value->type != REG_MULTI_SZ)
        return {};
    QStringList list = regDecodeUtf16(value->data).split(QChar(0));
    while (!list.isEmpty() && list.back().isEmpty())
        list.removeLast();
    return list;
}

QString string(const RegistryTree &tree, const QString &path, const QString &name)
{
    const auto key = tree.find(HKEY_LOCAL_MACHINE, path);
    const RegistryValue *value = key ? key->value(name) : nullptr;
    return value ? regDecodeUtf16(value->data).section(QChar(0), 0, 0) : QStringLiteral("<none>");
}

class FakeDesktop : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_machine = new Machine(LiveMachine(fixtureRoots()).read()); }
    static void TearDownTestSuite()
    {
        delete s_machine;
        s_machine = nullptr;
    }

    static const WmiObject *device(const QString &idPrefix)
    {
        for (const WmiObject &object : s_machine->devices) {
            if (text(object, "DeviceID").startsWith(idPrefix))
                return &object;
        }
        return nullptr;
    }

    static Machine *s_machine;
};

Machine *FakeDesktop::s_machine = nullptr;

struct ExpectedDevice
{
    const char *id;
    const char *name;
    const char *maker; // "<null>" for none
    int code;
    const char *setupClass;
};

TEST_F(FakeDesktop, ListsEachDeviceAsWindowsWould)
{
    const ExpectedDevice rows[] = {
        {"PCI\\VEN_8086&DEV_1237&SUBSYS_00000000&REV_02\\3&", "PCI Device", "<null>", 28, "Unknown"},
        {"PCI\\VEN_1234&DEV_1111&SUBSYS_11001AF4&REV_02\\", "QEMU Virtual Video Controller", "Technical Corp.", 0, "Display"},
        {"PCI\\VEN_8086&DEV_2922&SUBSYS_29228086&REV_02\\", "ICH9R SATA on a fake board", "Intel Corporation", 0, "HDC"},
        {"PCI\\VEN_1AF4&DEV_1000&SUBSYS_00011AF4&REV_00\\", "Virtio network device", "Red Hat, Inc.", 0, "Net"},
        {"PCI\\VEN_8086&DEV_2934&", "82801I (ICH9 Family) USB UHCI Controller #1", "Intel Corporation", 0, "USB"},
        {"USB\\ROOT_HUB20\\", "USB Root Hub", "(Standard USB HUBs)", 0, "USB"},
        {"USB\\VID_046D&PID_C52B\\", "USB Composite Device", "(Standard USB Host Controller)", 0, "USB"},
        {"USB\\VID_046D&PID_C52B&MI_01\\", "USB Input Device", "(Standard system devices)", 0, "HIDClass"},
        {"USB\\VID_1A86&PID_7523\\", "USB2.0-Serial", "<null>", 28, "Unknown"},
        {"USB\\VID_0781&PID_5581\\4C530001230905117122", "USB Mass Storage Device", "Compatible USB storage device", 0, "USB"},
        {"HID\\VID_046D&PID_C52B&MI_00\\", "HID Keyboard Device", "(Standard keyboards)", 0, "Keyboard"},
        {"HID\\VID_046D&PID_C52B&MI_01\\", "HID-compliant mouse", "Microsoft", 0, "Mouse"},
        {"ACPI_HAL\\PNP0C08\\0", "Microsoft ACPI-Compliant System", "Microsoft", 0, "System"},
        {"ACPI\\PNP0A03\\", "PCI Bus", "(Standard system devices)", 0, "System"},
        {"ACPI\\PNP0303\\", "Standard PS/2 Keyboard", "(Standard keyboards)", 0, "Keyboard"},
        {"ACPI\\PNP0C0C\\", "ACPI Power Button", "(Standard system devices)", 0, "System"},
        {"ACPI\\ABCD1234\\", "Unknown device", "<null>", 28, "Unknown"},
        {"ACPI\\FIXEDBUTTON\\", "ACPI Fixed Feature Button", "(Standard system devices)", 0, "System"},
        {"ACPI\\THERMALZONE\\", "ACPI Thermal Zone", "(Standard system devices)", 0, "System"},
        {"ACPI\\MSFT0101\\", "Trusted Platform Module 2.0", "(Standard)", 0, "SecurityDevices"},
        {"ACPI\\PNP0800\\", "System speaker", "(Standard system devices)", 0, "System"},
        {"ACPI\\GENUINEINTEL_-_INTEL64_FAMILY_6_MODEL_60_-_INTEL(R)_CORE(TM)_I5-4590_CPU_@_3.30GHZ\\_1",
         "Intel(R) Core(TM) i5-4590 CPU @ 3.30GHz", "Intel", 0, "Processor"},
        {"SCSI\\DISK&VEN_ATA&PROD_SAMSUNG_SSD_860\\", "Samsung SSD 860", "(Standard disk drives)", 0, "DiskDrive"},
        {"DISPLAY\\GSM5B7F\\", "Generic PnP Monitor", "(Standard monitor types)", 0, "Monitor"},
        {"VIRTIO\\VEN_554D4551&DEV_0002\\", "VirtIO Block Device", "QEMU", 0, "SCSIAdapter"},
        {"VIRTIO\\VEN_554D4551&DEV_0004\\", "VirtIO RNG Device", "<null>", 28, "Unknown"},
    };
    for (const ExpectedDevice &row : rows) {
        const WmiObject *found = device(QString::fromLatin1(row.id));
        ASSERT_TRUE(found) << row.id;
        EXPECT_EQ(text(*found, "Name"), QString::fromLatin1(row.name)) << row.id;
        EXPECT_EQ(text(*found, "Manufacturer"), QString::fromLatin1(row.maker)) << row.id;
        EXPECT_EQ(text(*found, "ConfigManagerErrorCode"), QString::number(row.code)) << row.id;
        EXPECT_EQ(text(*found, "ClassGuid"), QString::fromLatin1(deviceClass(row.setupClass).guid)) << row.id;
    }
    EXPECT_EQ(s_machine->devices.size(), std::size(rows) + 2) << "the other processor and the receiver's MI_00";
}

TEST_F(FakeDesktop, LeavesOutWhatWindowsDoesNotList)
{
    for (const char *id : {"ACPI\\QEMU0001", "ACPI\\LNXSYBUS", "VIRTIO\\VEN_1AF4", "ACPI\\PNP0C0F", "ACPI\\LNX"})
        EXPECT_FALSE(device(QString::fromLatin1(id))) << id;
    int disks = 0;
    for (const WmiObject &object : s_machine->devices)
        disks += text(object, "DeviceID").startsWith("SCSI\\DISK") ? 1 : 0;
    EXPECT_EQ(disks, 1) << "no partition, no loop device";
}

TEST_F(FakeDesktop, PciIdsComeInWindowsOrder)
{
    const QString id = text(*device("PCI\\VEN_8086&DEV_2922"), "DeviceID");
    EXPECT_EQ(multiString(s_machine->registry, kEnum + id, "HardwareID"),
              QStringList({"PCI\\VEN_8086&DEV_2922&SUBSYS_29228086&REV_02", "PCI\\VEN_8086&DEV_2922&SUBSYS_29228086",
                           "PCI\\VEN_8086&DEV_2922&CC_010601", "PCI\\VEN_8086&DEV_2922&CC_0106",
                           "PCI\\VEN_8086&DEV_2922&REV_02", "PCI\\VEN_8086&DEV_2922"}));
    EXPECT_EQ(multiString(s_machine->registry, kEnum + id, "CompatibleIDs"),
              QStringList({"PCI\\VEN_8086&DEV_2922&REV_02", "PCI\\VEN_8086&DEV_2922", "PCI\\VEN_8086&CC_010601",
                           "PCI\\VEN_8086&CC_0106", "PCI\\VEN_8086", "PCI\\CC_010601", "PCI\\CC_0106"}));
}

TEST_F(FakeDesktop, OtherBusesGiveTheirWindowsIds)
{
    auto ids = [&](const char *prefix) {
        return multiString(s_machine->registry, kEnum + text(*device(QString::fromLatin1(prefix)), "DeviceID"), "HardwareID");
    };
    EXPECT_EQ(ids("USB\\VID_0781"), QStringList({"USB\\VID_0781&PID_5581&REV_0100", "USB\\VID_0781&PID_5581"}));
    EXPECT_EQ(ids("USB\\VID_046D&PID_C52B&MI_01"),
              QStringList({"USB\\VID_046D&PID_C52B&REV_1211&MI_01", "USB\\VID_046D&PID_C52B&MI_01"}));
    EXPECT_EQ(ids("ACPI\\PNP0303"), QStringList({"ACPI\\VEN_PNP&DEV_0303", "ACPI\\PNP0303", "*PNP0303"}));
    EXPECT_EQ(ids("ACPI\\FIXEDBUTTON"), QStringList({"ACPI\\FixedButton", "*FixedButton"}));
    EXPECT_EQ(ids("ACPI\\THERMALZONE"), QStringList({"ACPI\\ThermalZone", "*ThermalZone"}));
    EXPECT_EQ(ids("HID\\VID_046D&PID_C52B&MI_00"),
              QStringList({"HID\\VID_046D&PID_C52B&REV_1211&MI_00", "HID\\VID_046D&PID_C52B&MI_00",
                           "HID\\VID_046D&UP:0001_U:0006", "HID_DEVICE_SYSTEM_KEYBOARD", "HID_DEVICE_UP:0001_U:0006",
                           "HID_DEVICE"}));
    EXPECT_EQ(ids("ACPI\\GENUINEINTEL").value(1),
              "*GenuineIntel_-_Intel64_Family_6_Model_60_-_Intel(R) Core(TM) i5-4590 CPU @ 3.30GHz");
    EXPECT_EQ(ids("SCSI\\DISK").back(), "GenDisk");
    EXPECT_EQ(ids("VIRTIO\\VEN_554D4551&DEV_0002"), QStringList({"VIRTIO\\VEN_554D4551&DEV_0002", "VIRTIO\\DEV_0002"}))
        << "the memory-mapped transport's vendor has 32 bits";
}

TEST_F(FakeDesktop, DriversHaveKeysWithTheirModulesVersion)
{
    const RegistryTree &registry = s_machine->registry;
    auto driverVersion = [&](const char *prefix) {
        const QString driver = string(registry, kEnum + text(*device(QString::fromLatin1(prefix)), "DeviceID"), "Driver");
        return driver == "<none>" ? driver : string(registry, kClass + driver, "DriverVersion");
    };
    EXPECT_EQ(driverVersion("PCI\\VEN_8086&DEV_2922"), "3.0") << "the module's own version";
    EXPECT_EQ(driverVersion("PCI\\VEN_1234&DEV_1111"), "6.1.0-test-amd64") << "else the kernel's release";
    EXPECT_EQ(driverVersion("PCI\\VEN_8086&DEV_1237"), "<none>") << "no driver, no driver key";
    EXPECT_EQ(string(registry, kEnum + text(*device("PCI\\VEN_1AF4&DEV_1000"), "DeviceID"), "Service"), "virtio_net");

    for (const WmiObject &object : s_machine->devices) {
        const QString guid = text(object, "ClassGuid");
        EXPECT_NE(string(registry, kClass + guid, {}), "<none>") << guid.toStdString();
        EXPECT_NE(string(registry, kClass + guid, "Class"), "<none>") << guid.toStdString();
    }
}

TEST_F(FakeDesktop, DeviceIdsAreStableAndUnique)
{
    const Machine again = LiveMachine(fixtureRoots()).read();
    ASSERT_EQ(again.devices.size(), s_machine->devices.size());
    std::map<QString, int> seen;
    for (std::size_t i = 0; i < again.devices.size(); ++i) {
        EXPECT_EQ(text(again.devices[i], "DeviceID"), text(s_machine->devices[i], "DeviceID"));
        EXPECT_EQ(++seen[text(again.devices[i], "DeviceID").toUpper()], 1);
    }
}

TEST(LiveMachine, AMissingTreeGivesNoDevices)
{
    EXPECT_TRUE(LiveMachine({"/nonexistent/sys", "/nonexistent/proc", "/nonexistent/ids"}).read().devices.empty());
}

// On whatever machine the tests run: every device that lspci lists is there with its IDs, and a
// PCI function without a bound driver reports code 28.
TEST(ThisMachine, ListsEveryDeviceThatLspciLists)
{
    const QString lspci = QStandardPaths::findExecutable(QStringLiteral("lspci"));
    if (lspci.isEmpty())
        GTEST_SKIP() << "lspci is not installed";
    QProcess process;
    process.start(lspci, {QStringLiteral("-n")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QStringList lines = QString::fromLatin1(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);

    const Machine machine = LiveMachine().read();
    // "00:1f.2 0106: 8086:2922 (rev 02)" (the class may carry a programming interface too).
    static const QRegularExpression line(
        QStringLiteral("^(\\S+) ([0-9a-f]{4})(?::\\s?[0-9a-f]{2})?: ([0-9a-f]{4}):([0-9a-f]{4})(?: \\(rev ([0-9a-f]{2})\\))?"));
    int matched = 0;
    for (const QString &entry : lines) {
        const QRegularExpressionMatch m = line.match(entry);
        ASSERT_TRUE(m.hasMatch()) << entry.toStdString();
        const QString ven = m.captured(3).toUpper();
        const QString dev = m.captured(4).toUpper();
        const QString cls = m.captured(2).toUpper();
        const QString rev = m.captured(5).isEmpty() ? QStringLiteral("00") : m.captured(5).toUpper();
        bool found = false;
        for (const WmiObject &object : machine.devices) {
            const QString id = text(object, "DeviceID");
            if (!id.startsWith("PCI\\VEN_" + ven + "&DEV_" + dev + "&") || !id.contains("&REV_" + rev + "\\"))
                continue;
            const QStringList hardware = multiString(machine.registry, kEnum + id, "HardwareID");
            EXPECT_TRUE(hardware.contains("PCI\\VEN_" + ven + "&DEV_" + dev + "&CC_" + cls)) << id.toStdString();
            found = true;
        }
        EXPECT_TRUE(found) << "lspci lists " << entry.toStdString();
        matched += found ? 1 : 0;
    }
    EXPECT_EQ(matched, lines.size());

    // A function with no driver bound on this machine stands as code 28.
    const QDir bus(QStringLiteral("/sys/bus/pci/devices"));
    for (const QString &address : bus.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(bus.filePath(address) + "/driver"))
            continue;
        const QString slot = address.section(':', 2);
        const unsigned devfn = (slot.section('.', 0, 0).toUInt(nullptr, 16) << 3) | slot.section('.', 1).toUInt();
        bool found = false;
        for (const WmiObject &object : machine.devices) {
            const QString id = text(object, "DeviceID");
            if (id.startsWith("PCI\\") && id.endsWith(QStringLiteral("&%1").arg(devfn, 2, 16, QLatin1Char('0')).toUpper())) {
                EXPECT_EQ(text(object, "ConfigManagerErrorCode"), "28") << id.toStdString();
                found = true;
            }
        }
        EXPECT_TRUE(found) << address.toStdString();
    }
}

// Every device that lsusb lists is there too: each vendor and product ID as often as lsusb lists
// it, root hubs included (Windows names them by the same IDs in its own form).
TEST(ThisMachine, ListsEveryDeviceThatLsusbLists)
{
    const QString lsusb = QStandardPaths::findExecutable(QStringLiteral("lsusb"));
    if (lsusb.isEmpty())
        GTEST_SKIP() << "lsusb is not installed";
    QProcess process;
    process.start(lsusb, {});
    ASSERT_TRUE(process.waitForFinished(30000));
    // "Bus 001 Device 002: ID 046d:c52b Logitech, Inc. Unifying Receiver"
    static const QRegularExpression line(QStringLiteral("^Bus \\d+ Device \\d+: ID ([0-9a-f]{4}):([0-9a-f]{4})"));
    std::map<QString, int> listed;
    for (const QString &entry : QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(entry);
        ASSERT_TRUE(m.hasMatch()) << entry.toStdString();
        ++listed[m.captured(1).toUpper() + ':' + m.captured(2).toUpper()];
    }

    const Machine machine = LiveMachine().read();
    static const QRegularExpression usbId(QStringLiteral(
        "^USB\\\\(?:VID_([0-9A-F]{4})&PID_([0-9A-F]{4})|ROOT_HUB\\d*&VID([0-9A-F]{4})&PID([0-9A-F]{4}))"));
    std::map<QString, int> found;
    for (const WmiObject &object : machine.devices) {
        const QString id = text(object, "DeviceID");
        if (!id.startsWith("USB\\") || id.contains("&MI_"))
            continue; // not USB, or one function of a composite device
        const QStringList hardware = multiString(machine.registry, kEnum + id, "HardwareID");
        const QRegularExpressionMatch m = usbId.match(hardware.value(0));
        ASSERT_TRUE(m.hasMatch()) << id.toStdString();
        const bool hub = m.captured(1).isEmpty();
        ++found[m.captured(hub ? 3 : 1) + ':' + m.captured(hub ? 4 : 2)];
    }
    for (const auto &[ids, count] : listed)
        EXPECT_GE(found[ids], count) << "lsusb lists " << ids.toStdString();
}

} // namespace

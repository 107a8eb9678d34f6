// make-hwids on small lists in the public forms: which IDs it writes, how it names them, which
// list wins, and that the program reads the file it writes.
#include "hwids/HardwareRows.h"
#include "hwids/HwidsFile.h"
#include "hwids/IdCatalogue.h"

#include "core/ModDatabase.h"
#include "runtime/App.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kFixtures = QStringLiteral(KESTROVA_FIXTURES "/hwids/");

// The fixture lists in a folder of their own, udev's files dated as the test asks: udev's lists
// have no date line, so their file time is their date.
class Lists {
public:
    explicit Lists(QDate hwdbDate)
    {
        for (const QString &name : {QStringLiteral("pci.ids"), QStringLiteral("usb.ids"), QStringLiteral("20-pci-vendor-model.hwdb"),
                                    QStringLiteral("20-usb-vendor-model.hwdb")}) {
            EXPECT_TRUE(QFile::copy(kFixtures + name, path(name))) << name.toStdString();
            QFile file(path(name));
            EXPECT_TRUE(file.open(QIODevice::ReadWrite)
                        && file.setFileTime(QDateTime(hwdbDate, QTime(12, 0), Qt::UTC), QFileDevice::FileModificationTime));
        }
    }

    hwids::IdCatalogue read() const
    {
        hwids::IdCatalogue catalogue;
        EXPECT_TRUE(hwids::readPciIds(path(QStringLiteral("pci.ids")), catalogue));
        EXPECT_TRUE(hwids::readUsbIds(path(QStringLiteral("usb.ids")), catalogue));
        EXPECT_TRUE(hwids::readHwdb(path(QStringLiteral("20-pci-vendor-model.hwdb")), catalogue));
        EXPECT_TRUE(hwids::readHwdb(path(QStringLiteral("20-usb-vendor-model.hwdb")), catalogue));
        return catalogue;
    }

    QString path(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// hardware ID -> "name by maker"
QMap<QString, QString> rowsOf(const hwids::IdCatalogue &catalogue)
{
    QMap<QString, QString> rows;
    for (const hwids::Entry &entry : hwids::hardwareRows(catalogue)) {
        EXPECT_FALSE(rows.contains(entry.hardwareId)) << entry.hardwareId.toStdString();
        rows.insert(entry.hardwareId, entry.name + QStringLiteral(" by ") + entry.maker);
    }
    return rows;
}

// udev's files built between the two ID lists, as Debian ships them.
const QDate kBetween(2025, 6, 26);

struct Named {
    const char *hardwareId;
    const char *found;   // "name by maker"
};

class KnownIds : public ::testing::TestWithParam<Named> {};

TEST_P(KnownIds, FindTheirName)
{
    static const QMap<QString, QString> rows = rowsOf(Lists(kBetween).read());
    EXPECT_EQ(rows.value(QString::fromUtf8(GetParam().hardwareId)).toStdString(), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    , KnownIds,
    ::testing::Values(
        // A subsystem names the chip first, the PC after it, and has the chip's maker.
        Named{"PCI\\VEN_10DE&DEV_0244&SUBSYS_30B7103C", "C51 [GeForce Go 6150] (Presario V6133CL) by NVIDIA Corporation"},
        Named{"PCI\\VEN_10DE&DEV_0244", "C51 [GeForce Go 6150] by NVIDIA Corporation"},
        // A subsystem line that repeats the device's name, in pci.ids and in udev's form.
        Named{"PCI\\VEN_10DE&DEV_0244&SUBSYS_024410DE", "C51 [GeForce Go 6150] by NVIDIA Corporation"},
        Named{"PCI\\VEN_8086&DEV_A282&SUBSYS_07A11028", "200 Series PCH SATA controller [AHCI mode] by Intel Corporation"},
        // Only the newer list has it; where both name one ID, the newer list's name stands.
        Named{"PCI\\VEN_8086&DEV_4601", "Alder Lake-U15 Host and DRAM Controller by Intel Corporation"},
        Named{"USB\\VID_10EC&PID_B852", "Bluetooth Radio by Realtek Semiconductor Corp."},
        Named{"PCI\\VEN_8086&DEV_A0F8", "New Name of a Device by Intel Corporation"},
        Named{"PCI\\VEN_8086&DEV_A0F8&SUBSYS_72708086", "New Name of a Device (Board of Its Own) by Intel Corporation"},
        Named{"USB\\VID_046D&PID_C31C", "Keyboard K120 by Logitech, Inc."},
        // A comment line inside a vendor's block does not end it.
        Named{"PCI\\VEN_8086&DEV_A2A1", "200 Series/Z370 Chipset Family Power Management Controller by Intel Corporation"},
        // A composite keyboard's interfaces and its HID children.
        Named{"USB\\VID_046D&PID_C31C&MI_00", "Keyboard K120 by Logitech, Inc."},
        Named{"USB\\VID_046D&PID_C31C&MI_01", "Keyboard K120 by Logitech, Inc."},
        Named{"HID\\VID_046D&PID_C31C&MI_00", "Keyboard K120 by Logitech, Inc."},
        Named{"HID\\VID_046D&PID_C31C&MI_01&Col02", "Keyboard K120 by Logitech, Inc."},
        Named{"HID\\VID_046D&PID_C31C", "Keyboard K120 by Logitech, Inc."},
        Named{"HID\\VID_046D&PID_C52B&MI_03&Col04", "Unifying Receiver by Logitech, Inc."},
        Named{"HID\\VID_046D&PID_C52B&Col01", "Unifying Receiver by Logitech, Inc."},
        // An interface that usb.ids names carries its name after the product's.
        Named{"USB\\VID_046D&PID_0825&MI_02", "Webcam C270 (Microphone) by Logitech, Inc."},
        Named{"HID\\VID_046D&PID_0825&MI_00", "Webcam C270 by Logitech, Inc."},
        // Root hubs: of their controller's maker and kind, and the bare forms.
        Named{"USB\\ROOT_HUB30&VID8086&PID9D2F", "USB Root Hub (Sunrise Point-LP USB 3.0 xHCI Controller) by Intel Corporation"},
        Named{"USB\\ROOT_HUB20&VID8086&PID1E26",
              "USB Root Hub (7 Series/C216 Chipset Family USB Enhanced Host Controller #1) by Intel Corporation"},
        Named{"USB\\ROOT_HUB&VID8086&PID2934", "USB Root Hub (82801I (ICH9 Family) USB UHCI Controller #1) by Intel Corporation"},
        Named{"USB\\ROOT_HUB30", "USB Root Hub by (Standard USB HUBs)"},
        Named{"USB\\ROOT_HUB", "USB Root Hub by (Standard USB HUBs)"},
        // What no real device writes is not there: a root hub of another kind than its controller,
        // one of a device that is no USB controller, collections of a product that is no input
        // device, and the device-class section's lines.
        Named{"USB\\ROOT_HUB20&VID8086&PID9D2F", ""}, Named{"USB\\ROOT_HUB30&VID8086&PID4601", ""},
        Named{"HID\\VID_046D&PID_0825&Col01", ""}, Named{"HID\\VID_046D&PID_0825&MI_03", ""},
        Named{"PCI\\VEN_0C03&DEV_0030", ""}));

TEST(IdLists, NewerListWinsEitherWay)
{
    // udev's files older than pci.ids this time.
    const QMap<QString, QString> rows = rowsOf(Lists(QDate(2020, 1, 1)).read());
    EXPECT_EQ(rows.value(QStringLiteral("PCI\\VEN_8086&DEV_A0F8")), QStringLiteral("Old Name of a Device by Intel Corporation"));
    EXPECT_EQ(rows.value(QStringLiteral("PCI\\VEN_8086&DEV_4601")), QStringLiteral("Alder Lake-U15 Host and DRAM Controller by Intel Corporation"))
        << "an ID only the older list has is still there";
    EXPECT_EQ(rows.value(QStringLiteral("PCI\\VEN_8086&DEV_A0F8&SUBSYS_72708086")),
              QStringLiteral("Old Name of a Device (Board of Its Own) by Intel Corporation"))
        << "a subsystem takes the device name that stands";
}

TEST(IdLists, VersionFollowsTheNewestList)
{
    EXPECT_EQ(hwids::versionOf(Lists(kBetween).read().newest()), QStringLiteral("2025.7.26"));
    EXPECT_EQ(hwids::versionOf(Lists(QDate(2026, 1, 2)).read().newest()), QStringLiteral("2026.1.2"));
    EXPECT_EQ(hwids::versionOf({}), QStringLiteral("0.0.0"));
}

TEST(IdLists, AMissingListIsAFailure)
{
    hwids::IdCatalogue catalogue;
    EXPECT_FALSE(hwids::readPciIds(QStringLiteral("/nonexistent/pci.ids"), catalogue));
    EXPECT_FALSE(hwids::readHwdb(QStringLiteral("/nonexistent/x.hwdb"), catalogue));
}

TEST(SubsystemName, PutsTheDeviceFirstAndFitsTheColumn)
{
    EXPECT_EQ(hwids::subsystemName(QStringLiteral("Chip"), QStringLiteral("Board")), QStringLiteral("Chip (Board)"));
    EXPECT_EQ(hwids::subsystemName(QStringLiteral("GeForce 210"), QStringLiteral("geforce 210")), QStringLiteral("GeForce 210"));
    const QString chip(60, QLatin1Char('c'));
    const QString fitted = hwids::subsystemName(chip, QString(60, QLatin1Char('b')));
    EXPECT_EQ(fitted.size(), hwids::kNameSize);
    EXPECT_TRUE(fitted.startsWith(chip + QStringLiteral(" (bbb")));
    EXPECT_TRUE(fitted.endsWith(QStringLiteral("b...)")));
    EXPECT_EQ(hwids::subsystemName(QString(120, QLatin1Char('c')), QStringLiteral("Board")), QString(100, QLatin1Char('c')));
}

TEST(RootHubKinds, FollowTheControllersName)
{
    const struct {
        const char *controller;
        const char *kinds;
    } cases[] = {
        {"Sunrise Point-LP USB 3.0 xHCI Controller", "USB\\ROOT_HUB30"},
        {"Tiger Lake-LP Thunderbolt 4 USB Controller", "USB\\ROOT_HUB30 USB\\ROOT_HUB20 USB\\ROOT_HUB"},
        {"7 Series/C216 Chipset Family USB Enhanced Host Controller #1", "USB\\ROOT_HUB20"},
        {"USB 2.0 Controller", "USB\\ROOT_HUB20"},
        {"Raphael/Granite Ridge USB 2.0 xHCI", "USB\\ROOT_HUB30"},
        {"82801I (ICH9 Family) USB UHCI Controller #1", "USB\\ROOT_HUB"},
        {"USB 1.1 OHCI Controller", "USB\\ROOT_HUB"},
        {"OHCI Compliant IEEE 1394 Host Controller", ""},
        {"TC86C001 [goku-s] USB Device Controller", ""},
        {"Alder Lake-U15 Host and DRAM Controller", ""},
    };
    for (const auto &row : cases)
        EXPECT_EQ(hwids::rootHubKinds(QString::fromUtf8(row.controller)).join(QLatin1Char(' ')).toStdString(), row.kinds) << row.controller;
}

// The written file as the program reads it: one row per ID, every pair findable.
TEST(HwidsFile, IsReadByTheProgram)
{
    const Lists lists(kBetween);
    const std::vector<hwids::Entry> rows = hwids::hardwareRows(lists.read());
    QTemporaryDir program;
    const QString output = program.filePath(QStringLiteral("hwids.mdb"));
    ASSERT_TRUE(hwids::writeHwidsFile(QStringLiteral(KESTROVA_FIXTURES "/../../tools/hwids-schema.sql"), output, rows,
                                      QStringLiteral("2025.7.26")));
    EXPECT_FALSE(QFile::exists(output + QStringLiteral(".partial")));

    runtime::App::setPath(program.path());
    ModDatabase::OpenDatabase();
    for (const hwids::Entry &entry : rows) {
        EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(entry.hardwareId + QStringLiteral("|||") + entry.name + QStringLiteral("|||") + entry.maker))
            << entry.hardwareId.toStdString();
    }
    ModDatabase::CloseDatabase();
    runtime::App::setPath(QString());
}

TEST(HwidsFile, AFailedBuildLeavesTheOldFile)
{
    QTemporaryDir program;
    const QString output = program.filePath(QStringLiteral("hwids.mdb"));
    QFile old(output);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    EXPECT_FALSE(hwids::writeHwidsFile(QStringLiteral("/nonexistent/schema.sql"), output, {}, QStringLiteral("1.2.3")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(output + QStringLiteral(".partial")));
}

}

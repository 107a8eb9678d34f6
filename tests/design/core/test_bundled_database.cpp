// The hwids.mdb that the build lays into the program folder, read the way the program reads it.
#include "core/ModDatabase.h"

#include "runtime/App.h"
#include "runtime/MsgBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

class BundledDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Tests run from <build>/tests; the program folder is <build>/bin.
        const QString folder = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")).absolutePath();
        ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/hwids.mdb"))) << "build the hwids_database target first";
        runtime::App::setPath(folder);
        runtime::MsgBoxRecorder messages;
        ModDatabase::OpenDatabase();
        ASSERT_TRUE(messages.calls.isEmpty());
    }
    void TearDown() override
    {
        ModDatabase::CloseDatabase();
        runtime::App::setPath(QString());
    }

    // Every (name, maker) the database lists for a hardware ID.
    QStringList lookUp(const QString &hardwareId)
    {
        ado::Recordset rs;
        EXPECT_TRUE(rs.open(QStringLiteral("SELECT * FROM hwids Where [hwids].[hwid] = '%1'").arg(hardwareId), *ModDatabase::DatabaseConnection));
        QStringList found;
        for (int i = 0; i < rs.recordCount(); ++i, rs.moveNext()) {
            for (const QString &line : rs.field(QStringLiteral("info")).value().toString().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
                const QStringList ids = line.split(QLatin1Char(','));
                found << ModDatabase::GetDeviceNameByID(ids.value(0)) + QStringLiteral(" by ") + ModDatabase::GetManufacturerByID(ids.value(1));
            }
        }
        return found;
    }

    // What the lookup window ranks first for a device's IDs: the pairs of the longest matching ID.
    QStringList bestMatch(const QStringList &hardwareIds)
    {
        QStringList best;
        qsizetype longest = -1;
        for (const QString &id : hardwareIds) {
            const QStringList found = lookUp(id);
            if (found.isEmpty() || id.size() < longest)
                continue;
            if (id.size() > longest)
                best.clear();
            longest = id.size();
            best << found;
        }
        return best;
    }

    static QString sysfsHex(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll().trimmed()).remove(QStringLiteral("0x")).toUpper();
    }
};

TEST_F(BundledDatabase, IdentifiesVirtioDevicesByTheirIds)
{
    EXPECT_EQ(lookUp(QStringLiteral("PCI\\VEN_1AF4&DEV_1041")), QStringList{QStringLiteral("Virtio 1.0 network device by Red Hat, Inc.")});
    EXPECT_EQ(lookUp(QStringLiteral("pci\\ven_1af4&dev_1041")), lookUp(QStringLiteral("PCI\\VEN_1AF4&DEV_1041"))) << "IDs match in any case";
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("PCI\\VEN_1AF4&DEV_1041|||Virtio 1.0 network device|||Red Hat, Inc.")));

    // And whatever virtio devices this machine has.
    const QDir devices(QStringLiteral("/sys/bus/pci/devices"));
    for (const QString &device : devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString vendor = sysfsHex(devices.filePath(device + QStringLiteral("/vendor")));
        if (vendor != QLatin1String("1AF4"))
            continue;
        const QString id = QStringLiteral("PCI\\VEN_%1&DEV_%2").arg(vendor, sysfsHex(devices.filePath(device + QStringLiteral("/device"))));
        const QStringList found = lookUp(id);
        ASSERT_EQ(found.size(), 1) << id.toStdString();
        EXPECT_TRUE(found.front().endsWith(QLatin1String(" by Red Hat, Inc."))) << found.front().toStdString();
    }
}

TEST_F(BundledDatabase, HoldsSubsystemAndUsbIdsAsWindowsWritesThem)
{
    // pci.ids lists subsystems as "subvendor subdevice"; the ID puts the subdevice first.
    EXPECT_EQ(lookUp(QStringLiteral("PCI\\VEN_8086&DEV_1C3A&SUBSYS_04A31028")),
              QStringList{QStringLiteral("6 Series/C200 Series Chipset Family MEI Controller #1 (Precision M4600) by Intel Corporation")});
    EXPECT_EQ(lookUp(QStringLiteral("USB\\VID_1D6B&PID_0002")), QStringList{QStringLiteral("2.0 root hub by Linux Foundation")});

    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM hwids WHERE hwid GLOB '*[a-f]*' COLLATE BINARY"), *ModDatabase::DatabaseConnection));
    EXPECT_EQ(rs.recordCount(), 0) << "hex digits are upper case";
}

// The IDs Windows gives a device, most specific first, and what its best match must read.
struct WindowsDevice {
    const char *what;
    QStringList hardwareIds;
    const char *bestMatch;   // "name by maker"
};

TEST_F(BundledDatabase, BestMatchNamesTheDevice)
{
    const WindowsDevice devices[] = {
        {"a laptop's graphics chip",
         {"PCI\\VEN_10DE&DEV_0244&SUBSYS_30B7103C&REV_A2", "PCI\\VEN_10DE&DEV_0244&SUBSYS_30B7103C", "PCI\\VEN_10DE&DEV_0244&CC_030000",
          "PCI\\VEN_10DE&DEV_0244&CC_0300", "PCI\\VEN_10DE&DEV_0244&REV_A2", "PCI\\VEN_10DE&DEV_0244"},
         "C51 [GeForce Go 6150] (Presario V6133CL) by NVIDIA Corporation"},
        {"a desktop board's controller",
         {"PCI\\VEN_8086&DEV_2922&SUBSYS_82771043&REV_02", "PCI\\VEN_8086&DEV_2922&SUBSYS_82771043", "PCI\\VEN_8086&DEV_2922&CC_010601",
          "PCI\\VEN_8086&DEV_2922"},
         "82801IR/IO/IH (ICH9R/DO/DH) 6 port SATA Controller [AHCI mode] (P5K PRO Motherboard: 82801IR [IC...) by Intel Corporation"},
        {"a chip only udev's list names",
         {"PCI\\VEN_8086&DEV_4601&SUBSYS_0B171028&REV_04", "PCI\\VEN_8086&DEV_4601&SUBSYS_0B171028", "PCI\\VEN_8086&DEV_4601&CC_060000",
          "PCI\\VEN_8086&DEV_4601&REV_04", "PCI\\VEN_8086&DEV_4601"},
         "Alder Lake-U15 Host and DRAM Controller by Intel Corporation"},
        {"a USB keyboard's interface", {"USB\\VID_046D&PID_C31C&REV_6400&MI_00", "USB\\VID_046D&PID_C31C&MI_00"},
         "Keyboard K120 by Logitech, Inc."},
        {"the keyboard's HID child",
         {"HID\\VID_046D&PID_C31C&REV_6400&MI_00", "HID\\VID_046D&PID_C31C&MI_00", "HID\\VID_046D&UP:0001_U:0006", "HID_DEVICE_SYSTEM_KEYBOARD",
          "HID_DEVICE_UP:0001_U:0006", "HID_DEVICE"},
         "Keyboard K120 by Logitech, Inc."},
        {"a receiver's second collection", {"HID\\VID_046D&PID_C52B&REV_1211&MI_02&Col02", "HID\\VID_046D&PID_C52B&MI_02&Col02"},
         "Unifying Receiver by Logitech, Inc."},
        {"a mouse's HID child", {"HID\\VID_046D&PID_C077&REV_7200", "HID\\VID_046D&PID_C077", "HID\\VID_046D&UP:0001_U:0002"},
         "Mouse by Logitech, Inc."},
        {"a USB 3 root hub", {"USB\\ROOT_HUB30&VID8086&PID9D2F&REV0021", "USB\\ROOT_HUB30&VID8086&PID9D2F", "USB\\ROOT_HUB30"},
         "USB Root Hub (Sunrise Point-LP USB 3.0 xHCI Controller) by Intel Corporation"},
        {"a USB 2 root hub", {"USB\\ROOT_HUB20&VID8086&PID1E26&REV0004", "USB\\ROOT_HUB20&VID8086&PID1E26", "USB\\ROOT_HUB20"},
         "USB Root Hub (7 Series/C216 Chipset Family USB Enhanced Host Controller #1) by Intel Corporation"},
    };
    for (const WindowsDevice &device : devices)
        EXPECT_EQ(bestMatch(device.hardwareIds).join(QStringLiteral("; ")).toStdString(), device.bestMatch) << device.what;
}

// Every PCI device of this machine is named as udev's database or lspci, the system's own
// resolvers, name it: the newer list's name wins, so the name is the one of either.
TEST_F(BundledDatabase, AgreesWithTheSystemsResolvers)
{
    const QString hwdb = QStandardPaths::findExecutable(QStringLiteral("systemd-hwdb"));
    const QString lspci = QStandardPaths::findExecutable(QStringLiteral("lspci"));
    if (hwdb.isEmpty() || lspci.isEmpty())
        GTEST_SKIP() << "systemd-hwdb or lspci is not installed";
    const auto run = [](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const auto field = [](const QString &text, const QString &name) {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^%1[=:]\\s*(.*)$").arg(name), QRegularExpression::MultilineOption).match(text);
        return match.captured(1).trimmed();
    };
    const QDir devices(QStringLiteral("/sys/bus/pci/devices"));
    for (const QString &slot : devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString vendor = sysfsHex(devices.filePath(slot + QStringLiteral("/vendor")));
        const QString device = sysfsHex(devices.filePath(slot + QStringLiteral("/device")));
        const QString udev = run(hwdb, {QStringLiteral("query"), QStringLiteral("pci:v0000%1d0000%2").arg(vendor, device)});
        const QString listed = run(lspci, {QStringLiteral("-vmm"), QStringLiteral("-s"), slot});
        const QString id = QStringLiteral("PCI\\VEN_%1&DEV_%2").arg(vendor, device);
        const QStringList found = lookUp(id);
        if (field(udev, QStringLiteral("ID_MODEL_FROM_DATABASE")).isEmpty()) {
            EXPECT_TRUE(found.isEmpty()) << id.toStdString();
            continue;
        }
        ASSERT_EQ(found.size(), 1) << id.toStdString();
        const QStringList names{field(udev, QStringLiteral("ID_MODEL_FROM_DATABASE")) + QStringLiteral(" by ") + field(udev, QStringLiteral("ID_VENDOR_FROM_DATABASE")),
                                field(listed, QStringLiteral("Device")) + QStringLiteral(" by ") + field(listed, QStringLiteral("Vendor"))};
        EXPECT_TRUE(names.contains(found.front())) << id.toStdString() << ": " << found.front().toStdString();
    }
}

TEST_F(BundledDatabase, RestsAsOneFileInTheRollbackJournal)
{
    // A write-ahead-log file could not be opened from a program folder the user cannot write.
    ModDatabase::CloseDatabase();
    QFile file(runtime::App::Path() + QStringLiteral("/hwids.mdb"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(20);
    EXPECT_TRUE(header.startsWith("SQLite format 3"));
    EXPECT_EQ(header.mid(18, 2), QByteArray("\1\1", 2)) << "read and write versions 1: no write-ahead log";
    EXPECT_FALSE(QFile::exists(file.fileName() + QStringLiteral("-wal")));
    // It ships with the program and comes down whole with every database update.
    EXPECT_LT(file.size(), 40 * 1024 * 1024);
}

TEST_F(BundledDatabase, VersionIsThreeNumbersFromTheListsDates)
{
    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM version"), *ModDatabase::DatabaseConnection));
    ASSERT_EQ(rs.recordCount(), 1);
    const QString version = rs.field(QStringLiteral("dbversion")).value().toString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^20\\d\\d\\.\\d{1,2}\\.\\d{1,2}$")).match(version).hasMatch()) << version.toStdString();
    ado::Recordset hwids;
    ASSERT_TRUE(hwids.open(QStringLiteral("SELECT * FROM hwids"), *ModDatabase::DatabaseConnection));
    EXPECT_GT(hwids.recordCount(), 10000);
}

}

// The hwids.mdb that the build lays into the program folder, read the way the program reads it.
#include "core/ModDatabase.h"

#include "runtime/App.h"
#include "runtime/MsgBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

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
    EXPECT_EQ(lookUp(QStringLiteral("PCI\\VEN_8086&DEV_1C3A&SUBSYS_04A31028")), QStringList{QStringLiteral("Precision M4600 by Dell")});
    EXPECT_EQ(lookUp(QStringLiteral("USB\\VID_1D6B&PID_0002")), QStringList{QStringLiteral("2.0 root hub by Linux Foundation")});

    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM hwids WHERE hwid GLOB '*[a-f]*' COLLATE BINARY"), *ModDatabase::DatabaseConnection));
    EXPECT_EQ(rs.recordCount(), 0) << "hex digits are upper case";
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

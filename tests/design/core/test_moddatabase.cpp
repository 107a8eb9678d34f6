#include "core/ModDatabase.h"

#include "runtime/App.h"
#include "runtime/MsgBox.h"
#include "support/DamagedDatabase.h"
#include "support/HwidsDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A program folder with its own hwids.mdb; the database opened the way the program opens it.
class Database : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        runtime::App::setPath(folder.path());
        ModDatabase::SetExitHandler([this](int code) { exitCode = code; });
    }

    void TearDown() override
    {
        ModDatabase::CloseDatabase();
        ModDatabase::SetExitHandler({});
        runtime::App::setPath(QString());
    }

    void open(const QStringList &rows = {})
    {
        ASSERT_FALSE(testsupport::makeHwidsDatabase(folder.path(), rows).isEmpty());
        runtime::MsgBoxRecorder messages;
        ModDatabase::OpenDatabase();
        ASSERT_TRUE(messages.calls.isEmpty()) << messages.calls.value(0).prompt.toStdString();
    }

    // The rows of a query, each as its columns joined with "|".
    QStringList rows(const QString &sql)
    {
        ado::Recordset rs;
        EXPECT_TRUE(rs.open(sql, *ModDatabase::DatabaseConnection)) << rs.lastError().description.toStdString();
        QStringList result;
        for (int i = 0; i < rs.recordCount(); ++i, rs.moveNext()) {
            QStringList columns;
            for (int c = 0; c < rs.fieldCount(); ++c)
                columns << rs.field(c).value().toString();
            result << columns.join(QLatin1Char('|'));
        }
        return result;
    }

    QString info(const QString &hardwareId)
    {
        const QStringList found = rows(QStringLiteral("SELECT info FROM hwids WHERE hwid = '%1'").arg(hardwareId));
        return found.value(0);
    }

    QTemporaryDir folder;
    int exitCode = -1;
};

TEST_F(Database, AddedLineIsFoundAndGetsOnePairLine)
{
    open();
    const QString line = QStringLiteral("PCI\\VEN_1AF4&DEV_1041|||Virtio network|||Red Hat, Inc.");
    EXPECT_FALSE(ModDatabase::IsHardwareInDatabase(line));
    ModDatabase::AddHardwareToDatabase(line);
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(line));
    EXPECT_EQ(info(QStringLiteral("PCI\\VEN_1AF4&DEV_1041")), QStringLiteral("1,1\r\n"));
    EXPECT_EQ(ModDatabase::GetDeviceNameByID(QStringLiteral("1")), QStringLiteral("Virtio network"));
    EXPECT_EQ(ModDatabase::GetManufacturerByID(QStringLiteral("1")), QStringLiteral("Red Hat, Inc."));
    EXPECT_EQ(ModDatabase::GetDeviceNameByID(QStringLiteral("2")), QString());

    ModDatabase::AddHardwareToDatabase(line);
    EXPECT_EQ(info(QStringLiteral("PCI\\VEN_1AF4&DEV_1041")), QStringLiteral("1,1\r\n")) << "adding twice changes nothing";
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM devicenames")), QStringList{QStringLiteral("1")});
}

struct LineCase {
    const char *name;
    QString line;
    QString hardwareId;
    QString storedName;
    QString storedMaker;
    bool foundAsWritten = true;   // the membership test takes the parts as they are
};

class DeviceLines : public Database, public ::testing::WithParamInterface<LineCase> {};

TEST_P(DeviceLines, AreStoredAsTheirParts)
{
    open();
    const LineCase &c = GetParam();
    ModDatabase::AddHardwareToDatabase(c.line);
    EXPECT_EQ(ModDatabase::IsHardwareInDatabase(c.line), c.foundAsWritten);
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(c.hardwareId + QLatin1String("|||") + c.storedName + QLatin1String("|||") + c.storedMaker));
    EXPECT_EQ(rows(QStringLiteral("SELECT hwid FROM hwids")), QStringList{c.hardwareId});
    EXPECT_EQ(rows(QStringLiteral("SELECT devicename FROM devicenames")), QStringList{c.storedName});
    EXPECT_EQ(rows(QStringLiteral("SELECT mfg FROM mfgs")), QStringList{c.storedMaker});
}

INSTANTIATE_TEST_SUITE_P(
    , DeviceLines,
    ::testing::Values(
        LineCase{"OnePart", QStringLiteral("USB\\VID_0001"), QStringLiteral("USB\\VID_0001"), QStringLiteral("Unknown"), QStringLiteral("Unknown")},
        LineCase{"TwoParts", QStringLiteral("USB\\VID_0001|||Pad"), QStringLiteral("USB\\VID_0001"), QStringLiteral("Pad"), QStringLiteral("Unknown")},
        LineCase{"EmptyName", QStringLiteral("USB\\VID_0001||||||Acme"), QStringLiteral("USB\\VID_0001"), QStringLiteral("Unknown"), QStringLiteral("Acme")},
        LineCase{"FiveParts", QStringLiteral("ACPI\\PNP0A03|||Bus|||Acme|||x|||y"), QStringLiteral("ACPI\\PNP0A03"), QStringLiteral("Bus"), QStringLiteral("Acme")},
        LineCase{"Apostrophe", QStringLiteral("PCI\\VEN_0001|||O'Brien's card|||O'Brien"), QStringLiteral("PCI\\VEN_0001"),
                 QStringLiteral("O'Brien's card"), QStringLiteral("O'Brien")},
        LineCase{"PercentAndQuotes", QStringLiteral("PCI\\VEN_0002|||50% \"fast\" _card_|||A&B"), QStringLiteral("PCI\\VEN_0002"),
                 QStringLiteral("50% \"fast\" _card_"), QStringLiteral("A&B")},
        LineCase{"NonAscii", QStringLiteral("USB\\VID_0003|||Gerät für Ärzte|||Müller GmbH"), QStringLiteral("USB\\VID_0003"),
                 QStringLiteral("Gerät für Ärzte"), QStringLiteral("Müller GmbH")},
        LineCase{"Normalised", QStringLiteral("USB\\VID_0004|||  Wide\t\tName |||Acme\u00A0 Inc"), QStringLiteral("USB\\VID_0004"),
                 QStringLiteral("Wide Name"), QStringLiteral("Acme Inc"), false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Database, LineWithoutHardwareIdIsNotStored)
{
    open();
    ModDatabase::AddHardwareToDatabase(QString());
    ModDatabase::AddHardwareToDatabase(QStringLiteral("|||Name|||Maker"));
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM hwids")).isEmpty());
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM devicenames")).isEmpty());
}

TEST_F(Database, NamesThatDifferInCaseShareOneRow)
{
    open();
    ModDatabase::AddHardwareToDatabase(QStringLiteral("PCI\\VEN_8086&DEV_0001|||Bridge|||INTEL"));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("PCI\\VEN_8086&DEV_0002|||BRIDGE|||Intel"));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("PCI\\VEN_8086&DEV_0003|||Brücke|||Intel"));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("PCI\\VEN_8086&DEV_0004|||BRÜCKE|||Intel"));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM mfgs")), QStringList{QStringLiteral("1|INTEL")});
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM devicenames")), (QStringList{QStringLiteral("1|Bridge"), QStringLiteral("2|Brücke")}));
    EXPECT_EQ(info(QStringLiteral("PCI\\VEN_8086&DEV_0004")), QStringLiteral("2,1\r\n"));
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("pci\\ven_8086&dev_0002|||bridge|||intel")));
}

TEST_F(Database, PairsAreReadAndAppendedByLine)
{
    open({QStringLiteral("INSERT INTO devicenames (ID, devicename) VALUES (2, 'Two'), (5, 'Five'), (12, 'Twelve')"),
          QStringLiteral("INSERT INTO mfgs (ID, mfg) VALUES (3, 'Three'), (6, 'Six'), (34, 'ThirtyFour')"),
          QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('ID\\A', '12,34' || char(13,10)), ('ID\\B', '5,6'), ('ID\\C', '  ' || char(13,10) || '12,34' || char(13,10) || ' ')")});
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\B|||Five|||Six"))) << "an info without CR LF is one pair";
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\C|||Twelve|||ThirtyFour"))) << "blank lines are skipped";
    EXPECT_FALSE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\A|||Two|||Three")));

    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\A|||Two|||Three"));
    EXPECT_EQ(info(QStringLiteral("ID\\A")), QStringLiteral("12,34\r\n2,3\r\n"));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\B|||Two|||Three"));
    EXPECT_EQ(info(QStringLiteral("ID\\B")), QStringLiteral("5,6\r\n2,3\r\n")) << "the old last line stays a line of its own";
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\B|||Five|||Six")));
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\B|||Two|||Three")));
}

TEST_F(Database, LookupsOfIdsThatAreNoNumbersGiveEmptyText)
{
    open({QStringLiteral("INSERT INTO devicenames (devicename) VALUES ('One')")});
    for (const char *id : {"", "abc", "1 OR 1=1", "1; DROP TABLE devicenames", "'1'", "1.5x"})
        EXPECT_EQ(ModDatabase::GetDeviceNameByID(QString::fromLatin1(id)), QString()) << id;
    EXPECT_EQ(rows(QStringLiteral("SELECT devicename FROM devicenames")), QStringList{QStringLiteral("One")});
}

TEST_F(Database, ValueLongerThanItsColumnLeavesTheDatabaseUnchanged)
{
    open();
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\1|||%1|||Maker").arg(QString(101, u'n')));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("%1|||Name|||Maker").arg(QString(126, u'h')));
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM devicenames")).isEmpty());
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM mfgs")).isEmpty());
    EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM hwids")).isEmpty());
    ModDatabase::AddHardwareToDatabase(QStringLiteral("%1|||%2|||Maker").arg(QString(125, u'h'), QString(100, u'n')));
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM hwids")), QStringList{QStringLiteral("1")}) << "the sizes themselves fit";
}

TEST_F(Database, ClosedConnectionGivesEmptyResultsWithoutMessage)
{
    open();
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\1|||Name|||Maker"));
    ModDatabase::CloseDatabase();
    ModDatabase::CloseDatabase();
    runtime::MsgBoxRecorder messages;
    EXPECT_EQ(ModDatabase::GetDeviceNameByID(QStringLiteral("1")), QString());
    EXPECT_FALSE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\1|||Name|||Maker")));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\2|||Name|||Maker"));
    const auto hwids = ModDatabase::OpenQuery(ModDatabase::HwidsRecordset, QStringLiteral("SELECT * FROM hwids"));
    EXPECT_EQ(hwids->recordCount(), -1);
    EXPECT_EQ(ModDatabase::HwidsRecordset, hwids);
    EXPECT_TRUE(messages.calls.isEmpty());

    ModDatabase::OpenDatabase();
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\1|||Name|||Maker")));
    EXPECT_FALSE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\2|||Name|||Maker")));
}

TEST_F(Database, MissingTableGivesEmptyResultsAndKeepsTheRest)
{
    open({QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('ID\\KEPT', '1,1' || char(13,10))")});
    // A table that goes missing while the database is open; one missing at the start fails the open.
    ASSERT_TRUE(ModDatabase::DatabaseConnection->execute(QStringLiteral("DROP TABLE devicenames")));
    EXPECT_FALSE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\KEPT|||Name|||Maker")));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\KEPT|||Name|||Maker"));
    EXPECT_EQ(ModDatabase::GetDeviceNameByID(QStringLiteral("1")), QString());
    EXPECT_EQ(info(QStringLiteral("ID\\KEPT")), QStringLiteral("1,1\r\n"));
}

TEST_F(Database, OperationsThatInterleaveKeepTheirOwnRecordSets)
{
    open();
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\1|||Name|||Maker"));
    // Another handler runs in every yield and replaces the shared record sets underneath.
    QTimer intruder;
    int runs = 0;
    QObject::connect(&intruder, &QTimer::timeout, [&] {
        ++runs;
        ModDatabase::GetDeviceNameByID(QStringLiteral("1"));
        ModDatabase::HwidsRecordset = std::make_shared<ado::Recordset>();
    });
    intruder.start(0);
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\1|||Name|||Maker")));
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\1|||Other|||Maker"));
    intruder.stop();
    EXPECT_GT(runs, 0);
    EXPECT_EQ(info(QStringLiteral("ID\\1")), QStringLiteral("1,1\r\n2,1\r\n"));
}

TEST_F(Database, ClosingInTheMiddleOfAnOperationEndsItQuietly)
{
    open();
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\1|||Name|||Maker"));
    QTimer::singleShot(0, [] { ModDatabase::CloseDatabase(); });
    EXPECT_FALSE(ModDatabase::IsHardwareInDatabase(QStringLiteral("ID\\1|||Name|||Maker")));
    QTimer::singleShot(0, [] { ModDatabase::CloseDatabase(); });
    ModDatabase::AddHardwareToDatabase(QStringLiteral("ID\\2|||Name|||Maker"));
    ModDatabase::OpenDatabase();
    EXPECT_EQ(rows(QStringLiteral("SELECT hwid FROM hwids")), QStringList{QStringLiteral("ID\\1")});
}

struct OpenFailure {
    const char *name;
    QByteArray content;   // empty name: no file at all
    bool exists;
};

class DatabaseOpenFailure : public Database, public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(DatabaseOpenFailure, ShowsTheErrorAndEndsTheProgram)
{
    if (GetParam().exists) {
        QFile file(folder.filePath(QStringLiteral("hwids.mdb")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().content);
    }
    runtime::MsgBoxRecorder messages;
    ModDatabase::OpenDatabase();
    ASSERT_EQ(messages.calls.size(), 1);
    const runtime::MsgBoxCall &call = messages.calls.front();
    EXPECT_EQ(call.buttons, runtime::vbOKOnly);
    EXPECT_EQ(call.title, runtime::App::Title()) << "the application's default title";
    const QStringList lines = call.prompt.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 7) << call.prompt.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("ERROR: %1").arg(ado::errors::ProviderFailure));
    EXPECT_FALSE(lines[1].isEmpty());
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[3], QStringLiteral("Looks like the program had trouble opening the database with ADO!"));
    EXPECT_TRUE(lines[4].startsWith(QLatin1String("Please check for help or report this error at ")));
    EXPECT_EQ(lines[5], QString());
    EXPECT_EQ(lines[6], QStringLiteral("The Program Will Now Close."));
    EXPECT_NE(exitCode, -1) << "the process is ended";
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("hwids.mdb"))) && !GetParam().exists) << "never created";
}

INSTANTIATE_TEST_SUITE_P(, DatabaseOpenFailure,
                         ::testing::Values(OpenFailure{"Missing", {}, false}, OpenFailure{"Empty", {}, true},
                                           OpenFailure{"NotADatabase", QByteArray(4096, 'x'), true}),
                         [](const auto &info) { return std::string(info.param.name); });


// A hardware ID, name or maker that its own query cannot find (the query text ends at a NUL, a
// lone surrogate does not travel as text) is refused, as an over-long one is: adding the same
// line again never grows the database.
TEST_F(Database, TextsTheQueryCannotFindAreNotStored)
{
    open();
    const QString lines[] = {
        QStringLiteral("ID\\A") + QChar(0) + QStringLiteral("B|||Name|||Maker"),
        QStringLiteral("ID\\A") + QChar(0xD800) + QStringLiteral("|||Name|||Maker"),
        QStringLiteral("ID\\A") + QChar(0xDC00) + QStringLiteral("|||Name|||Maker"),
        QStringLiteral("ID\\B|||Na") + QChar(0) + QStringLiteral("me|||Maker"),
        QStringLiteral("ID\\C|||Name|||Maker") + QChar(0xDBFF),
    };
    for (const QString &line : lines) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            ModDatabase::AddHardwareToDatabase(line);
            EXPECT_FALSE(ModDatabase::IsHardwareInDatabase(line));
        }
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM hwids")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM devicenames")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM mfgs")), QStringList{QStringLiteral("0")});

    const QString pair = QStringLiteral("ID\\D|||Caf") + QChar(0xE9) + QStringLiteral(" ") + QString::fromUtf8("\U0001F600|||Maker");
    ModDatabase::AddHardwareToDatabase(pair);
    ModDatabase::AddHardwareToDatabase(pair);
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(pair)) << "characters beyond the basic plane are found";
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM hwids")), QStringList{QStringLiteral("1")});
}

// Files that open as databases but are no sound hardware-ID database: the open-failure message
// and the end of the program, as for a file that does not open; the same verdict for the check
// that the update's install makes of a downloaded file.
TEST_F(Database, DamagedOrForeignDatabaseGivesTheOpenFailure)
{
    const QString path = folder.filePath(QStringLiteral("hwids.mdb"));
    QStringList marked{QStringLiteral("BEGIN")};
    for (int i = 0; i < 3000; ++i)
        marked << QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('ID\\%1', '%2,1')").arg(i).arg(i == 2500 ? QStringLiteral("7777777") : QString::number(i));
    marked << QStringLiteral("COMMIT");
    const struct {
        const char *name;
        QStringList statements;
        bool damagePage;
    } rows[] = {
        {"damaged data page", marked, true},
        {"hwids an endless view", {QStringLiteral("DROP TABLE hwids"),
                                   QStringLiteral("CREATE VIEW hwids AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                                  "SELECT 'ID\\' || i AS hwid, '1,1' AS info FROM n")}, false},
        {"version missing", {QStringLiteral("DROP TABLE version")}, false},
        {"info column missing", {QStringLiteral("ALTER TABLE hwids DROP COLUMN info")}, false},
        {"endlessly recursive insert trigger", {QStringLiteral("CREATE TRIGGER grow AFTER INSERT ON mfgs BEGIN "
                                                               "INSERT INTO mfgs (mfg) VALUES (new.mfg || 'x'); END")}, false},
        {"endless view beside the tables", {QStringLiteral("CREATE VIEW endless AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                                           "SELECT i + 1 FROM n) SELECT i FROM n")}, false},
        {"hwids a view of a table", {QStringLiteral("ALTER TABLE hwids RENAME TO hwids_rows"),
                                     QStringLiteral("CREATE VIEW hwids AS SELECT * FROM hwids_rows")}, false},
        {"info a computed column", {QStringLiteral("DROP TABLE hwids"),
                                    QStringLiteral("CREATE TABLE hwids (ID INTEGER PRIMARY KEY, hwid VARCHAR(125), "
                                                   "info TEXT GENERATED ALWAYS AS (hwid || hwid) VIRTUAL)")}, false},
        {"hwids a virtual table", {QStringLiteral("DROP TABLE hwids"), QStringLiteral("CREATE VIRTUAL TABLE hwids USING fts4(hwid, info)")}, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(testsupport::makeHwidsDatabase(folder.path(), row.statements).isEmpty());
        if (row.damagePage) {
            EXPECT_TRUE(ModDatabase::IsInstallableHardwareIdDatabase(path)) << "sound before the damage";
            ASSERT_TRUE(testsupport::damagePageHolding(path, "7777777"));
        }
        ado::Error problem;
        EXPECT_FALSE(ModDatabase::IsInstallableHardwareIdDatabase(path, &problem));
        EXPECT_EQ(problem.number, ado::errors::ProviderFailure);
        EXPECT_FALSE(problem.description.isEmpty());

        exitCode = -1;
        runtime::MsgBoxRecorder messages;
        ModDatabase::OpenDatabase();
        ASSERT_EQ(messages.calls.size(), 1);
        const QStringList lines = messages.calls.front().prompt.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 7) << messages.calls.front().prompt.toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("ERROR: %1").arg(ado::errors::ProviderFailure));
        EXPECT_FALSE(lines[1].isEmpty());
        EXPECT_EQ(lines[3], QStringLiteral("Looks like the program had trouble opening the database with ADO!"));
        EXPECT_EQ(exitCode, EXIT_FAILURE);
        EXPECT_FALSE(ModDatabase::DatabaseConnection && ModDatabase::DatabaseConnection->isOpen()) << "nothing runs on the file";
        ModDatabase::CloseDatabase();
    }
    ASSERT_FALSE(testsupport::makeHwidsDatabase(folder.path(), {QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('ID\\1', '1,1')")}).isEmpty());
    EXPECT_TRUE(ModDatabase::IsInstallableHardwareIdDatabase(path));
    EXPECT_FALSE(ModDatabase::IsInstallableHardwareIdDatabase(folder.filePath(QStringLiteral("missing.mdb"))));
}

// A database without a hardware ID opens (the improve window can fill it) but never replaces
// one that answers.
TEST_F(Database, AnEmptyDatabaseOpensButIsNoInstall)
{
    ASSERT_FALSE(testsupport::makeHwidsDatabase(folder.path()).isEmpty());
    runtime::MsgBoxRecorder messages;
    ModDatabase::OpenDatabase();
    EXPECT_TRUE(messages.calls.isEmpty());
    EXPECT_TRUE(ModDatabase::DatabaseConnection && ModDatabase::DatabaseConnection->isOpen());
    ModDatabase::CloseDatabase();
    ado::Error problem;
    EXPECT_FALSE(ModDatabase::IsInstallableHardwareIdDatabase(folder.filePath(QStringLiteral("hwids.mdb")), &problem));
    EXPECT_FALSE(problem.description.isEmpty());
}

// The database the build makes from the public ID lists is the shape the check expects.
TEST(BundledDatabase, PassesTheCheck)
{
    // Tests run from <build>/tests; the program folder is <build>/bin.
    const QString bundled = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/hwids.mdb");
    if (!QFileInfo::exists(bundled))
        GTEST_SKIP() << "no bundled database at " << bundled.toStdString();
    QTemporaryDir copy;
    ASSERT_TRUE(QFile::copy(bundled, copy.filePath(QStringLiteral("hwids.mdb"))));
    ado::Error problem;
    EXPECT_TRUE(ModDatabase::IsInstallableHardwareIdDatabase(copy.filePath(QStringLiteral("hwids.mdb")), &problem))
        << problem.description.toStdString();
}
}

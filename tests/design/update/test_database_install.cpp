#include "update/DatabaseInstall.h"

#include "components/Zentrax.h"
#include "core/ModDatabase.h"
#include "runtime/App.h"
#include "runtime/MsgBox.h"
#include "support/Files.h"
#include "support/HwidsDatabase.h"
#include "support/SevenZipArchives.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

using DatabaseInstall::Result;

const QString kOldLine = QStringLiteral("PCI\\VEN_0001|||Old Device|||Old Maker");
const QString kNewLine = QStringLiteral("PCI\\VEN_0002|||New Device|||New Maker");

// The rows of a database that knows the device line's device as pair 1,1.
QStringList deviceRows(const QString &line)
{
    const QStringList parts = line.split(QLatin1String("|||"));
    return {QStringLiteral("INSERT INTO devicenames (devicename) VALUES ('%1')").arg(parts[1]),
            QStringLiteral("INSERT INTO mfgs (mfg) VALUES ('%1')").arg(parts[2]),
            QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('%1', '1,1')").arg(parts[0]),
            QStringLiteral("INSERT INTO version (dbversion) VALUES ('2026.2')")};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A program folder with a working hwids.mdb beside a side file, and a folder where the
// maker's archive is packed.
struct Setting {
    QString root;
    QString program;
    QString pack;
    QString archive() const { return program + QStringLiteral("/hwids.7z"); }

    // hwids.mdb in the pack folder: the new database with the statements run on it.
    void newDatabase(const QStringList &statements = {}) const
    {
        ASSERT_FALSE(testsupport::makeHwidsDatabase(pack, deviceRows(kNewLine) + statements).isEmpty());
    }
    void packFiles(const QStringList &arguments) const { ASSERT_TRUE(testsupport::packArchive(pack, archive(), arguments)); }
    // The new database and beside it a file of the given name.
    void packWithSideFile(const QString &name) const
    {
        newDatabase();
        writeFile(pack + QLatin1Char('/') + name, "a side file from the archive");
        packFiles({QStringLiteral("hwids.mdb"), name.section(QLatin1Char('/'), 0, 0)});
    }
    // The new database and beside it a file named by these bytes (Qt would take bytes that are
    // no UTF-8 for replacement characters).
    void packWithOddName(const QByteArray &name) const
    {
        newDatabase();
        const int fd = ::open((QFile::encodeName(pack) + '/' + name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "odd", 3), 3);
        ::close(fd);
        packFiles({QStringLiteral("*")});
    }
};

struct InstallCase {
    const char *name;
    void (*make)(const Setting &);
    Result expected;
};

void PrintTo(const InstallCase &installCase, std::ostream *out)
{
    *out << installCase.name;
}

const InstallCase kCases[] = {
    {"GoodArchive", [](const Setting &s) {
         s.newDatabase();
         writeFile(s.pack + QStringLiteral("/notes.txt"), "new notes");
         s.packFiles({QStringLiteral("hwids.mdb"), QStringLiteral("notes.txt")});
     }, Result::Installed},
    {"HwidsAView", [](const Setting &s) {
         s.newDatabase({QStringLiteral("ALTER TABLE hwids RENAME TO hwids_rows"), QStringLiteral("CREATE VIEW hwids AS SELECT * FROM hwids_rows")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"HwidsAnEndlessRecursiveView", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP TABLE hwids"),
                        QStringLiteral("CREATE VIEW hwids AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                       "SELECT 'ID\\' || i AS hwid, '1,1' AS info FROM n")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"HwidsWithoutInfo", [](const Setting &s) {
         s.newDatabase({QStringLiteral("ALTER TABLE hwids DROP COLUMN info")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"EndlessRecursiveInsertTrigger", [](const Setting &s) {
         s.newDatabase({QStringLiteral("CREATE TRIGGER grow AFTER INSERT ON hwids BEGIN "
                                       "INSERT INTO hwids (hwid, info) VALUES (new.hwid || 'x', new.info); END")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    // Each entry far below the bound, together beyond it; the stand-in engine hands the listing
    // over at once where the real one would pack half a gigabyte.
    {"UnpackedTotalBeyondItsBound", [](const Setting &s) {
         s.newDatabase();
         s.packFiles({QStringLiteral("hwids.mdb")});
         QByteArray entries = "Path = hwids.mdb\nSize = 4096\nAttributes = A -rw-r--r--\n\n";
         for (int i = 0; i < 3; ++i)
             entries += QStringLiteral("Path = part%1\nSize = %2\nAttributes = A -rw-r--r--\n\n").arg(i).arg(Zentrax::kMaxUnpackedBytes / 3).toUtf8();
         const QString engine = testsupport::writeStandInEngine(s.pack, entries);
         ASSERT_FALSE(engine.isEmpty());
         Zentrax::SetEngineProgramForTesting(engine);
     }, Result::OpenFailed},
    // hwids.mdb, the folder and the files in it: one entry more than the bound.
    {"OneEntryBeyondTheBound", [](const Setting &s) {
         s.newDatabase();
         for (int i = 0; i < Zentrax::kMaxEntries - 1; ++i)
             writeFile(s.pack + QStringLiteral("/many/%1").arg(i), {});
         s.packFiles({QStringLiteral("hwids.mdb"), QStringLiteral("many")});
     }, Result::OpenFailed},
    {"ReparsePointLink", [](const Setting &s) {
         s.newDatabase();
         s.packFiles({QStringLiteral("-mhc=off"), QStringLiteral("hwids.mdb")});
         ASSERT_TRUE(testsupport::markEntryAsReparsePoint(s.archive()));
     }, Result::OpenFailed},
    {"UnixLink", [](const Setting &s) {
         writeFile(s.root + QStringLiteral("/elsewhere.mdb"), "outside");
         ASSERT_TRUE(QFile::link(s.root + QStringLiteral("/elsewhere.mdb"), s.pack + QStringLiteral("/hwids.mdb")));
         s.packFiles({QStringLiteral("-snl"), QStringLiteral("hwids.mdb")});
     }, Result::OpenFailed},
    // The files go in by name, hwids.mdb last: a.txt is replaced before b.txt meets the folder.
    {"LaterFileBlockedByAFolder", [](const Setting &s) {
         s.newDatabase();
         writeFile(s.pack + QStringLiteral("/a.txt"), "new a");
         writeFile(s.pack + QStringLiteral("/b.txt"), "new b");
         writeFile(s.program + QStringLiteral("/a.txt"), "old a");
         writeFile(s.program + QStringLiteral("/b.txt/kept.txt"), "the user's");
         s.packFiles({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("hwids.mdb")});
     }, Result::OpenFailed},
    {"LaterFolderBlockedByAFile", [](const Setting &s) {
         s.newDatabase();
         writeFile(s.pack + QStringLiteral("/a.txt"), "new a");
         writeFile(s.pack + QStringLiteral("/new/deeper/c.txt"), "new c");
         writeFile(s.pack + QStringLiteral("/sub/d.txt"), "new d");
         writeFile(s.program + QStringLiteral("/a.txt"), "old a");
         writeFile(s.program + QStringLiteral("/sub"), "a file where a folder would go");
         s.packFiles({QStringLiteral("a.txt"), QStringLiteral("new"), QStringLiteral("sub"), QStringLiteral("hwids.mdb")});
     }, Result::OpenFailed},
    // Side files of the database never come from an archive: a journal is played back at the
    // next open (and deletes the super-journal it names, wherever that is), a log is read as
    // the database's newest pages, a stamp vouches for a file unchecked.
    {"JournalBesideTheDatabase", [](const Setting &s) { s.packWithSideFile(QStringLiteral("hwids.mdb-journal")); }, Result::OpenFailed},
    {"WriteAheadLogBesideTheDatabase", [](const Setting &s) { s.packWithSideFile(QStringLiteral("hwids.mdb-wal")); }, Result::OpenFailed},
    {"LogIndexBesideTheDatabase", [](const Setting &s) { s.packWithSideFile(QStringLiteral("hwids.mdb-shm")); }, Result::OpenFailed},
    {"StampBesideTheDatabase", [](const Setting &s) { s.packWithSideFile(QStringLiteral("hwids.mdb-checked")); }, Result::OpenFailed},
    {"JournalInAFolderInOtherCase", [](const Setting &s) { s.packWithSideFile(QStringLiteral("sub/HWIDS.MDB-JOURNAL")); }, Result::OpenFailed},
    // The schema is the build's to the letter; everything beside it is refused before a row is read.
    {"CheckConstraintRefusingEveryInsert", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP TABLE devicenames"),
                        QStringLiteral("CREATE TABLE devicenames (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                       "devicename VARCHAR(100) COLLATE NOCASE CHECK (length(devicename) < 0))")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"SlowCheckConstraint", [](const Setting &s) {
         QStringList statements{QStringLiteral("BEGIN")};
         for (int i = 0; i < 200; ++i)
             statements << QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('ID\\%1', '1,1')").arg(i);
         statements << QStringLiteral("COMMIT") << QStringLiteral("PRAGMA writable_schema=ON")
                    << QStringLiteral("UPDATE sqlite_master SET sql = 'CREATE TABLE hwids (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                      "hwid VARCHAR(125) COLLATE NOCASE CHECK (length(hex(zeroblob(20000000))) > 0), info TEXT)' "
                                      "WHERE name = 'hwids'");
         s.newDatabase(statements);
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"DefaultValue", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP TABLE version"), QStringLiteral("CREATE TABLE version (dbversion VARCHAR(50) DEFAULT '9.9.9')"),
                        QStringLiteral("INSERT INTO version DEFAULT VALUES")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"GeneratedColumn", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP TABLE hwids"),
                        QStringLiteral("CREATE TABLE hwids (ID INTEGER PRIMARY KEY AUTOINCREMENT, hwid VARCHAR(125) COLLATE NOCASE, "
                                       "info TEXT GENERATED ALWAYS AS ('1,1') VIRTUAL)"),
                        QStringLiteral("INSERT INTO hwids (hwid) VALUES ('PCI\\VEN_0002')")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"ExtraColumn", [](const Setting &s) {
         s.newDatabase({QStringLiteral("ALTER TABLE hwids ADD COLUMN extra TEXT")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"OtherColumnType", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP TABLE version"), QStringLiteral("CREATE TABLE version (dbversion BLOB)")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"OtherCollation", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP TABLE mfgs"), QStringLiteral("CREATE TABLE mfgs (ID INTEGER PRIMARY KEY AUTOINCREMENT, mfg VARCHAR(100) COLLATE RTRIM)"),
                        QStringLiteral("INSERT INTO mfgs (mfg) VALUES ('New Maker')")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"IndexOnAnExpression", [](const Setting &s) {
         s.newDatabase({QStringLiteral("CREATE INDEX hwids_lower ON hwids (lower(hwid))")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"UniqueIndexInPlaceOfTheExpectedOne", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP INDEX hwids_hwid"), QStringLiteral("CREATE UNIQUE INDEX hwids_hwid ON hwids (hwid)")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"PartialIndex", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DROP INDEX mfgs_mfg"), QStringLiteral("CREATE INDEX mfgs_mfg ON mfgs (mfg) WHERE mfg <> ''")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"ExtraTable", [](const Setting &s) {
         s.newDatabase({QStringLiteral("CREATE TABLE extra (x)")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    {"NoHardwareId", [](const Setting &s) {
         s.newDatabase({QStringLiteral("DELETE FROM hwids")});
         s.packFiles({QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
    // Names that the listing cannot carry as they are are refused, never installed renamed.
    {"LineBreakInAName", [](const Setting &s) { s.packWithOddName("odd\nname.txt"); }, Result::ExtractFailed},
    {"TabInAName", [](const Setting &s) { s.packWithOddName("odd\tname.txt"); }, Result::OpenFailed},
    {"EqualsInAName", [](const Setting &s) { s.packWithOddName("odd=name.txt"); }, Result::OpenFailed},
    {"NameNoUtf8", [](const Setting &s) { s.packWithOddName("odd\xffname.txt"); }, Result::OpenFailed},
    {"NameClimbingOutWithBackslashes", [](const Setting &s) { s.packWithOddName("..\\..\\escape.txt"); }, Result::OpenFailed},
};

// Every file and folder under a folder, each with a digest of its bytes.
QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        found.insert(QDir(folder).relativeFilePath(path),
                     it.fileInfo().isDir() ? QByteArray("folder")
                                           : QCryptographicHash::hash(testsupport::readFile(path), QCryptographicHash::Sha1));
    }
    return found;
}

class InstallSetting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setting = {dir.path(), dir.filePath(QStringLiteral("program")), dir.filePath(QStringLiteral("pack"))};
        QDir().mkpath(setting.pack);
        QDir().mkpath(setting.program);
        ASSERT_FALSE(testsupport::makeHwidsDatabase(setting.program, deviceRows(kOldLine)).isEmpty());
        writeFile(setting.program + QStringLiteral("/notes.txt"), "old notes");
        runtime::App::setPath(setting.program);
        ModDatabase::SetExitHandler([this](int code) { exitCode = code; });
    }
    void TearDown() override
    {
        ModDatabase::CloseDatabase();
        ModDatabase::SetExitHandler({});
        runtime::App::setPath(QString());
        Zentrax::SetEngineProgramForTesting(QString());
    }

    // Everything under the temporary folder but the pack folder: the program folder and beside it.
    QMap<QString, QByteArray> everything() const
    {
        QMap<QString, QByteArray> found = contents(setting.root);
        found.removeIf([](const auto &entry) { return entry.key().startsWith(QLatin1String("pack")); });
        return found;
    }

    // The program's open of the installed database, and a lookup of the line's device.
    void expectAnswers(const QString &line)
    {
        runtime::MsgBoxRecorder messages;
        ModDatabase::OpenDatabase();
        ASSERT_TRUE(messages.calls.isEmpty()) << messages.calls.value(0).prompt.toStdString();
        EXPECT_EQ(exitCode, -1);
        EXPECT_EQ(ModDatabase::GetDeviceNameByID(QStringLiteral("1")), line.split(QLatin1String("|||")).at(1));
        EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(line));
        ModDatabase::CloseDatabase();
    }

    QTemporaryDir dir;
    Setting setting;
    int exitCode = -1;
};

class Install : public InstallSetting, public ::testing::WithParamInterface<InstallCase> {};

// A refused archive leaves every file in and beside the program folder as it was, and the old
// database answering; a good one is in place with nothing of the install left over.
TEST_P(Install, EndsWithADatabaseThatAnswers)
{
    GetParam().make(setting);
    if (HasFatalFailure())
        return;
    const QMap<QString, QByteArray> before = everything();
    Zentrax zip;
    EXPECT_EQ(DatabaseInstall::Install(zip, setting.archive(), setting.program), GetParam().expected);
    if (GetParam().expected == Result::Installed) {
        EXPECT_EQ(testsupport::readFile(setting.program + QStringLiteral("/notes.txt")), QByteArray("new notes"));
        EXPECT_EQ(QDir(setting.program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  (QStringList{QStringLiteral("hwids.7z"), QStringLiteral("hwids.mdb"), QStringLiteral("notes.txt")}));
        expectAnswers(kNewLine);
        return;
    }
    const QMap<QString, QByteArray> after = everything();
    EXPECT_EQ(after.keys(), before.keys());
    EXPECT_TRUE(after == before) << "a file changed";
    expectAnswers(kOldLine);
}

INSTANTIATE_TEST_SUITE_P(Archives, Install, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<InstallCase> &info) { return std::string(info.param.name); });

// Without the engine the install is the failed open of the archive, and the old database stays.
TEST_F(InstallSetting, WithoutTheEngineTheOpenFails)
{
    kCases[0].make(setting);
    const QMap<QString, QByteArray> before = everything();
    Zentrax::SetEngineProgramForTesting(QStringLiteral("no-such-7zz"));
    Zentrax zip;
    EXPECT_EQ(DatabaseInstall::Install(zip, setting.archive(), setting.program), Result::OpenFailed);
    EXPECT_TRUE(everything() == before);
    expectAnswers(kOldLine);
}

// Side files left beside the old database go aside with it in the same step. A real log of the
// old database, left beside the new one, would be read as the new one's newest pages.
TEST_F(InstallSetting, StaleSideFilesGoAsideWithTheOldDatabase)
{
    kCases[0].make(setting);
    const QString scratch = dir.filePath(QStringLiteral("scratch"));
    QDir().mkpath(scratch);
    ASSERT_TRUE(QFile::copy(setting.program + QStringLiteral("/hwids.mdb"), scratch + QStringLiteral("/hwids.mdb")));
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(scratch + QStringLiteral("/hwids.mdb")).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; "
                               "UPDATE devicenames SET devicename = 'Stale Device'; UPDATE hwids SET info = '7,7'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (const char *side : {"-wal", "-shm"})
        writeFile(setting.program + QStringLiteral("/hwids.mdb") + QLatin1String(side), testsupport::readFile(scratch + QStringLiteral("/hwids.mdb") + QLatin1String(side)));
    sqlite3_close(db);
    writeFile(setting.program + QStringLiteral("/hwids.mdb-journal"), "a journal left from before");
    writeFile(setting.program + QStringLiteral("/hwids.mdb-checked"), "a stamp left from before");

    Zentrax zip;
    ASSERT_EQ(DatabaseInstall::Install(zip, setting.archive(), setting.program), Result::Installed);
    EXPECT_EQ(QDir(setting.program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("hwids.7z"), QStringLiteral("hwids.mdb"), QStringLiteral("notes.txt")}));
    expectAnswers(kNewLine);
}

TEST_F(InstallSetting, HiddenFilesAreInstalledWithTheRest)
{
    setting.newDatabase();
    writeFile(setting.pack + QStringLiteral("/.hidden"), "hidden");
    writeFile(setting.pack + QStringLiteral("/.folder/.deeper"), "deeper");
    setting.packFiles({QStringLiteral("hwids.mdb"), QStringLiteral(".hidden"), QStringLiteral(".folder")});
    Zentrax zip;
    ASSERT_EQ(DatabaseInstall::Install(zip, setting.archive(), setting.program), Result::Installed);
    EXPECT_EQ(testsupport::readFile(setting.program + QStringLiteral("/.hidden")), QByteArray("hidden"));
    EXPECT_EQ(testsupport::readFile(setting.program + QStringLiteral("/.folder/.deeper")), QByteArray("deeper"));
    expectAnswers(kNewLine);
}

// The install run by AKillAtAnyStepLeavesAWholeDatabase in a process of its own, killed at the
// step it is given.
TEST(InstallChild, KilledAtItsStep)
{
    const QString program = qEnvironmentVariable("KESTROVA_INSTALL_PROGRAM");
    if (program.isEmpty())
        GTEST_SKIP() << "run as a child process by AKillAtAnyStepLeavesAWholeDatabase";
    const int killAt = qEnvironmentVariableIntValue("KESTROVA_INSTALL_KILL_AT");
    int steps = 0;
    DatabaseInstall::SetStepHookForTesting([&steps, killAt] {
        if (++steps == killAt)
            ::kill(::getpid(), SIGKILL);
    });
    Zentrax zip;
    EXPECT_EQ(DatabaseInstall::Install(zip, program + QStringLiteral("/hwids.7z"), program), Result::Installed);
    DatabaseInstall::SetStepHookForTesting({});
}

// A process killed at any step of an install, and then a start: the database in place is the
// old or the new one, whole, and nothing of the install is left.
TEST_F(InstallSetting, AKillAtAnyStepLeavesAWholeDatabase)
{
    kCases[0].make(setting);
    writeFile(setting.program + QStringLiteral("/hwids.mdb-checked"), "a stamp left from before");
    const QString model = dir.filePath(QStringLiteral("model"));
    QDir().mkpath(model);
    for (const QString &name : QDir(setting.program).entryList(QDir::Files | QDir::Hidden))
        ASSERT_TRUE(QFile::copy(setting.program + QLatin1Char('/') + name, model + QLatin1Char('/') + name));
    int killAt = 1;
    for (;; ++killAt) {
        SCOPED_TRACE(killAt);
        ASSERT_LT(killAt, 200) << "the install never ended";
        QDir(setting.program).removeRecursively();
        QDir().mkpath(setting.program);
        for (const QString &name : QDir(model).entryList(QDir::Files | QDir::Hidden))
            ASSERT_TRUE(QFile::copy(model + QLatin1Char('/') + name, setting.program + QLatin1Char('/') + name));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KESTROVA_INSTALL_PROGRAM"), setting.program);
        environment.insert(QStringLiteral("KESTROVA_INSTALL_KILL_AT"), QString::number(killAt));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=InstallChild.KilledAtItsStep")});
        ASSERT_TRUE(child.waitForFinished(5 * 60 * 1000));
        const bool killed = child.exitStatus() == QProcess::CrashExit;
        if (!killed) {
            ASSERT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        }

        runtime::MsgBoxRecorder messages;
        ModDatabase::OpenDatabase();
        ASSERT_TRUE(messages.calls.isEmpty()) << messages.calls.value(0).prompt.toStdString();
        const QString name = ModDatabase::GetDeviceNameByID(QStringLiteral("1"));
        EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(name == QLatin1String("New Device") ? kNewLine : kOldLine)) << name.toStdString();
        ModDatabase::CloseDatabase();
        EXPECT_FALSE(QFileInfo::exists(setting.program + QStringLiteral("/.hwids-aside")));
        EXPECT_FALSE(QFileInfo::exists(setting.program + QStringLiteral("/.hwids-staging")));
        if (name == QLatin1String("New Device")) {
            EXPECT_NE(testsupport::readFile(setting.program + QStringLiteral("/hwids.mdb-checked")), QByteArray("a stamp left from before"))
                << "the old stamp beside the new database";
        }
        if (!killed)
            break;
    }
    EXPECT_GT(killAt, 8) << "the install has more steps than that";
}

} // namespace

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
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    {"UnpackedSizeBeyondItsBound", [](const Setting &s) {
         s.newDatabase();
         QFile zeros(s.pack + QStringLiteral("/zeros.bin"));
         ASSERT_TRUE(zeros.open(QIODevice::WriteOnly) && zeros.resize(Zentrax::kMaxUnpackedBytes + 1));
         zeros.close();
         s.packFiles({QStringLiteral("-mx1"), QStringLiteral("hwids.mdb"), QStringLiteral("zeros.bin")});
     }, Result::OpenFailed},
    {"EntriesBeyondTheirBound", [](const Setting &s) {
         s.newDatabase();
         for (int i = 0; i < Zentrax::kMaxEntries; ++i)
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
     }, Result::ExtractFailed},
    {"LaterFolderBlockedByAFile", [](const Setting &s) {
         s.newDatabase();
         writeFile(s.pack + QStringLiteral("/a.txt"), "new a");
         writeFile(s.pack + QStringLiteral("/new/deeper/c.txt"), "new c");
         writeFile(s.pack + QStringLiteral("/sub/d.txt"), "new d");
         writeFile(s.program + QStringLiteral("/a.txt"), "old a");
         writeFile(s.program + QStringLiteral("/sub"), "a file where a folder would go");
         s.packFiles({QStringLiteral("a.txt"), QStringLiteral("new"), QStringLiteral("sub"), QStringLiteral("hwids.mdb")});
     }, Result::ExtractFailed},
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

} // namespace

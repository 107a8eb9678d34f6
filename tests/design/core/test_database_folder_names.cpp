// The program runs from any folder: the database opens, answers, takes a new device and passes
// the install's check whatever the program folder's path holds.
#include "core/ModDatabase.h"

#include "runtime/App.h"
#include "runtime/MsgBox.h"
#include "support/HwidsDatabase.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct FolderName {
    const char *name;
    const char *folder; // UTF-8
};

void PrintTo(const FolderName &row, std::ostream *out) { *out << row.name; }

class DatabaseFolderNames : public ::testing::TestWithParam<FolderName> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        path = root.filePath(QString::fromUtf8(GetParam().folder));
        ASSERT_TRUE(QDir().mkpath(path));
        runtime::App::setPath(path);
        ModDatabase::SetExitHandler([this](int code) { exitCode = code; });
    }
    void TearDown() override
    {
        ModDatabase::CloseDatabase();
        ModDatabase::SetExitHandler({});
        runtime::App::setPath(QString());
    }

    QTemporaryDir root;
    QString path;
    int exitCode = -1;
};

TEST_P(DatabaseFolderNames, OpenLookUpAddAndTheInstallCheck)
{
    const QString file = testsupport::makeHwidsDatabase(
        path, {QStringLiteral("INSERT INTO devicenames (ID, devicename) VALUES (1, 'Virtio network')"),
               QStringLiteral("INSERT INTO mfgs (ID, mfg) VALUES (1, 'Red Hat, Inc.')"),
               QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('PCI\\VEN_1AF4&DEV_1041', '1,1' || char(13,10))")});
    ASSERT_EQ(file, QDir(path).filePath(QStringLiteral("hwids.mdb")));

    runtime::MsgBoxRecorder messages;
    ModDatabase::OpenDatabase();
    ASSERT_TRUE(messages.calls.isEmpty()) << messages.calls.value(0).prompt.toStdString();
    EXPECT_EQ(exitCode, -1);
    EXPECT_EQ(ModDatabase::GetDeviceNameByID(QStringLiteral("1")), QStringLiteral("Virtio network"));
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(QStringLiteral("PCI\\VEN_1AF4&DEV_1041|||Virtio network|||Red Hat, Inc.")));
    const QString added = QStringLiteral("USB\\VID_1234&PID_5678|||Stick|||Maker");
    ModDatabase::AddHardwareToDatabase(added);
    EXPECT_TRUE(ModDatabase::IsHardwareInDatabase(added));
    ModDatabase::CloseDatabase();

    ado::Error problem;
    EXPECT_TRUE(ModDatabase::IsInstallableHardwareIdDatabase(file, &problem)) << problem.description.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    , DatabaseFolderNames,
    ::testing::Values(FolderName{"Semicolon", "home/a;b/kestrova"}, FolderName{"Spaces", "my programs/kes trova"},
                      FolderName{"SpacesAtTheEnds", " lead/trail /kestrova"}, FolderName{"DoubleQuote", "say \"hi\"/kestrova"},
                      FolderName{"SingleQuote", "it's/kestrova"}, FolderName{"BothQuotes", "'a\"b'/\"c'd\""},
                      FolderName{"HashAndEquals", "#1=one/a=b#c"}, FolderName{"AConnectionStringInside", "x;Data Source=y;/z"},
                      FolderName{"NonAscii", "Grüße/ñandú/日本"}, FolderName{"Everything", " ;'\"#= ü;/kestrova"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

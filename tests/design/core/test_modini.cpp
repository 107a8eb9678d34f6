#include "core/ModServer.h"
#include "core/Modini.h"

#include "runtime/App.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray utf16(const QString &text)
{
    return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
}

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        runtime::App::setPath(folder.path());
    }
    void TearDown() override { runtime::App::setPath(QString()); }

    QByteArray settingsBytes()
    {
        QFile file(folder.filePath(QStringLiteral("settings.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
};

TEST_F(Settings, FirstStartReadsNothingAndCreatesNothing)
{
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), runtime::App::Path() + QStringLiteral("\\Settings.ini")),
              QString());
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("programback")), QString());
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("settings.ini"))));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("Settings.ini"))));
}

TEST_F(Settings, FirstWriteLeavesUtf16WithItsMark)
{
    ASSERT_TRUE(Modini::WriteIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates"), QStringLiteral("1"),
                                 runtime::App::Path() + QStringLiteral("\\Settings.ini")));
    ASSERT_TRUE(QFile::exists(folder.filePath(QStringLiteral("Settings.ini"))));
    QFile::rename(folder.filePath(QStringLiteral("Settings.ini")), folder.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(Modini::WriteIni(QStringLiteral("colors"), QStringLiteral("programback"), QStringLiteral("16777215")));
    ASSERT_TRUE(Modini::WriteIni(QStringLiteral("main"), QStringLiteral("CheckDisableShadow"), QStringLiteral("0"),
                                 runtime::App::Path() + QStringLiteral("\\Settings.ini")));
    EXPECT_EQ(settingsBytes(), utf16(QStringLiteral("[main]\r\nCheckForUpdates=1\r\nCheckDisableShadow=0\r\n"
                                                    "[colors]\r\nprogramback=16777215\r\n")))
        << "the default file and the main section's file are one";
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates")), QStringLiteral("1"));
}

TEST_F(Settings, LongValueReadsBackCutTo2047Characters)
{
    const QString value = QString(2046, u'a') + QStringLiteral("bcd");
    ASSERT_TRUE(Modini::WriteIni(QStringLiteral("colors"), QStringLiteral("long"), value));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("long")), value.left(2047));
}

TEST_F(Settings, ExistingFileInAnotherEncodingStaysInIt)
{
    QFile file(folder.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[colors]\r\nname=Gr\xFCn\r\n");
    file.close();
    ASSERT_TRUE(Modini::WriteIni(QStringLiteral("colors"), QStringLiteral("pbbar"), QStringLiteral("255")));
    EXPECT_EQ(settingsBytes(), QByteArray("[colors]\r\nname=Gr\xFCn\r\npbbar=255\r\n"));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("NAME")), QString::fromUtf8("Grün"));
}

TEST_F(Settings, WriteToAFolderThatIsMissingFails)
{
    EXPECT_FALSE(Modini::WriteIni(QStringLiteral("main"), QStringLiteral("k"), QStringLiteral("v"),
                                  folder.filePath(QStringLiteral("color_presets/Blue.ini"))));
}

TEST_F(Settings, ServerAddressesAreSettingsWithPlaceholderDefaults)
{
    EXPECT_EQ(ModServer::WebServer(), QStringLiteral("http://www.quordane.example"));
    EXPECT_EQ(ModServer::HomePage(), QStringLiteral("http://www.quordane.example/"));
    EXPECT_TRUE(ModServer::SearchPage().contains(QLatin1String(".example")));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("settings.ini"))));

    ASSERT_TRUE(Modini::WriteIni(QStringLiteral("main"), QStringLiteral("WebServer"), QStringLiteral("http://127.0.0.1:8080/")));
    ASSERT_TRUE(Modini::WriteIni(QStringLiteral("main"), QStringLiteral("SearchPage"), QStringLiteral("http://127.0.0.1:8081/")));
    EXPECT_EQ(ModServer::WebServer(), QStringLiteral("http://127.0.0.1:8080"));
    EXPECT_EQ(ModServer::HomePage(), QStringLiteral("http://127.0.0.1:8080/"));
    EXPECT_EQ(ModServer::SearchPage(), QStringLiteral("http://127.0.0.1:8081/"));
}

}

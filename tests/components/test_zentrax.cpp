#include "components/Zentrax.h"

#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using testsupport::readFile;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// `7zz a` run in `folder`, as the maker packs an archive.
void pack(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("7zz"), QStringList{QStringLiteral("a"), QStringLiteral("-bso0"), QStringLiteral("-bsp0")} + arguments);
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

class ZentraxArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        src = dir.filePath(QStringLiteral("src"));
        QByteArray big(300000, Qt::Uninitialized);
        for (int i = 0; i < big.size(); ++i)
            big[i] = char((i * 31) ^ (i >> 7));
        writeFile(src + QStringLiteral("/hwids.mdb"), big);
        writeFile(src + QStringLiteral("/notes/readme.txt"), "new notes");
        pack(src, {QStringLiteral("../good.7z"), QStringLiteral("hwids.mdb"), QStringLiteral("notes")});
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString src;
};

TEST_F(ZentraxArchive, ExtractsEverythingOverwritingWithProgressInBytes)
{
    const QString out = path(QStringLiteral("out"));
    writeFile(out + QStringLiteral("/hwids.mdb"), "old database");
    Zentrax zip;
    EXPECT_TRUE(zip.LoadEngine(path(QStringLiteral("7za.dll")))) << "the engine path is not needed";
    ASSERT_TRUE(zip.Open(path(QStringLiteral("good.7z"))));
    EXPECT_EQ(zip.totalSize(), 300000 + 9);
    EXPECT_TRUE(zip.entries().contains(QStringLiteral("notes/readme.txt")));
    QList<QPair<double, double>> progress;
    QObject::connect(&zip, &Zentrax::Progress, [&progress](double done, double total) { progress.append({done, total}); });
    ASSERT_TRUE(zip.ExtractAll(out));
    EXPECT_EQ(readFile(out + QStringLiteral("/hwids.mdb")), readFile(src + QStringLiteral("/hwids.mdb")));
    EXPECT_EQ(readFile(out + QStringLiteral("/notes/readme.txt")), QByteArray("new notes"));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), qMakePair(300009.0, 300009.0));
    for (qsizetype i = 1; i < progress.size(); ++i)
        EXPECT_LE(progress.at(i - 1).first, progress.at(i).first);
}

TEST_F(ZentraxArchive, RefusesWhatIsNoSafeSevenZipArchive)
{
    writeFile(path(QStringLiteral("escape.mdb")), "outside");
    writeFile(path(QStringLiteral("text.7z")), "this is not an archive at all");
    pack(src, {QStringLiteral("../climbs.7z"), QStringLiteral("-spf"), QStringLiteral("../escape.mdb")});
    pack(src, {QStringLiteral("../absolute.7z"), QStringLiteral("-spf"), path(QStringLiteral("escape.mdb"))});
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/passwd"), src + QStringLiteral("/link.mdb")));
    pack(src, {QStringLiteral("../link.7z"), QStringLiteral("-snl"), QStringLiteral("link.mdb")});
    pack(src, {QStringLiteral("../zip.7z"), QStringLiteral("-tzip"), QStringLiteral("hwids.mdb")});
    for (const char *name : {"missing.7z", "text.7z", "climbs.7z", "absolute.7z", "link.7z", "zip.7z"}) {
        Zentrax zip;
        EXPECT_FALSE(zip.Open(path(QLatin1String(name)))) << name;
        EXPECT_FALSE(zip.ExtractAll(path(QStringLiteral("out")))) << name << ": nothing opened";
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("out/hwids.mdb"))));
}

TEST_F(ZentraxArchive, ACorruptArchiveFailsToOpenOrToExtract)
{
    QByteArray bytes = readFile(path(QStringLiteral("good.7z")));
    for (qsizetype i = 100; i < 5000; i += 7)
        bytes[i] = char(bytes[i] ^ 0x5a);
    writeFile(path(QStringLiteral("corrupt.7z")), bytes);
    Zentrax zip;
    EXPECT_FALSE(zip.Open(path(QStringLiteral("corrupt.7z"))) && zip.ExtractAll(path(QStringLiteral("out"))));
}

TEST_F(ZentraxArchive, WithoutTheEngineNothingOpens)
{
    Zentrax::SetEngineProgramForTesting(QStringLiteral("no-such-7zz"));
    Zentrax zip;
    EXPECT_FALSE(zip.LoadEngine(QString()));
    EXPECT_FALSE(zip.Open(path(QStringLiteral("good.7z"))));
    Zentrax::SetEngineProgramForTesting(QString());
    EXPECT_TRUE(zip.Open(path(QStringLiteral("good.7z"))));
}

} // namespace

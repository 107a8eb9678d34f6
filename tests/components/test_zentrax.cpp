#include "components/Zentrax.h"

#include "runtime/DoEvents.h"
#include "support/Files.h"
#include "support/SevenZipArchives.h"

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

// `7zz a` run in `folder`, as the maker packs an archive; the archive is the first argument.
void pack(const QString &folder, const QStringList &arguments)
{
    ASSERT_TRUE(testsupport::packArchive(folder, arguments.first(), arguments.mid(1)));
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

// An entry stored as a Windows reparse point is a link as much as a Unix link is; the marked
// archive itself stays sound to the engine.
TEST_F(ZentraxArchive, RefusesAReparsePoint)
{
    const QString archive = path(QStringLiteral("reparse.7z"));
    pack(src, {archive, QStringLiteral("-mhc=off"), QStringLiteral("hwids.mdb")});
    Zentrax zip;
    ASSERT_TRUE(zip.Open(archive));
    ASSERT_TRUE(testsupport::markEntryAsReparsePoint(archive));
    QProcess tester;
    tester.start(QStringLiteral("7zz"), {QStringLiteral("l"), QStringLiteral("-slt"), archive});
    ASSERT_TRUE(tester.waitForFinished(60000));
    EXPECT_EQ(tester.exitCode(), 0);
    EXPECT_TRUE(tester.readAllStandardOutput().contains("Attributes = AL -rw"));
    EXPECT_FALSE(zip.Open(archive));
    EXPECT_FALSE(zip.ExtractAll(path(QStringLiteral("out"))));
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

// The engine asks for a password; nobody answers it, so the open or the extraction fails at once.
TEST_F(ZentraxArchive, AnEncryptedArchiveFailsWithoutWaitingForAPassword)
{
    pack(src, {path(QStringLiteral("names.7z")), QStringLiteral("-psecret"), QStringLiteral("-mhe=on"), QStringLiteral("hwids.mdb")});
    pack(src, {path(QStringLiteral("data.7z")), QStringLiteral("-psecret"), QStringLiteral("hwids.mdb")});
    for (const char *name : {"names.7z", "data.7z"}) {
        Zentrax zip;
        EXPECT_FALSE(zip.Open(path(QLatin1String(name))) && zip.ExtractAll(path(QStringLiteral("out")))) << name;
    }
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

namespace {

// What a stand-in engine answers: its listing of the archive (after the line of dashes) and
// the exit status of the listing, and how many bytes its extraction writes.
struct ListingCase {
    const char *name;
    const char *entries;
    int listStatus;
    int extractedBytes;
    bool opens;
    bool extracts;
};

void PrintTo(const ListingCase &listingCase, std::ostream *out)
{
    *out << listingCase.name;
}

const ListingCase kListings[] = {
    {"AsListed", "Path = hwids.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, true, true},
    {"MoreBytesThanListed", "Path = hwids.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 4 * 1024 * 1024, true, false},
    {"FewerBytesThanListed", "Path = hwids.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 5, true, false},
    {"ReparsePoint", "Path = hwids.mdb\nSize = 10\nAttributes = AL -rw-r--r--\n", 0, 10, false, false},
    {"ReparsePointWithoutUnixMode", "Path = hwids.mdb\nSize = 10\nAttributes = AL\n", 0, 10, false, false},
    {"Device", "Path = hwids.mdb\nSize = 0\nAttributes = A crw-r--r--\n", 0, 0, false, false},
    {"ForgedLineInAName", "Path = hwids.mdb\nSize = 0\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"TwentyGibibytesAnnounced", "Path = hwids.mdb\nSize = 21474836480\nAttributes = A -rw-r--r--\n", 0, 0, false, false},
    {"SizeNoNumber", "Path = hwids.mdb\nSize = ten\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"ListingFails", "Path = hwids.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 2, 10, false, false},
};

class StandInEngine : public ::testing::TestWithParam<ListingCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        writeFile(dir.filePath(QStringLiteral("some.7z")), "stands for an archive");
    }
    void TearDown() override { Zentrax::SetEngineProgramForTesting(QString()); }

    // An engine program that answers `l` with the listing and `x` with that many bytes.
    void useEngine(const ListingCase &answers, const char *beforeListing = "")
    {
        writeFile(dir.filePath(QStringLiteral("listing")),
                  QByteArray("7-Zip (z)\n\n--\nPath = some.7z\nType = 7z\n\n----------\n") + answers.entries + "\n");
        const QString engine = dir.filePath(QStringLiteral("engine"));
        writeFile(engine, QStringLiteral("#!/bin/sh\ncase \"$1\" in\n"
                                         "l) %1 cat '%2'; exit %3 ;;\n"
                                         "x) head -c %4 /dev/zero ;;\nesac\n")
                              .arg(QLatin1String(beforeListing), dir.filePath(QStringLiteral("listing")))
                              .arg(answers.listStatus)
                              .arg(answers.extractedBytes)
                              .toUtf8());
        QFile::setPermissions(engine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Zentrax::SetEngineProgramForTesting(engine);
    }

    QTemporaryDir dir;
};

// Whatever the engine's listing says, only a listing of safe entries within the bounds opens,
// and the extraction writes exactly the listed bytes or fails.
TEST_P(StandInEngine, OpensAndExtractsOnlyWhatTheListingHolds)
{
    useEngine(GetParam());
    Zentrax zip;
    ASSERT_EQ(zip.Open(dir.filePath(QStringLiteral("some.7z"))), GetParam().opens);
    const QString out = dir.filePath(QStringLiteral("out"));
    EXPECT_EQ(zip.ExtractAll(out), GetParam().extracts);
    if (GetParam().extracts)
        EXPECT_EQ(readFile(out + QStringLiteral("/hwids.mdb")), QByteArray(10, '\0'));
    else
        EXPECT_LE(QFileInfo(out + QStringLiteral("/hwids.mdb")).size(), 10) << "never more than listed";
}

INSTANTIATE_TEST_SUITE_P(Listings, StandInEngine, ::testing::ValuesIn(kListings),
                         [](const ::testing::TestParamInfo<ListingCase> &info) { return std::string(info.param.name); });

// A slow engine does not hold the message loop up.
TEST_F(StandInEngine, TheMessageLoopRunsWhileTheEngineWorks)
{
    useEngine(kListings[0], "sleep 0.5;");
    int yields = 0;
    const runtime::YieldHook before = runtime::SetYieldHook([&yields](int) { ++yields; });
    Zentrax zip;
    EXPECT_TRUE(zip.Open(dir.filePath(QStringLiteral("some.7z"))));
    runtime::SetYieldHook(before);
    EXPECT_GT(yields, 0);
}

} // namespace

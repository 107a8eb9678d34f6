#include "components/Zentrax.h"

#include "runtime/DoEvents.h"
#include "support/Files.h"
#include "support/SevenZipArchives.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

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

// Names the listing cannot carry as they are: a line break the listing writes as "_" (the
// entry is then asked for under that name and gives nothing), a tab, "=" and bytes that are no
// UTF-8. None is extracted under another name; a hidden file is extracted as any other.
TEST_F(ZentraxArchive, NamesTheListingCannotCarryAreRefusedNotRenamed)
{
    const struct {
        const char *name;
        QByteArray file;
        bool opens;
    } rows[] = {
        {"line break", "a\nb.txt", true},
        {"tab", "a\tb.txt", false},
        {"equals", "a=b.txt", false},
        {"no UTF-8", "a\xff" "b.txt", false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = path(QStringLiteral("named"));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        // By the bytes of its name: Qt would read bytes that are no UTF-8 as replacement characters.
        const QByteArray name = QFile::encodeName(folder) + '/' + row.file;
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "odd name", 8), 8);
        ::close(fd);
        const QString archive = path(QStringLiteral("named.7z"));
        QFile::remove(archive);
        pack(folder, {archive, QStringLiteral("*")});
        const QString out = path(QStringLiteral("named-out"));
        QDir(out).removeRecursively();
        Zentrax zip;
        ASSERT_EQ(zip.Open(archive), row.opens);
        EXPECT_FALSE(zip.ExtractAll(out));
        for (const QString &written : QDir(out).entryList(QDir::Files | QDir::Hidden))
            EXPECT_NE(readFile(out + QLatin1Char('/') + written), QByteArray("odd name")) << "renamed to " << written.toStdString();
    }
}

TEST_F(ZentraxArchive, HiddenFilesAreExtractedWithTheRest)
{
    writeFile(src + QStringLiteral("/.hidden"), "hidden");
    writeFile(src + QStringLiteral("/.folder/.deeper"), "deeper");
    pack(src, {path(QStringLiteral("hidden.7z")), QStringLiteral("hwids.mdb"), QStringLiteral(".hidden"), QStringLiteral(".folder")});
    const QString out = path(QStringLiteral("out"));
    Zentrax zip;
    ASSERT_TRUE(zip.Open(path(QStringLiteral("hidden.7z"))));
    ASSERT_TRUE(zip.ExtractAll(out));
    EXPECT_EQ(readFile(out + QStringLiteral("/.hidden")), QByteArray("hidden"));
    EXPECT_EQ(readFile(out + QStringLiteral("/.folder/.deeper")), QByteArray("deeper"));
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
    {"ClimbsOutWithBackslashes", "Path = ..\\hwids.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"ClimbsOutDeeperWithBackslashes", "Path = sub\\..\\..\\hwids.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"TabInAName", "Path = hwids\t.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"CarriageReturnInAName", "Path = hwids\r.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"EqualsInAName", "Path = hwids=.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"NameNoUtf8", "Path = hwids\xff.mdb\nSize = 10\nAttributes = A -rw-r--r--\n", 0, 10, false, false},
    {"NameListedTwice", "Path = hwids.mdb\nSize = 5\nAttributes = A -rw-r--r--\n\nPath = hwids.mdb\nSize = 5\nAttributes = A -rw-r--r--\n",
     0, 10, false, false},
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
        useEngine(answers.entries, answers.listStatus, answers.extractedBytes, beforeListing);
    }
    void useEngine(const QByteArray &entries, int listStatus = 0, qint64 extractedBytes = 0, const char *beforeListing = "")
    {
        const QString engine = testsupport::writeStandInEngine(dir.path(), entries, listStatus, extractedBytes, beforeListing);
        ASSERT_FALSE(engine.isEmpty());
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

// Listings at the edges of the bounds: the entry count, and the unpacked size as the total of
// all entries, each of them far below the bound. The stand-in hands over at once what the real
// engine would take minutes to pack.
TEST_F(StandInEngine, TheBoundsHoldAtTheirEdges)
{
    const auto files = [](int count, qint64 size) {
        QByteArray entries;
        for (int i = 0; i < count; ++i)
            entries += QStringLiteral("Path = f%1\nSize = %2\nAttributes = A -rw-r--r--\n\n").arg(i).arg(size).toUtf8();
        return entries;
    };
    const qint64 third = Zentrax::kMaxUnpackedBytes / 3;
    const struct {
        const char *name;
        QByteArray entries;
        bool opens;
    } rows[] = {
        {"entries at their bound", files(Zentrax::kMaxEntries, 0), true},
        {"one entry beyond", files(Zentrax::kMaxEntries + 1, 0), false},
        {"unpacked total at its bound", files(2, Zentrax::kMaxUnpackedBytes / 2), true},
        {"three entries each a third, together beyond", files(3, third + 1), false},
        {"many small entries together beyond", files(Zentrax::kMaxEntries, Zentrax::kMaxUnpackedBytes / Zentrax::kMaxEntries + 1), false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        useEngine(row.entries);
        Zentrax zip;
        EXPECT_EQ(zip.Open(dir.filePath(QStringLiteral("some.7z"))), row.opens);
    }
}

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

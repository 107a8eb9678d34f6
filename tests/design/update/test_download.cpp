#include "update/DownLoad.h"
#include "update/DownLoadFormat.h"

#include "support/Files.h"
#include "support/RawHttpServer.h"
#include "support/TestCertificates.h"

#include "components/Inet.h"
#include "components/Zentrax.h"
#include "core/ModServer.h"
#include "os/WinInet.h"
#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"
#include "support_downloadserver.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using testsupport::LocalHttpServer;
using testsupport::RawHttpServer;
using testsupport::readFile;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every event of the control, in order; the rate and time-left texts vary with the clock and
// are recorded by name only.
struct EventLog {
    QStringList events;
    explicit EventLog(DownLoad &dl)
    {
        QObject::connect(&dl, &DownLoad::DLComplete, [this] { events << QStringLiteral("DLComplete"); });
        QObject::connect(&dl, &DownLoad::DLError, [this](const QString &s) { events << QStringLiteral("DLError ") + s; });
        QObject::connect(&dl, &DownLoad::DLECode, [this](int c) { events << QStringLiteral("DLECode %1").arg(c); });
        QObject::connect(&dl, &DownLoad::RecievedBytes, [this](qint64 n) { events << QStringLiteral("RecievedBytes %1").arg(n); });
        QObject::connect(&dl, &DownLoad::Percent, [this](int n) { events << QStringLiteral("Percent %1").arg(n); });
        QObject::connect(&dl, &DownLoad::StatusChange, [this](const QString &s) { events << QStringLiteral("Status ") + s; });
        QObject::connect(&dl, &DownLoad::Rate, [this](const QString &) { events << QStringLiteral("Rate"); });
        QObject::connect(&dl, &DownLoad::TimeLeft, [this](const QString &) { events << QStringLiteral("TimeLeft"); });
        QObject::connect(&dl, &DownLoad::ConnectionState, [this](const QString &s) { events << QStringLiteral("Connection ") + s; });
    }
    QStringList take() { return std::exchange(events, {}); }
};

QStringList chunkEvents(int bytes, int percent)
{
    return {QStringLiteral("Rate"), QStringLiteral("TimeLeft"), QStringLiteral("RecievedBytes %1").arg(bytes),
            QStringLiteral("Percent %1").arg(percent), QStringLiteral("Status Recieving File...")};
}

const QStringList kInformation = {QStringLiteral("Status Initiating Connection."),
                                  QStringLiteral("Status Connection Accepted, Retrieving File Information."),
                                  QStringLiteral("Status Retrieving File Information Complete!")};

class DownLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        dl.I1().setTimeouts({3000ms, 1000ms, 10000ms});
        dl.setSaveLocation(target);
    }
    void TearDown() override { DownLoad::SetFreeSpaceForTesting({}); }
    QString url(const char *path) const { return server.url(QLatin1String(path)); }

    QByteArray file = testsupport::patternBytes(2500);
    LocalHttpServer server{[this](httplib::Server &http, LocalHttpServer &self) { testsupport::downloadRoutes(http, self, file); }};
    QTemporaryDir dir;
    QString target = dir.filePath(QStringLiteral("hwids.7z"));
    QWidget host;
    DownLoad dl{&host, QStringLiteral("DL1")};
    EventLog log{dl};
};

TEST_F(DownLoadTest, AWholeDownloadRaisesItsEventsInOrder)
{
    writeFile(target, QByteArray(9000, 'o'));
    dl.setPromptOverwrite(true);
    dl.setURL(url("/file.zip"));
    dl.GetFileInformation();
    EXPECT_EQ(log.take(), kInformation);
    EXPECT_EQ(dl.FileSize(), 2500);
    EXPECT_TRUE(dl.FileExists());
    EXPECT_TRUE(dl.ResumeSupported());
    dl.Download();
    QStringList expected = {QStringLiteral("Status Opening ") + target + QStringLiteral("...")};
    expected << chunkEvents(1024, 41) << chunkEvents(2048, 82) << chunkEvents(2500, 100) << chunkEvents(2500, 100)
             << QStringLiteral("DLComplete") << QStringLiteral("Status Download Successful!");
    EXPECT_EQ(log.take(), expected);
    EXPECT_EQ(readFile(target), file) << "the older, longer file was deleted first";
    EXPECT_FALSE(dl.InDL());
}

TEST_F(DownLoadTest, AnswersOfTheServerAsTheFileInformationReportsThem)
{
    struct Row {
        const char *path;
        QStringList events;
        bool exists;
        int size;
    };
    const QString headersFailed[] = {QStringLiteral("DLError Error Reading File Headers."),
                                     QStringLiteral("Status Error Reading File Headers!"), QStringLiteral("DLECode 3")};
    const Row rows[] = {
        {"/401", {QStringLiteral("Status Unauthorized Access, Download Terminated!"), QStringLiteral("DLECode 401"),
                  QStringLiteral("DLError Unauthorized Access!")}, true, 0},
        {"/403", {QStringLiteral("Status Access Denied, Download Terminated!"), QStringLiteral("DLECode 403"),
                  QStringLiteral("DLError Access Denied!")}, true, 0},
        {"/404", {QStringLiteral("DLError File Not Found!"), QStringLiteral("Status File Not Found!"), QStringLiteral("DLECode 2")},
         false, 0},
        {"/500", {QStringLiteral("Status Retrieving File Information Complete!")}, true, 17},
        {"/nolength", {headersFailed[0], headersFailed[1], headersFailed[2]}, true, 0},
        {"/stall", {QStringLiteral("Status Retrieving File Information Complete!")}, true, 1000},
        // The download follows no redirect: its body is no file, whether a target is named or not.
        {"/nowhere", {headersFailed[0], headersFailed[1], headersFailed[2]}, false, 0},
        {"/moved", {headersFailed[0], headersFailed[1], headersFailed[2]}, false, 0},
    };
    for (const Row &row : rows) {
        DownLoad fresh(&host, QStringLiteral("DL2"));
        EventLog events(fresh);
        fresh.setURL(url(row.path));
        fresh.GetFileInformation();
        QStringList expected = kInformation.mid(0, 2);
        expected << row.events;
        EXPECT_EQ(events.take(), expected) << row.path;
        EXPECT_EQ(fresh.FileExists(), row.exists) << row.path;
        EXPECT_EQ(fresh.FileSize(), row.size) << row.path;
        EXPECT_EQ(fresh.ResumeSupported(), (row.exists && row.size != 0) || row.path == std::string("/nolength"))
            << row.path << ": an HTTP/1.1 answer sets it before the length is read, 401 and 403 clear it";
    }
    // No answer at all, or never a header: the busy-flag wait ends after the time-outs.
    for (const QString &address : {QStringLiteral("http://127.0.0.1:1/none"), url("/silent")}) {
        DownLoad silent(&host, QStringLiteral("DL3"));
        EventLog events(silent);
        silent.I1().setTimeouts({3000ms, 1000ms, 10000ms});
        silent.setURL(address);
        silent.GetFileInformation();
        EXPECT_EQ(events.take(), (QStringList{kInformation[0], kInformation[1], headersFailed[0], headersFailed[1], headersFailed[2]}))
            << address.toStdString();
    }
}

TEST_F(DownLoadTest, FailuresDuringTheBodyTakeTheFailurePathWithCodeOne)
{
    const QStringList failed = {QStringLiteral("DLError Error Downloading File from : "), QStringLiteral(
                                    "Status Download Aborted Due To Error In Download!"), QStringLiteral("DLECode 1")};
    for (const char *path : {"/stall", "/cut", "/empty"}) {
        dl.setURL(url(path));
        dl.GetFileInformation();
        log.take();
        dl.Download();
        const QStringList events = log.take();
        ASSERT_GE(events.size(), 3) << path;
        EXPECT_EQ(events.mid(events.size() - 3), (QStringList{failed[0] + url(path), failed[1], failed[2]})) << path;
        EXPECT_FALSE(events.contains(QStringLiteral("DLComplete"))) << path;
        EXPECT_FALSE(QFile::exists(target)) << path << ": what a failed download wrote is removed";
    }
    // A length of 0 with a body: the body runs past the length at once, and nothing is written.
    dl.setURL(url("/empty"));
    dl.GetFileInformation();
    ASSERT_EQ(dl.FileSize(), 0);
    ASSERT_TRUE(dl.I1().Execute(url("/file.zip")));
    while (dl.I1().StillExecuting()) {
    }
    log.take();
    dl.Download();
    EXPECT_EQ(log.take(), (QStringList{QStringLiteral("Status Opening ") + target + QStringLiteral("..."), failed[0] + url("/empty"),
                                       failed[1], failed[2]}));
    EXPECT_FALSE(QFile::exists(target));
    // A part written before a failure goes with it.
    dl.setURL(url("/cut"));
    dl.GetFileInformation();
    dl.Download();
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(DownLoadTest, CancelWhilePausedWaitsForTheUnpause)
{
    dl.setURL(url("/file.zip"));
    dl.GetFileInformation();
    QObject::connect(&dl, &DownLoad::Percent, &dl, [this](int) {
        if (!dl.CPause() && dl.property("paused").isNull()) {
            dl.setProperty("paused", true);
            dl.Pause(true);
            QTimer::singleShot(20, &dl, [this] { dl.Cancel(); });
            QTimer::singleShot(80, &dl, [this] {
                EXPECT_TRUE(dl.CCancel()) << "no effect while paused";
                dl.Pause(false);
            });
        }
    });
    log.take();
    dl.Download();
    const QStringList events = log.take();
    EXPECT_TRUE(events.contains(QStringLiteral("Status Paused.")));
    EXPECT_TRUE(events.contains(QStringLiteral("Status Cancelling..")));
    EXPECT_EQ(events.mid(events.size() - 4),
              (QStringList{QStringLiteral("Status Unpausing"), QStringLiteral("Status Paused."), QStringLiteral("DLECode 4"),
                           QStringLiteral("Status Cancelled.")}));
    EXPECT_FALSE(dl.CCancel());
    EXPECT_EQ(readFile(target), file.left(1024)) << "the part written stays on disk";

    dl.Cancel();
    log.take();
    dl.Download();
    EXPECT_EQ(log.take(), QStringList()) << "a pending cancel returns at once";
    EXPECT_TRUE(dl.CCancel());
}

TEST_F(DownLoadTest, OnlineCheckWithoutAConnection)
{
    os::SetConnectedStateForTesting(true);
    dl.setOnlineCheck(true);
    dl.setURL(url("/file.zip"));
    dl.Download();
    const QStringList noConnection = {QStringLiteral("DLECode 5"), QStringLiteral("DLError No Connection Found!"),
                                      QStringLiteral("Status Download aborted, no connection present!")};
    EXPECT_EQ(log.take(), noConnection) << "no GetFileInformation before";
    os::SetConnectedStateForTesting(false);
    dl.GetFileInformation();
    EXPECT_EQ(log.take(), noConnection);
    os::SetConnectedStateForTesting(true);
    dl.GetFileInformation();
    EXPECT_EQ(log.take().first(), QStringLiteral("Connection Connected Via LAN."));
    os::SetConnectedStateForTesting(std::nullopt);
}

TEST_F(DownLoadTest, KeepTypeTakesTheUrlsExtension)
{
    dl.setKeepType(true);
    dl.setSaveLocation(dir.filePath(QStringLiteral("a.tmp")));
    dl.setURL(url("/file.zip"));
    dl.GetFileInformation();
    dl.Download();
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("a.zip"))), file);
    EXPECT_EQ(dl.SaveLocation(), dir.filePath(QStringLiteral("a.tmp")));

    dl.setURL(url("/nolength") + QStringLiteral("/"));
    dl.GetFileInformation();
    log.take();
    dl.Download();
    EXPECT_EQ(log.take().last(), QStringLiteral("DLECode 1")) << "the odd path cannot be opened";
}

TEST_F(DownLoadTest, ResumeContinuesThePartialFileWithARangeRequest)
{
    DownLoad fresh(&host, QStringLiteral("DL2"));
    EventLog events(fresh);
    fresh.setSaveLocation(dir.filePath(QStringLiteral("none")));
    fresh.DLResume();
    EXPECT_EQ(events.take(), (QStringList{QStringLiteral("DLError Resume File Not Found!"), QStringLiteral("DLECode 6"),
                                          QStringLiteral("Status Resume File Not Found, Aborting Download!")}));
    writeFile(target, file.left(1000));
    fresh.setSaveLocation(target);
    fresh.DLResume();
    EXPECT_EQ(events.take(), (QStringList{QStringLiteral("DLError Resume Not Supported!"), QStringLiteral("DLECode 7"),
                                          QStringLiteral("Status Resume NotSupported, Aborting Download!")}));

    dl.setURL(url("/file.zip"));
    dl.GetFileInformation();
    log.take();
    dl.DLResume();
    const QStringList resumed = log.take();
    EXPECT_TRUE(resumed.contains(QStringLiteral("RecievedBytes 2500")));
    EXPECT_EQ(resumed.last(), QStringLiteral("Status Download Successful!"));
    EXPECT_EQ(readFile(target), file);
}

TEST_F(DownLoadTest, ABodyThatRunsPastItsLengthFailsAtTheLength)
{
    RawHttpServer overlong(RawHttpServer::Behaviour::OverlongChunked);
    int highestPercent = 0;
    QObject::connect(&dl, &DownLoad::Percent, [&highestPercent](int percent) { highestPercent = std::max(highestPercent, percent); });
    dl.setCHUNK(100);
    dl.setURL(QStringLiteral("http://127.0.0.1:%1/hwids.7z").arg(overlong.port()));
    dl.GetFileInformation();
    ASSERT_EQ(dl.FileSize(), 1000);
    log.take();
    const auto started = std::chrono::steady_clock::now();
    dl.Download();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
    const QStringList events = log.take();
    ASSERT_GE(events.size(), 1);
    EXPECT_EQ(events.last(), QStringLiteral("DLECode 1"));
    EXPECT_FALSE(events.contains(QStringLiteral("DLComplete")));
    EXPECT_TRUE(events.contains(QStringLiteral("RecievedBytes 1000")));
    EXPECT_EQ(highestPercent, 100);
    EXPECT_FALSE(QFile::exists(target)) << "nothing of a body that is not the file announced stays";
}

TEST_F(DownLoadTest, ALengthBeyondThirtyTwoBitsIsKeptWhole)
{
    dl.setURL(url("/huge"));
    dl.GetFileInformation();
    EXPECT_EQ(dl.FileSize(), Q_INT64_C(5000000000));
    EXPECT_EQ(log.take(), kInformation);
}

// Servers that never finish, with the control's limits made small: the operation ends, told as
// the failure it is.
struct EndlessCase {
    const char *name;
    RawHttpServer::Behaviour behaviour;
    int code;
};

class DownLoadEndless : public DownLoadTest, public ::testing::WithParamInterface<EndlessCase> {};

TEST_P(DownLoadEndless, EndsWithinTheLimits)
{
    RawHttpServer endless(GetParam().behaviour);
    dl.I1().setTimeouts({3000ms, 1000ms, 2000ms});
    dl.setURL(QStringLiteral("http://127.0.0.1:%1/hwids.7z").arg(endless.port()));
    const auto started = std::chrono::steady_clock::now();
    dl.GetFileInformation();
    if (dl.FileSize() > 0)
        dl.Download();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
    EXPECT_EQ(log.take().last(), QStringLiteral("DLECode %1").arg(GetParam().code));
}

INSTANTIATE_TEST_SUITE_P(Servers, DownLoadEndless,
                         ::testing::Values(EndlessCase{"BodyDripsAByteAtATime", RawHttpServer::Behaviour::Drip, 1},
                                           EndlessCase{"EndlessContinueAnswers", RawHttpServer::Behaviour::EndlessContinue, 3}),
                         [](const auto &info) { return std::string(info.param.name); });

// The control on a window that unloads while a transfer waits, with limits of minutes: the
// transfer and its connection end with the window, and nothing more is told unless a cancel
// came first.
struct UnloadCase {
    const char *name;
    RawHttpServer::Behaviour behaviour;
    bool duringTheBody;
    bool cancelFirst;
};

class DownLoadOnAWindow : public ::testing::TestWithParam<UnloadCase> {};

TEST_P(DownLoadOnAWindow, UnloadingTheWindowEndsTheTransferAtOnce)
{
    const UnloadCase &row = GetParam();
    RawHttpServer server(row.behaviour);
    QTemporaryDir dir;
    auto *window = new runtime::Form(QStringLiteral("FrmHost"));
    runtime::Load(window);
    auto *dl = new DownLoad(window, QStringLiteral("DL1"));
    dl->I1().setTimeouts({3000ms, 600000ms, 600000ms});
    dl->setSaveLocation(dir.filePath(QStringLiteral("hwids.7z")));
    dl->setURL(QStringLiteral("http://127.0.0.1:%1/hwids.7z").arg(server.port()));
    EventLog log(*dl);
    if (row.duringTheBody) {
        dl->GetFileInformation();
        ASSERT_EQ(dl->FileSize(), 1000);
    }
    log.take();
    qsizetype eventsBeforeUnload = -1;
    QPointer<runtime::Form> guard(window);
    QTimer::singleShot(200, [&, guard] {
        if (!guard)
            return;
        if (row.cancelFirst)
            dl->Cancel();
        eventsBeforeUnload = log.events.size();
        runtime::Unload(guard);
    });
    const auto started = std::chrono::steady_clock::now();
    if (row.duringTheBody)
        dl->Download();
    else
        dl->GetFileInformation();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
    ASSERT_GE(eventsBeforeUnload, 0) << "ended before the unload";
    const QStringList after = log.events.mid(eventsBeforeUnload);
    if (row.cancelFirst)
        EXPECT_EQ(after, (QStringList{QStringLiteral("DLECode 4"), QStringLiteral("Status Cancelled.")}));
    else
        EXPECT_EQ(after, QStringList());
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (server.closedConnections() < server.connections() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(server.closedConnections(), server.connections()) << "no connection stays open";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

INSTANTIATE_TEST_SUITE_P(
    Waits, DownLoadOnAWindow,
    ::testing::Values(UnloadCase{"BodyDrips", RawHttpServer::Behaviour::Drip, true, false},
                      UnloadCase{"CancelledThenClosedWhileTheBodyDrips", RawHttpServer::Behaviour::Drip, true, true},
                      UnloadCase{"HeaderNeverComes", RawHttpServer::Behaviour::EndlessContinue, false, false}),
    [](const auto &info) { return std::string(info.param.name); });

// An https address: the file comes over TLS from a server the trusted authority signed, and a
// server that cannot prove itself is refused before any request is sent.
TEST_F(DownLoadTest, AnHttpsAddressIsFetchedOverVerifiedTls)
{
    const testsupport::TestCertificates &certificates = testsupport::TestCertificates::instance();
    ASSERT_TRUE(certificates.valid()) << "the openssl program made no certificates";
    const auto routes = [this](httplib::Server &http, LocalHttpServer &self) { testsupport::downloadRoutes(http, self, file); };
    LocalHttpServer secure(certificates.signedByAuthority(), routes);
    std::atomic<int> strangerAsked{0};
    const auto counted = [&strangerAsked](httplib::Server &http, LocalHttpServer &) {
        http.Get("/file.zip", [&strangerAsked](const httplib::Request &, httplib::Response &) { ++strangerAsked; });
    };
    LocalHttpServer stranger(certificates.stranger(), counted);
    // Host-name verification, not only the chain: signed by the trusted authority, for another name.
    LocalHttpServer elsewhere(certificates.signedForAnotherHost(), counted);
    const testsupport::TrustedCertificatesScope trust(certificates.authorityFile());

    dl.setURL(secure.url(QStringLiteral("/file.zip")));
    dl.GetFileInformation();
    dl.Download();
    EXPECT_EQ(log.take().last(), QStringLiteral("Status Download Successful!"));
    EXPECT_EQ(readFile(target), file);

    for (const LocalHttpServer *refused : {&stranger, &elsewhere}) {
        dl.setURL(refused->url(QStringLiteral("/file.zip")));
        dl.GetFileInformation();
        EXPECT_EQ(log.take().last(), QStringLiteral("DLECode 3"));
    }
    EXPECT_EQ(strangerAsked, 0);
}

// A resumed download reports the share of the whole file that is on disk: the bytes held before
// it and those of this run.
TEST_F(DownLoadTest, AResumedDownloadReportsThePercentageOfAllItsBytes)
{
    writeFile(target, file.left(1000));
    dl.setURL(url("/file.zip"));
    dl.GetFileInformation();
    log.take();
    dl.DLResume();
    EXPECT_EQ(log.take().filter(QStringLiteral("Percent ")),
              (QStringList{QStringLiteral("Percent 81"), QStringLiteral("Percent 100"), QStringLiteral("Percent 100")}));
    EXPECT_EQ(readFile(target), file);
}

// A server that ignores the range sends the whole file again behind the bytes held: the resume
// stops where held and received bytes reach the announced length, and keeps nothing of it.
TEST_F(DownLoadTest, AResumedDownloadStopsAtTheAnnouncedLengthCountingTheBytesHeld)
{
    writeFile(target, file.left(1000));
    qint64 highest = 0;
    QObject::connect(&dl, &DownLoad::RecievedBytes, [&highest](qint64 bytes) { highest = std::max(highest, bytes); });
    dl.setURL(url("/norange"));
    dl.GetFileInformation();
    ASSERT_EQ(dl.FileSize(), file.size());
    log.take();
    dl.DLResume();
    const QStringList events = log.take();
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.last(), QStringLiteral("DLECode 1"));
    EXPECT_FALSE(events.contains(QStringLiteral("DLComplete")));
    EXPECT_LE(highest, file.size());
    EXPECT_GT(highest, 1000) << "the body was read up to the length";
    EXPECT_FALSE(QFile::exists(target));
}

// A redirect answers nothing of the file: its body is not appended to the bytes held.
TEST_F(DownLoadTest, AResumeAnsweredByARedirectKeepsWhatIsHeld)
{
    writeFile(target, file.left(1000));
    dl.setURL(url("/file.zip"));
    dl.GetFileInformation();
    ASSERT_TRUE(dl.ResumeSupported());
    dl.setURL(url("/nowhere"));
    log.take();
    dl.DLResume();
    const QStringList events = log.take();
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.last(), QStringLiteral("DLECode 1"));
    EXPECT_EQ(readFile(target), file.left(1000));
}

// Lengths a server may announce, against the largest archive the install accepts and the free
// space of the target's disk: what cannot be the archive or cannot fit fails before anything is
// written; what can starts.
struct LengthCase {
    const char *name;
    const char *path;
    qint64 freeSpace; // below 0: the free space cannot be read
    bool starts;
};

class DownLoadLengths : public DownLoadTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(DownLoadLengths, OnlyALengthThatCanBeTheArchiveAndFitsIsFetched)
{
    const qint64 freeSpace = GetParam().freeSpace;
    DownLoad::SetFreeSpaceForTesting([freeSpace](const QString &) { return freeSpace < 0 ? std::nullopt : std::optional(freeSpace); });
    dl.setURL(url(GetParam().path));
    dl.GetFileInformation();
    ASSERT_EQ(log.take().last(), kInformation.last());
    dl.Download();
    const QStringList events = log.take();
    ASSERT_FALSE(events.isEmpty());
    if (GetParam().starts) {
        EXPECT_EQ(events.first(), QStringLiteral("Status Opening ") + target + QStringLiteral("..."));
    } else {
        EXPECT_EQ(events, (QStringList{QStringLiteral("DLError Error Downloading File from : ") + url(GetParam().path),
                                       QStringLiteral("Status Download Aborted Due To Error In Download!"), QStringLiteral("DLECode 1")}));
        EXPECT_FALSE(QFile::exists(target)) << "nothing written";
    }
}

constexpr qint64 kPlenty = qint64(1) << 50;

INSTANTIATE_TEST_SUITE_P(
    , DownLoadLengths,
    ::testing::Values(LengthCase{"TheLargestArchive", "/largest", Zentrax::kMaxUnpackedBytes, true},
                      LengthCase{"PastTheLargestArchive", "/pastlargest", kPlenty, false},
                      LengthCase{"FiveGigabytes", "/huge", kPlenty, false},
                      LengthCase{"JustTheFreeSpace", "/file.zip", 2500, true},
                      LengthCase{"PastTheFreeSpace", "/file.zip", 2499, false},
                      LengthCase{"FreeSpaceUnknown", "/file.zip", -1, false}),
    [](const auto &info) { return std::string(info.param.name); });

// A resume needs room for the rest of the file only.
TEST_F(DownLoadTest, AResumeNeedsRoomForWhatIsStillToCome)
{
    for (const qint64 freeSpace : {1499, 1500}) {
        writeFile(target, file.left(1000));
        DownLoad::SetFreeSpaceForTesting([freeSpace](const QString &) { return std::optional(freeSpace); });
        dl.setURL(url("/file.zip"));
        dl.GetFileInformation();
        log.take();
        dl.DLResume();
        const QStringList events = log.take();
        ASSERT_FALSE(events.isEmpty());
        EXPECT_EQ(events.last(), freeSpace < 1500 ? QStringLiteral("DLECode 1") : QStringLiteral("Status Download Successful!")) << freeSpace;
        EXPECT_EQ(readFile(target), freeSpace < 1500 ? file.left(1000) : file) << freeSpace << ": a refused resume keeps what is held";
    }
}

// The disk fills while the body comes (something else writes to it): the download ends with the
// control's error and removes what it wrote, long before the disk would be full.
TEST_F(DownLoadTest, TheFreeSpaceIsLookedAtAgainAsTheBodyComes)
{
    const QByteArray big = testsupport::patternBytes(3 * 1024 * 1024);
    LocalHttpServer bigServer([&big](httplib::Server &http, LocalHttpServer &self) { testsupport::downloadRoutes(http, self, big); });
    int readings = 0;
    DownLoad::SetFreeSpaceForTesting([&readings](const QString &) { return std::optional<qint64>(readings++ == 0 ? kPlenty : 4096); });
    qint64 highest = 0;
    QObject::connect(&dl, &DownLoad::RecievedBytes, [&highest](qint64 bytes) { highest = std::max(highest, bytes); });
    dl.setCHUNK(64 * 1024);
    dl.setURL(bigServer.url(QStringLiteral("/file.zip")));
    dl.GetFileInformation();
    ASSERT_EQ(dl.FileSize(), big.size());
    log.take();
    dl.Download();
    const QStringList events = log.take();
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ(events.last(), QStringLiteral("DLECode 1"));
    EXPECT_FALSE(events.contains(QStringLiteral("DLComplete")));
    EXPECT_GE(readings, 2);
    EXPECT_LT(highest, big.size());
    EXPECT_FALSE(QFile::exists(target));
}

TEST(DownLoadControl, StoredPropertiesDefaultsAndSize)
{
    QWidget host;
    DownLoad dl(&host, QStringLiteral("DL1"));
    dl.InitNew();
    EXPECT_EQ(dl.CHUNK(), 1024);
    EXPECT_EQ(dl.SaveLocation(), QStringLiteral("C:\\File1.tmp"));
    EXPECT_FALSE(dl.KeepType() || dl.OnlineCheck() || dl.PromptOverwrite());
    dl.setWidth(3000);
    dl.setHeight(10);
    EXPECT_EQ(dl.width(), qRound(480 / runtime::Screen::TwipsPerPixelX()));
    EXPECT_EQ(dl.height(), qRound(480 / runtime::Screen::TwipsPerPixelY()));
    dl.setCHUNK(2048);
    dl.setURL(QStringLiteral("http://h.example/x.7z"));
    dl.setOnlineCheck(true);
    EXPECT_EQ(dl.ChangedProperties(), (QStringList{QStringLiteral("CHUNK"), QStringLiteral("URL"), QStringLiteral("OnlineCheck")}));
    const runtime::PropertyBag bag = dl.WriteProperties();
    DownLoad copy(&host, QStringLiteral("DL2"));
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.CHUNK(), 2048);
    EXPECT_EQ(copy.URL(), QStringLiteral("http://h.example/x.7z"));
    EXPECT_TRUE(copy.OnlineCheck());
    EXPECT_FALSE(copy.KeepType());
}

// A control as constructed, and one placed afresh after every stored value changed, both hold
// what a read of no stored data gives, so neither has a key to write.
TEST(DownLoadControl, ConstructedAndFreshlyPlacedControlsHoldTheMissingKeyDefaults)
{
    QWidget host;
    DownLoad constructed(&host, QStringLiteral("DL1"));
    DownLoad placed(&host, QStringLiteral("DL2"));
    placed.setURL(QStringLiteral("http://h.example/x.7z"));
    placed.setSaveLocation(QStringLiteral("/tmp/x.7z"));
    placed.setCHUNK(4096);
    placed.setKeepType(true);
    placed.setOnlineCheck(true);
    placed.setPromptOverwrite(true);
    placed.InitNew();
    for (const auto &[what, dl] : {std::pair<const char *, DownLoad *>{"constructed", &constructed}, {"placed", &placed}}) {
        SCOPED_TRACE(what);
        EXPECT_EQ(dl->URL(), ModServer::HomePage());
        EXPECT_EQ(dl->SaveLocation(), QStringLiteral("C:\\File1.tmp"));
        EXPECT_EQ(dl->CHUNK(), 1024);
        EXPECT_FALSE(dl->KeepType());
        EXPECT_FALSE(dl->OnlineCheck());
        EXPECT_FALSE(dl->PromptOverwrite());
        EXPECT_EQ(dl->WriteProperties().Keys(), QStringList());
    }
}

TEST(DownLoadFormat, RateTexts)
{
    const std::pair<double, const char *> rows[] = {{0, "0 Bytes/s"},       {1023, "1023 Bytes/s"},  {1023.5, "0.00 MB/s"},
                                                    {1024, "1.00 KB/s"},    {1048576, "1024.00 KB/s"}, {1048577, "1.00 MB/s"},
                                                    {-5, "-0.00 MB/s"}};
    for (const auto &[rate, text] : rows)
        EXPECT_EQ(DownLoadFormat::FormatRate(rate), QLatin1String(text)) << rate;
}

TEST(DownLoadFormat, TimeLeftTexts)
{
    const std::pair<float, const char *> rows[] = {{0, "0 sec"},           {59, "59 sec"},       {59.5f, "0 hr 1 min"},
                                                   {60, "1 min 0 sec"},    {125.5f, "2 min 6 sec"}, {3599, "59 min 59 sec"},
                                                   {3600, "1 hr 0 min"},   {7230, "2 hr 0 min"}, {-10, "-1 hr 0 min"},
                                                   {1e7f, "2777 hr 47 min"}};
    for (const auto &[seconds, text] : rows)
        EXPECT_EQ(DownLoadFormat::FormatTimeLeft(seconds), QLatin1String(text)) << seconds;
}

TEST(DownLoadFormat, UrlExtension)
{
    using DownLoadFormat::ApplyUrlExtension;
    EXPECT_EQ(ApplyUrlExtension(QStringLiteral("http://h/files/hwids.7z"), QStringLiteral("C:\\File1.tmp")), QStringLiteral("C:\\File1.7z"));
    EXPECT_EQ(ApplyUrlExtension(QStringLiteral("http://h/file.zip"), QStringLiteral("C:\\a.tmp")), QStringLiteral("C:\\a.zip"));
    EXPECT_EQ(ApplyUrlExtension(QStringLiteral("http://h/abcdefg"), QStringLiteral("C:\\a.tmp")), QStringLiteral("C:\\a.http://h/abcdefg"));
    EXPECT_EQ(ApplyUrlExtension(QStringLiteral("a.b"), QStringLiteral("C:\\a.tmp")), QStringLiteral("C:\\a.a.b")) << "too short";
}

} // namespace

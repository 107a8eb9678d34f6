#include "update/FrmUpdate.h"

#include "support/ColorPresets.h"
#include "support/Files.h"
#include "support/HwidsDatabase.h"

#include "components/Inet.h"
#include "components/SuiteCheckBox.h"
#include "controls/PanelFx.h"
#include "controls/QuordanePB.h"
#include "controls/dcButton.h"
#include "core/ModMain.h"
#include "core/ModServer.h"
#include "core/Modini.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/MsgBox.h"
#include "runtime/OpenDocument.h"
#include "runtime/Timer.h"
#include "support_downloadserver.h"
#include "update/DatabaseInstall.h"
#include "update/DownLoad.h"
#include "components/SuiteColorPicker.h"
#include "skin/FrmColors.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <mutex>
#include <optional>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using testsupport::LocalHttpServer;
using testsupport::readFile;

// A hardware-ID database as the build makes it, with one hardware ID and a version.
void makeDatabase(const QString &path, const QString &version)
{
    ASSERT_FALSE(testsupport::makeHwidsDatabase(QFileInfo(path).absolutePath(),
                                                {QStringLiteral("INSERT INTO hwids (hwid, info) VALUES ('PCI\\VEN_0001', '1,1')"),
                                                 QStringLiteral("INSERT INTO version VALUES ('%1')").arg(version)})
                     .isEmpty());
}

QByteArray databaseVersion(const QString &path)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {path, QStringLiteral("SELECT dbversion FROM version")});
    shell.waitForFinished(30000);
    return shell.readAllStandardOutput().trimmed();
}

QByteArray packArchive(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    const QString archive = folder + QStringLiteral("/out.7z");
    QFile::remove(archive);
    process.start(QStringLiteral("7zz"), QStringList{QStringLiteral("a"), QStringLiteral("-bso0"), QStringLiteral("-bsp0"), archive} + arguments);
    process.waitForFinished(60000);
    return readFile(archive);
}

// The stand-in main window: the controls the update window reaches by name.
class FakeMain : public runtime::Form {
public:
    FakeMain() : runtime::Form(QStringLiteral("FrmMain"))
    {
        version = new runtime::Label(this, QStringLiteral("LabelDatabaseVersion"));
        version->setCaption(QStringLiteral("Database Version: 2026.1"));
        available = new runtime::Label(this, QStringLiteral("ImportantLabelUpdateAvailable"));
        available->setCaption(QStringLiteral("Database Update Available!"));
        recount = new runtime::Timer(this, QStringLiteral("TimerCountDatabase"), 100, false);
        QObject::connect(recount, &runtime::Timer::Tick, this, [this] {
            recount->setEnabled(false);
            ++recounts;
        });
    }
    runtime::Label *version;
    runtime::Label *available;
    runtime::Timer *recount;
    int recounts = 0;
};

class UpdateWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        runtime::App::setPath(folder.path());
        Modini::WriteIni(QStringLiteral("main"), QStringLiteral("WebServer"), server.url(QString()));
        makeDatabase(folder.filePath(QStringLiteral("hwids.mdb")), QStringLiteral("2026.1"));
        oldDatabase = readFile(folder.filePath(QStringLiteral("hwids.mdb")));
        QDir().mkpath(folder.filePath(QStringLiteral("pack")));
        makeDatabase(folder.filePath(QStringLiteral("pack/hwids.mdb")), QStringLiteral("2026.2"));
        archive = packArchive(folder.filePath(QStringLiteral("pack")), {QStringLiteral("hwids.mdb")});
        ModMain::AppVersion = QStringLiteral("1.2.3");
        ModMain::DatabaseUpToDate = ModMain::ProgramUpToDate = false;
        main = new FakeMain;
        runtime::Load(main);
        window = new FrmUpdate;
        runtime::Load(window);
        window->DL1()->I1().setTimeouts({3000ms, 1000ms, 10000ms});
    }
    void TearDown() override
    {
        for (runtime::Form *form : runtime::Forms::All())
            runtime::Unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        runtime::App::setPath(QString());
    }
    template <class T>
    T *control(const char *name) const
    {
        return window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
    }
    QString caption(const char *name) const { return control<runtime::Label>(name)->Caption(); }
    void startDownload()
    {
        emit control<dcButton>("CommandDownloadDatabase")->Click();
    }
    bool waitUntil(const std::function<bool()> &condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (!condition() && std::chrono::steady_clock::now() < deadline)
            QTest::qWait(5);
        return condition();
    }

    QTemporaryDir folder;
    QByteArray oldDatabase;
    QByteArray archive;
    QByteArray served; // what /files/updates/kestrova/hwids.7z answers
    std::mutex pagesMutex;
    std::string programPage = "1.2.10";
    std::string databasePage = "2026.2\r\n";
    void setPages(const std::string &program, const std::string &database)
    {
        const std::lock_guard<std::mutex> lock(pagesMutex);
        programPage = program;
        databasePage = database;
    }
    // The packing folder's hwids.mdb replaced by a file that is no database.
    static void packNoDatabase(const QString &pack)
    {
        QFile notDatabase(pack + QStringLiteral("/hwids.mdb"));
        ASSERT_TRUE(notDatabase.open(QIODevice::WriteOnly | QIODevice::Truncate));
        notDatabase.write("not a database");
    }
    // Both checks, as one tick of the check timer runs them.
    void runChecks()
    {
        window->CheckForUpdate();
        window->CheckForDatabaseUpdate();
    }
    std::atomic<int> slowBytes{0};
    LocalHttpServer server{[this](httplib::Server &http, LocalHttpServer &self) {
        http.Get("/files/updates/kestrova/update.htm", [this](const httplib::Request &, httplib::Response &response) {
            const std::lock_guard<std::mutex> lock(pagesMutex);
            response.set_content(programPage, "text/html");
        });
        http.Get("/files/updates/kestrova/database_v1.htm", [this](const httplib::Request &, httplib::Response &response) {
            const std::lock_guard<std::mutex> lock(pagesMutex);
            response.set_content(databasePage, "text/html");
        });
        http.Get("/files/updates/kestrova/hwids.7z", [this, &self](const httplib::Request &, httplib::Response &response) {
            const std::string body = served.toStdString();
            if (slowBytes == 0) {
                response.set_content(body, "application/octet-stream");
                return;
            }
            response.set_content_provider(body.size(), "application/octet-stream", [this, body, &self](size_t offset, size_t, httplib::DataSink &sink) {
                const size_t length = std::min<size_t>(size_t(slowBytes), body.size() - offset);
                return self.pause(20ms) && sink.write(body.data() + offset, length);
            });
        });
    }};
    FakeMain *main = nullptr;
    QPointer<FrmUpdate> window;
};

TEST_F(UpdateWindow, ChecksShowTheVersionsAndEnableTheDownload)
{
    window->TimerCheckForUpdates()->setEnabled(true);
    ASSERT_TRUE(waitUntil([this] { return caption("Label3") != QLatin1String("Update Available:"); }));
    EXPECT_EQ(caption("Label1"), QStringLiteral("Online Version: 1.2.10"));
    EXPECT_EQ(caption("Label2"), QStringLiteral("Update Available: YES"));
    EXPECT_TRUE(control<dcButton>("CommmandOpenQuordane")->Enabled());
    EXPECT_EQ(caption("Label4"), QStringLiteral("Online Version: 2026.2\r\n"));
    EXPECT_EQ(caption("Label3"), QStringLiteral("Update Available: YES"));
    EXPECT_TRUE(control<dcButton>("CommandDownloadDatabase")->Enabled());
    EXPECT_FALSE(ModMain::DatabaseUpToDate);
    const FrmColors *colors = runtime::Forms::Get<FrmColors>();
    ASSERT_TRUE(colors->ColorPicker(1) && colors->ColorPicker(12));
    colors->ColorPicker(1)->setColor(0x112233);
    colors->ColorPicker(12)->setColor(0x0000FF);
    window->CheckForDatabaseUpdate();
    EXPECT_EQ(control<runtime::Label>("Label3")->ForeColor(), 0x0000FFu) << "importanttext, read at the check";
    setPages("1.2.3", "2026.1");
    window->CheckForDatabaseUpdate();
    EXPECT_EQ(control<runtime::Label>("Label3")->ForeColor(), 0x112233u) << "programtext";
    EXPECT_FALSE(control<dcButton>("CommandDownloadDatabase")->Enabled());
    EXPECT_TRUE(ModMain::DatabaseUpToDate);
}

TEST_F(UpdateWindow, OpenQuordaneOpensTheHomePageInTheBrowser)
{
    runtime::OpenDocumentRecorder browser;
    emit control<dcButton>("CommmandOpenQuordane")->Click();
    EXPECT_EQ(browser.addresses, QStringList{ModServer::HomePage()});
}

TEST_F(UpdateWindow, ADownloadInstallsTheNewDatabaseAndTheMainWindowRecounts)
{
    served = archive;
    main->available->setVisible(true);
    startDownload();
    // The main window takes the new database while the success is still on screen to be read.
    ASSERT_TRUE(waitUntil([this] { return main->recounts == 1; }));
    ASSERT_TRUE(window && window->IsLoaded());
    EXPECT_EQ(caption("ImportantLabelUnzip"), QStringLiteral("Decompressed Successfully"));
    EXPECT_EQ(control<PanelFx>("PanelDownloading")->TitleCaption(), QStringLiteral("Decompressed Successfully"));
    EXPECT_TRUE(control<dcButton>("CommandCancel")->isHidden()) << "the unpack label runs across its place";
    ASSERT_TRUE(waitUntil([this] { return !window; }));
    EXPECT_NE(readFile(folder.filePath(QStringLiteral("hwids.mdb"))), oldDatabase);
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {folder.filePath(QStringLiteral("hwids.mdb")), QStringLiteral("SELECT dbversion FROM version")});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.readAllStandardOutput().trimmed(), QByteArray("2026.2"));
    EXPECT_FALSE(QDir(folder.filePath(QStringLiteral(".hwids-staging"))).exists());
    EXPECT_EQ(main->recounts, 1);
    EXPECT_TRUE(main->available->isHidden());
}

// Closed while "Decompressing Database..." shows, the window still gets the new database in
// place, and the main window recounts it (once, after the install) and hides its notice.
TEST_F(UpdateWindow, ClosedWhileDecompressingTheInstallStillEndsAndTheNoticeIsHidden)
{
    struct Row {
        const char *name;
        // Closes at the yield once this holds.
        std::function<bool(FrmUpdate *)> when;
    };
    const Row rows[] = {
        {"at the title's yield",
         [](FrmUpdate *w) { return w->findChild<PanelFx *>(QStringLiteral("PanelDownloading"))->TitleCaption() == QLatin1String("Decompressing Database..."); }},
        {"during the unpack",
         [](FrmUpdate *w) {
             return w->findChild<runtime::Label *>(QStringLiteral("ImportantLabelUnzip"))->Caption().startsWith(QLatin1String("Decompressing Database... Progress: "));
         }},
    };
    for (const Row &row : rows) {
        if (!window) {
            window = new FrmUpdate;
            runtime::Load(window);
        }
        QFile::remove(folder.filePath(QStringLiteral("hwids.mdb")));
        makeDatabase(folder.filePath(QStringLiteral("hwids.mdb")), QStringLiteral("2026.1"));
        served = archive;
        main->available->setVisible(true);
        const int recounts = main->recounts;
        QByteArray versionAtRecount;
        const QMetaObject::Connection watching = QObject::connect(main->recount, &runtime::Timer::Tick, main, [&] {
            versionAtRecount = databaseVersion(folder.filePath(QStringLiteral("hwids.mdb")));
        });
        bool closed = false;
        runtime::SetYieldHook([&](int) {
            if (!closed && window && window->IsLoaded() && row.when(window)) {
                closed = true;
                EXPECT_TRUE(runtime::Unload(window, runtime::vbFormControlMenu)) << row.name;
            }
        });
        startDownload();
        const bool ended = waitUntil([&] { return !window && main->recounts > recounts; });
        runtime::SetYieldHook({});
        QObject::disconnect(watching);
        ASSERT_TRUE(ended) << row.name;
        EXPECT_TRUE(closed) << row.name;
        EXPECT_EQ(main->recounts, recounts + 1) << row.name;
        EXPECT_EQ(versionAtRecount, QByteArray("2026.2")) << row.name << ": the recount reads the new database";
        EXPECT_TRUE(main->available->isHidden()) << row.name;
    }
}

TEST_F(UpdateWindow, ABadArchiveLeavesTheOldDatabaseByteForByte)
{
    const QString pack = folder.filePath(QStringLiteral("pack"));
    ASSERT_NO_FATAL_FAILURE(packNoDatabase(pack));
    QByteArray corrupt = archive;
    for (qsizetype i = 40; i < corrupt.size() - 40; i += 5)
        corrupt[i] = char(corrupt[i] ^ 0x33);
    struct Row {
        const char *name;
        QByteArray bytes;
        const char *message;
    };
    const Row rows[] = {
        {"corrupt", corrupt, nullptr},
        {"not a database", packArchive(pack, {QStringLiteral("hwids.mdb")}), "Failed to decompress the download database file!"},
        {"not an archive", QByteArray("plain text, no archive"), "Failed to open the download database file!"},
    };
    for (const Row &row : rows) {
        if (!window) {
            window = new FrmUpdate;
            runtime::Load(window);
        }
        served = row.bytes;
        runtime::MsgBoxRecorder boxes;
        const int recounts = main->recounts;
        startDownload();
        ASSERT_TRUE(waitUntil([this] { return !window; })) << row.name;
        ASSERT_EQ(boxes.calls.size(), 1) << row.name;
        if (row.message) {
            EXPECT_EQ(boxes.calls.first().prompt, QLatin1String(row.message)) << row.name;
        }
        EXPECT_EQ(boxes.calls.first().buttons, runtime::vbCritical) << row.name;
        EXPECT_EQ(readFile(folder.filePath(QStringLiteral("hwids.mdb"))), oldDatabase) << row.name;
        EXPECT_TRUE(waitUntil([&] { return main->recounts == recounts + 1; })) << row.name;
    }
}

// A failed install shows its box while the main window still waits: the recount timer off, the
// notice standing, nothing recounted; the database is handed back once the box is closed.
TEST_F(UpdateWindow, AFailedInstallHandsTheDatabaseBackOnlyAfterItsBox)
{
    struct AtTheBox {
        bool recountTimerOn = true;
        bool noticeShown = false;
        int recounts = -1;
        QString label;
    };
    const QString pack = folder.filePath(QStringLiteral("pack"));
    ASSERT_NO_FATAL_FAILURE(packNoDatabase(pack));
    struct Row {
        const char *name;
        QByteArray bytes;
        const char *message;
    };
    const Row rows[] = {
        {"failed to open", QByteArray("plain text, no archive"), "Failed to open the download database file!"},
        {"failed to decompress", packArchive(pack, {QStringLiteral("hwids.mdb")}), "Failed to decompress the download database file!"},
    };
    for (const Row &row : rows) {
        if (!window) {
            window = new FrmUpdate;
            runtime::Load(window);
        }
        served = row.bytes;
        main->available->setVisible(true);
        const int recounts = main->recounts;
        std::optional<AtTheBox> seen;
        const runtime::MsgBoxHook previous = runtime::SetMsgBoxHook([&](const runtime::MsgBoxCall &) {
            seen = AtTheBox{main->recount->Enabled(), !main->available->isHidden(), main->recounts,
                            window ? caption("ImportantLabelUnzip") : QString()};
            return int(runtime::vbOK);
        });
        startDownload();
        const bool closed = waitUntil([this] { return !window; });
        runtime::SetMsgBoxHook(previous);
        ASSERT_TRUE(closed) << row.name;
        ASSERT_TRUE(seen) << row.name;
        EXPECT_FALSE(seen->recountTimerOn) << row.name;
        EXPECT_TRUE(seen->noticeShown) << row.name;
        EXPECT_EQ(seen->recounts, recounts) << row.name;
        EXPECT_EQ(seen->label, QLatin1String(row.message)) << row.name;
        EXPECT_TRUE(waitUntil([&] { return main->recounts == recounts + 1; })) << row.name;
        EXPECT_TRUE(main->available->isHidden()) << row.name;
    }
}

// The labels, buttons and bar inside the window's panels take the preset chosen in the colour
// window, as the controls outside them do.
TEST_F(UpdateWindow, EveryControlInsideThePanelsTakesTheChosenPreset)
{
    struct Expected {
        const char *control;
        const char *property;
        SchemeTable::Swatch swatch;
    };
    const Expected expected[] = {
        {"Label1", "ForeColor", SchemeTable::programtext},          {"Label3", "BackColor", SchemeTable::programback},
        {"lblStatus", "ForeColor", SchemeTable::programtext},       {"InfoLabelpercent", "ForeColor", SchemeTable::infotext},
        {"ImportantLabelUnzip", "ForeColor", SchemeTable::importanttext},
        {"CommandCancel", "BackColor", SchemeTable::buttontopback}, {"CommandCancel", "ForeColor", SchemeTable::buttontext},
        {"CommandDownloadDatabase", "BackStartColor", SchemeTable::buttontopback},
        {"CommmandOpenQuordane", "ForeColor", SchemeTable::buttontext},
        {"PB1", "BackColor", SchemeTable::pbback},                  {"PB1", "BarColor", SchemeTable::pbbar},
        {"PB1", "ForeColor", SchemeTable::pbtext},                  {"PanelDownloading", "PanelBackColor", SchemeTable::programback},
    };
    for (const char *preset : {"Harbour", "Moss"}) {
        ASSERT_TRUE(testsupport::ChooseShippedPreset(QLatin1String(preset))) << preset;
        ASSERT_TRUE(window && window->IsLoaded());
        for (const Expected &row : expected) {
            QWidget *widget = control<QWidget>(row.control);
            ASSERT_TRUE(widget) << row.control;
            EXPECT_EQ(runtime::getPropertyByName(widget, row.property).toUInt(), quint32(ModColors::SchemeColor(row.swatch)))
                << preset << " " << row.control << "." << row.property;
        }
    }
}

// The install's own check opens the new database by a connection string too: a program folder
// whose path holds what that string separates or quotes installs all the same.
TEST_F(UpdateWindow, InstallsIntoAProgramFolderWithSeparatorsQuotesAndLettersInItsPath)
{
    const QString program = folder.filePath(QString::fromUtf8(" a;b 'c\" #1=ü/kestrova"));
    ASSERT_TRUE(QDir().mkpath(program));
    runtime::Unload(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    runtime::App::setPath(program);
    Modini::WriteIni(QStringLiteral("main"), QStringLiteral("WebServer"), server.url(QString()));
    makeDatabase(program + QStringLiteral("/hwids.mdb"), QStringLiteral("2026.1"));
    window = new FrmUpdate;
    runtime::Load(window);
    served = archive;
    runtime::MsgBoxRecorder boxes;
    startDownload();
    ASSERT_TRUE(waitUntil([this] { return !window; }));
    EXPECT_TRUE(boxes.calls.isEmpty()) << boxes.calls.value(0).prompt.toStdString();
    EXPECT_EQ(databaseVersion(program + QStringLiteral("/hwids.mdb")), QByteArray("2026.2"));
    EXPECT_TRUE(waitUntil([this] { return main->recounts == 1; }));
}

TEST_F(UpdateWindow, CancelWhileTheDownloadIsOnTheStackClosesTheWindow)
{
    served = testsupport::patternBytes(400000);
    slowBytes = 4096;
    bool clicked = false;
    QObject::connect(window->DL1(), &DownLoad::Percent, [this, &clicked](int) {
        if (!clicked) {
            clicked = true;
            emit control<dcButton>("CommandCancel")->Click();
        }
    });
    startDownload();
    ASSERT_TRUE(waitUntil([this] { return !window; }));
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(waitUntil([this] { return main->recounts == 1; })) << "lookups go on with the old database";
    EXPECT_EQ(readFile(folder.filePath(QStringLiteral("hwids.mdb"))), oldDatabase);
}

TEST_F(UpdateWindow, TheTitleBarCloseIsRefusedWhileADownloadIsPartWay)
{
    auto *bar = control<QuordanePB>("PB1");
    bar->setMax(1000);
    for (const auto &[value, closes] : {std::pair{500, false}, std::pair{1000, true}}) {
        bar->setValue(value);
        EXPECT_EQ(runtime::Unload(window, runtime::vbFormControlMenu), closes) << value;
    }
    window = new FrmUpdate;
    runtime::Load(window);
    EXPECT_TRUE(runtime::Unload(window, runtime::vbFormControlMenu)) << "at 0";
}

TEST_F(UpdateWindow, ANeverStartedDownloadReopensTheDatabase)
{
    served.clear();
    Modini::WriteIni(QStringLiteral("main"), QStringLiteral("WebServer"), QStringLiteral("http://127.0.0.1:1"));
    startDownload();
    ASSERT_TRUE(waitUntil([this] { return caption("lblerr") == QLatin1String("Error Code - [3] Server Timed Out!"); }));
    EXPECT_TRUE(waitUntil([this] { return main->recounts == 1; }));
    EXPECT_TRUE(window) << "the window stays in the download view";
}

TEST_F(UpdateWindow, OnlineTextsAtTheLengthLimitsAndTheirComparison)
{
    struct Row {
        std::string program;
        std::string database;
        const char *programLabel;
        const char *databaseLabel;
        const char *databaseResult; // "" when the check leaves it as it was
    };
    const Row rows[] = {
        {"123456789", "12345678901234", "Online Version: 123456789", "Online Version: 12345678901234", "Update Available: YES"},
        {"1234567890", "123456789012345", "Online Version: Error", "Online Version: Error", ""},
        {"1.2.3", "2026.1", "Online Version: 1.2.3", "Online Version: 2026.1", "Update Available: NO"},
        {"", "abc", "Online Version: Error", "Online Version: abc", "Update Available: YES"},
        {"1.2.3", "", "Online Version: 1.2.3", "Online Version: Error", ""},
    };
    for (const Row &row : rows) {
        setPages(row.program, row.database);
        control<runtime::Label>("Label3")->setCaption(QStringLiteral("as it was"));
        runChecks();
        EXPECT_EQ(caption("Label1"), QLatin1String(row.programLabel)) << row.program;
        EXPECT_EQ(caption("Label4"), QLatin1String(row.databaseLabel)) << row.database;
        EXPECT_EQ(caption("Label3"), *row.databaseResult ? QLatin1String(row.databaseResult) : QLatin1String("as it was")) << row.database;
        if (*row.databaseResult) {
            EXPECT_EQ(control<dcButton>("CommandDownloadDatabase")->Enabled(), QLatin1String(row.databaseResult).endsWith(QLatin1String("YES")));
        }
    }
    main->version->setCaption(QStringLiteral("Database Version"));
    setPages("1.2.3", "9999.9");
    runChecks();
    EXPECT_EQ(caption("Label3"), QStringLiteral("Update Available: NO")) << "no local version reads as up to date";
}

TEST_F(UpdateWindow, StartUpSettingProgressTextsAndErrorCodes)
{
    auto *box = window->findChild<SuiteCheckBox *>(QStringLiteral("CheckForUpdates"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Value(), 0);
    box->setValue(1);
    emit box->MouseUp(1, 0, 1, 1);
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates")), QStringLiteral("1"));
    EXPECT_TRUE(ModMain::CheckForUpdates);
    box->setValue(0);
    emit box->MouseUp(2, 0, 1, 1);
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("main"), QStringLiteral("CheckForUpdates")), QStringLiteral("0"));
    EXPECT_FALSE(ModMain::CheckForUpdates);

    window->zip_Progress(512, 2048);
    EXPECT_EQ(caption("ImportantLabelUnzip"), QStringLiteral("Decompressing Database... Progress: 512 Bytes of 2.00 KB"));
    DownLoad *dl = window->DL1();
    emit dl->Percent(100);
    EXPECT_EQ(caption("InfoLabelpercent"), QStringLiteral("Percent Complete - 100"));
    emit dl->DLECode(6);
    EXPECT_EQ(caption("lblerr"), QStringLiteral("Error Code - [6] Internal Server Error!"));
    emit dl->DLECode(7);
    EXPECT_EQ(caption("lblerr"), QStringLiteral("Error Code - [6] Internal Server Error!")) << "7 is not in the table";
    emit dl->RecievedBytes(1048577);
    EXPECT_EQ(caption("lblCBytes"), QStringLiteral("Current Bytes Read - 1.00 MB"));

    control<QuordanePB>("PB1")->setValue(0);
    ASSERT_TRUE(runtime::Unload(window));
    ModMain::CheckForUpdates = true;
    QFile archiveLeft(folder.filePath(QStringLiteral("hwids.7z")));
    ASSERT_TRUE(archiveLeft.open(QIODevice::WriteOnly));
    archiveLeft.close();
    window = new FrmUpdate;
    runtime::Load(window);
    EXPECT_EQ(window->findChild<SuiteCheckBox *>(QStringLiteral("CheckForUpdates"))->Value(), 1);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("hwids.7z")))) << "deleted at load";
    ModMain::CheckForUpdates = false;
}

TEST_F(UpdateWindow, ALoadWhileTheProgramClosesUnloadsAtOnce)
{
    ASSERT_TRUE(runtime::Unload(window));
    ModMain::ClosingProgram = true;
    window = new FrmUpdate;
    runtime::Load(window);
    EXPECT_FALSE(window && window->IsLoaded());
    ModMain::ClosingProgram = false;
}

TEST(UpdateWindowText, SizeTexts)
{
    const std::pair<qint64, const char *> rows[] = {{0, "0"},           {1023, "1023"},       {1024, "1.00 KB"},
                                                    {1048576, "1024.00 KB"}, {1048577, "1.00 MB"}, {-1, "-0.00 MB"},
                                                    {Q_INT64_C(5000000000), "4768.37 MB"}};
    for (const auto &[bytes, text] : rows)
        EXPECT_EQ(FrmUpdate::SizeText(bytes), QLatin1String(text)) << bytes;
}

} // namespace

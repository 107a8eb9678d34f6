#include "support_windows.h"

#include "support/ColorPresets.h"
#include "support/LocalHttpServer.h"
#include "support/TestOutput.h"

#include "chrome/ModShadow.h"
#include "chrome/TitelBar.h"
#include "components/Inet.h"
#include "components/SuiteListView.h"
#include "components/SuiteTabControl.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/dcButton.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "runtime/App.h"
#include "runtime/Clipboard.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Image.h"
#include "runtime/Label.h"
#include "runtime/Menu.h"
#include "runtime/MsgBox.h"
#include "runtime/OpenDocument.h"
#include "runtime/TextBox.h"
#include "runtime/Timer.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"
#include "update/FrmUpdate.h"
#include "windows/FrmImprove.h"
#include "windows/FrmLookup.h"
#include "windows/FrmMain.h"
#include "windows/FrmMenu.h"
#include "windows/MainWindowTexts.h"
#include "chrome/ResizeGrip.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using windowstest::ProgramFolder;
using windowstest::waitFor;
using testsupport::LocalHttpServer;

// The saved machine every test of this file scans (the inventory reads it once per process).
const bool MachineChosen = [] {
    qputenv("KESTROVA_MACHINE", KESTROVA_FIXTURES "/machines/win10-desktop");
    return true;
}();

QStringList Fixture(int rows = 3)
{
    QList<QPair<QString, QString>> hwids;
    for (int i = 0; i < rows; ++i)
        hwids.append({QStringLiteral("PCI\\VEN_%1").arg(i, 4, 16, QLatin1Char('0')), QStringLiteral("1,1")});
    return windowstest::fixtureStatements({"Device"}, {"Maker"}, hwids, QStringLiteral("2026.12.01"));
}

// Starts the program's main window as the runtime does and waits for the first scan's end.
// Shows a new main window; `scanned` turns true when its first scan ends, while `watching` lives.
QPointer<FrmMain> Show(bool &scanned, const QObject &watching)
{
    QPointer<FrmMain> main = new FrmMain();
    main->TimerStartup->setInterval(1); // the design's 100 ms only slows the tests down
    QObject::connect(main, &FrmMain::ScanEnded, &watching, [&scanned] { scanned = true; });
    main->Show();
    return main;
}

QPointer<FrmMain> Start(bool waitForScan = true)
{
    bool scanned = false;
    QObject watching; // ends the connection with this function
    QPointer<FrmMain> main = Show(scanned, watching);
    if (waitForScan) {
        EXPECT_TRUE(waitFor([&] { return scanned || !main; })) << "the first scan did not end";
    }
    return main;
}

QString TabCaption(FrmMain *main, int tab) { return main->TabControl1->Item(tab)->Caption(); }

TEST(MainWindowTexts, CountFormatCaptionsSettingsAndVersion)
{
    EXPECT_EQ(MainWindowTexts::FormatDeviceCount(0), QString());
    EXPECT_EQ(MainWindowTexts::FormatDeviceCount(999), QStringLiteral("999"));
    EXPECT_EQ(MainWindowTexts::TabCaption(QStringLiteral("All Hardware"), 92), QStringLiteral("All Hardware (92)"));
    EXPECT_EQ(MainWindowTexts::VersionText(1, 2, 3), QStringLiteral("1.2.3"));
    struct Setting {
        const char *text;
        bool previous, expected;
    };
    for (const Setting &row : {Setting{"1", false, true}, Setting{"0", true, false}, Setting{"-1", false, true},
                               Setting{"TRUE", false, true}, Setting{"False", true, false}, Setting{"", true, true},
                               Setting{"", false, false}, Setting{"yes", true, true}, Setting{"2", false, true}})
        EXPECT_EQ(MainWindowTexts::SettingAsBoolean(QString::fromLatin1(row.text), row.previous), row.expected) << row.text;
}

TEST(MainWindowTexts, CountUsesTheGroupSeparator)
{
    const QString separator = QLocale::system().groupSeparator();
    EXPECT_EQ(MainWindowTexts::FormatDeviceCount(1234567), QStringLiteral("1") + separator + "234" + separator + "567");
}

TEST(MainWindow, StartsUpScansTheSavedMachineAndShowsTheDatabase)
{
    ProgramFolder folder(Fixture(1234));
    ASSERT_TRUE(folder.ok());
    runtime::App::setVersion(1, 2, 3);
    QPointer<FrmMain> main = Start();
    ASSERT_TRUE(main);
    EXPECT_EQ(main->Caption(), QStringLiteral("Quordane - Kestrova v1.2.3"));
    EXPECT_EQ(ModMain::AppVersion, QStringLiteral("1.2.3"));
    EXPECT_EQ(main->ListViewHardware->ListItems().Count(), 92);
    // The counts reach the tab captions by the next tick of the caption timer.
    EXPECT_TRUE(waitFor([&] { return TabCaption(main, 0) == QStringLiteral("All Hardware (92)"); }, 1000));
    EXPECT_EQ(main->LabelTotalDevices->Caption(),
              QStringLiteral("Devices In Database: 1") + QLocale::system().groupSeparator() + QStringLiteral("234"));
    EXPECT_EQ(main->LabelDatabaseVersion->Caption(), QStringLiteral("Database Version: 2026.12.01"));
    EXPECT_FALSE(main->PanelProgress->Visible());
    EXPECT_TRUE(main->CommandGetHardware->Enabled());
    EXPECT_TRUE(main->CommandImproveHardware->Enabled());
    EXPECT_TRUE(main->CommandCheckForUpdates->Enabled());
    EXPECT_TRUE(main->Timer1->Enabled());
    EXPECT_FALSE(main->ImportantLabelUpdateAvailable->Visible());
    // The saved machine's devices by the list rules, counted in the same tick as the first tab's.
    EXPECT_EQ(TabCaption(main, 1), QStringLiteral("No Drivers Installed (4)"));
    EXPECT_EQ(TabCaption(main, 2), QStringLiteral("Hardware With Problems (5)"));
    EXPECT_EQ(TabCaption(main, 3), QStringLiteral("All Except Standard System Devices (68)"));
    // First run without a settings file: shadows on, no silent check.
    EXPECT_TRUE(ModShadow::ShadowEnabled);
    EXPECT_FALSE(ModMain::CheckForUpdates);
    // Every list has the six columns, the first list is sorted by name.
    EXPECT_EQ(main->ListViewNoSystemDevices->ColumnHeaders().Count(), 6);
    EXPECT_EQ(main->ListViewHardware->ColumnHeaders().Item(3)->Text(), QStringLiteral("Error Code"));
    // Reachable by name, as the update window reaches them.
    EXPECT_NE(main->findControl(QStringLiteral("TimerCountDatabase")), nullptr);
    EXPECT_NE(main->findControl(QStringLiteral("ImportantLabelUpdateAvailable")), nullptr);
    EXPECT_NE(main->findControl(QStringLiteral("LabelDatabaseVersion")), nullptr);
    testsupport::writeTestPng("windows", "main-window-win10-desktop", main->grab().toImage());
}

// The busy panel counts in pixels: its status line and bar must lie inside it, shown, while the
// start-up reads the database and while the scan names each device.
TEST(MainWindow, TheBusyPanelShowsItsStatusAndRunningBarDuringStartUpAndScan)
{
    ProgramFolder folder(Fixture());
    // Per status text shown: its line and the bar inside the panel at every yield, and the bar
    // running at one of them at least (starting it yields once before it runs).
    struct Seen {
        bool inside = true;
        bool running = false;
    };
    QMap<QString, Seen> seen;
    QImage midScan;
    runtime::SetYieldHook([&](int) {
        FrmMain *main = nullptr;
        for (runtime::Form *form : runtime::Forms::All())
            main = main ? main : qobject_cast<FrmMain *>(form);
        if (!main || !main->PanelProgress->isVisibleTo(main))
            return;
        const QRect panel = main->PanelProgress->rect();
        const QString caption = main->LabelStatus->Caption();
        Seen &s = seen[caption];
        s.inside = s.inside && main->LabelStatus->isVisibleTo(main) && panel.contains(main->LabelStatus->geometry()) &&
                   main->DB1->isVisibleTo(main) && panel.contains(main->DB1->geometry());
        s.running = s.running || main->DB1->runningStyle().has_value();
        if (midScan.isNull() && s.running && caption.startsWith(QLatin1String("Status: Getting ")))
            midScan = main->PanelProgress->grab().toImage();
    });
    QPointer<FrmMain> main = Start();
    runtime::SetYieldHook({});
    ASSERT_TRUE(main);
    EXPECT_TRUE(seen.contains(QStringLiteral("Status: Reading Database Version && Device Count From hwids.mdb")));
    EXPECT_TRUE(std::any_of(seen.keyBegin(), seen.keyEnd(), [](const QString &c) { return c.startsWith(QLatin1String("Status: Getting ")); }));
    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        EXPECT_TRUE(it->inside) << it.key().toStdString();
        EXPECT_TRUE(it->running) << it.key().toStdString();
    }
    testsupport::writeTestPng("windows", "busy-panel-mid-scan", midScan);
}

// The busy panel's status and bar lie inside the panel and still take the chosen preset: seen
// mid-scan, under two presets, in their properties and in the status text's pixels.
TEST(MainWindow, TheBusyPanelTakesTheChosenPresetWhileAScanRuns)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    ASSERT_TRUE(main);
    for (const char *preset : {"Harbour", "Moss"}) {
        ASSERT_TRUE(testsupport::ChooseShippedPreset(QLatin1String(preset))) << preset;
        const quint32 text = ModColors::SchemeColor(SchemeTable::programtext);
        const quint32 back = ModColors::SchemeColor(SchemeTable::programback);
        bool seen = false;
        runtime::SetYieldHook([&](int) {
            if (seen || !main || !main->PanelProgress->isVisibleTo(main) || !main->LabelStatus->Caption().startsWith(QLatin1String("Status: Getting ")))
                return;
            seen = true;
            EXPECT_EQ(main->LabelStatus->ForeColor(), text) << preset;
            EXPECT_EQ(runtime::getPropertyByName(main->DB1, "LeftColorBarColor").toString().toLongLong(), qint32(text)) << preset;
            EXPECT_EQ(runtime::getPropertyByName(main->DB1, "RightColorBarColor").toString().toLongLong(), qint32(text)) << preset;
            EXPECT_EQ(runtime::getPropertyByName(main->DB1, "BackGroundColor").toString().toLongLong(), qint32(back)) << preset;
            // The status text is drawn in the scheme's text colour.
            const QImage label = main->LabelStatus->grab().toImage();
            const QColor want = runtime::toQColor(runtime::TranslateOrBlack(text));
            int inText = 0;
            for (int y = 0; y < label.height(); ++y)
                for (int x = 0; x < label.width(); ++x) {
                    const QColor got = label.pixelColor(x, y);
                    inText += std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) + std::abs(got.blue() - want.blue()) < 24;
                }
            EXPECT_GT(inText, 20) << preset;
        });
        bool scanned = false;
        QObject watching;
        QObject::connect(main, &FrmMain::ScanEnded, &watching, [&scanned] { scanned = true; });
        main->CommandGetHardware_Click();
        EXPECT_TRUE(waitFor([&] { return scanned || !main; })) << preset;
        runtime::SetYieldHook({});
        ASSERT_TRUE(main);
        EXPECT_TRUE(seen) << preset;
    }
}

TEST(MainWindow, EmptyDatabaseShowsNoDigitsAndTheScanStillRuns)
{
    ProgramFolder folder(Fixture(0));
    QPointer<FrmMain> main = Start();
    ASSERT_TRUE(main);
    EXPECT_EQ(main->LabelTotalDevices->Caption(), QStringLiteral("Devices In Database: "));
    EXPECT_EQ(main->ListViewHardware->ListItems().Count(), 92);
}

// The silent check against a version page served on 127.0.0.1: the update label shows only for a
// newer valid version; an invalid page, a refused connection or a server that never answers
// changes nothing, and the first scan still runs.
TEST(MainWindow, SilentCheckComparesTheServedVersionPage)
{
    struct Case {
        const char *name;
        const char *page;   // nullptr: no server at that port; "(silent)": never answers
        bool labelShown;
        bool upToDate;
    };
    for (const Case &row : {Case{"newer", "2026.12.02", true, false}, Case{"same", "2026.12.01", false, true},
                            Case{"older", "2026.11.30\r\n", false, true}, Case{"empty", "", false, false},
                            Case{"errorPage", "<html>error page</html>", false, false},
                            Case{"refused", nullptr, false, false}, Case{"silent", "(silent)", false, false}}) {
        std::atomic<int> requests{0};
        std::unique_ptr<LocalHttpServer> server;
        int port = 1; // nothing listens there
        if (row.page) {
            server = std::make_unique<LocalHttpServer>([&, row](httplib::Server &http, LocalHttpServer &self) {
                http.Get("/files/updates/kestrova/database_v1.htm", [&, row](const httplib::Request &, httplib::Response &response) {
                    ++requests;
                    if (QByteArray(row.page) == "(silent)") {
                        self.pause(std::chrono::seconds(30));
                        return;
                    }
                    response.set_content(row.page, "text/html");
                });
            });
            port = server->port();
        }
        ProgramFolder folder(Fixture());
        folder.writeSettings(QStringLiteral("[main]\r\nCheckForUpdates=1\r\nWebServer=http://127.0.0.1:%1\r\n").arg(port));
        QPointer<FrmMain> main = new FrmMain();
        main->TimerStartup->setInterval(1);
        main->Inet2->setTimeouts({std::chrono::milliseconds(500), std::chrono::milliseconds(500), std::chrono::milliseconds(1000)});
        bool scanned = false;
        QObject::connect(main, &FrmMain::ScanEnded, [&scanned] { scanned = true; });
        main->Show();
        ASSERT_TRUE(waitFor([&] { return scanned; })) << row.name;
        EXPECT_EQ(requests.load(), row.page ? 1 : 0) << row.name;
        EXPECT_EQ(main->ImportantLabelUpdateAvailable->Visible(), row.labelShown) << row.name;
        EXPECT_EQ(ModMain::DatabaseUpToDate, row.upToDate) << row.name;
        EXPECT_EQ(main->ListViewHardware->ListItems().Count(), 92) << row.name;
    }
}

TEST(MainWindow, SortChoiceSurvivesARescanAndDeletedRowsShowInTheCount)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    SuiteListView *list = main->ListViewHardware;
    emit list->ColumnClick(*list->ColumnHeaders().Item(1));
    EXPECT_EQ(list->SortDirection(), 1);
    const auto descending = [&] {
        return list->ListItems().Item(1)->Text().compare(list->ListItems().Item(list->ListItems().Count())->Text(),
                                                         Qt::CaseInsensitive) >= 0;
    };
    EXPECT_TRUE(descending());
    bool scanned = false;
    QObject::connect(main, &FrmMain::ScanEnded, [&scanned] { scanned = true; });
    emit main->CommandGetHardware->Click();
    ASSERT_TRUE(waitFor([&] { return scanned; }));
    EXPECT_EQ(list->SortColumn(), 0);
    EXPECT_EQ(list->SortDirection(), 1);
    EXPECT_TRUE(descending());

    list->ListItems().Item(1)->setSelected(true);
    emit list->KeyDown(46, 0);
    EXPECT_EQ(list->ListItems().Count(), 91);
    EXPECT_TRUE(waitFor([&] { return TabCaption(main, 0) == QStringLiteral("All Hardware (91)"); }, 1000));
}

TEST(MainWindow, RightButtonPopsTheMainMenuOrSaysTheListIsEmpty)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    QList<runtime::Menu *> popped;
    const runtime::PopupMenuHook previous = runtime::SetPopupMenuHook([&](runtime::Menu *menu) {
        popped << menu;
        return nullptr;
    });
    runtime::MsgBoxRecorder boxes;
    emit main->ListViewHardware->MouseUp(2, 0, 10, 10);
    emit main->ListViewHardware->MouseUp(1, 0, 10, 10);
    main->ListViewProblems->ListItems().Clear();
    emit main->ListViewProblems->MouseUp(2, 0, 10, 10);
    runtime::SetPopupMenuHook(previous);
    ASSERT_EQ(popped.size(), 1);
    EXPECT_EQ(popped[0]->Name(), QStringLiteral("MenuMain"));
    ASSERT_EQ(boxes.calls.size(), 1);
    EXPECT_EQ(boxes.calls[0].prompt, QStringLiteral("The List Is Empty."));
}

TEST(MainWindow, MainMenuActsOnTheListOfTheSelectedTab)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    SuiteListView *problems = main->ListViewProblems;
    ASSERT_GT(problems->ListItems().Count(), 0);
    main->TabControl1->Item(2)->setSelected(true);
    SuiteListItem *row = problems->ListItems().Item(1);
    row->setSelected(true);
    const QString name = row->Text();
    const QString fields = QStringList({row->Text(), row->SubItems(1), row->SubItems(2), row->SubItems(3),
                                        row->SubItems(4), row->SubItems(5)}).join(QLatin1Char(','));
    FrmMenu *menu = runtime::Forms::Get<FrmMenu>();
    const auto choose = [&](const char *itemName) {
        for (runtime::Menu *item : menu->MenuMain->Items()) {
            if (item->Name() == QLatin1String(itemName))
                emit item->Click();
        }
    };
    choose("MenuMainCopyName");
    EXPECT_EQ(runtime::Clipboard::GetText(), name);
    choose("MenuMainCopyRow");
    EXPECT_EQ(runtime::Clipboard::GetText(), fields);
    EXPECT_EQ(fields.count(QLatin1Char(',')) >= 5, true);
    choose("MenuMainCopyID");
    EXPECT_TRUE(runtime::Clipboard::GetText().endsWith(QLatin1Char('|')));
    choose("MenuMainCopyWhole");
    EXPECT_EQ(runtime::Clipboard::GetText().count(QStringLiteral("\r\n")), problems->ListItems().Count() + 1);
    EXPECT_TRUE(runtime::Clipboard::GetText().startsWith(
        QStringLiteral("Name,Manufacturer,Error Code,Class,Driver Version,Hardware IDs\r\n")));

    const int before = main->ListViewHardware->ListItems().Count();
    const int problemsBefore = problems->ListItems().Count();
    problems->ListItems().Item(1)->setSelected(true);
    choose("MenuMainRemoveDevice");
    EXPECT_EQ(problems->ListItems().Count(), problemsBefore - 1);
    EXPECT_EQ(main->ListViewHardware->ListItems().Count(), before);
}

TEST(MainWindow, DoubleClickOpensANewLookupWindowOnTheRow)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    SuiteListItem *row = main->ListViewHardware->ListItems().Item(3);
    row->setSelected(true);
    emit main->ListViewHardware->DblClick();
    emit main->ListViewHardware->DblClick();
    QList<FrmLookup *> lookups;
    for (runtime::Form *form : runtime::Forms::All()) {
        if (auto *lookup = qobject_cast<FrmLookup *>(form))
            lookups << lookup;
    }
    ASSERT_EQ(lookups.size(), 2);
    EXPECT_NE(lookups[0], lookups[1]);
    EXPECT_EQ(lookups[0]->Caption(), row->Text());
    EXPECT_EQ(lookups[0]->ImportantLabelName->Caption(), QStringLiteral("Device: ") + row->Text());
    QString ids = row->SubItems(5);
    EXPECT_EQ(lookups[0]->TextID->Text(), ids.replace(QLatin1Char('|'), QStringLiteral("\r\n")));
    EXPECT_TRUE(lookups[0]->TextID->Text().endsWith(QStringLiteral("\r\n")));
    EXPECT_TRUE(waitFor([&] { return lookups[0]->TimerStatus->Enabled() && lookups[1]->TimerStatus->Enabled(); }));

    // The lookup button on an empty tab opens nothing.
    main->ListViewNoDrivers->ListItems().Clear();
    main->TabControl1->Item(1)->setSelected(true);
    const int windows = runtime::Forms::Count();
    emit main->dcButton1->Click();
    EXPECT_EQ(runtime::Forms::Count(), windows);
}

TEST(MainWindow, LogoLinksOpenTheirAddresses)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start(false);
    runtime::OpenDocumentRecorder browser;
    for (runtime::Image *logo : main->ImageLogo)
        emit logo->Click();
    EXPECT_EQ(browser.addresses, QStringList({QStringLiteral("http://www.quordane.example/"),
                                              QStringLiteral("http://facebook.quordane.example/quordane"),
                                              QStringLiteral("http://twitter.quordane.example/quordane")}));
    waitFor([&] { return main->Timer1->Enabled(); });
}

TEST(MainWindow, ToolButtonsShowOneWindowEachAndTheUpdateButtonStartsItsChecks)
{
    ProgramFolder folder(Fixture());
    folder.writeSettings(QStringLiteral("[main]\r\nWebServer=http://127.0.0.1:1\r\n")); // refused at once
    QPointer<FrmMain> main = Start();
    ASSERT_TRUE(main);

    emit main->CommandImproveHardware->Click();
    QPointer<FrmImprove> improve = qobject_cast<FrmImprove *>(runtime::Forms::Get<FrmImprove>());
    ASSERT_TRUE(improve);
    EXPECT_TRUE(improve->IsLoaded());
    EXPECT_TRUE(improve->isVisible());
    const int windows = runtime::Forms::Count();
    emit main->CommandImproveHardware->Click(); // already open: only brought to the front
    EXPECT_EQ(runtime::Forms::Count(), windows);
    EXPECT_EQ(runtime::Forms::Get<FrmImprove>(), improve.data());

    emit main->CommandCheckForUpdates->Click();
    QPointer<FrmUpdate> update = runtime::Forms::Get<FrmUpdate>();
    ASSERT_TRUE(update);
    EXPECT_TRUE(update->isVisible());
    // The timer's tick runs both checks once and disables it; a second click enables it again.
    EXPECT_TRUE(waitFor([&] { return update && !update->TimerCheckForUpdates()->Enabled(); }));
    emit main->CommandCheckForUpdates->Click();
    ASSERT_TRUE(update);
    EXPECT_EQ(runtime::Forms::Get<FrmUpdate>(), update.data());
    EXPECT_TRUE(update->TimerCheckForUpdates()->Enabled());
    waitFor([&] { return update && !update->TimerCheckForUpdates()->Enabled(); });
}

TEST(MainWindow, ResizeMovesAnchoredControlsAndDrawsTheFrame)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    const QRect update = main->CommandCheckForUpdates->geometry();
    const QRect lookupButton = main->dcButton1->geometry();
    const QRect tabs = main->TabControl1->geometry();
    const QRect info = main->InfoLabel3->geometry();
    const QRect grip = main->LabelResize->geometry();
    main->resize(main->size() + QSize(100, 60));
    QApplication::processEvents();
    EXPECT_EQ(main->CommandCheckForUpdates->geometry(), update.translated(100, 60));
    EXPECT_EQ(main->dcButton1->geometry(), lookupButton.translated(0, 60));
    EXPECT_EQ(main->TabControl1->geometry(), tabs.adjusted(0, 0, 100, 60));
    EXPECT_EQ(main->InfoLabel3->geometry(), info.translated(100, 0));
    EXPECT_EQ(main->LabelResize->geometry(), grip.translated(100, 60));
    // The panel stays centred over the first list.
    const QRect panel = main->PanelProgress->geometry();
    const QRect list(main->ListViewHardware->mapTo(main, QPoint()), main->ListViewHardware->size());
    EXPECT_LE(std::abs(panel.center().x() - list.center().x()), 1);
    // The frame: left, right and bottom edges in the border colour, no top edge.
    const QImage image = main->Image().image();
    const QRgb frame = image.pixel(0, image.height() / 2);
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() / 2), frame);
    EXPECT_EQ(image.pixel(image.width() / 2, image.height() - 1), frame);
    EXPECT_NE(image.pixel(1, image.height() / 2), frame);
    // It cannot be made smaller than its start size.
    main->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(qRound(main->Width()), 11250);
    EXPECT_EQ(qRound(main->Height()), 8250);
}

TEST(MainWindow, GripIsHiddenWhileMaximisedAndDragsOnlyWithTheLeftButton)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    main->TitelBar1->bDidMaximize = true;
    main->resize(main->size() + QSize(10, 10));
    QApplication::processEvents();
    EXPECT_FALSE(main->LabelResize->Visible());
    main->TitelBar1->bDidMaximize = false;
    main->resize(main->size() + QSize(10, 10));
    QApplication::processEvents();
    EXPECT_TRUE(main->LabelResize->Visible());
    const QSize before = main->size();
    emit main->LabelResize->MouseMove(2, 0, 1, 1);
    emit main->LabelResize->MouseMove(3, 0, 1, 1);
    EXPECT_FALSE(ResizeGrip::IsSizing(main));
    EXPECT_EQ(main->size(), before);
}

TEST(MainWindow, ClosingUnloadsEveryWindowAfterTheDatabaseIsClosed)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmMain> main = Start();
    main->ListViewHardware->ListItems().Item(1)->setSelected(true);
    emit main->ListViewHardware->DblClick();
    ASSERT_GE(runtime::Forms::Count(), 3); // main, colours, lookup
    bool databaseOpenAtUnload = true;
    for (runtime::Form *form : runtime::Forms::All()) {
        if (form != main)
            QObject::connect(form, &runtime::Form::Unload, [&](int &) { databaseOpenAtUnload = ModDatabase::DatabaseConnection != nullptr && ModDatabase::DatabaseConnection->isOpen(); });
    }
    runtime::Unload(main, runtime::vbFormControlMenu);
    EXPECT_TRUE(ModMain::ClosingProgram);
    EXPECT_EQ(runtime::Forms::Count(), 0);
    EXPECT_FALSE(databaseOpenAtUnload);
    EXPECT_FALSE(main->Timer1->Enabled());
    EXPECT_FALSE(main->TimerStartup->Enabled());
}

// A close request at every yield of a run, from the load through the start-up timer and the first
// scan: no use after free (the sanitizers watch), every window unloaded, the database closed.
// A first run lays out the spread of yields; how many a run takes depends on how the timers fall,
// so the walk ends at the first run whose scan ends before its n-th yield.
TEST(MainWindowClose, CloseRequestAtEveryYieldOfTheStartUp)
{
    int yields = 0;
    {
        ProgramFolder folder(Fixture());
        runtime::SetYieldHook([&](int n) { yields = n; });
        Start();
        runtime::SetYieldHook({});
    }
    ASSERT_GT(yields, 30);
    // Every yield of the load and the start-up timer; then a spread through the scan.
    const int dense = 120;
    const int stride = std::max(1, (yields - dense) / 60);
    for (int n = 1; n <= yields; n += (n < dense ? 1 : stride)) {
        ProgramFolder folder(Fixture());
        // The request stands from the n-th yield until there is a loaded main window to close
        // (the controls' construction yields before the window is loaded).
        bool requested = false;
        runtime::SetYieldHook([n, &requested](int count) {
            if (requested || count < n)
                return;
            for (runtime::Form *form : runtime::Forms::All()) {
                auto *main = qobject_cast<FrmMain *>(form);
                if (!main)
                    continue;
                requested = true;
                QTimer::singleShot(0, main, [main] { runtime::Unload(main, runtime::vbFormControlMenu); });
            }
        });
        bool scanned = false;
        QObject watching;
        QPointer<FrmMain> main = Show(scanned, watching);
        // The hook goes as soon as the scan has ended without a request, before a later yield
        // could still bring one.
        bool endedFirst = false;
        EXPECT_TRUE(waitFor(
            [&] {
                endedFirst = scanned && !requested;
                if (endedFirst)
                    runtime::SetYieldHook({});
                return endedFirst || runtime::Forms::Count() == 0;
            },
            20000))
            << "yield " << n;
        runtime::SetYieldHook({});
        if (endedFirst)
            break;
        EXPECT_TRUE(ModMain::ClosingProgram) << "yield " << n;
        EXPECT_TRUE(!ModDatabase::DatabaseConnection || !ModDatabase::DatabaseConnection->isOpen()) << "yield " << n;
        QApplication::processEvents();
    }
}

} // namespace

#include "support_windows.h"

#include "support/TestOutput.h"

#include "chrome/TitelBar.h"
#include "components/SuiteListView.h"
#include "controls/dcButton.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/MsgBox.h"
#include "runtime/OpenDocument.h"
#include "runtime/PictureBox.h"
#include "runtime/TextBox.h"
#include "runtime/Timer.h"
#include "windows/FrmLookup.h"
#include "windows/LookupQuery.h"

#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using windowstest::ProgramFolder;
using windowstest::waitFor;

const QStringList Names{"Bridge A&B", "Generic A", "Quote X'Y", "Tie One", "Tie Two", "Triple 1", "Triple 2", "Triple 3"};
const QStringList Makers{"Maker One", "Maker Two"};
const QList<QPair<QString, QString>> Hwids{{"A&B", "1,1"},
                                           {"A", "2,2\r\n"},
                                           {"QX'Y", "3,1"},
                                           {"T1-XX", "4,1"},
                                           {"T2-YY", "5,2"},
                                           {"TRIPLE", "6,1\r\n\r\n7,2\r\n8\r\n"},
                                           {"SHARED", "1,2\r\n2,2\r\n1,1"}};

QStringList Fixture() { return windowstest::fixtureStatements(Names, Makers, Hwids); }

struct Row {
    QString name, manufacturer, hwid, length;
    bool marked;
    bool operator==(const Row &) const = default;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name.toStdString() << "|" << row.manufacturer.toStdString() << "|" << row.hwid.toStdString() << "|"
        << row.length.toStdString() << (row.marked ? " marked" : "");
}

std::vector<Row> Rows(FrmLookup *lookup)
{
    std::vector<Row> rows;
    SuiteListItems items = lookup->LabelListViewHardware->ListItems();
    for (int i = 1; i <= items.Count(); ++i) {
        SuiteListItem *item = items.Item(i);
        rows.push_back({item->Text(), item->SubItems(1), item->SubItems(2), item->SubItems(3), item->ForeColor().has_value()});
    }
    return rows;
}

// Opens a lookup as the main window does and waits until its list shows.
// A lookup window on the device, shown, its lookup not started yet.
QPointer<FrmLookup> Prepare(const QString &name, const QString &ids)
{
    QPointer<FrmLookup> lookup = new FrmLookup();
    lookup->Show();
    lookup->setCaption(name);
    lookup->SetDevice(name, ids);
    lookup->TimerStart->setInterval(1); // the design's 100 ms only slows the tests down
    return lookup;
}

void StartAndWait(const QPointer<FrmLookup> &lookup, bool wait = true)
{
    if (!lookup)
        return;
    lookup->StartLookup();
    if (wait)
        waitFor([&] { return !lookup || lookup->TimerStatus->Enabled(); });
}

QPointer<FrmLookup> Lookup(const QString &name, const QString &ids, bool wait = true)
{
    QPointer<FrmLookup> lookup = Prepare(name, ids);
    StartAndWait(lookup, wait);
    return lookup;
}

TEST(LookupQueryText, IdsAndStatement)
{
    EXPECT_EQ(LookupQuery::IdsOf("A&B\r\nA\r\nX'Y"), QStringList({"A&B", "A", "X'Y"}));
    EXPECT_EQ(LookupQuery::Sql({"A&B", "A", "X'Y"}),
              "SELECT * FROM hwids Where [hwids].[hwid] = 'A&B' OR [hwids].[hwid] = 'A' OR [hwids].[hwid] = 'X''Y'");
    EXPECT_EQ(LookupQuery::Sql({"PCI\\VEN_8086&DEV_1C3A", "PCI\\VEN_8086"}),
              "SELECT * FROM hwids Where [hwids].[hwid] = 'PCI\\VEN_8086&DEV_1C3A' OR [hwids].[hwid] = 'PCI\\VEN_8086'");
    EXPECT_EQ(LookupQuery::IdsOf("\r\nPCI\\VEN_10DE"), QStringList({"PCI\\VEN_10DE"}));
    EXPECT_EQ(LookupQuery::IdsOf("PCI\\VEN_10DE "), QStringList({"PCI\\VEN_10DE "}));
    EXPECT_EQ(LookupQuery::IdsOf(" A \r\nB\r\n"), QStringList({"A", "B"}));
    EXPECT_EQ(LookupQuery::IdsOf(""), QStringList());
    EXPECT_EQ(LookupQuery::IdsOf("\r\n  \r\n"), QStringList());
    EXPECT_EQ(LookupQuery::Sql({}), QString());
}

TEST(LookupQueryText, PairLinesAndLengthKey)
{
    EXPECT_EQ(LookupQuery::PairLines("5,6"), QStringList({"5,6"}));
    EXPECT_EQ(LookupQuery::PairLines("5,6\r\n\r\n7,8\r\n"), QStringList({"5,6", "7,8"}));
    EXPECT_EQ(LookupQuery::PairLines(""), QStringList());
    EXPECT_EQ(LookupQuery::PairLines(" 5,6 \r\n  \r\n"), QStringList({" 5,6 "}));
    EXPECT_EQ(LookupQuery::PairLines("5,6\r\n\t\r\n"), QStringList({"5,6", "\t"})) << "only spaces make a line blank";
    EXPECT_EQ(LookupQuery::LengthKey("A"), "001");
    EXPECT_EQ(LookupQuery::LengthKey("PCI\\VEN_8086&DEV_1237&SUB"), "025");
    EXPECT_EQ(LookupQuery::LengthKey(""), "000");
}

TEST(LookupWindow, LongestIdRanksFirstAndAloneIsMarked)
{
    ProgramFolder folder(Fixture());
    ASSERT_TRUE(folder.ok());
    ModDatabase::OpenDatabase();
    QPointer<FrmLookup> lookup = Lookup("Bridge", "A&B\r\nA\r\nX'Y\r\n");
    ASSERT_TRUE(lookup);
    EXPECT_EQ(Rows(lookup), (std::vector<Row>{{"Bridge A&B", "Maker One", "A&B", "003", true},
                                              {"Generic A", "Maker Two", "A", "001", false}}));
    EXPECT_EQ(lookup->ImportantLabelName->Caption(), "Device: Bridge");
    EXPECT_EQ(lookup->TitelBar1->property("Caption").toString(), "Device Lookup");
    EXPECT_EQ(lookup->Caption(), "Bridge");
    EXPECT_TRUE(lookup->LabelListViewHardware->isVisibleTo(lookup));
    EXPECT_TRUE(waitFor([&] { return lookup->LabelStatus->Caption() == "Results: 2 Possible Matches"; }));
    testsupport::writeTestPng("windows", "lookup-window", lookup->grab().toImage());
}

TEST(LookupWindow, TiesAreAllMarkedAndThreePairsGiveThreeRows)
{
    ProgramFolder folder(Fixture());
    ModDatabase::OpenDatabase();
    QPointer<FrmLookup> ties = Lookup("Tie", "T1-XX\r\nT2-YY");
    std::vector<Row> rows = Rows(ties);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].marked && rows[1].marked);

    QPointer<FrmLookup> triple = Lookup("Triple", "TRIPLE");
    rows = Rows(triple);
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.name < b.name; });
    EXPECT_EQ(rows, (std::vector<Row>{{"Triple 1", "Maker One", "TRIPLE", "006", true},
                                      {"Triple 2", "Maker Two", "TRIPLE", "006", true},
                                      {"Triple 3", "", "TRIPLE", "006", true}}));
}

// Each ID is asked of the database once per lookup; rows that share one still show its text.
TEST(LookupWindow, PairsSharingAnIdShowItsTextOnEveryRow)
{
    ProgramFolder folder(Fixture());
    ModDatabase::OpenDatabase();
    QPointer<FrmLookup> lookup = Lookup("Shared", "SHARED");
    std::vector<Row> rows = Rows(lookup);
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.name + a.manufacturer < b.name + b.manufacturer; });
    EXPECT_EQ(rows, (std::vector<Row>{{"Bridge A&B", "Maker One", "SHARED", "006", true},
                                      {"Bridge A&B", "Maker Two", "SHARED", "006", true},
                                      {"Generic A", "Maker Two", "SHARED", "006", true}}));
}

TEST(LookupWindow, QuotesInAnIdAreDoubledInTheQuery)
{
    ProgramFolder folder(Fixture());
    ModDatabase::OpenDatabase();
    QPointer<FrmLookup> lookup = Lookup("Quote", "QX'Y");
    EXPECT_EQ(Rows(lookup), (std::vector<Row>{{"Quote X'Y", "Maker One", "QX'Y", "004", true}}));
}

TEST(LookupWindow, NoMatchReadsNoMatchesAndTheMenuSaysTheListIsEmpty)
{
    ProgramFolder folder(Fixture());
    ModDatabase::OpenDatabase();
    QPointer<FrmLookup> lookup = Lookup("Nothing", "NOPE\r\n");
    EXPECT_TRUE(Rows(lookup).empty());
    EXPECT_TRUE(waitFor([&] { return lookup->LabelStatus->Caption() == "Results: No Matches"; }));
    runtime::MsgBoxRecorder boxes;
    emit lookup->LabelListViewHardware->MouseUp(2, 0, 5, 5);
    ASSERT_EQ(boxes.calls.size(), 1);
    EXPECT_EQ(boxes.calls[0].prompt, "The List Is Empty.");
    EXPECT_EQ(boxes.calls[0].buttons, runtime::vbOKOnly);
}

TEST(LookupWindow, ClosedDatabaseGivesNoRows)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmLookup> lookup = Lookup("Bridge", "A&B");
    EXPECT_TRUE(Rows(lookup).empty());
}

TEST(LookupWindow, DeletedRowsShowInTheStatusWithinATick)
{
    ProgramFolder folder(Fixture());
    ModDatabase::OpenDatabase();
    QPointer<FrmLookup> lookup = Lookup("Tie", "T1-XX\r\nT2-YY");
    ASSERT_EQ(Rows(lookup).size(), 2u);
    lookup->LabelListViewHardware->ListItems().Item(1)->setSelected(true);
    emit lookup->LabelListViewHardware->KeyDown(46, 0);
    EXPECT_TRUE(waitFor([&] { return lookup->LabelStatus->Caption() == "Results: 1 Possible Matches"; }, 1000));
    lookup->LabelListViewHardware->ListItems().Item(1)->setSelected(true);
    emit lookup->LabelListViewHardware->KeyDown(46, 0);
    EXPECT_TRUE(waitFor([&] { return lookup->LabelStatus->Caption() == "Results: No Matches"; }, 1000));
}

TEST(LookupWindow, SearchButtonSearchesForTheFirstLine)
{
    ProgramFolder folder(Fixture());
    QPointer<FrmLookup> lookup = Lookup("Dev", "PCI\\VEN_10DE&DEV_1\r\nPCI\\VEN_10DE\r\n", false);
    runtime::OpenDocumentRecorder browser;
    emit lookup->CommandSearchGoogleID->Click();
    lookup->TextID->setText("\r\nPCI\\VEN_1");
    emit lookup->CommandSearchGoogleID->Click();
    EXPECT_EQ(browser.addresses, QStringList({"http://search.quordane.example/?q=PCI\\VEN_10DE%26DEV_1 Driver",
                                              "http://search.quordane.example/?q=\r\nPCI\\VEN_1 Driver"}));
}

// A second lookup started at any yield of the first replaces the shared record set under it:
// each window must still end with exactly the rows of its own query. How many yields a lookup
// takes depends on how the timers fall, so the walk goes on until a run ends before its n-th.
TEST(LookupConcurrency, ASecondLookupAtEveryYieldOfTheFirstKeepsEachWindowsRows)
{
    ProgramFolder folder(Fixture());
    ModDatabase::OpenDatabase();
    int n = 1;
    for (;; ++n) {
        QPointer<FrmLookup> second;
        bool requested = false;
        QPointer<FrmLookup> first = Prepare("Triple", "TRIPLE\r\nA");
        runtime::SetYieldHook([&](int count) {
            if (count != n)
                return;
            requested = true;
            QTimer::singleShot(0, [&] { second = Lookup("Bridge", "A&B", false); });
        });
        StartAndWait(first);
        runtime::SetYieldHook({});
        if (!requested) {
            windowstest::unloadEverything();
            break;
        }
        ASSERT_TRUE(waitFor([&] { return second && second->TimerStatus->Enabled(); })) << "yield " << n;
        ASSERT_TRUE(first);
        std::vector<Row> firstRows = Rows(first);
        EXPECT_EQ(firstRows.size(), 4u) << "yield " << n;
        for (const Row &row : firstRows)
            EXPECT_TRUE(row.hwid == "TRIPLE" || row.hwid == "A") << "yield " << n;
        EXPECT_EQ(Rows(second), (std::vector<Row>{{"Bridge A&B", "Maker One", "A&B", "003", true}})) << "yield " << n;
        windowstest::unloadEverything();
    }
    EXPECT_GT(n, 5) << "the lookup's walk yields at every record";
}

// The program closing at any yield of a lookup: the walk stops, nothing is touched after the
// window has gone. The walk goes on until a lookup ends before its n-th yield.
TEST(LookupConcurrency, CloseAtEveryYieldOfALookup)
{
    ProgramFolder folder(Fixture());
    // The window's creation yields too; closes there are the main window's close tests' part.
    int n = 1;
    for (;; ++n) {
        ModMain::ClosingProgram = false;
        ModDatabase::OpenDatabase();
        QPointer<FrmLookup> lookup = Prepare("Triple", "TRIPLE\r\nA&B\r\nA");
        bool requested = false;
        runtime::SetYieldHook([&](int count) {
            if (count != n)
                return;
            requested = true;
            QTimer::singleShot(0, [&] {
                ModMain::ClosingProgram = true;
                ModDatabase::CloseDatabase();
                for (runtime::Form *form : runtime::Forms::All())
                    runtime::Unload(form);
            });
        });
        StartAndWait(lookup, false);
        // Either the close came and the window goes, or the lookup ended first: then the hook
        // goes at once, before any later yield could still bring the close.
        bool endedFirst = false;
        EXPECT_TRUE(waitFor([&] {
            endedFirst = !requested && lookup && lookup->TimerStatus->Enabled();
            if (endedFirst)
                runtime::SetYieldHook({});
            return endedFirst || !lookup;
        })) << "yield " << n;
        runtime::SetYieldHook({});
        if (endedFirst) {
            windowstest::unloadEverything();
            break;
        }
    }
    EXPECT_GT(n, 5) << "the lookup's walk yields at every record";
    ModMain::ClosingProgram = false;
}

} // namespace

// The main window's speed: from the window's creation to the end of the first scan with the lists
// shown (the 100 ms start-up timer included), on the saved 121-device machine and on this machine,
// with the bundled database; the resident size after it; "Copy Whole List" of a 2,000-row list; a
// lookup of a 10-ID device from its start timer to the list shown; and what an idle tick of the
// caption timer repaints over four 2,000-row lists.

#include "components/SuiteListView.h"
#include "components/SuiteTabControl.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "os/LiveMachine.h"
#include "os/SnapshotMachine.h"
#include "os/Wmi.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/TextBox.h"
#include "runtime/Timer.h"
#include "support/GeneratedMachine.h"
#include "windows/FrmLookup.h"
#include "windows/FrmMain.h"
#include "windows/ListCommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The build's program folder, with the bundled hwids.mdb.
QString ProgramFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"); }

double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void UnloadEverything()
{
    for (runtime::Form *form : runtime::Forms::All())
        runtime::Unload(form);
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    ModDatabase::CloseDatabase();
    ModMain::ClosingProgram = false;
}

// Creation to the end of the first scan; the window is closed between iterations.
void StartUp(benchmark::State &state)
{
    runtime::App::setPath(ProgramFolder());
    double resident = 0;
    int rows = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QPointer<FrmMain> main = new FrmMain();
        bool scanned = false;
        QObject::connect(main, &FrmMain::ScanEnded, [&] {
            scanned = true;
            state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        });
        main->Show();
        while (!scanned)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.PauseTiming();
        resident = std::max(resident, ResidentMegabytes());
        rows = main->ListViewHardware->ListItems().Count();
        UnloadEverything();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["resident_MB"] = resident;
}

void BM_StartUpSavedMachine(benchmark::State &state)
{
    os::setMachineSource(std::make_unique<os::SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    StartUp(state);
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_StartUpSavedMachine)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The first scan of the main window on generated saved machines of 1,000, 4,000 and 10,000
// devices: the difference of the first and the last, per device, is what one more device costs in
// the window itself (status caption, yields, rows into four lists, their sorting and column
// sizing); the middle one shows whether that cost stays the same as the lists grow.
void BM_StartUpGeneratedMachine(benchmark::State &state)
{
    QTemporaryDir dir;
    os::setMachineSource(std::make_unique<os::SnapshotMachine>(benchsupport::MakeSavedMachine(dir, int(state.range(0)))));
    StartUp(state);
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_StartUpGeneratedMachine)->Arg(1000)->Arg(4000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_StartUpThisMachine(benchmark::State &state)
{
    os::setMachineSource(std::make_unique<os::LiveMachine>());
    StartUp(state);
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_StartUpThisMachine)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// One yield with the main window open after its scan, its caption timer running and nothing
// else waiting: what the scan pays some fifty times per device.
void BM_YieldMainWindowIdle(benchmark::State &state)
{
    runtime::App::setPath(ProgramFolder());
    os::setMachineSource(std::make_unique<os::SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    QPointer<FrmMain> main = new FrmMain();
    bool scanned = false;
    QObject::connect(main, &FrmMain::ScanEnded, [&scanned] { scanned = true; });
    main->Show();
    while (!scanned)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    for (auto _ : state)
        runtime::DoEvents();
    UnloadEverything();
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_YieldMainWindowIdle)->Unit(benchmark::kMicrosecond);

// A window with four lists of 2,000 six-column rows, as the main window holds them.
class ListsForm : public runtime::Form {
public:
    ListsForm() : runtime::Form(QStringLiteral("FrmBench"))
    {
        for (int l = 0; l < 4; ++l) {
            auto *list = new SuiteListView(this, QStringLiteral("List%1").arg(l));
            list->setGeometry(0, l * 150, 800, 150);
            for (const char *caption : {"Name", "Manufacturer", "Error Code", "Class", "Driver Version", "Hardware IDs"})
                list->ColumnHeaders().Add(QString::fromLatin1(caption), QString::fromLatin1(caption), 1500);
            for (int i = 0; i < 2000; ++i) {
                SuiteListItem *item = list->ListItems().Add({}, QStringLiteral("Device %1").arg(i));
                item->setSubItems(1, QStringLiteral("Maker %1").arg(i % 37));
                item->setSubItems(2, QStringLiteral("(0) OK"));
                item->setSubItems(3, QStringLiteral("System devices"));
                item->setSubItems(4, QStringLiteral("10.0.19041.%1").arg(i));
                item->setSubItems(5, QStringLiteral("PCI\\VEN_8086&DEV_%1&SUBSYS_00000000&REV_02|PCI\\VEN_8086&DEV_%1|").arg(i, 4, 16, QLatin1Char('0')));
            }
            lists.push_back(list);
        }
        resize(800, 600);
        runtime::Load(this);
        show();
    }
    std::vector<SuiteListView *> lists;
};

void BM_CopyWholeList2000(benchmark::State &state)
{
    ListsForm form;
    qsizetype size = 0;
    for (auto _ : state) {
        const QString text = ListCommands::WholeListText(form.lists[0], 6, [&form] { return runtime::DoEventsStillLoaded(&form); });
        ListCommands::CopyToClipboard(text);
        size = text.size();
    }
    state.counters["chars"] = double(size);
    runtime::Unload(&form);
}
BENCHMARK(BM_CopyWholeList2000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Counts the paints that reach the lists while the caption timer ticks over unchanged counts.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void BM_IdleCaptionTickFourLists2000(benchmark::State &state)
{
    runtime::App::setPath(ProgramFolder());
    os::setMachineSource(std::make_unique<os::SnapshotMachine>(QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop")));
    QPointer<FrmMain> main = new FrmMain();
    bool scanned = false;
    QObject::connect(main, &FrmMain::ScanEnded, [&scanned] { scanned = true; });
    main->Show();
    while (!scanned)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    main->Timer1->setEnabled(false);
    for (int l = 0; l < 4; ++l) {
        SuiteListView *list = main->List(l);
        for (int i = list->ListItems().Count(); i < 2000; ++i)
            list->ListItems().Add({}, QStringLiteral("Device %1").arg(i));
    }
    emit main->Timer1->Tick(); // the captions take the new counts
    QApplication::processEvents();
    PaintCounter counter;
    for (int l = 0; l < 4; ++l) {
        main->List(l)->view()->viewport()->installEventFilter(&counter);
        main->List(l)->installEventFilter(&counter);
    }
    main->TabControl1->installEventFilter(&counter);
    for (auto _ : state) {
        emit main->Timer1->Tick();
        QApplication::processEvents();
    }
    state.counters["paints"] = counter.paints;
    UnloadEverything();
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_IdleCaptionTickFourLists2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A device of ten IDs, each of which the bundled database knows.
void BM_Lookup10Ids(benchmark::State &state)
{
    runtime::App::setPath(ProgramFolder());
    ModDatabase::OpenDatabase();
    QString ids;
    {
        const auto rows = ModDatabase::OpenQuery(ModDatabase::HwidsRecordset,
                                                 QStringLiteral("SELECT * FROM hwids Where [hwids].[hwid] LIKE 'PCI\\VEN_8086&DEV_1%' LIMIT 10"));
        for (int i = 0; i < rows->recordCount(); ++i, rows->moveNext())
            ids += rows->field(QStringLiteral("hwid")).value().toString() + QStringLiteral("\r\n");
    }
    int found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QPointer<FrmLookup> lookup = new FrmLookup();
        lookup->Show();
        lookup->SetDevice(QStringLiteral("Bench"), ids);
        // The start timer fires after 1 ms instead of 100: what is timed is its handler up to
        // the list shown (the 1 ms wait included).
        lookup->TimerStart->setInterval(1);
        QApplication::processEvents();
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        lookup->StartLookup();
        while (lookup && !lookup->TimerStatus->Enabled())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        state.PauseTiming();
        found = lookup->LabelListViewHardware->ListItems().Count();
        runtime::Unload(lookup);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["rows"] = found;
    state.counters["ids"] = ids.count(QStringLiteral("\r\n"));
    ModDatabase::CloseDatabase();
}
BENCHMARK(BM_Lookup10Ids)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

} // namespace

// Speed of the improve window on the bundled hwids.mdb, with its handlers attached: a scan of
// 2,000 rows (the device scan alone, and with the keyword and database test that thins it; the
// test's own cost is the difference) and a submission of 2,000 rows (database insert and
// new_hardware.txt; the upload is refused at once). Each runs with the window loaded only, and
// shown, where every repaint of its status texts also goes through the window's colour key.
#include "../tests/support/GivenMachine.h"

#include "components/SuiteListView.h"
#include "core/ModDatabase.h"
#include "core/ModMain.h"
#include "core/ModSubmission.h"
#include "core/Modini.h"
#include "os/Registry.h"
#include "os/WinInet.h"
#include "os/Wmi.h"
#include "runtime/App.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "windows/FrmImprove.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <memory>

namespace {

constexpr int kRows = 2000;

QString bundledFolder()
{
    // Benchmarks run from <build>/benchmarks; the program folder is <build>/bin.
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")).absolutePath();
}

struct Triple {
    QString hardwareId, name, maker;
};

// Hardware IDs the bundled database knows, with the first name and maker it holds for each.
std::vector<Triple> knownTriples(const QString &database, int count)
{
    std::vector<Triple> out;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(database).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return out;
    }
    const char *sql = "SELECT h.hwid, d.devicename, m.mfg FROM hwids h "
                      "JOIN devicenames d ON d.ID = CAST(substr(h.info, 1, instr(h.info, ',') - 1) AS INTEGER) "
                      "JOIN mfgs m ON m.ID = CAST(substr(h.info, instr(h.info, ',') + 1, instr(h.info, char(13)) - instr(h.info, ',') - 1) AS INTEGER) "
                      "WHERE h.hwid LIKE 'PCI%' LIMIT ?";
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) {
        sqlite3_bind_int(statement, 1, count);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto text = [&](int column) { return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column))); };
            out.push_back({text(0), text(1), text(2)});
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return out;
}

// A machine of kRows working devices with one hardware ID each: half of them known to the
// bundled database, half new to it.
os::Machine makeMachine(const std::vector<Triple> &known)
{
    os::Machine machine;
    for (int i = 0; i < kRows; ++i) {
        const bool isKnown = i % 2 == 0 && size_t(i / 2) < known.size();
        const Triple triple = isKnown ? known[size_t(i / 2)]
                                      : Triple{QStringLiteral("PCI\\VEN_F00D&DEV_%1&SUBSYS_%2").arg(i, 4, 16, QLatin1Char('0')).arg(i * 7, 8, 16, QLatin1Char('0')).toUpper(),
                                               QStringLiteral("Prototype Controller %1").arg(i), QStringLiteral("Benchmark Devices")};
        const QString deviceId = QStringLiteral("PCI\\DEVICE_%1\\3&11583659&0&00").arg(i);
        os::WmiObject object;
        object.set(QStringLiteral("DeviceID"), deviceId);
        object.set(QStringLiteral("Name"), triple.name);
        object.set(QStringLiteral("Manufacturer"), triple.maker);
        object.set(QStringLiteral("ConfigManagerErrorCode"), 0);
        machine.devices.push_back(object);
        machine.registry.setMultiString(os::HKEY_LOCAL_MACHINE, QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\") + deviceId,
                                        QStringLiteral("HardwareID"), {triple.hardwareId});
    }
    return machine;
}

// A program folder with copies of the bundled database and keyword file, the database open,
// the upload pointed at a port that refuses at once.
class ProgramFolder {
public:
    ProgramFolder()
    {
        for (const char *name : {"hwids.mdb", "improve_database_keywords_to_skip.txt"})
            QFile::copy(bundledFolder() + QLatin1Char('/') + QLatin1String(name), dir_.filePath(QLatin1String(name)));
        runtime::App::setPath(dir_.path());
        Modini::WriteIni(QStringLiteral("main"), QStringLiteral("WebServer"), QStringLiteral("http://127.0.0.1:9"));
        os::SetConnectedStateForTesting(true);
        ModDatabase::OpenDatabase();
    }
    ~ProgramFolder()
    {
        ModDatabase::CloseDatabase();
        os::SetConnectedStateForTesting(std::nullopt);
        runtime::App::setPath(QString());
    }
    // Puts back the bundled database, undoing a submission's inserts.
    void restoreDatabase()
    {
        ModDatabase::CloseDatabase();
        QFile::remove(dir_.filePath(QStringLiteral("hwids.mdb")));
        QFile::copy(bundledFolder() + QStringLiteral("/hwids.mdb"), dir_.filePath(QStringLiteral("hwids.mdb")));
        ModDatabase::OpenDatabase();
    }

private:
    QTemporaryDir dir_;
};

void useBenchMachine()
{
    os::setMachineSource(std::make_unique<testsupport::GivenMachine>(makeMachine(knownTriples(bundledFolder() + QStringLiteral("/hwids.mdb"), kRows / 2))));
}

// Loaded with its handlers and timers attached; shown too when asked (every repaint of a shown
// window then also recomputes its colour-key mask).
FrmImprove *loadWindow(bool shown)
{
    FrmImprove *form = runtime::Forms::Get<FrmImprove>();
    if (shown)
        form->Show();
    return form;
}

void unloadWindow(FrmImprove *form)
{
    runtime::Unload(form);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The device scan alone, into the window's list hidden as the scan hides it: what the full scan
// below spends before its keyword and database test.
void BM_DeviceScan2000(benchmark::State &state)
{
    ProgramFolder folder;
    useBenchMachine();
    FrmImprove *form = loadWindow(state.range(0) != 0);
    form->ListViewHardware->setVisible(false);
    for (auto _ : state) {
        state.PauseTiming();
        form->ListViewHardware->ListItems().Clear();
        state.ResumeTiming();
        ModSubmission::GetHardwareForSubmission(form->ListViewHardware, form->LabelStatus);
    }
    state.counters["rows"] = form->ListViewHardware->ListItems().Count();
    unloadWindow(form);
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_DeviceScan2000)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// "1. Scan Hardware" as the user clicks it: the device scan, then the keyword and database test
// of every row against the bundled database.
void BM_ScanAndDatabaseTest2000(benchmark::State &state)
{
    ProgramFolder folder;
    useBenchMachine();
    int left = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FrmImprove *form = loadWindow(state.range(0) != 0);
        state.ResumeTiming();
        form->CommandGetHardware_Click();
        state.PauseTiming();
        left = form->ListViewHardware->ListItems().Count();
        unloadWindow(form);
        state.ResumeTiming();
    }
    state.counters["rows_left"] = left;
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_ScanAndDatabaseTest2000)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// "2. Add to Database & Submit" of 2,000 new rows: the inserts, new_hardware.txt and a refused
// upload.
void BM_Submit2000(benchmark::State &state)
{
    ProgramFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        folder.restoreDatabase();
        FrmImprove *form = loadWindow(state.range(0) != 0);
        for (int i = 0; i < kRows; ++i) {
            const QString id = QStringLiteral("PCI\\VEN_F00D&DEV_%1&SUBSYS_00000000").arg(i, 4, 16, QLatin1Char('0')).toUpper();
            const QString name = QStringLiteral("Prototype Controller %1").arg(i);
            SuiteListItem *row = form->ListViewHardware->ListItems().Add(ModSubmission::SubmissionKey(name, "Benchmark Devices", id), name);
            row->setSubItems(1, QStringLiteral("Benchmark Devices"));
            row->setSubItems(2, id);
        }
        state.ResumeTiming();
        form->CommandSaveSubmit_Click();
        state.PauseTiming();
        unloadWindow(form);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Submit2000)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

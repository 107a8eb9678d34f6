// The inventory's speed: the scan of a saved machine of 1,000 to 10,000 devices into four hidden
// lists (per device, to show it stays linear), the
// load of that machine's files beside files of hostile shapes (one very wide CSV record, one key
// of very many values), and the live scan of this machine beside lspci -nn and lsusb, timed in
// the same run.

#include "components/SuiteListView.h"
#include "core/ModHardware.h"
#include "core/ModMain.h"
#include "os/LiveMachine.h"
#include "os/RegFile.h"
#include "os/SnapshotMachine.h"
#include "os/Wmi.h"
#include "runtime/Label.h"
#include "support/GeneratedMachine.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <time.h>

namespace {

// The saved machine the load benchmarks read.
constexpr int kDevices = 2000;

// The thread's CPU time.
double cpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

void BM_GetHardwareSavedMachine(benchmark::State &state)
{
    const int devices = int(state.range(0));
    QTemporaryDir dir;
    os::setMachineSource(std::make_unique<os::SnapshotMachine>(benchsupport::MakeSavedMachine(dir, devices)));
    ModMain::SystemFolder = QStringLiteral(KESTROVA_FIXTURES "/../../data/program/system32/");
    QWidget window;
    std::vector<SuiteListView *> lists;
    for (const char *name : {"ListViewHardware", "ListViewNoDrivers", "ListViewProblems", "ListViewNoSystemDevices"}) {
        auto *list = new SuiteListView(&window, name);
        for (int i = 0; i < 6; ++i)
            list->ColumnHeaders().Add({}, QStringLiteral("C%1").arg(i), 1500);
        list->setVisible(false);
        lists.push_back(list);
    }
    auto *status = new runtime::Label(&window, "LabelStatus");
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (SuiteListView *list : lists)
            list->ListItems().Clear();
        state.ResumeTiming();
        const double started = cpuSeconds();
        ModHardware::GetHardware(lists[0], lists[1], lists[2], lists[3], status);
        cpu += cpuSeconds() - started;
    }
    state.counters["rows"] = lists[0]->ListItems().Count();
    state.counters["per_device"] = benchmark::Counter(double(devices) * double(state.iterations()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["cpu_per_device_us"] = 1e6 * cpu / (double(devices) * double(state.iterations()));
    os::setMachineSource(nullptr);
}
BENCHMARK(BM_GetHardwareSavedMachine)->Arg(1000)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The saved machine's two files read into devices and a registry, without the scan.
void BM_LoadSavedMachine2000(benchmark::State &state)
{
    QTemporaryDir dir;
    os::SnapshotMachine machine(benchsupport::MakeSavedMachine(dir, kDevices));
    std::size_t devices = 0;
    for (auto _ : state) {
        os::Machine read = machine.read();
        devices = read.devices.size();
        benchmark::DoNotOptimize(read);
    }
    state.counters["devices"] = double(devices);
    state.counters["bytes"] = double(readFile(dir.filePath("pnpentity.csv")).size() + readFile(dir.filePath("registry.reg")).size());
}
BENCHMARK(BM_LoadSavedMachine2000)->Unit(benchmark::kMillisecond);

// A CSV of one device whose header and record fill the given size with columns.
void BM_LoadWideCsv(benchmark::State &state)
{
    const qsizetype size = state.range(0) * 1024;
    QByteArray header = "\"DeviceID\"";
    QByteArray record = "\"PCI\\VEN_8086&DEV_0001\"";
    for (int i = 0; header.size() + record.size() < size; ++i) {
        header += ",\"P" + QByteArray::number(i) + '"';
        record += ",\"" + QByteArray::number(i) + '"';
    }
    const QByteArray csv = header + "\r\n" + record + "\r\n";
    std::size_t properties = 0;
    for (auto _ : state) {
        const std::vector<os::WmiObject> devices = os::SnapshotMachine::devicesFromCsv(csv);
        properties = devices.empty() ? 0 : devices.front().properties().size();
        benchmark::DoNotOptimize(devices);
    }
    state.counters["columns"] = double(properties);
}
BENCHMARK(BM_LoadWideCsv)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

// A .reg export of one key whose values fill the given size.
void BM_LoadBigRegKey(benchmark::State &state)
{
    const qsizetype size = state.range(0) * 1024;
    QByteArray reg = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Big]\r\n";
    for (int i = 0; reg.size() < size; ++i)
        reg += "\"Value" + QByteArray::number(i) + "\"=dword:" + QByteArray::number(i, 16).rightJustified(8, '0') + "\r\n";
    int values = 0;
    for (auto _ : state) {
        os::RegistryTree tree;
        values = os::readRegFile(reg, tree).values;
        benchmark::DoNotOptimize(tree);
    }
    state.counters["values"] = values;
}
BENCHMARK(BM_LoadBigRegKey)->Arg(512)->Arg(2048)->Unit(benchmark::kMillisecond);

void BM_LiveScanThisMachine(benchmark::State &state)
{
    os::LiveMachine live;
    std::size_t devices = 0;
    for (auto _ : state) {
        os::Machine machine = live.read();
        devices = machine.devices.size();
        benchmark::DoNotOptimize(machine);
    }
    state.counters["devices"] = double(devices);
}
BENCHMARK(BM_LiveScanThisMachine)->Unit(benchmark::kMillisecond)->UseRealTime();

void runTool(benchmark::State &state, const char *tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty()) {
        state.SkipWithError("not installed");
        return;
    }
    for (auto _ : state) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        benchmark::DoNotOptimize(process.readAllStandardOutput());
    }
}

void BM_LspciNN(benchmark::State &state)
{
    runTool(state, "lspci", {QStringLiteral("-nn")});
}
BENCHMARK(BM_LspciNN)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Lsusb(benchmark::State &state)
{
    runTool(state, "lsusb", {});
}
BENCHMARK(BM_Lsusb)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

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

const char *const kClasses[][2] = {
    {"{4d36e97d-e325-11ce-bfc1-08002be10318}", "System devices"},
    {"{4d36e972-e325-11ce-bfc1-08002be10318}", "Network adapters"},
    {"{36fc9e60-c465-11cf-8056-444553540000}", "Universal Serial Bus controllers"},
    {"{745a17a0-74d3-11d0-b6fe-00a0c90f57da}", "Human Interface Devices"},
    {"{4d36e968-e325-11ce-bfc1-08002be10318}", "Display adapters"},
};

QString hex(const QString &text)
{
    QString out;
    for (const QChar ch : text)
        out += QStringLiteral("%1,%2,").arg(ch.unicode() & 0xFF, 2, 16, QLatin1Char('0')).arg(ch.unicode() >> 8, 2, 16, QLatin1Char('0'));
    return out;
}

// A saved machine of `devices` devices: every tenth without a driver, every seventh a standard
// system device, each with two hardware IDs and a driver key.
QString makeMachine(const QTemporaryDir &dir, int devices = kDevices)
{
    QString csv = QStringLiteral("#TYPE Microsoft.Management.Infrastructure.CimInstance#root/cimv2/Win32_PnPEntity\r\n"
                                 "\"Name\",\"ConfigManagerErrorCode\",\"DeviceID\",\"ClassGuid\",\"Manufacturer\"\r\n");
    QString reg = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
    for (const auto &cls : kClasses) {
        reg += QStringLiteral("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\%1]\r\n@=\"%2\"\r\n\"Icon\"=\"-27\"\r\n\r\n")
                   .arg(QLatin1String(cls[0]), QLatin1String(cls[1]));
    }
    for (int i = 0; i < devices; ++i) {
        const QString id = QStringLiteral("PCI\\VEN_8086&DEV_%1&SUBSYS_00000000&REV_01\\3&11583659&0&%2")
                               .arg(i, 4, 16, QLatin1Char('0')).arg(i % 256, 2, 16, QLatin1Char('0')).toUpper();
        const bool broken = i % 10 == 0;
        const QString guid = QLatin1String(kClasses[i % 5][0]);
        const QString maker = i % 7 == 0 ? QStringLiteral("(Standard system devices)") : QStringLiteral("Intel");
        csv += QStringLiteral("\"Device %1\",\"%2\",\"%3\",\"%4\",%5\r\n")
                   .arg(i)
                   .arg(broken ? 28 : 0)
                   .arg(id, broken ? QString() : guid, broken ? QString() : QStringLiteral("\"") + maker + '"');
        const QString ids = hex(id.section('\\', 0, 1)) + QStringLiteral("00,00,")
                            + hex(id.section('\\', 0, 1).section('&', 0, 1)) + QStringLiteral("00,00,00,00");
        reg += QStringLiteral("[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\%1]\r\n\"HardwareID\"=hex(7):%2\r\n").arg(id, ids);
        if (!broken) {
            const QString driver = guid + QStringLiteral("\\%1").arg(i, 4, 10, QLatin1Char('0'));
            reg += QStringLiteral("\"Driver\"=\"%1\"\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\%2]\r\n"
                                  "\"DriverVersion\"=\"10.0.19041.%3\"\r\n")
                       .arg(QString(driver).replace("\\", "\\\\"), driver)
                       .arg(i);
        }
        reg += QStringLiteral("\r\n");
    }
    QFile csvFile(dir.filePath("pnpentity.csv"));
    csvFile.open(QIODevice::WriteOnly);
    csvFile.write(csv.toUtf8());
    QFile regFile(dir.filePath("registry.reg"));
    regFile.open(QIODevice::WriteOnly);
    regFile.write(reg.toUtf8());
    return dir.path();
}

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
    os::setMachineSource(std::make_unique<os::SnapshotMachine>(makeMachine(dir, devices)));
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
    os::SnapshotMachine machine(makeMachine(dir));
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

// Whole-process start-up against its floor: the program from process start to the first turn of
// the message loop after the first scan (its lists filled), beside a plain Qt Widgets program
// doing the same work (support/plain_floor.cpp) to the same point, run in pairs (floor, program,
// floor, program, ...) in the same run, offscreen and under an Xvfb server of the benchmark's
// own, on this machine and on the saved 121-device machine, and once more with hwids.mdb touched
// before each start of the program (a changed file is checked again). Reported: the medians, the
// ratio of the program less the design's 100 ms start-up timer to the floor, and the peak
// resident sizes.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <time.h>

namespace {

constexpr double kStartupTimerMs = 100;

qint64 monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

struct Finish {
    double ms = 0;
    double peakMiB = 0;
};

// Runs one process to its finish line; nothing when it did not reach it.
std::optional<Finish> runToFinish(const QString &program, QProcessEnvironment environment)
{
    QTemporaryDir dir;
    const QString finishFile = dir.filePath(QStringLiteral("finish"));
    environment.insert(QStringLiteral("KESTROVA_FINISH_FILE"), finishFile);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 started = monotonicNs();
    process.start(program, {});
    if (!process.waitForFinished(60'000))
        return std::nullopt;
    QFile finish(finishFile);
    if (!finish.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> fields = finish.readAll().trimmed().split(' ');
    if (fields.size() != 2)
        return std::nullopt;
    return Finish{(fields[0].toLongLong() - started) / 1e6, fields[1].toDouble() / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// An X server of the benchmark's own, on a display number it picks itself.
class Xvfb {
public:
    Xvfb()
    {
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                                QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                                QStringLiteral("tcp")});
        if (m_server.waitForStarted(10'000) && m_server.waitForReadyRead(10'000))
            m_display = QStringLiteral(":") + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~Xvfb()
    {
        m_server.terminate();
        m_server.waitForFinished(5'000);
    }
    const QString &display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

enum class Screen { Offscreen, Xvfb };
enum class Machine { This, Saved };
enum class Database { Settled, Changed };

// Gives the program's database file new times, as a copy over it or an install would.
bool touchDatabase(const QString &program)
{
    const QByteArray database = QFile::encodeName(QFileInfo(program).absolutePath() + QStringLiteral("/hwids.mdb"));
    return ::utimensat(AT_FDCWD, database.constData(), nullptr, 0) == 0;
}

void StartUpAgainstFloor(benchmark::State &state, Screen screen, Machine machine, Database database = Database::Settled)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    std::optional<Xvfb> server;
    if (screen == Screen::Xvfb) {
        server.emplace();
        if (server->display().isEmpty()) {
            state.SkipWithError("Xvfb did not start");
            return;
        }
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), server->display());
    } else {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    environment.remove(QStringLiteral("KESTROVA_MACHINE"));
    if (machine == Machine::Saved)
        environment.insert(QStringLiteral("KESTROVA_MACHINE"), QStringLiteral(KESTROVA_FIXTURES "/machines/win10-desktop"));

    // Another build of the program (an earlier version, say) may be measured in its place.
    const QString program = qEnvironmentVariable("KESTROVA_BENCH_PROGRAM", QStringLiteral(KESTROVA_PROGRAM));
    std::vector<double> floorMs, programMs, floorPeak, programPeak;
    for (auto _ : state) {
        const std::optional<Finish> floor = runToFinish(QStringLiteral(KESTROVA_FLOOR), environment);
        if (database == Database::Changed && !touchDatabase(program)) {
            state.SkipWithError("hwids.mdb could not be touched");
            return;
        }
        const std::optional<Finish> start = runToFinish(program, environment);
        if (!floor || !start) {
            state.SkipWithError("a process did not reach its finish line");
            return;
        }
        state.SetIterationTime(start->ms / 1e3);
        floorMs.push_back(floor->ms);
        programMs.push_back(start->ms);
        floorPeak.push_back(floor->peakMiB);
        programPeak.push_back(start->peakMiB);
    }
    const double baseMs = median(floorMs);
    const double startMs = median(programMs);
    state.counters["floor_ms"] = baseMs;
    state.counters["program_ms"] = startMs;
    state.counters["ratio_less_timer"] = baseMs > 0 ? (startMs - kStartupTimerMs) / baseMs : 0;
    state.counters["floor_peak_MiB"] = median(floorPeak);
    state.counters["program_peak_MiB"] = median(programPeak);
    state.counters["program_peak_max_MiB"] = *std::max_element(programPeak.begin(), programPeak.end());
}

void BM_StartUpOffscreenThisMachine(benchmark::State &state) { StartUpAgainstFloor(state, Screen::Offscreen, Machine::This); }
void BM_StartUpOffscreenSavedMachine(benchmark::State &state) { StartUpAgainstFloor(state, Screen::Offscreen, Machine::Saved); }
void BM_StartUpXvfbThisMachine(benchmark::State &state) { StartUpAgainstFloor(state, Screen::Xvfb, Machine::This); }
void BM_StartUpXvfbSavedMachine(benchmark::State &state) { StartUpAgainstFloor(state, Screen::Xvfb, Machine::Saved); }
void BM_StartUpOffscreenChangedDatabase(benchmark::State &state)
{
    StartUpAgainstFloor(state, Screen::Offscreen, Machine::This, Database::Changed);
}

BENCHMARK(BM_StartUpOffscreenThisMachine)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(11);
BENCHMARK(BM_StartUpOffscreenSavedMachine)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(11);
BENCHMARK(BM_StartUpXvfbThisMachine)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(11);
BENCHMARK(BM_StartUpXvfbSavedMachine)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(11);
BENCHMARK(BM_StartUpOffscreenChangedDatabase)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(11);

} // namespace

// Speed of a database download and install: a 20 MB file from a local server at the default
// CHUNK of 1024 with the update window's handlers attached, beside `curl -o` of the same file;
// the install (unpack and swap) of an archive of the bundled database; and the CPU time the
// program spends while a server sends one byte a second for ten seconds.
#include "update/DatabaseInstall.h"
#include "update/DownLoad.h"
#include "update/FrmUpdate.h"

#include "../tests/support/LocalHttpServer.h"
#include "components/Inet.h"
#include "components/Zentrax.h"
#include "runtime/App.h"
#include "runtime/Forms.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using namespace std::chrono_literals;

constexpr int kFileSize = 20 * 1024 * 1024;

const std::string &twentyMegabytes()
{
    static const std::string body = [] {
        std::string bytes(kFileSize, '\0');
        for (int i = 0; i < kFileSize; ++i)
            bytes[i] = char(i * 131 + (i >> 11));
        return bytes;
    }();
    return body;
}

testsupport::LocalHttpServer &server()
{
    static testsupport::LocalHttpServer instance([](httplib::Server &http, testsupport::LocalHttpServer &self) {
        http.Get("/big.bin", [](const httplib::Request &, httplib::Response &response) {
            response.set_content(twentyMegabytes(), "application/octet-stream");
        });
        // Ten bytes, one a second.
        http.Get("/trickle.bin", [&self](const httplib::Request &, httplib::Response &response) {
            response.set_content_provider(10, "application/octet-stream", [&self](size_t, size_t, httplib::DataSink &sink) {
                return self.pause(1s) && sink.write("t", 1);
            });
        });
    });
    return instance;
}

QString bundledFolder()
{
    // Benchmarks run from <build>/benchmarks; the program folder is <build>/bin.
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")).absolutePath();
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The update window loaded and shown, its download handlers attached; the install after the
// download is left out (it is measured apart).
class ShownUpdateWindow {
public:
    ShownUpdateWindow()
    {
        runtime::App::setPath(dir_.path());
        window_ = new FrmUpdate;
        runtime::Load(window_);
        window_->show();
        QObject::disconnect(window_->DL1(), &DownLoad::DLComplete, window_, nullptr);
    }
    ~ShownUpdateWindow()
    {
        if (window_)
            runtime::Unload(window_);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        runtime::App::setPath(QString());
    }
    void download(const QString &url)
    {
        DownLoad &dl = *window_->DL1();
        dl.setURL(url);
        dl.setSaveLocation(dir_.filePath(QStringLiteral("download.bin")));
        dl.GetFileInformation();
        dl.Download();
    }
    qint64 downloaded() const { return QFileInfo(dir_.filePath(QStringLiteral("download.bin"))).size(); }

private:
    QTemporaryDir dir_;
    QPointer<FrmUpdate> window_;
};

void BM_DownloadWithUpdateWindow(benchmark::State &state)
{
    const QString url = server().url(QStringLiteral("/big.bin"));
    ShownUpdateWindow window;
    for (auto _ : state) {
        window.download(url);
        if (window.downloaded() != kFileSize)
            state.SkipWithError("incomplete download");
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}
BENCHMARK(BM_DownloadWithUpdateWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same download with no window: what the control and the transfer cost by themselves.
void BM_DownloadControlAlone(benchmark::State &state)
{
    const QString url = server().url(QStringLiteral("/big.bin"));
    QTemporaryDir dir;
    QWidget host;
    DownLoad dl(&host, QStringLiteral("DL1"));
    dl.setSaveLocation(dir.filePath(QStringLiteral("download.bin")));
    for (auto _ : state) {
        dl.setURL(url);
        dl.GetFileInformation();
        dl.Download();
        if (QFileInfo(dl.SaveLocation()).size() != kFileSize)
            state.SkipWithError("incomplete download");
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}
BENCHMARK(BM_DownloadControlAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_CurlCommandLine(benchmark::State &state)
{
    const QString url = server().url(QStringLiteral("/big.bin"));
    QTemporaryDir dir;
    for (auto _ : state) {
        QProcess curl;
        curl.start(QStringLiteral("curl"), {QStringLiteral("-s"), QStringLiteral("-o"), dir.filePath(QStringLiteral("curl.bin")), url});
        curl.waitForFinished(-1);
        if (curl.exitCode() != 0)
            state.SkipWithError("curl failed");
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}
BENCHMARK(BM_CurlCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Ten seconds of a server that sends a byte a second: the CPU time the whole process used.
void BM_CpuWhileServerTrickles(benchmark::State &state)
{
    const QString url = server().url(QStringLiteral("/trickle.bin"));
    ShownUpdateWindow window;
    for (auto _ : state) {
        const double before = processCpuSeconds();
        const auto started = std::chrono::steady_clock::now();
        window.download(url);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        state.counters["cpu_s"] = processCpuSeconds() - before;
        state.counters["wall_s"] = wall;
        state.counters["cpu_percent"] = 100 * (processCpuSeconds() - before) / wall;
    }
}
BENCHMARK(BM_CpuWhileServerTrickles)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// Unpack the archive of the bundled database into the staging folder, check it and swap it in.
void BM_InstallBundledDatabase(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString pack = dir.filePath(QStringLiteral("pack"));
    const QString folder = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(pack);
    QDir().mkpath(folder);
    QFile::copy(bundledFolder() + QStringLiteral("/hwids.mdb"), pack + QStringLiteral("/hwids.mdb"));
    QProcess packer;
    packer.setWorkingDirectory(pack);
    packer.start(QStringLiteral("7zz"), {QStringLiteral("a"), QStringLiteral("-bso0"), QStringLiteral("-bsp0"),
                                         dir.filePath(QStringLiteral("hwids.7z")), QStringLiteral("hwids.mdb")});
    packer.waitForFinished(-1);
    state.counters["database_MB"] = QFileInfo(pack + QStringLiteral("/hwids.mdb")).size() / 1048576.0;
    state.counters["archive_MB"] = QFileInfo(dir.filePath(QStringLiteral("hwids.7z"))).size() / 1048576.0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(folder + QStringLiteral("/hwids.mdb"));
        QFile::copy(pack + QStringLiteral("/hwids.mdb"), folder + QStringLiteral("/hwids.mdb"));
        state.ResumeTiming();
        Zentrax zip;
        if (DatabaseInstall::Install(zip, dir.filePath(QStringLiteral("hwids.7z")), folder) != DatabaseInstall::Result::Installed)
            state.SkipWithError("install failed");
    }
}
BENCHMARK(BM_InstallBundledDatabase)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}

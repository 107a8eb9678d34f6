// Speed of the hardware-ID database on the bundled hwids.mdb: the lookup window's query, the
// improve window's membership test and insert, and the start-up's open and count, and the open
// alone.
#include "core/ModDatabase.h"

#include "runtime/App.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString bundledFolder()
{
    // Benchmarks run from <build>/benchmarks; the program folder is <build>/bin.
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")).absolutePath();
}

// A program folder with a copy of the bundled database, so that inserts leave the build's alone.
class Folder {
public:
    Folder()
    {
        QFile::copy(bundledFolder() + QStringLiteral("/hwids.mdb"), dir_.filePath(QStringLiteral("hwids.mdb")));
        runtime::App::setPath(dir_.path());
        ModDatabase::OpenDatabase();
    }
    ~Folder()
    {
        ModDatabase::CloseDatabase();
        runtime::App::setPath(QString());
    }

private:
    QTemporaryDir dir_;
};

// The IDs a chipset device reports, most specific first: the lookup window asks for all at once.
const QStringList kDeviceIds{
    QStringLiteral("PCI\\VEN_8086&DEV_1C3A&SUBSYS_04A31028&REV_04"), QStringLiteral("PCI\\VEN_8086&DEV_1C3A&SUBSYS_04A31028"),
    QStringLiteral("PCI\\VEN_8086&DEV_1C3A&CC_078000"), QStringLiteral("PCI\\VEN_8086&DEV_1C3A&CC_0780"),
    QStringLiteral("PCI\\VEN_8086&DEV_1C3A&REV_04"), QStringLiteral("PCI\\VEN_8086&DEV_1C3A"),
    QStringLiteral("PCI\\VEN_8086&CC_078000"), QStringLiteral("PCI\\VEN_8086&CC_0780"),
    QStringLiteral("PCI\\VEN_8086"), QStringLiteral("PCI\\CC_078000")};

QString lookupQuery()
{
    QString sql = QStringLiteral("SELECT * FROM hwids Where [hwids].[hwid] = '") + kDeviceIds.front() + QLatin1Char('\'');
    for (qsizetype i = 1; i < kDeviceIds.size(); ++i)
        sql += QStringLiteral(" OR [hwids].[hwid] = '") + kDeviceIds[i] + QLatin1Char('\'');
    return sql;
}

void BM_LookupQuery(benchmark::State &state)
{
    Folder folder;
    const QString sql = lookupQuery();
    int rows = 0;
    for (auto _ : state) {
        auto recordset = std::make_shared<ado::Recordset>();
        ModDatabase::HwidsRecordset = recordset;
        recordset->open(sql, *ModDatabase::DatabaseConnection, ado::CursorType::ForwardOnly, ado::LockType::Optimistic);
        rows = recordset->recordCount();
        for (int i = 0; i < rows; ++i) {
            benchmark::DoNotOptimize(recordset->field(QStringLiteral("hwid")).value());
            benchmark::DoNotOptimize(recordset->field(QStringLiteral("info")).value());
            recordset->moveNext();
        }
        recordset->close();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_LookupQuery)->Unit(benchmark::kMicrosecond);

// The query with the names and makers of every match, as the lookup window fills its list.
void BM_LookupWithNames(benchmark::State &state)
{
    Folder folder;
    const QString sql = lookupQuery();
    for (auto _ : state) {
        auto recordset = std::make_shared<ado::Recordset>();
        recordset->open(sql, *ModDatabase::DatabaseConnection, ado::CursorType::ForwardOnly, ado::LockType::Optimistic);
        for (int i = 0; i < recordset->recordCount(); ++i, recordset->moveNext()) {
            const QString info = recordset->field(QStringLiteral("info")).value().toString();
            for (const QString &line : info.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
                const QStringList ids = line.split(QLatin1Char(','));
                benchmark::DoNotOptimize(ModDatabase::GetDeviceNameByID(ids.value(0)));
                benchmark::DoNotOptimize(ModDatabase::GetManufacturerByID(ids.value(1)));
            }
        }
    }
}
BENCHMARK(BM_LookupWithNames)->Unit(benchmark::kMicrosecond);

void BM_IsHardwareInDatabase(benchmark::State &state)
{
    Folder folder;
    const QString line = QStringLiteral("PCI\\VEN_1AF4&DEV_1041|||Virtio 1.0 network device|||Red Hat, Inc.");
    for (auto _ : state)
        benchmark::DoNotOptimize(ModDatabase::IsHardwareInDatabase(line));
}
BENCHMARK(BM_IsHardwareInDatabase)->Unit(benchmark::kMicrosecond);

// New lines as a submission adds them: a new hardware ID each time, a new name now and then,
// makers that mostly exist already.
void BM_AddHardwareToDatabase(benchmark::State &state)
{
    Folder folder;
    int n = 0;
    for (auto _ : state) {
        ++n;
        ModDatabase::AddHardwareToDatabase(QStringLiteral("PCI\\VEN_F00D&DEV_%1|||Bench device %2|||%3")
                                               .arg(n, 4, 16, QLatin1Char('0'))
                                               .arg(n / 4)
                                               .arg(n % 8 == 0 ? QStringLiteral("Bench maker %1").arg(n) : QStringLiteral("Intel Corporation")));
    }
}
BENCHMARK(BM_AddHardwareToDatabase)->Unit(benchmark::kMillisecond);

// The start-up timer's work: open, then read the row count and the version, as the main window
// reads them (the count by COUNT(*), not a record set of every row).
void BM_OpenAndCount(benchmark::State &state)
{
    runtime::App::setPath(bundledFolder());
    int count = 0;
    for (auto _ : state) {
        ModDatabase::OpenDatabase();
        const auto hwids = ModDatabase::OpenQuery(ModDatabase::HwidsRecordset, QStringLiteral("SELECT COUNT(*) AS total FROM hwids"));
        const auto version = ModDatabase::OpenQuery(ModDatabase::VersionRecordset, QStringLiteral("SELECT * FROM version"));
        version->moveFirst();
        benchmark::DoNotOptimize(version->field(QStringLiteral("dbversion")).value());
        hwids->moveFirst();
        count = hwids->field(QStringLiteral("total")).value().toInt();
        version->close();
        hwids->close();
        ModDatabase::CloseDatabase();
    }
    state.counters["rows"] = count;
    runtime::App::setPath(QString());
}
BENCHMARK(BM_OpenAndCount)->Unit(benchmark::kMillisecond);

// The open alone, with the checks it makes of the file (integrity, the four tables): the part
// of the start-up that a damaged database must not get past.
void BM_OpenAndClose(benchmark::State &state)
{
    runtime::App::setPath(bundledFolder());
    for (auto _ : state) {
        ModDatabase::OpenDatabase();
        ModDatabase::CloseDatabase();
    }
    runtime::App::setPath(QString());
}
BENCHMARK(BM_OpenAndClose)->Unit(benchmark::kMillisecond);

}

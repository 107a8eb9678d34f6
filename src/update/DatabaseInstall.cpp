#include "update/DatabaseInstall.h"

#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"
#include "components/Zentrax.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <cstdio>

namespace DatabaseInstall {

namespace {

const QString kStagingName = QStringLiteral(".hwids-staging");

// Removes the staging folder whatever happens to the install.
struct StagingFolder {
    QString path;
    explicit StagingFolder(const QString &programFolder) : path(programFolder + QLatin1Char('/') + kStagingName)
    {
        QDir(path).removeRecursively();
    }
    ~StagingFolder() { QDir(path).removeRecursively(); }
};

// The staged files, paths relative to the staging folder, hwids.mdb last so that the database
// is replaced only once everything beside it is in place.
QStringList stagedFiles(const QString &staging)
{
    QStringList files;
    QDirIterator it(staging, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(staging).relativeFilePath(it.next()));
    files.sort();
    if (files.removeAll(QStringLiteral("hwids.mdb")) > 0)
        files.append(QStringLiteral("hwids.mdb"));
    return files;
}

} // namespace

bool IsHardwareIdDatabase(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    ado::Connection connection;
    connection.setCursorLocation(ado::CursorLocation::Client);
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                   + QDir::toNativeSeparators(path) + QLatin1Char(';'));
    if (!connection.open())
        return false;
    bool complete = true;
    for (const char *table : {"hwids", "devicenames", "mfgs", "version"}) {
        ado::Recordset rows;
        complete = complete && rows.open(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(QLatin1String(table)), connection);
        rows.close();
    }
    connection.close();
    return complete;
}

Result Install(Zentrax &zip, const QString &archivePath, const QString &programFolder)
{
    zip.LoadEngine(programFolder + QStringLiteral("/7za.dll"));
    if (!zip.Open(archivePath))
        return Result::OpenFailed;
    StagingFolder staging(programFolder);
    if (!zip.ExtractAll(staging.path) || !IsHardwareIdDatabase(staging.path + QStringLiteral("/hwids.mdb")))
        return Result::ExtractFailed;
    for (const QString &file : stagedFiles(staging.path)) {
        const QString target = programFolder + QLatin1Char('/') + file;
        if (!QDir().mkpath(QFileInfo(target).absolutePath())
            || std::rename(QFile::encodeName(staging.path + QLatin1Char('/') + file).constData(),
                           QFile::encodeName(target).constData())
                   != 0)
            return Result::ExtractFailed;
    }
    return Result::Installed;
}

} // namespace DatabaseInstall

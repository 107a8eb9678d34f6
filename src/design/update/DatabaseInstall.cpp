#include "update/DatabaseInstall.h"

#include "components/AdoSession.h"
#include "components/Zentrax.h"
#include "core/ModDatabase.h"
#include "runtime/App.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace DatabaseInstall {

namespace {

std::function<void()> &stepHook()
{
    static std::function<void()> hook;
    return hook;
}

void step()
{
    if (stepHook())
        stepHook()();
}

// A working folder of the install inside the program folder (on its disk, so that files move
// in and out by rename), emptied before use and removed afterwards unless it must be kept.
struct WorkFolder {
    QString path;
    bool keep = false;
    WorkFolder(const QString &programFolder, const QString &name) : path(runtime::JoinedPath(programFolder, name))
    {
        QDir(path).removeRecursively();
    }
    ~WorkFolder()
    {
        if (!keep)
            QDir(path).removeRecursively();
    }
};

bool moveFile(const QString &from, const QString &to)
{
    step();
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A second link of the file (of a link itself, not what it points to); a copy where the file
// system has no links.
bool keepFile(const QString &from, const QString &to)
{
    step();
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
           || (!QFileInfo(from).isSymLink() && QFile::copy(from, to));
}

// Makes the folder and the parents it lacks, adding each one made to `made` (outermost first).
bool makeFolders(const QString &folder, QStringList &made)
{
    QStringList missing;
    for (QString at = QDir::cleanPath(folder); !QFileInfo::exists(at); at = QFileInfo(at).path())
        missing.prepend(at);
    for (const QString &path : missing) {
        step();
        if (!QDir().mkdir(path))
            return false;
        made.append(path);
    }
    return QFileInfo(folder).isDir();
}

// Whether an entry's name is that of a side file of a database, in whatever folder: such a file
// beside a database changes what the engine does when it opens it.
bool isSideFileName(const QString &entry)
{
    const QString name = entry.section(QLatin1Char('/'), -1);
    return std::any_of(ado::kSideFileSuffixes.cbegin(), ado::kSideFileSuffixes.cend(),
                       [&name](const QString &suffix) { return name.endsWith(suffix, Qt::CaseInsensitive); });
}

bool existsOrLinks(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The staged files, paths relative to the staging folder, hwids.mdb last so that the database
// is replaced only once everything beside it is in place. Side files there are the check's own
// (the archive has none) and stay behind.
QStringList stagedFiles(const QString &staging)
{
    QStringList files;
    QDirIterator it(staging, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = QDir(staging).relativeFilePath(it.next());
        if (!isSideFileName(file))
            files.append(file);
    }
    files.sort();
    if (files.removeAll(ModDatabase::DatabaseFileName()) > 0)
        files.append(ModDatabase::DatabaseFileName());
    return files;
}

// The exchange of the staged files for the program folder's, undone as a whole unless it is
// committed.
class Swap {
public:
    Swap(const QString &programFolder, const QString &staging, WorkFolder &aside)
        : programFolder_(programFolder), staging_(staging), aside_(aside)
    {
    }
    Swap(const Swap &) = delete;
    Swap &operator=(const Swap &) = delete;
    ~Swap()
    {
        if (!committed_)
            rollBack();
    }

    // Keeps the old hwids.mdb in the aside folder before anything else changes: it is what
    // tells the next open, after a crash, that the install had not replaced the database yet.
    bool keepOldDatabase()
    {
        step();
        if (!QDir().mkpath(aside_.path))
            return false;
        const QString target = runtime::JoinedPath(programFolder_, ModDatabase::DatabaseFileName());
        return !existsOrLinks(target) || keepFile(target, runtime::JoinedPath(aside_.path, ModDatabase::DatabaseFileName()));
    }

    // Keeps the old file aside and renames the staged one over it. A folder where the file goes
    // is the user's and is never moved: that fails. Before hwids.mdb the side files beside it
    // are moved aside, so that none meets the new database.
    bool place(const QString &file)
    {
        const QString target = runtime::JoinedPath(programFolder_, file);
        const QFileInfo old(target);
        if (old.isDir() && !old.isSymLink())
            return false;
        if (!makeFolders(old.absolutePath(), madeFolders_))
            return false;
        if (file == ModDatabase::DatabaseFileName()) {
            for (const QString &suffix : ado::kSideFileSuffixes) {
                const QString side = file + suffix;
                if (existsOrLinks(runtime::JoinedPath(programFolder_, side))) {
                    if (!moveFile(runtime::JoinedPath(programFolder_, side), runtime::JoinedPath(aside_.path, side)))
                        return false;
                    steps_.push_back({side, Step::MovedAside});
                }
            }
        } else if (existsOrLinks(target)) {
            QStringList asideFolders;
            if (!makeFolders(QFileInfo(runtime::JoinedPath(aside_.path, file)).absolutePath(), asideFolders)
                || !keepFile(target, runtime::JoinedPath(aside_.path, file)))
                return false;
        }
        const bool replaces = existsOrLinks(file == ModDatabase::DatabaseFileName() ? runtime::JoinedPath(aside_.path, file) : target);
        if (!moveFile(runtime::JoinedPath(staging_, file), target))
            return false;
        steps_.push_back({file, replaces ? Step::Replaced : Step::Added});
        return true;
    }

    // The new files stay; the old database is let go first, so that a crash in what follows
    // leaves the new one standing.
    void commit()
    {
        committed_ = true;
        step();
        QFile::remove(runtime::JoinedPath(aside_.path, ModDatabase::DatabaseFileName()));
    }

private:
    struct Step {
        enum Kind { MovedAside, Replaced, Added };
        QString file;
        Kind kind;
    };

    // Last step first: each old file back over the new one (or the new one removed where there
    // was none), then the folders the swap made. An old file that cannot go back stays in the
    // aside folder.
    void rollBack()
    {
        for (auto done = steps_.rbegin(); done != steps_.rend(); ++done) {
            const QString target = runtime::JoinedPath(programFolder_, done->file);
            if (done->kind == Step::Added)
                QFile::remove(target);
            else if (std::rename(QFile::encodeName(runtime::JoinedPath(aside_.path, done->file)).constData(), QFile::encodeName(target).constData()) != 0)
                aside_.keep = true;
        }
        for (auto folder = madeFolders_.crbegin(); folder != madeFolders_.crend(); ++folder)
            QDir().rmdir(*folder);
    }

    const QString programFolder_;
    const QString staging_;
    WorkFolder &aside_;
    std::vector<Step> steps_;
    QStringList madeFolders_;
    bool committed_ = false;
};

} // namespace

void SetStepHookForTesting(std::function<void()> hook)
{
    stepHook() = std::move(hook);
}

Result Install(Zentrax &zip, const QString &archivePath, const QString &programFolder)
{
    zip.LoadEngine(runtime::JoinedPath(programFolder, QStringLiteral("7za.dll")));
    if (!zip.Open(archivePath) || std::any_of(zip.entries().cbegin(), zip.entries().cend(), isSideFileName))
        return Result::OpenFailed;
    step();
    WorkFolder staging(programFolder, ModDatabase::InstallStagingFolder());
    step();
    if (!zip.ExtractAll(staging.path))
        return Result::ExtractFailed;
    step();
    if (!ModDatabase::IsInstallableHardwareIdDatabase(runtime::JoinedPath(staging.path, ModDatabase::DatabaseFileName())))
        return Result::ExtractFailed;
    WorkFolder aside(programFolder, ModDatabase::InstallAsideFolder());
    Swap swap(programFolder, staging.path, aside);
    if (!swap.keepOldDatabase())
        return Result::OpenFailed;
    for (const QString &file : stagedFiles(staging.path)) {
        if (!swap.place(file))
            return Result::OpenFailed;
    }
    swap.commit();
    step();
    return Result::Installed;
}

} // namespace DatabaseInstall

#include "update/DatabaseInstall.h"

#include "components/Zentrax.h"
#include "core/ModDatabase.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <cstdio>
#include <vector>

namespace DatabaseInstall {

namespace {

const QString kStagingName = QStringLiteral(".hwids-staging");
const QString kAsideName = QStringLiteral(".hwids-aside");
const QString kDatabaseName = QStringLiteral("hwids.mdb");

// A working folder of the install inside the program folder (on its disk, so that files move
// in and out by rename), emptied before use and removed afterwards unless it must be kept.
struct WorkFolder {
    QString path;
    bool keep = false;
    WorkFolder(const QString &programFolder, const QString &name) : path(programFolder + QLatin1Char('/') + name)
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
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Makes the folder and the parents it lacks, adding each one made to `made` (outermost first).
bool makeFolders(const QString &folder, QStringList &made)
{
    QStringList missing;
    for (QString at = QDir::cleanPath(folder); !QFileInfo::exists(at); at = QFileInfo(at).path())
        missing.prepend(at);
    for (const QString &path : missing) {
        if (!QDir().mkdir(path))
            return false;
        made.append(path);
    }
    return QFileInfo(folder).isDir();
}

// The staged files, paths relative to the staging folder, hwids.mdb last so that the database
// is replaced only once everything beside it is in place.
QStringList stagedFiles(const QString &staging)
{
    QStringList files;
    QDirIterator it(staging, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(staging).relativeFilePath(it.next()));
    files.sort();
    if (files.removeAll(kDatabaseName) > 0)
        files.append(kDatabaseName);
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

    // Sets the old file aside and puts the staged one in its place. A folder where the file
    // goes is the user's and is never moved: that fails.
    bool place(const QString &file)
    {
        const QString target = programFolder_ + QLatin1Char('/') + file;
        const QFileInfo old(target);
        if (old.isDir() && !old.isSymLink())
            return false;
        if (!makeFolders(old.absolutePath(), madeFolders_))
            return false;
        Step step{file, false, false};
        if (old.exists() || old.isSymLink()) {
            QStringList asideFolders;
            if (!makeFolders(QFileInfo(aside_.path + QLatin1Char('/') + file).absolutePath(), asideFolders)
                || !moveFile(target, aside_.path + QLatin1Char('/') + file))
                return false;
            step.setAside = true;
        }
        steps_.push_back(step);
        if (!moveFile(staging_ + QLatin1Char('/') + file, target))
            return false;
        steps_.back().placed = true;
        return true;
    }

    void commit() { committed_ = true; }

private:
    struct Step {
        QString file;
        bool setAside;
        bool placed;
    };

    // Last step first: the new file back to the staging folder, the old one back in its place,
    // then the folders the swap made. An old file that cannot go back stays in the aside folder.
    void rollBack()
    {
        for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
            const QString target = programFolder_ + QLatin1Char('/') + step->file;
            if (step->placed && !moveFile(target, staging_ + QLatin1Char('/') + step->file))
                QFile::remove(target);
            if (step->setAside && !moveFile(aside_.path + QLatin1Char('/') + step->file, target))
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

Result Install(Zentrax &zip, const QString &archivePath, const QString &programFolder)
{
    zip.LoadEngine(programFolder + QStringLiteral("/7za.dll"));
    if (!zip.Open(archivePath))
        return Result::OpenFailed;
    WorkFolder staging(programFolder, kStagingName);
    if (!zip.ExtractAll(staging.path) || !ModDatabase::IsSoundHardwareIdDatabase(staging.path + QLatin1Char('/') + kDatabaseName))
        return Result::ExtractFailed;
    WorkFolder aside(programFolder, kAsideName);
    Swap swap(programFolder, staging.path, aside);
    for (const QString &file : stagedFiles(staging.path)) {
        if (!swap.place(file))
            return Result::ExtractFailed;
    }
    swap.commit();
    return Result::Installed;
}

} // namespace DatabaseInstall

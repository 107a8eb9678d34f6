#include "components/AdoIntegrityStamp.h"

#include "os/RegularFile.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

namespace ado {

namespace {

constexpr char kMagic[] = "kestrova-integrity-stamp 1";
// The stamp is one short line; anything longer is not one.
constexpr qint64 kMaxStampBytes = 256;

QByteArray encode(const FileState &state)
{
    return QByteArray(kMagic) + ' ' + QByteArray::number(state.device) + ' ' + QByteArray::number(state.inode) + ' '
           + QByteArray::number(state.size) + ' ' + QByteArray::number(state.modifiedNs) + ' '
           + QByteArray::number(state.changedNs) + '\n';
}

qint64 nanoseconds(const timespec &time) { return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

}

std::optional<FileState> fileStateOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileState{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size), nanoseconds(info.st_mtim),
                     nanoseconds(info.st_ctim)};
}

bool isSettled(const FileState &state, qint64 nowNs) { return nowNs - state.modifiedNs > kSettleNs; }

IntegrityStamp::IntegrityStamp(const QString &databasePath)
    : m_databasePath(databasePath), m_path(databasePath + QStringLiteral("-checked"))
{
}

bool IntegrityStamp::vouchesFor(const FileState &state) const
{
    // Anything but a regular file under the stamp's name is no stamp: a pipe would hold the
    // open until a writer came.
    return os::ReadRegularFile(m_path, kMaxStampBytes) == encode(state);
}

void IntegrityStamp::record(const FileState &state, qint64 nowNs) const
{
    if (!isSettled(state, nowNs))
        return;
    // Written beside and renamed into place, so that the name itself is replaced whatever stands
    // there: a save through a link would overwrite the link's target, wherever that is.
    QTemporaryFile file(m_path + QStringLiteral(".XXXXXX"));
    if (!file.open() || file.write(encode(state)) <= 0 || !file.flush())
        return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(m_path).constData()) == 0)
        file.setAutoRemove(false);
}

void IntegrityStamp::carryOver(const FileState &vouched, qint64 nowNs) const
{
    const std::optional<FileState> now = fileStateOf(m_databasePath);
    if (!now || *now == vouched || now->device != vouched.device || now->inode != vouched.inode || now->size != vouched.size)
        return;
    const timespec times[2] = {{0, UTIME_OMIT},
                               {time_t(vouched.modifiedNs / 1'000'000'000), long(vouched.modifiedNs % 1'000'000'000)}};
    if (::utimensat(AT_FDCWD, QFile::encodeName(m_databasePath).constData(), times, 0) != 0)
        return;
    if (const std::optional<FileState> after = fileStateOf(m_databasePath); after && after->modifiedNs == vouched.modifiedNs)
        record(*after, nowNs);
}

} // namespace ado

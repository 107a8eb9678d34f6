#pragma once

#include <QString>

#include <optional>

namespace ado {

// What the file system tells of a file's identity and its last change. Any write to the file, or
// its replacement by another file, changes it.
struct FileState {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    bool operator==(const FileState &) const = default;
};

std::optional<FileState> fileStateOf(const QString &path);

// The file system's clock moves in ticks (a few milliseconds, seconds on some), so a file written
// again within the tick of its last write may keep its state. Only a file whose last write is
// older than this is vouched for.
inline constexpr qint64 kSettleNs = 3'000'000'000;
bool isSettled(const FileState &state, qint64 nowNs);

// The remembered outcome of the engine's full integrity check of one database file: a small file
// beside it ("<database>-checked") holding the file's state when it last passed. Reading every
// page costs most of an open and lifts the resident size by the whole file; a file whose state is
// unchanged since it passed is not read again.
class IntegrityStamp {
public:
    explicit IntegrityStamp(const QString &databasePath);

    // Whether the stamp records exactly this state. Only a regular file is read as the stamp:
    // anything else under its name (a pipe, a device, a folder) vouches for nothing.
    bool vouchesFor(const FileState &state) const;
    // Records a state that has just passed the check, when it is settled; a folder that cannot be
    // written keeps no stamp, and every open checks in full there. Whatever stood under the
    // stamp's name is replaced, never written through (a link's target stays as it was).
    void record(const FileState &state, qint64 nowNs) const;

    // A connection that only read still rewrote the file's header on its way into the
    // write-ahead log and out of it again: the change counter and the version number kept with
    // it move on, no page of content changes, and the times are new. When the file is the one
    // `vouched` describes but for those times, its modification time is put back and the state
    // it has now is recorded: a write after this one moves the modification time again, however
    // soon it comes.
    void carryOver(const FileState &vouched, qint64 nowNs) const;

    const QString &path() const { return m_path; }

private:
    QString m_databasePath;
    QString m_path;
};

} // namespace ado

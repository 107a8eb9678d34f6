#pragma once

#include "components/AdoIntegrityStamp.h"
#include "components/AdoTypes.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace ado {

// A prepared statement, finalized when its owner lets it go.
struct StatementFinalizer {
    void operator()(sqlite3_stmt *statement) const;
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// One column of a statement's result: its name, the table column it comes from (empty for an
// expression) and the type it was declared with.
struct ResultColumn {
    QString name;
    QString table;
    QString column;
    QString declaredType;
};

enum class Step { Row, Done, Failed };

// The files the engine and the integrity stamp keep beside a database, named by the database's
// file name followed by one of these: a rollback journal, a write-ahead log and its index, the
// stamp. Any of them beside a file changes what opening it does (a hot journal is played back).
inline const QStringList kSideFileSuffixes{QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                           QStringLiteral("-checked")};

// How long the engine's full integrity check of a file may take before the file is refused: a
// hardware-ID database of some tens of megabytes is checked in about a second, one of the
// largest size an archive may hold in some seconds.
inline constexpr int kIntegrityCheckLimitMs = 30 * 1000;
// How the full check runs: its time limit, and whether the message loop runs meanwhile (at most
// kCheckYieldIntervalMs apart), as a check of a downloaded file must let the window live.
struct CheckPace {
    int limitMs = kIntegrityCheckLimitMs;
    bool yields = false;
};
inline constexpr int kCheckYieldIntervalMs = 50;

// A value of a statement's current row as the engine holds it. The bytes of text (UTF-8) and of
// a blob stay valid until the statement steps again.
struct RawValue {
    ValueKind kind = ValueKind::Null;
    qint64 integer = 0;
    double real = 0;
    QByteArrayView bytes;
};

// The open database behind a Connection: one SQLite handle with the connection's collation and
// the translation of the data-access dialect that the system's SQL is written in. Every call of
// the engine is made here; the record set and the command work through these operations.
class Session {
public:
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Opens an existing database file for reading and writing (read only when the file is write
    // protected) as far as reading its catalogue: a missing file and one that is not a database
    // fail. The open is finished by finishOpen.
    static std::unique_ptr<Session> open(const QString &path, Error &error);
    // The rest of the open, once the catalogue is known to be safe to run: the engine's integrity
    // check (a damaged page fails, as the original engine refuses a damaged file; a check past
    // the pace's limit fails too), which reads the whole file once per state of it (see
    // IntegrityStamp), then the write-ahead log.
    bool finishOpen(const CheckPace &pace, Error &error);

    // Prepares one statement of the system's dialect; null on failure with `error` set.
    Statement prepare(const QString &sql, Error &error);
    bool exec(const QString &sql, Error &error);
    Error engineError() const;

    // The next row of a statement; Failed sets `error` to the engine's.
    Step step(sqlite3_stmt *statement, Error &error);
    // Back to before the first row, the bound values cleared.
    void rewind(sqlite3_stmt *statement);
    bool returnsRows(sqlite3_stmt *statement) const;
    std::vector<ResultColumn> resultColumns(sqlite3_stmt *statement) const;
    // A value of the current row.
    RawValue rawValue(sqlite3_stmt *statement, int column) const;
    QVariant value(sqlite3_stmt *statement, int column) const;
    int placeholderCount(sqlite3_stmt *statement) const;
    bool bind(sqlite3_stmt *statement, int index, const QVariant &value);
    bool isReadOnly(sqlite3_stmt *statement) const;
    // Rows changed by the last statement that changed rows.
    int changes() const;
    // Whether the column is its table's integer primary key (the row id).
    bool isRowIdColumn(const QString &table, const QString &column) const;

private:
    explicit Session(sqlite3 *db) : db_(db) {}
    bool checkIntegrityOnce(const CheckPace &pace, Error &error);
    bool checkIntegrity(const CheckPace &pace, Error &error);
    // The first column of the first row as text; empty on failure.
    QString answer(const QString &sql);

    sqlite3 *db_ = nullptr;
    bool writeAheadLog_ = false;
    QString path_;
    // The file's state at the open when its integrity stamp vouches for it.
    std::optional<FileState> vouched_;
    QString dataVersionAtOpen_;
    std::optional<FileState> stateAfterOpen_;
};

// "@@Identity" becomes the engine's last-insert row id, outside quoted text.
QString translateDialect(const QString &sql);

// The value of "Data Source=" in a connection string, as a path of this platform.
QString dataSourceOf(const QString &connectionString);

}

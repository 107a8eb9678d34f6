#pragma once

#include "components/AdoTypes.h"

#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace ado {

// The open database behind a Connection: one SQLite handle with the connection's collation and
// the translation of the data-access dialect that the system's SQL is written in.
class Session {
public:
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Opens an existing database file for reading and writing (read only when the file is write
    // protected). A missing file, one that is not a database and one that fails the engine's
    // integrity check (a damaged page) fail, as the original engine refuses a damaged file.
    static std::unique_ptr<Session> open(const QString &path, Error &error);

    // Prepares one statement of the system's dialect; nullptr on failure with `error` set.
    sqlite3_stmt *prepare(const QString &sql, Error &error);
    bool exec(const QString &sql, Error &error);
    Error engineError() const;
    sqlite3 *handle() const { return db_; }

private:
    explicit Session(sqlite3 *db) : db_(db) {}
    bool checkIntegrity(Error &error);
    sqlite3 *db_ = nullptr;
    bool writeAheadLog_ = false;
};

// A value of the current row of a statement, and a value bound to a placeholder.
QVariant columnValue(sqlite3_stmt *statement, int column);
bool bindValue(sqlite3_stmt *statement, int index, const QVariant &value);

// "@@Identity" becomes the engine's last-insert row id, outside quoted text.
QString translateDialect(const QString &sql);

// The query behind Connection::openSchema(Schema::Tables): the engine's catalogue as TABLE_NAME
// and TABLE_TYPE.
QString schemaTablesQuery();

// The value of "Data Source=" in a connection string, as a path of this platform.
QString dataSourceOf(const QString &connectionString);

}

#pragma once

#include "components/AdoSession.h"
#include "components/AdoTypes.h"

#include <functional>
#include <memory>

namespace ado {

class Recordset;
class Session;

// A value written so that a connection string carries it unchanged, whatever it holds (";",
// quotes, "=", spaces at either end): in double quotes, each double quote doubled. A path is
// written into "Data Source=" through it.
QString connectionStringValue(const QString &value);

// A connection to one database file. The connection string's "Data Source=" names the file;
// the file must exist and be a database. Record sets and commands hold the session weakly, so a
// closed connection makes their later calls fail instead of dangling.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void setCursorLocation(CursorLocation location) { cursorLocation_ = location; }
    CursorLocation cursorLocation() const { return cursorLocation_; }
    void setConnectionString(const QString &text) { connectionString_ = text; }
    const QString &connectionString() const { return connectionString_; }

    // A check of the file's catalogue that open runs on the connection before anything else
    // reads the file (the full integrity check included): a false answer fails the open.
    using SchemaCheck = std::function<bool(Connection &, Error &)>;
    void setSchemaCheck(SchemaCheck check) { schemaCheck_ = std::move(check); }
    void setCheckPace(const CheckPace &pace) { checkPace_ = pace; }

    bool open(const QString &userId = {}, const QString &password = {}, int options = OptionUnspecified);
    bool close();
    bool isOpen() const;

    // Runs one statement that returns no rows (schema, transactions).
    bool execute(const QString &sql);
    bool beginTrans();
    bool commitTrans();
    bool rollbackTrans();

    const Error &lastError() const { return error_; }

    std::shared_ptr<Session> session() const { return session_; }

private:
    CursorLocation cursorLocation_ = CursorLocation::Server;
    QString connectionString_;
    std::shared_ptr<Session> session_;
    SchemaCheck schemaCheck_;
    CheckPace checkPace_;
    Error error_;
};

}

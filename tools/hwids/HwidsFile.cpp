#include "HwidsFile.h"

#include "components/AdoCommand.h"
#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"

#include <QFile>
#include <QHash>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace hwids {

namespace {

bool fail(const ado::Error &error, const char *what)
{
    std::fprintf(stderr, "make-hwids: %s: %s\n", what, qPrintable(error.description));
    return false;
}

// Names and makers are shared rows, matched without regard to letter case like every lookup.
class SharedRows {
public:
    SharedRows(ado::Connection &connection, const QString &table, const QString &column)
    {
        insert_.setActiveConnection(connection);
        insert_.setCommandText(QStringLiteral("INSERT INTO %1 (%2) VALUES(?)").arg(table, column));
        insert_.setPrepared(true);
        identity_.setActiveConnection(connection);
        identity_.setCommandText(QStringLiteral("SELECT @@Identity"));
        identity_.setPrepared(true);
    }

    bool idOf(const QString &value, QString &id)
    {
        const QString key = value.toLower();
        if (const auto found = ids_.constFind(key); found != ids_.constEnd()) {
            id = *found;
            return true;
        }
        insert_.parameters().assign(1, {QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, kNameSize, value});
        if (!insert_.execute(ado::CmdText | ado::ExecuteNoRecords))
            return fail(insert_.lastError(), "insert");
        std::unique_ptr<ado::Recordset> records;
        if (!identity_.execute(ado::CmdText, &records))
            return fail(identity_.lastError(), "identity");
        id = records->field(0).value().toString();
        ids_.insert(key, id);
        return true;
    }

private:
    ado::Command insert_;
    ado::Command identity_;
    QHash<QString, QString> ids_;
};

struct SqliteCloser {
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};

bool createEmpty(const QString &path, const QString &schemaPath)
{
    QFile schemaFile(schemaPath);
    if (!schemaFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make-hwids: cannot read %s\n", qPrintable(schemaPath));
        return false;
    }
    const QByteArray schema = schemaFile.readAll();
    QFile::remove(path);
    sqlite3 *handle = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const std::unique_ptr<sqlite3, SqliteCloser> db(handle);
    if (opened != SQLITE_OK || sqlite3_exec(db.get(), schema.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "make-hwids: cannot create %s: %s\n", qPrintable(path), sqlite3_errmsg(db.get()));
        return false;
    }
    return true;
}

// The (name, maker) pair lines of each hardware ID; an ID listed twice keeps each distinct pair once.
bool pairLines(ado::Connection &connection, const std::vector<Entry> &rows, std::vector<QString> &order, QHash<QString, QString> &infos)
{
    SharedRows names(connection, QStringLiteral("devicenames"), QStringLiteral("devicename"));
    SharedRows makers(connection, QStringLiteral("mfgs"), QStringLiteral("mfg"));
    for (const Entry &entry : rows) {
        QString nameId;
        QString makerId;
        if (!names.idOf(entry.name, nameId) || !makers.idOf(entry.maker, makerId))
            return false;
        const QString pairLine = nameId + QLatin1Char(',') + makerId + QLatin1String("\r\n");
        auto found = infos.find(entry.hardwareId);
        if (found == infos.end()) {
            order.push_back(entry.hardwareId);
            infos.insert(entry.hardwareId, pairLine);
        } else if (!(QLatin1String("\r\n") + *found).contains(QLatin1String("\r\n") + pairLine)) {
            *found += pairLine;
        }
    }
    return true;
}

bool writeRows(const QString &path, const std::vector<Entry> &rows, const QString &version)
{
    ado::Connection connection;
    connection.setCursorLocation(ado::CursorLocation::Client);
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;").arg(ado::connectionStringValue(path)));
    if (!connection.open())
        return fail(connection.lastError(), "open");
    if (!connection.beginTrans())
        return fail(connection.lastError(), "begin");

    std::vector<QString> order;
    QHash<QString, QString> infos;
    if (!pairLines(connection, rows, order, infos))
        return false;
    ado::Command insert;
    insert.setActiveConnection(connection);
    insert.setCommandText(QStringLiteral("INSERT INTO hwids (hwid,info) VALUES(?,?)"));
    insert.setPrepared(true);
    for (const QString &hardwareId : order) {
        const QString &info = infos[hardwareId];
        insert.parameters() = {{QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, 125, hardwareId},
                               {QString(), ado::DataType::LongVarChar, ado::ParameterDirection::Input, int(info.size()), info}};
        if (!insert.execute(ado::CmdText | ado::ExecuteNoRecords))
            return fail(insert.lastError(), "insert");
    }

    ado::Command versionRow;
    versionRow.setActiveConnection(connection);
    versionRow.setCommandText(QStringLiteral("INSERT INTO version (dbversion) VALUES(?)"));
    versionRow.appendParameter({QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, 50, version});
    if (!versionRow.execute(ado::CmdText | ado::ExecuteNoRecords))
        return fail(versionRow.lastError(), "version");
    if (!connection.commitTrans())
        return fail(connection.lastError(), "commit");
    // Rewritten whole, the index pages come out full: the file ships and is downloaded.
    if (!connection.execute(QStringLiteral("VACUUM")))
        return fail(connection.lastError(), "vacuum");
    std::printf("make-hwids: %zu hardware IDs, version %s\n", order.size(), qPrintable(version));
    return true;
}

}

QString versionOf(QDate date)
{
    return date.isValid() ? QStringLiteral("%1.%2.%3").arg(date.year()).arg(date.month()).arg(date.day()) : QStringLiteral("0.0.0");
}

bool writeHwidsFile(const QString &schemaPath, const QString &output, const std::vector<Entry> &rows, const QString &version)
{
    const QString partial = output + QLatin1String(".partial");
    if (!createEmpty(partial, schemaPath) || !writeRows(partial, rows, version)) {
        QFile::remove(partial);
        return false;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "make-hwids: cannot move %s to %s\n", qPrintable(partial), qPrintable(output));
        return false;
    }
    return true;
}

}

#include "support/HwidsDatabase.h"

#include "components/AdoConnection.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

namespace testsupport {

QString makeHwidsDatabase(const QString &folder, const QStringList &statements)
{
    QFile schemaFile(QStringLiteral(KESTROVA_FIXTURES "/../../tools/hwids-schema.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        return {};
    const QByteArray schema = schemaFile.readAll();
    const QString path = QDir(folder).filePath(QStringLiteral("hwids.mdb"));
    QFile::remove(path);
    sqlite3 *db = nullptr;
    const bool made = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK
                      && sqlite3_exec(db, schema.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!made)
        return {};
    ado::Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=") + ado::connectionStringValue(path));
    if (!connection.open())
        return {};
    for (const QString &statement : statements) {
        if (!connection.execute(statement))
            return {};
    }
    return path;
}

}

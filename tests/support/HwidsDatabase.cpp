#include "support/HwidsDatabase.h"

#include "components/AdoConnection.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace testsupport {

namespace {

bool build(const QString &path, const QStringList &statements)
{
    QFile schemaFile(QStringLiteral(KESTROVA_FIXTURES "/../../tools/hwids-schema.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        return false;
    const QByteArray schema = schemaFile.readAll();
    QFile::remove(path);
    sqlite3 *db = nullptr;
    const bool made = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK
                      && sqlite3_exec(db, schema.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!made)
        return false;
    ado::Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=") + ado::connectionStringValue(path));
    if (!connection.open())
        return false;
    for (const QString &statement : statements) {
        if (!connection.execute(statement))
            return false;
    }
    return true;
}

// Each statement is a commit that waits for the disk, and some tests make the same database in
// a fresh folder hundreds of times: each distinct one is built once per process, then copied.
QString builtOnce(const QStringList &statements)
{
    static QTemporaryDir models;
    static QHash<QString, QString> built;
    const QString key = statements.join(QChar(0));
    if (const auto it = built.constFind(key); it != built.constEnd())
        return *it;
    const QString path = models.filePath(QString::number(built.size()) + QStringLiteral(".mdb"));
    if (!models.isValid() || !build(path, statements))
        return {};
    return built.insert(key, path).value();
}

} // namespace

QString makeHwidsDatabase(const QString &folder, const QStringList &statements)
{
    const QString model = builtOnce(statements);
    if (model.isEmpty())
        return {};
    QFile source(model);
    if (!source.open(QIODevice::ReadOnly))
        return {};
    // Written anew rather than copied, so the file is as new as a freshly built one (an open
    // vouches only for files that have settled).
    const QString path = QDir(folder).filePath(QStringLiteral("hwids.mdb"));
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(source.readAll()) != source.size() || !file.flush())
        return {};
    return path;
}

}

// Builds the bundled hwids.mdb from the public PCI and USB ID lists.
//
//   make-hwids <schema.sql> <pci.ids> <usb.ids> <output hwids.mdb>
//
// One hwids row per PCI device, PCI subsystem and USB product, with its hardware ID written as
// Windows writes it (upper-case hex); names and makers are shared rows of devicenames and mfgs.
// The version is the newer of the two lists' dates as year.month.day.

#include "components/AdoCommand.h"
#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kNameSize = 100;   // the size of devicenames.devicename and mfgs.mfg

struct Entry {
    QString hardwareId;
    QString name;
    QString maker;
};

struct IdList {
    std::vector<Entry> entries;
    QDate date;
};

struct Line {
    int depth = 0;      // leading tabs
    QString id;         // first field, lower-case hex as the lists write it
    QString second;     // second hex field of a PCI subsystem line
    QString name;
};

// "vvvv  name", "\tdddd  name", "\t\tssvv ssdd  name"; anything else is not an ID line.
bool parseLine(const QString &text, Line &line)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\t*)([0-9a-fA-F]{4})(?: ([0-9a-fA-F]{4}))?  (.*)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    line.depth = int(match.capturedLength(1));
    line.id = match.captured(2).toUpper();
    line.second = match.captured(3).toUpper();
    line.name = match.captured(4).trimmed().left(kNameSize);
    return !line.name.isEmpty();
}

QDate listDate(const QString &text, QDate current)
{
    static const QRegularExpression pattern(QStringLiteral("^#\\s*Date:\\s*(\\d{4})-(\\d{2})-(\\d{2})"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return current;
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

bool readLines(const QString &path, QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "make-hwids: cannot read %s\n", qPrintable(path));
        return false;
    }
    lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    return true;
}

bool parsePci(const QString &path, IdList &list)
{
    QStringList lines;
    if (!readLines(path, lines))
        return false;
    // Subsystem makers are named by vendor ID, and a subsystem vendor may come later in the list.
    QHash<QString, QString> vendors;
    Line line;
    for (const QString &text : std::as_const(lines)) {
        if (parseLine(text, line) && line.depth == 0 && line.second.isEmpty())
            vendors.insert(line.id, line.name);
    }
    QString vendorId;
    QString vendorName;
    QString deviceId;
    for (const QString &text : std::as_const(lines)) {
        if (text.startsWith(QLatin1Char('#'))) {
            list.date = listDate(text, list.date);
            continue;
        }
        if (!parseLine(text, line)) {
            if (!text.isEmpty() && !text.startsWith(QLatin1Char('\t')))
                vendorId.clear();   // the device-class section, or any other non-vendor block
            continue;
        }
        if (line.depth == 0) {
            vendorId = line.id;
            vendorName = line.name;
            deviceId.clear();
        } else if (vendorId.isEmpty()) {
            continue;
        } else if (line.depth == 1) {
            deviceId = line.id;
            list.entries.push_back({QStringLiteral("PCI\\VEN_%1&DEV_%2").arg(vendorId, deviceId), line.name, vendorName});
        } else if (line.depth == 2 && !deviceId.isEmpty() && !line.second.isEmpty()) {
            // The list writes subvendor then subdevice; Windows writes the subsystem device first.
            const QString maker = vendors.value(line.id, vendorName);
            list.entries.push_back(
                {QStringLiteral("PCI\\VEN_%1&DEV_%2&SUBSYS_%3%4").arg(vendorId, deviceId, line.second, line.id), line.name, maker});
        }
    }
    return true;
}

bool parseUsb(const QString &path, IdList &list)
{
    QStringList lines;
    if (!readLines(path, lines))
        return false;
    QString vendorId;
    QString vendorName;
    Line line;
    for (const QString &text : std::as_const(lines)) {
        if (text.startsWith(QLatin1Char('#'))) {
            list.date = listDate(text, list.date);
            continue;
        }
        if (!parseLine(text, line) || !line.second.isEmpty()) {
            if (!text.isEmpty() && !text.startsWith(QLatin1Char('\t')))
                vendorId.clear();
            continue;
        }
        if (line.depth == 0) {
            vendorId = line.id;
            vendorName = line.name;
        } else if (line.depth == 1 && !vendorId.isEmpty()) {
            list.entries.push_back({QStringLiteral("USB\\VID_%1&PID_%2").arg(vendorId, line.id), line.name, vendorName});
        }
    }
    return true;
}

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

bool createEmpty(const QString &path, const QString &schemaPath)
{
    QFile schemaFile(schemaPath);
    if (!schemaFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make-hwids: cannot read %s\n", qPrintable(schemaPath));
        return false;
    }
    const QByteArray schema = schemaFile.readAll();
    QFile::remove(path);
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK
              && sqlite3_exec(db, schema.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "make-hwids: cannot create %s: %s\n", qPrintable(path), sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

bool write(const QString &path, const std::vector<Entry> &entries, const QString &version)
{
    ado::Connection connection;
    connection.setCursorLocation(ado::CursorLocation::Client);
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;").arg(path));
    if (!connection.open())
        return fail(connection.lastError(), "open");
    if (!connection.beginTrans())
        return fail(connection.lastError(), "begin");

    SharedRows names(connection, QStringLiteral("devicenames"), QStringLiteral("devicename"));
    SharedRows makers(connection, QStringLiteral("mfgs"), QStringLiteral("mfg"));
    // A hardware ID listed twice keeps each distinct pair once, in the lists' order.
    std::vector<QString> order;
    QHash<QString, QString> infos;
    for (const Entry &entry : entries) {
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
    std::printf("make-hwids: %zu hardware IDs, version %s\n", order.size(), qPrintable(version));
    return true;
}

}

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: make-hwids <schema.sql> <pci.ids> <usb.ids> <output>\n");
        return 2;
    }
    const QString schema = QFile::decodeName(argv[1]);
    const QString output = QFile::decodeName(argv[4]);
    IdList pci;
    IdList usb;
    if (!parsePci(QFile::decodeName(argv[2]), pci) || !parseUsb(QFile::decodeName(argv[3]), usb))
        return 1;
    std::vector<Entry> entries = std::move(pci.entries);
    entries.insert(entries.end(), usb.entries.begin(), usb.entries.end());
    const QDate date = std::max(pci.date, usb.date);
    const QString version = date.isValid() ? QStringLiteral("%1.%2.%3").arg(date.year()).arg(date.month()).arg(date.day())
                                           : QStringLiteral("0.0.0");

    // Built beside the output and moved over it, so a failed build never leaves half a database.
    const QString partial = output + QLatin1String(".partial");
    if (!createEmpty(partial, schema) || !write(partial, entries, version)) {
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "make-hwids: cannot move %s to %s\n", qPrintable(partial), qPrintable(output));
        return 1;
    }
    return 0;
}

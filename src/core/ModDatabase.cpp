#include "core/ModDatabase.h"

#include "core/ModMain.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/MsgBox.h"

#include <QDir>
#include <QRegularExpression>

#include <cstdlib>
#include <optional>

namespace ModDatabase {

namespace {

// Where the open-failure message sends the user.
const QString kSupportForum = QStringLiteral("https://forum.quordane.example/");

// Column sizes of the tables; a longer value is not stored (it would fail its parameter).
constexpr int kNameSize = 100;
constexpr int kHardwareIdSize = 125;

// The tables the operations use, each with the columns they read or write.
const struct {
    const char *table;
    const char *columns;
} kTables[] = {
    {"hwids", "hwid, info"},
    {"devicenames", "ID, devicename"},
    {"mfgs", "ID, mfg"},
    {"version", "dbversion"},
};

std::function<void(int)> &exitHandler()
{
    static std::function<void(int)> handler = [](int code) { std::_Exit(code); };
    return handler;
}

void yield()
{
    runtime::DoEvents();
}

QString quoted(const QString &value)
{
    return QString(value).replace(QLatin1Char('\''), QLatin1String("''"));
}

struct DeviceLine {
    QString hardwareId;
    QString name;
    QString manufacturer;
};

// A text the database can find again by its query: the query text ends at a NUL, and a lone
// surrogate cannot travel as text, so either would be stored anew on every attempt.
bool isStorable(const QString &text)
{
    return !text.contains(QChar::Null) && QStringView(text).isValidUtf16();
}

DeviceLine parse(const QString &line, bool normalize)
{
    const QStringList parts = line.split(QLatin1String("|||"));
    DeviceLine device;
    device.hardwareId = parts.value(0);
    device.name = parts.value(1);
    device.manufacturer = parts.value(2);
    if (normalize) {
        device.name = ModMain::NormalizeSpaces(device.name);
        device.manufacturer = ModMain::NormalizeSpaces(device.manufacturer);
    }
    if (device.name.isEmpty())
        device.name = QStringLiteral("Unknown");
    if (device.manufacturer.isEmpty())
        device.manufacturer = QStringLiteral("Unknown");
    return device;
}

// The pair lines of an info text: split at CR LF without the blank lines; a text without any
// CR LF is one line.
QStringList pairLines(const QString &info)
{
    QStringList lines;
    const QStringList parts = info.contains(QLatin1String("\r\n")) ? info.split(QLatin1String("\r\n")) : QStringList{info};
    for (const QString &part : parts) {
        if (!part.trimmed().isEmpty())
            lines << part;
    }
    return lines;
}


// Finds the first row whose column equals the value without regard to letter case; the
// record set stays on it. Returns the record set, or nullptr when there is no such row.
std::shared_ptr<ado::Recordset> findRow(std::shared_ptr<ado::Recordset> &slot, const QString &table,
                                        const QString &column, const QString &value, bool &found)
{
    const QString sql = QStringLiteral("SELECT * FROM %1 Where [%1].[%2] = '%3'").arg(table, column, quoted(value));
    std::shared_ptr<ado::Recordset> recordset = OpenQuery(slot, sql);
    found = false;
    const QString wanted = value.toLower();
    const int count = recordset->recordCount();
    for (int i = 0; i < count; ++i) {
        const QString text = recordset->field(column).value().toString();
        yield();
        if (text.toLower() == wanted) {
            found = true;
            break;
        }
        recordset->moveNext();
        yield();
    }
    return recordset;
}

void closeRecordset(const std::shared_ptr<ado::Recordset> &recordset)
{
    if (recordset)
        recordset->close();
    yield();
}

QString fieldText(const std::shared_ptr<ado::Recordset> &recordset, const QString &name)
{
    const QVariant value = recordset->field(name).value();
    yield();
    return value.isNull() ? QString() : value.toString();
}

// Finds the ID of a name or manufacturer row.
std::optional<QString> findId(std::shared_ptr<ado::Recordset> &slot, const QString &table, const QString &column,
                              const QString &value)
{
    bool found = false;
    const std::shared_ptr<ado::Recordset> recordset = findRow(slot, table, column, value, found);
    std::optional<QString> id;
    if (found) {
        const QString text = fieldText(recordset, QStringLiteral("ID"));
        if (!text.isEmpty())
            id = text;
    }
    closeRecordset(recordset);
    return id;
}

// A new prepared text command on the connection, made the program-wide DatabaseCommand; nothing
// with the connection closed.
std::shared_ptr<ado::Command> newCommand(const QString &sql)
{
    const std::shared_ptr<ado::Connection> connection = DatabaseConnection;
    if (!connection)
        return nullptr;
    auto command = std::make_shared<ado::Command>();
    DatabaseCommand = command;
    command->setActiveConnection(*connection);
    command->setCommandType(ado::CommandType::Text);
    command->setCommandText(sql);
    command->setPrepared(true);
    return command;
}

// Inserts one value and answers the ID the database gave it; nothing when the insert failed, so
// that an earlier insert's identity is never taken for this one.
std::optional<QString> insertValue(const QString &sql, const QString &value)
{
    const std::shared_ptr<ado::Command> command = newCommand(sql);
    if (!command)
        return std::nullopt;
    IdentityRecordset = std::make_shared<ado::Recordset>();
    command->appendParameter({QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, kNameSize, value});
    const bool inserted = command->execute(ado::CmdText | ado::ExecuteNoRecords) && command->recordsAffected() == 1;
    yield();
    std::optional<QString> id;
    if (inserted) {
        command->setCommandText(QStringLiteral("SELECT @@Identity"));
        command->parameters().clear();
        std::unique_ptr<ado::Recordset> records;
        if (command->execute(ado::CmdText, &records) && records) {
            std::shared_ptr<ado::Recordset> identity = std::move(records);
            IdentityRecordset = identity;
            yield();
            const QVariant value = identity->field(0).value();
            if (!value.isNull())
                id = value.toString();
            identity->close();
        }
        yield();
    }
    IdentityRecordset.reset();
    DatabaseCommand.reset();
    return id;
}

std::optional<QString> findOrInsert(std::shared_ptr<ado::Recordset> &slot, const QString &table, const QString &column,
                                    const QString &value)
{
    if (std::optional<QString> id = findId(slot, table, column, value))
        return id;
    return insertValue(QStringLiteral("INSERT INTO %1 (%2) VALUES(?)").arg(table, column), value);
}

// The ID text comes from an info text and goes into the query unquoted; anything but a number
// would fail the query, or worse, change it, so it is answered with the empty text at once.
QString textById(std::shared_ptr<ado::Recordset> &slot, const QString &table, const QString &column, const QString &id)
{
    static const QRegularExpression number(QStringLiteral("^ *-?[0-9]+ *$"));
    if (!number.match(id).hasMatch())
        return {};
    const std::shared_ptr<ado::Recordset> recordset =
        OpenQuery(slot, QStringLiteral("SELECT * FROM %1 Where [%1].[ID] = %2").arg(table, id));
    const QString text = recordset->recordCount() > 0 ? fieldText(recordset, column) : QString();
    closeRecordset(recordset);
    return text;
}

void addPair(const QString &hardwareId, const QString &pairText)
{
    const QString pairLine = pairText + QLatin1String("\r\n");
    bool found = false;
    const std::shared_ptr<ado::Recordset> recordset =
        findRow(HwidsRecordset, QStringLiteral("hwids"), QStringLiteral("hwid"), hardwareId, found);
    if (found) {
        QString info = fieldText(recordset, QStringLiteral("info"));
        if (!pairLines(info).contains(pairText)) {
            // The last line of an info written elsewhere may lack its CR LF; it stays a line.
            if (!info.isEmpty() && !info.endsWith(QLatin1String("\r\n")))
                info += QLatin1String("\r\n");
            recordset->field(QStringLiteral("info")).setValue(info + pairLine);
            recordset->update();
            yield();
        }
    } else if (const std::shared_ptr<ado::Command> command = newCommand(QStringLiteral("INSERT INTO hwids (hwid,info) VALUES(?,?)"))) {
        command->appendParameter({QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, kHardwareIdSize, hardwareId});
        command->appendParameter(
            {QString(), ado::DataType::LongVarChar, ado::ParameterDirection::Input, int(pairLine.size()), pairLine});
        command->execute(ado::CmdText | ado::ExecuteNoRecords);
        yield();
        DatabaseCommand.reset();
    }
    closeRecordset(recordset);
}

// A table of the file's own rows: not a view, not a virtual table (whose rows a module makes)
// and without computed columns, so that reading it runs nothing but the engine's reads.
bool isPlainTable(ado::Connection &connection, const QString &name, ado::Error &problem)
{
    ado::Recordset entry;
    if (!entry.open(QStringLiteral("SELECT type, sql FROM sqlite_master WHERE lower(name) = '%1'").arg(name), connection)) {
        problem = entry.lastError();
        return false;
    }
    const bool table = entry.recordCount() == 1 && entry.field(QStringLiteral("type")).value().toString() == QLatin1String("table")
                       && entry.field(QStringLiteral("sql")).value().toString().simplified().startsWith(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive);
    ado::Recordset columns;
    if (!table || !columns.open(QStringLiteral("PRAGMA table_xinfo(%1)").arg(name), connection)) {
        problem = {ado::errors::ProviderFailure, QStringLiteral("The database has no table '%1'.").arg(name)};
        return false;
    }
    for (int i = 0; i < columns.recordCount(); ++i, columns.moveNext()) {
        if (columns.field(QStringLiteral("hidden")).value().toInt() != 0) {
            problem = {ado::errors::ProviderFailure, QStringLiteral("The table '%1' has the computed column '%2'.")
                                                         .arg(name, columns.field(QStringLiteral("name")).value().toString())};
            return false;
        }
    }
    return true;
}

}

std::shared_ptr<ado::Recordset> OpenQuery(std::shared_ptr<ado::Recordset> &slot, const QString &sql)
{
    auto recordset = std::make_shared<ado::Recordset>();
    slot = recordset;
    const std::shared_ptr<ado::Connection> connection = DatabaseConnection;
    if (connection)
        recordset->open(sql, *connection, ado::CursorType::ForwardOnly, ado::LockType::Optimistic);
    yield();
    return recordset;
}

void SetExitHandler(std::function<void(int)> handler)
{
    exitHandler() = std::move(handler);
}

void OpenDatabase()
{
    auto connection = std::make_shared<ado::Connection>();
    DatabaseConnection = connection;
    connection->setCursorLocation(ado::CursorLocation::Client);
    connection->setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                    + ado::connectionStringValue(QDir::toNativeSeparators(runtime::App::Path() + QLatin1String("/hwids.mdb")))
                                    + QLatin1Char(';'));
    ado::Error error;
    if (connection->open(QString(), QString(), ado::OptionUnspecified)) {
        if (IsSoundHardwareIdDatabase(*connection, error))
            return;
        connection->close();
    } else {
        error = connection->lastError();
    }
    const QString text = QStringLiteral("ERROR: %1\n%2\n\nLooks like the program had trouble opening the database with ADO!\n"
                                        "Please check for help or report this error at %3\n\nThe Program Will Now Close.")
                             .arg(error.number)
                             .arg(error.description, kSupportForum);
    runtime::MsgBox(text, runtime::vbOKOnly);
    exitHandler()(EXIT_FAILURE);
}

bool IsSoundHardwareIdDatabase(ado::Connection &connection, ado::Error &problem)
{
    // Only the catalogue is read and no row of any view: a view may be endless.
    ado::Recordset extras;
    if (!extras.open(QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN ('view', 'trigger')"), connection)) {
        problem = extras.lastError();
        return false;
    }
    if (extras.recordCount() > 0) {
        problem = {ado::errors::ProviderFailure, QStringLiteral("The database holds the %1 '%2'; a hardware-ID database holds tables only.")
                                                     .arg(extras.field(QStringLiteral("type")).value().toString(),
                                                          extras.field(QStringLiteral("name")).value().toString())};
        return false;
    }
    for (const auto &[table, columns] : kTables) {
        const QString name = QString::fromLatin1(table);
        if (!isPlainTable(connection, name, problem))
            return false;
        // Naming the columns makes a table that lacks one fail here rather than in every lookup.
        ado::Recordset probe;
        if (!probe.open(QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(QLatin1String(columns), name), connection)) {
            problem = probe.lastError();
            return false;
        }
    }
    problem = {};
    return true;
}

bool IsSoundHardwareIdDatabase(const QString &path, ado::Error *problem)
{
    ado::Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=") + ado::connectionStringValue(path));
    ado::Error error;
    bool sound = false;
    if (connection.open()) {
        sound = IsSoundHardwareIdDatabase(connection, error);
        connection.close();
    } else {
        error = connection.lastError();
    }
    if (problem)
        *problem = error;
    return sound;
}

void CloseDatabase()
{
    for (std::shared_ptr<ado::Recordset> *slot :
         {&IdentityRecordset, &HwidsRecordset, &DeviceNamesRecordset, &MfgsRecordset, &VersionRecordset}) {
        if (*slot)
            (*slot)->close();
        slot->reset();
    }
    if (DatabaseConnection)
        DatabaseConnection->close();
    DatabaseConnection.reset();
}

QString GetDeviceNameByID(const QString &id)
{
    return textById(DeviceNamesRecordset, QStringLiteral("devicenames"), QStringLiteral("devicename"), id);
}

QString GetManufacturerByID(const QString &id)
{
    return textById(MfgsRecordset, QStringLiteral("mfgs"), QStringLiteral("mfg"), id);
}

bool IsHardwareInDatabase(const QString &deviceLine)
{
    const DeviceLine device = parse(deviceLine, false);
    const std::optional<QString> nameId =
        findId(DeviceNamesRecordset, QStringLiteral("devicenames"), QStringLiteral("devicename"), device.name);
    if (!nameId)
        return false;
    const std::optional<QString> manufacturerId = findId(MfgsRecordset, QStringLiteral("mfgs"), QStringLiteral("mfg"), device.manufacturer);
    if (!manufacturerId)
        return false;
    const QString pairText = *nameId + QLatin1Char(',') + *manufacturerId;
    bool found = false;
    const std::shared_ptr<ado::Recordset> recordset =
        findRow(HwidsRecordset, QStringLiteral("hwids"), QStringLiteral("hwid"), device.hardwareId, found);
    const bool known = found && pairLines(fieldText(recordset, QStringLiteral("info"))).contains(pairText);
    closeRecordset(recordset);
    return known;
}

void AddHardwareToDatabase(const QString &deviceLine)
{
    const DeviceLine device = parse(deviceLine, true);
    // A line without a hardware ID identifies nothing; storing it would only add an empty row.
    if (device.hardwareId.trimmed().isEmpty())
        return;
    if (device.name.size() > kNameSize || device.manufacturer.size() > kNameSize || device.hardwareId.size() > kHardwareIdSize)
        return;
    if (!isStorable(device.hardwareId) || !isStorable(device.name) || !isStorable(device.manufacturer))
        return;
    const std::optional<QString> nameId =
        findOrInsert(DeviceNamesRecordset, QStringLiteral("devicenames"), QStringLiteral("devicename"), device.name);
    if (!nameId)
        return;
    const std::optional<QString> manufacturerId =
        findOrInsert(MfgsRecordset, QStringLiteral("mfgs"), QStringLiteral("mfg"), device.manufacturer);
    if (!manufacturerId)
        return;
    addPair(device.hardwareId, *nameId + QLatin1Char(',') + *manufacturerId);
}

std::shared_ptr<ado::Recordset> OpenDeviceCount()
{
    return OpenQuery(HwidsRecordset, QStringLiteral("SELECT COUNT(*) AS total FROM hwids"));
}

std::shared_ptr<ado::Recordset> OpenVersionTable()
{
    return OpenQuery(VersionRecordset, QStringLiteral("SELECT * FROM version"));
}

std::optional<QString> ReadDatabaseVersion(ado::Recordset &versions)
{
    if (versions.recordCount() <= 0)
        return std::nullopt;
    versions.moveFirst();
    const QVariant value = versions.field(QStringLiteral("dbversion")).value();
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toString();
}

std::optional<int> ReadDeviceCount(ado::Recordset &count)
{
    if (count.recordCount() <= 0)
        return std::nullopt;
    count.moveFirst();
    return count.field(QStringLiteral("total")).value().toInt();
}

}

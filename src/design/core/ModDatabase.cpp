#include "core/ModDatabase.h"

#include "components/AdoIntegrityStamp.h"
#include "core/ModMain.h"
#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/MsgBox.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace ModDatabase {

namespace {

// Where the open-failure message sends the user.
const QString kSupportForum = QStringLiteral("https://forum.quordane.example/");

// Column sizes of the tables; a longer value is not stored (it would fail its parameter).
constexpr int kNameSize = 100;
constexpr int kHardwareIdSize = 125;

// The catalogue of a hardware-ID database as the build makes it (tools/hwids-schema.sql): the
// four tables, the indexes on the columns the look-ups search, and the engine's own table of
// AUTOINCREMENT counters. Each entry is compared by its text, which is what the engine runs, so
// nothing can come in beside the columns and their types: no constraint, default, generated
// column, collation or function. The indexes and the counters' table may be missing.
const struct {
    const char *type;
    const char *name;
    const char *sql;
    bool required;
} kCatalogue[] = {
    {"table", "devicenames", "CREATE TABLE devicenames (ID INTEGER PRIMARY KEY AUTOINCREMENT, devicename VARCHAR(100) COLLATE NOCASE)", true},
    {"table", "mfgs", "CREATE TABLE mfgs (ID INTEGER PRIMARY KEY AUTOINCREMENT, mfg VARCHAR(100) COLLATE NOCASE)", true},
    {"table", "hwids", "CREATE TABLE hwids (ID INTEGER PRIMARY KEY AUTOINCREMENT, hwid VARCHAR(125) COLLATE NOCASE, info TEXT)", true},
    {"table", "version", "CREATE TABLE version (dbversion VARCHAR(50))", true},
    {"table", "sqlite_sequence", "CREATE TABLE sqlite_sequence(name,seq)", false},
    {"index", "devicenames_devicename", "CREATE INDEX devicenames_devicename ON devicenames (devicename)", false},
    {"index", "mfgs_mfg", "CREATE INDEX mfgs_mfg ON mfgs (mfg)", false},
    {"index", "hwids_hwid", "CREATE INDEX hwids_hwid ON hwids (hwid)", false},
};

const QString kDatabaseFile = QStringLiteral("hwids.mdb");

// The folders of an install in the program folder (see DatabaseInstall).
const QString kInstallStagingFolder = QStringLiteral(".hwids-staging");
const QString kInstallAsideFolder = QStringLiteral(".hwids-aside");

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
        if (!PairLines(info).contains(pairText)) {
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

bool sameText(const QString &a, const QString &b)
{
    return a.simplified().compare(b.simplified(), Qt::CaseInsensitive) == 0;
}

// Whether the file at `a` and the one at `b` are one file (two links of it).
bool sameFile(const QString &a, const QString &b)
{
    const std::optional<ado::FileState> first = ado::fileStateOf(a);
    const std::optional<ado::FileState> second = ado::fileStateOf(b);
    return first && second && first->device == second->device && first->inode == second->inode;
}

// Every file below `folder`, as paths relative to it.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    return files;
}

bool holdsAHardwareId(ado::Connection &connection, ado::Error &problem)
{
    ado::Recordset first;
    if (!first.open(QStringLiteral("SELECT hwid FROM hwids LIMIT 1"), connection)) {
        problem = first.lastError();
        return false;
    }
    if (first.recordCount() < 1) {
        problem = {ado::errors::ProviderFailure, QStringLiteral("The database holds no hardware ID.")};
        return false;
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
    FinishInterruptedInstall();
    auto connection = std::make_shared<ado::Connection>();
    DatabaseConnection = connection;
    connection->setCursorLocation(ado::CursorLocation::Client);
    connection->setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                    + ado::connectionStringValue(QDir::toNativeSeparators(runtime::App::FilePath(kDatabaseFile)))
                                    + QLatin1Char(';'));
    connection->setSchemaCheck(IsSoundHardwareIdDatabase);
    if (connection->open(QString(), QString(), ado::OptionUnspecified))
        return;
    const ado::Error error = connection->lastError();
    const QString text = QStringLiteral("ERROR: %1\n%2\n\nLooks like the program had trouble opening the database with ADO!\n"
                                        "Please check for help or report this error at %3\n\nThe Program Will Now Close.")
                             .arg(error.number)
                             .arg(error.description, kSupportForum);
    runtime::MsgBox(text, runtime::vbOKOnly);
    exitHandler()(EXIT_FAILURE);
}

bool IsSoundHardwareIdDatabase(ado::Connection &connection, ado::Error &problem)
{
    ado::Recordset entries;
    if (!entries.open(QStringLiteral("SELECT type, name, sql FROM sqlite_master"), connection)) {
        problem = entries.lastError();
        return false;
    }
    int required = 0;
    for (int i = 0; i < entries.recordCount(); ++i, entries.moveNext()) {
        const QString type = entries.field(QStringLiteral("type")).value().toString();
        const QString name = entries.field(QStringLiteral("name")).value().toString();
        const QString sql = entries.field(QStringLiteral("sql")).value().toString();
        const auto expected = std::find_if(std::begin(kCatalogue), std::end(kCatalogue), [&](const auto &entry) {
            return type == QLatin1String(entry.type) && sameText(name, QLatin1String(entry.name)) && sameText(sql, QLatin1String(entry.sql));
        });
        if (expected == std::end(kCatalogue)) {
            problem = {ado::errors::ProviderFailure,
                       QStringLiteral("The database holds the %1 '%2', which is not one of a hardware-ID database.").arg(type, name)};
            return false;
        }
        required += expected->required ? 1 : 0;
    }
    if (required != std::count_if(std::begin(kCatalogue), std::end(kCatalogue), [](const auto &entry) { return entry.required; })) {
        problem = {ado::errors::ProviderFailure, QStringLiteral("The database lacks a table of a hardware-ID database.")};
        return false;
    }
    problem = {};
    return true;
}

bool IsInstallableHardwareIdDatabase(const QString &path, ado::Error *problem)
{
    ado::Connection connection;
    connection.setConnectionString(QStringLiteral("Data Source=") + ado::connectionStringValue(path));
    connection.setSchemaCheck(IsSoundHardwareIdDatabase);
    connection.setCheckPace({ado::kIntegrityCheckLimitMs, true});
    ado::Error error;
    bool installable = false;
    if (connection.open()) {
        installable = holdsAHardwareId(connection, error);
        connection.close();
    } else {
        error = connection.lastError();
    }
    if (problem)
        *problem = error;
    return installable;
}

QStringList PairLines(const QString &info)
{
    const QString lineEnd = QStringLiteral("\r\n");
    if (info.isEmpty())
        return {};
    if (!info.contains(lineEnd))
        return {info};
    QStringList lines;
    for (const QString &line : info.split(lineEnd)) {
        if (!ModMain::TrimSpaces(line).isEmpty())
            lines.append(line);
    }
    return lines;
}

const QString &DatabaseFileName()
{
    return kDatabaseFile;
}

const QString &InstallStagingFolder()
{
    return kInstallStagingFolder;
}

const QString &InstallAsideFolder()
{
    return kInstallAsideFolder;
}

void FinishInterruptedInstall()
{
    const QString aside = runtime::App::FilePath(kInstallAsideFolder);
    const QString kept = runtime::JoinedPath(aside, kDatabaseFile);
    const QString database = runtime::App::FilePath(kDatabaseFile);
    if (QFileInfo(aside).isDir()) {
        // The old database is kept there first and let go last: while it is there and still the
        // file in place (or none is), the new one never went in and everything goes back.
        const bool undo = QFileInfo::exists(kept) && (!QFileInfo::exists(database) || sameFile(kept, database));
        for (const QString &file : undo ? filesBelow(aside) : QStringList()) {
            const QString target = runtime::App::FilePath(file);
            QDir().mkpath(QFileInfo(target).absolutePath());
            std::rename(QFile::encodeName(runtime::JoinedPath(aside, file)).constData(), QFile::encodeName(target).constData());
        }
        QDir(aside).removeRecursively();
    }
    QDir(runtime::App::FilePath(kInstallStagingFolder)).removeRecursively();
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
    const bool known = found && PairLines(fieldText(recordset, QStringLiteral("info"))).contains(pairText);
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

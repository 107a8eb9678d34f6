#include "components/AdoRecordset.h"

#include "components/AdoConnection.h"
#include "components/AdoSession.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace ado {

namespace {

const QString kNoCurrentRecord = QStringLiteral(
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record.");
const QString kClosed = QStringLiteral("Operation is not allowed when the object is closed.");
const QString kOpen = QStringLiteral("Operation is not allowed when the object is open.");
const QString kItemNotFound = QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal.");


// The declared column type gives the field's type and size: VARCHAR(100) is text of at most
// 100 characters, TEXT without a size is long text.
void typeFromDeclaration(const char *declared, DataType &type, int &size)
{
    const QString text = QString::fromLatin1(declared ? declared : "").toUpper();
    type = DataType::VarChar;
    size = 0;
    if (text.contains(QLatin1String("INT"))) {
        type = DataType::Integer;
        size = 4;
        return;
    }
    static const QRegularExpression sized(QStringLiteral("\\((\\d+)\\)"));
    const QRegularExpressionMatch match = sized.match(text);
    if (match.hasMatch())
        size = match.captured(1).toInt();
    else if (!text.isEmpty())
        type = DataType::LongVarChar;
}

// What the value of a column holds beyond its variant: text widens to UTF-16.
qint64 payloadBytes(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_TEXT:
        return 2 * qint64(sqlite3_column_bytes(statement, column));
    case SQLITE_BLOB:
        return sqlite3_column_bytes(statement, column);
    default:
        return 0;
    }
}

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}


}

// --- Field -------------------------------------------------------------------------------------

bool Field::exists() const
{
    return recordset_ && index_ >= 0 && index_ < recordset_->fieldCount();
}

QString Field::name() const
{
    return exists() ? recordset_->fields_[index_].name : QString();
}

DataType Field::type() const
{
    return exists() ? recordset_->fields_[index_].type : DataType::VarChar;
}

int Field::definedSize() const
{
    return exists() ? recordset_->fields_[index_].definedSize : 0;
}

QVariant Field::value() const
{
    if (!recordset_)
        return {};
    Recordset &rs = *recordset_;
    if (!rs.open_)
        return rs.fail(errors::ObjectClosed, kClosed), QVariant();
    if (!exists())
        return rs.fail(errors::ItemNotFound, kItemNotFound), QVariant();
    if (rs.bof() || rs.eof())
        return rs.fail(errors::NoCurrentRecord, kNoCurrentRecord), QVariant();
    rs.succeed();
    return rs.rows_[rs.position_].values[index_];
}

bool Field::setValue(const QVariant &value)
{
    if (!recordset_)
        return false;
    Recordset &rs = *recordset_;
    if (!rs.open_)
        return rs.fail(errors::ObjectClosed, kClosed);
    if (!exists())
        return rs.fail(errors::ItemNotFound, kItemNotFound);
    if (rs.bof() || rs.eof())
        return rs.fail(errors::NoCurrentRecord, kNoCurrentRecord);
    const Recordset::FieldInfo &info = rs.fields_[index_];
    QVariant stored;
    if (!value.isNull()) {
        if (info.type == DataType::Integer) {
            bool ok = false;
            const qlonglong number = value.toLongLong(&ok);
            if (!ok)
                return rs.fail(errors::MultipleStepError, QStringLiteral("Multiple-step operation generated errors. Check each status value."));
            stored = number;
        } else {
            const QString text = value.toString();
            if (info.definedSize > 0 && text.size() > info.definedSize)
                return rs.fail(errors::MultipleStepError, QStringLiteral("Multiple-step operation generated errors. Check each status value."));
            stored = text;
        }
    }
    Recordset::Row &row = rs.rows_[rs.position_];
    if (row.original.isEmpty() && !row.isNew) {
        row.original = row.values;
        row.changed = QVector<bool>(row.values.size(), false);
    }
    if (row.changed.isEmpty())
        row.changed = QVector<bool>(row.values.size(), false);
    row.values[index_] = stored;
    row.changed[index_] = true;
    rs.succeed();
    return true;
}

// --- Recordset ---------------------------------------------------------------------------------

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

bool Recordset::fail(long number, const QString &description) const
{
    error_ = {number, description};
    return false;
}

bool Recordset::appendField(const QString &name, DataType type, int definedSize)
{
    if (open_)
        return fail(errors::ObjectOpen, kOpen);
    if (name.isEmpty() || fieldIndex(name) >= 0)
        return fail(errors::InvalidArgument,
                    QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another."));
    fields_.push_back({name, type, definedSize, {}, {}});
    succeed();
    return true;
}

bool Recordset::open()
{
    if (open_)
        return fail(errors::ObjectOpen, kOpen);
    if (fields_.empty())
        return fail(errors::ObjectClosed, QStringLiteral("Operation is not allowed in this context."));
    inMemory_ = true;
    rows_.clear();
    position_ = 0;
    open_ = true;
    succeed();
    return true;
}

bool Recordset::open(const QString &source, Connection &connection, CursorType, LockType, int)
{
    if (open_)
        return fail(errors::ObjectOpen, kOpen);
    const std::shared_ptr<Session> session = connection.session();
    if (!session)
        return fail(errors::ObjectClosed, kClosed);
    Error error;
    sqlite3_stmt *statement = session->prepare(source, error);
    if (!statement)
        return fail(error.number, error.description);
    const bool filled = fill(session, statement);
    sqlite3_finalize(statement);
    return filled;
}

bool Recordset::fill(const std::shared_ptr<Session> &session, sqlite3_stmt *statement)
{
    std::vector<FieldInfo> fields;
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
        FieldInfo info;
        info.name = QString::fromUtf8(sqlite3_column_name(statement, c));
        if (const char *table = sqlite3_column_table_name(statement, c))
            info.table = QString::fromUtf8(table);
        if (const char *column = sqlite3_column_origin_name(statement, c))
            info.column = QString::fromUtf8(column);
        typeFromDeclaration(sqlite3_column_decltype(statement, c), info.type, info.definedSize);
        fields.push_back(std::move(info));
    }
    std::vector<Row> rows;
    qint64 bytes = 0;
    int code;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
        Row row;
        row.values.reserve(columns);
        bytes += qint64(sizeof(Row)) + qint64(columns) * qint64(sizeof(QVariant));
        for (int c = 0; c < columns; ++c) {
            row.values.push_back(columnValue(statement, c));
            bytes += payloadBytes(statement, c);
        }
        if (bytes > MaxBytes)
            return fail(errors::OutOfMemory, QStringLiteral("The query returns more than a record set holds."));
        rows.push_back(std::move(row));
    }
    if (code != SQLITE_DONE) {
        const Error error = session->engineError();
        return fail(error.number, error.description);
    }
    fields_ = std::move(fields);
    rows_ = std::move(rows);
    position_ = 0;
    session_ = session;
    inMemory_ = false;
    open_ = true;
    succeed();
    return true;
}

bool Recordset::close()
{
    if (!open_)
        return fail(errors::ObjectClosed, kClosed);
    open_ = false;
    rows_.clear();
    if (!inMemory_)
        fields_.clear();
    session_.reset();
    position_ = 0;
    succeed();
    return true;
}

int Recordset::recordCount() const
{
    return open_ ? int(rows_.size()) : -1;
}

bool Recordset::bof() const
{
    return open_ && (rows_.empty() || position_ < 0);
}

bool Recordset::eof() const
{
    return open_ && (rows_.empty() || position_ >= qsizetype(rows_.size()));
}

bool Recordset::moveFirst()
{
    if (!open_)
        return fail(errors::ObjectClosed, kClosed);
    if (!commitPending())
        return false;
    if (rows_.empty())
        return fail(errors::NoCurrentRecord, kNoCurrentRecord);
    position_ = 0;
    succeed();
    return true;
}

bool Recordset::moveNext()
{
    if (!open_)
        return fail(errors::ObjectClosed, kClosed);
    if (eof())
        return fail(errors::NoCurrentRecord, kNoCurrentRecord);
    if (!commitPending())
        return false;
    ++position_;
    succeed();
    return true;
}

int Recordset::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

Field Recordset::field(int index)
{
    if (index < 0 || index >= fieldCount()) {
        fail(errors::ItemNotFound, kItemNotFound);
        return {};
    }
    return Field(this, index);
}

Field Recordset::field(const QString &name)
{
    const int index = fieldIndex(name);
    if (index < 0) {
        fail(errors::ItemNotFound, kItemNotFound);
        return {};
    }
    return Field(this, index);
}

bool Recordset::addNew()
{
    if (!open_)
        return fail(errors::ObjectClosed, kClosed);
    if (!inMemory_)
        return fail(errors::ProviderFailure, QStringLiteral("Current Recordset does not support updating."));
    if (!commitPending())
        return false;
    Row row;
    row.values = QVector<QVariant>(int(fields_.size()));
    row.changed = QVector<bool>(int(fields_.size()), false);
    row.isNew = true;
    rows_.push_back(std::move(row));
    position_ = qsizetype(rows_.size()) - 1;
    succeed();
    return true;
}

bool Recordset::update()
{
    if (!open_)
        return fail(errors::ObjectClosed, kClosed);
    if (bof() || eof())
        return fail(errors::NoCurrentRecord, kNoCurrentRecord);
    Row &row = rows_[position_];
    if (!inMemory_ && !row.changed.isEmpty() && !writeBack(row))
        return false;
    row.original.clear();
    row.changed.clear();
    row.isNew = false;
    succeed();
    return true;
}

bool Recordset::commitPending()
{
    if (position_ < 0 || position_ >= qsizetype(rows_.size()))
        return true;
    const Row &row = rows_[position_];
    if (row.changed.isEmpty() && !row.isNew)
        return true;
    return update();
}

// Writes the changed fields of a query row back to its table. The row is found again by the
// table's key when the query holds it, otherwise by every value as it was read; the changed
// columns must still hold their old values (optimistic locking), else nothing is written.
bool Recordset::writeBack(Row &row)
{
    const std::shared_ptr<Session> session = session_.lock();
    if (!session)
        return fail(errors::ObjectClosed, kClosed);
    QString table;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (!row.changed[int(i)])
            continue;
        if (fields_[i].table.isEmpty() || fields_[i].column.isEmpty() || (!table.isEmpty() && fields_[i].table != table))
            return fail(errors::ProviderFailure, QStringLiteral("Insufficient base table information for updating or refreshing."));
        table = fields_[i].table;
    }
    if (table.isEmpty())
        return true;

    int keyField = -1;
    for (size_t i = 0; i < fields_.size() && keyField < 0; ++i) {
        if (fields_[i].table != table || fields_[i].column.isEmpty())
            continue;
        const char *declared = nullptr;
        int primaryKey = 0;
        if (sqlite3_table_column_metadata(session->handle(), nullptr, table.toUtf8().constData(),
                                          fields_[i].column.toUtf8().constData(), &declared, nullptr, nullptr,
                                          &primaryKey, nullptr) == SQLITE_OK
            && primaryKey && declared && QString::fromLatin1(declared).compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            keyField = int(i);
    }

    QStringList assignments;
    QStringList criteria;
    QVector<QVariant> setValues;
    QVector<QVariant> criteriaValues;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldInfo &info = fields_[i];
        if (info.table != table || info.column.isEmpty())
            continue;
        const bool changed = row.changed[int(i)];
        if (changed) {
            assignments << quoted(info.column) + QLatin1String(" = ?");
            setValues << row.values[int(i)];
        }
        if (changed || keyField < 0 || int(i) == keyField) {
            criteria << quoted(info.column) + QLatin1String(" IS ? COLLATE BINARY");
            criteriaValues << row.original[int(i)];
        }
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = (SELECT rowid FROM %1 WHERE %3 LIMIT 1)")
                            .arg(quoted(table), assignments.join(QLatin1String(", ")), criteria.join(QLatin1String(" AND ")));
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(session->handle(), text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return fail(errors::ProviderFailure, session->engineError().description);
    }
    int index = 1;
    for (const QVariant &value : std::as_const(setValues))
        bindValue(statement, index++, value);
    for (const QVariant &value : std::as_const(criteriaValues))
        bindValue(statement, index++, value);
    const int code = sqlite3_step(statement);
    const Error error = session->engineError();
    sqlite3_finalize(statement);
    if (code != SQLITE_DONE)
        return fail(error.number, error.description);
    if (sqlite3_changes(session->handle()) != 1)
        return fail(errors::RowNotFoundForUpdate,
                    QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was last read."));
    return true;
}

}

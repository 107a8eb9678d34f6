#include "components/AdoRecordset.h"

#include "components/AdoConnection.h"
#include "components/AdoSession.h"

#include <QRegularExpression>

namespace ado {

namespace {

// The declared column type gives the field's type and size: VARCHAR(100) is text of at most
// 100 characters, TEXT without a size is long text.
void typeFromDeclaration(const QString &declared, DataType &type, int &size)
{
    const QString text = declared.toUpper();
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
        return rs.fail(errors::ObjectClosed), QVariant();
    if (!exists())
        return rs.fail(errors::ItemNotFound), QVariant();
    if (rs.bof() || rs.eof())
        return rs.fail(errors::NoCurrentRecord), QVariant();
    rs.succeed();
    return rs.valueOf(rs.rows_[rs.position_], index_);
}

bool Field::setValue(const QVariant &value)
{
    if (!recordset_)
        return false;
    Recordset &rs = *recordset_;
    if (!rs.open_)
        return rs.fail(errors::ObjectClosed);
    if (!exists())
        return rs.fail(errors::ItemNotFound);
    if (rs.bof() || rs.eof())
        return rs.fail(errors::NoCurrentRecord);
    const Recordset::FieldInfo &info = rs.fields_[index_];
    QVariant stored;
    if (!value.isNull()) {
        if (info.type == DataType::Integer) {
            bool ok = false;
            const qlonglong number = value.toLongLong(&ok);
            if (!ok)
                return rs.fail(errors::MultipleStepError);
            stored = number;
        } else {
            const QString text = value.toString();
            if (info.definedSize > 0 && text.size() > info.definedSize)
                return rs.fail(errors::MultipleStepError);
            stored = text;
        }
    }
    Recordset::Row &read = rs.rows_[rs.position_];
    if (!read.edit)
        read.edit = std::make_unique<Recordset::Edit>(Recordset::Edit{rs.valuesOf(read), {}, {}, false});
    Recordset::Edit &row = *read.edit;
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

bool Recordset::fail(const Error &error) const
{
    error_ = error;
    return false;
}

bool Recordset::fail(long number) const
{
    return fail(Error::of(number));
}

bool Recordset::appendField(const QString &name, DataType type, int definedSize)
{
    if (open_)
        return fail(errors::ObjectOpen);
    if (name.isEmpty() || fieldIndex(name) >= 0)
        return fail(errors::InvalidArgument);
    fields_.push_back({name, type, definedSize, {}, {}});
    succeed();
    return true;
}

bool Recordset::open()
{
    if (open_)
        return fail(errors::ObjectOpen);
    if (fields_.empty())
        return fail(errors::IllegalOperation);
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
        return fail(errors::ObjectOpen);
    const std::shared_ptr<Session> session = connection.session();
    if (!session)
        return fail(errors::ObjectClosed);
    Error error;
    const Statement statement = session->prepare(source, error);
    if (!statement)
        return fail(error);
    return fill(session, statement.get());
}

bool Recordset::fill(const std::shared_ptr<Session> &session, sqlite3_stmt *statement)
{
    std::vector<FieldInfo> fields;
    for (const ResultColumn &column : session->resultColumns(statement)) {
        FieldInfo info{column.name, DataType::VarChar, 0, column.table, column.column};
        typeFromDeclaration(column.declaredType, info.type, info.definedSize);
        fields.push_back(std::move(info));
    }
    const int columns = int(fields.size());
    std::vector<Row> rows;
    std::vector<Cell> cells;
    QByteArray store;
    Error error;
    Step step;
    while ((step = session->step(statement, error)) == Step::Row) {
        Row row;
        row.firstCell = cells.size();
        for (int c = 0; c < columns; ++c) {
            const RawValue raw = session->rawValue(statement, c);
            Cell cell;
            cell.kind = raw.kind;
            if (raw.kind == ValueKind::Integer) {
                cell.integer = raw.integer;
            } else if (raw.kind == ValueKind::Real) {
                cell.real = raw.real;
            } else {
                cell.offset = store.size();
                cell.size = raw.bytes.size();
                store.append(raw.bytes);
            }
            cells.push_back(cell);
        }
        rows.push_back(std::move(row));
        const qint64 held = store.size() + qint64(cells.size() * sizeof(Cell)) + qint64(rows.size() * sizeof(Row));
        if (held > MaxBytes)
            return fail(errors::OutOfMemory);
    }
    if (step == Step::Failed)
        return fail(error);
    fields_ = std::move(fields);
    rows_ = std::move(rows);
    cells_ = std::move(cells);
    store_ = std::move(store);
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
        return fail(errors::ObjectClosed);
    open_ = false;
    // Released, not kept for a next query: a closed record set may stay in its slot for long.
    std::vector<Row>().swap(rows_);
    std::vector<Cell>().swap(cells_);
    store_ = QByteArray();
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
        return fail(errors::ObjectClosed);
    if (!commitPending())
        return false;
    if (rows_.empty())
        return fail(errors::NoCurrentRecord);
    position_ = 0;
    succeed();
    return true;
}

bool Recordset::moveNext()
{
    if (!open_)
        return fail(errors::ObjectClosed);
    if (eof())
        return fail(errors::NoCurrentRecord);
    if (!commitPending())
        return false;
    ++position_;
    succeed();
    return true;
}

QVariant Recordset::valueOf(const Row &row, int column) const
{
    if (row.edit)
        return row.edit->values[column];
    const Cell &cell = cells_[row.firstCell + std::size_t(column)];
    switch (cell.kind) {
    case ValueKind::Integer:
        return QVariant(qlonglong(cell.integer));
    case ValueKind::Real:
        return QVariant(cell.real);
    case ValueKind::Text:
        return QVariant(QString::fromUtf8(store_.constData() + cell.offset, cell.size));
    case ValueKind::Blob:
        return QVariant(store_.mid(cell.offset, cell.size));
    case ValueKind::Null:
        break;
    }
    return QVariant();
}

QVector<QVariant> Recordset::valuesOf(const Row &row) const
{
    QVector<QVariant> values;
    values.reserve(fieldCount());
    for (int column = 0; column < fieldCount(); ++column)
        values.push_back(valueOf(row, column));
    return values;
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
        fail(errors::ItemNotFound);
        return {};
    }
    return Field(this, index);
}

Field Recordset::field(const QString &name)
{
    const int index = fieldIndex(name);
    if (index < 0) {
        fail(errors::ItemNotFound);
        return {};
    }
    return Field(this, index);
}

bool Recordset::addNew()
{
    if (!open_)
        return fail(errors::ObjectClosed);
    if (!inMemory_)
        return fail({errors::ProviderFailure, QStringLiteral("Current Recordset does not support updating.")});
    if (!commitPending())
        return false;
    Row row;
    row.edit = std::make_unique<Edit>(
        Edit{QVector<QVariant>(int(fields_.size())), {}, QVector<bool>(int(fields_.size()), false), true});
    rows_.push_back(std::move(row));
    position_ = qsizetype(rows_.size()) - 1;
    succeed();
    return true;
}

bool Recordset::update()
{
    if (!open_)
        return fail(errors::ObjectClosed);
    if (bof() || eof())
        return fail(errors::NoCurrentRecord);
    if (Edit *row = rows_[position_].edit.get()) {
        if (!inMemory_ && !row->changed.isEmpty() && !writeBack(*row))
            return false;
        row->original.clear();
        row->changed.clear();
        row->isNew = false;
    }
    succeed();
    return true;
}

bool Recordset::commitPending()
{
    if (position_ < 0 || position_ >= qsizetype(rows_.size()))
        return true;
    const Edit *row = rows_[position_].edit.get();
    if (!row || (row->changed.isEmpty() && !row->isNew))
        return true;
    return update();
}

// Writes the changed fields of a query row back to its table. The row is found again by the
// table's key when the query holds it, otherwise by every value as it was read; the changed
// columns must still hold their old values (optimistic locking), else nothing is written.
bool Recordset::writeBack(Edit &row)
{
    const std::shared_ptr<Session> session = session_.lock();
    if (!session)
        return fail(errors::ObjectClosed);
    QString table;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (!row.changed[int(i)])
            continue;
        if (fields_[i].table.isEmpty() || fields_[i].column.isEmpty() || (!table.isEmpty() && fields_[i].table != table))
            return fail({errors::ProviderFailure, QStringLiteral("Insufficient base table information for updating or refreshing.")});
        table = fields_[i].table;
    }
    if (table.isEmpty())
        return true;

    int keyField = -1;
    for (size_t i = 0; i < fields_.size() && keyField < 0; ++i) {
        if (fields_[i].table != table || fields_[i].column.isEmpty())
            continue;
        if (session->isRowIdColumn(table, fields_[i].column))
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
    Error error;
    const Statement statement = session->prepare(sql, error);
    if (!statement)
        return fail(error);
    int index = 1;
    for (const QVariant &value : std::as_const(setValues))
        session->bind(statement.get(), index++, value);
    for (const QVariant &value : std::as_const(criteriaValues))
        session->bind(statement.get(), index++, value);
    if (session->step(statement.get(), error) == Step::Failed)
        return fail(error);
    if (session->changes() != 1)
        return fail(errors::RowNotFoundForUpdate);
    return true;
}

}

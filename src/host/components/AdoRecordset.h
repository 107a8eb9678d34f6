#pragma once

#include "components/AdoTypes.h"

#include <QVariant>
#include <QVector>

#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace ado {

class Connection;
class Session;
class Recordset;

// One column of a record set's current row. A view: valid while its record set lives.
class Field {
public:
    Field() = default;

    bool isValid() const { return recordset_ != nullptr; }
    QString name() const;
    DataType type() const;
    int definedSize() const;
    // The value in the current row: text for text columns, a 64-bit integer for numbers, a null
    // variant for NULL, for no current row or for an invalid field.
    QVariant value() const;
    // Changes the current row; Recordset::update writes it. Fails without a current row or when
    // a text is longer than the field's defined size.
    bool setValue(const QVariant &value);

private:
    friend class Recordset;
    Field(Recordset *recordset, int index) : recordset_(recordset), index_(index) {}
    // False once the record set no longer has this column: closed, or opened again on a query
    // of fewer columns.
    bool exists() const;

    Recordset *recordset_ = nullptr;
    int index_ = -1;
};

// A record set with client-side cursor behaviour: every row is read when it opens, so
// recordCount() is exact and the cursor moves freely. Opened on a query it can write changed
// fields back to the query's table; opened without a source it is an in-memory table whose
// fields were appended first.
class Recordset {
public:
    // The most a record set opened on a query holds, estimated in bytes of memory: many times
    // what the biggest table of a hardware-ID database needs, and far below what the process
    // has. A query that returns more fails to open instead of filling memory without end (a
    // view over an endless recursive query).
    static constexpr qint64 MaxBytes = 256 * 1024 * 1024;

    Recordset();
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // In-memory record sets: define the fields before open().
    bool appendField(const QString &name, DataType type, int definedSize);
    bool open();
    bool open(const QString &source, Connection &connection, CursorType cursorType = CursorType::ForwardOnly,
              LockType lockType = LockType::ReadOnly, int options = OptionUnspecified);
    bool close();
    bool isOpen() const { return open_; }

    int recordCount() const;   // -1 when closed
    bool bof() const;
    bool eof() const;
    bool moveFirst();
    bool moveNext();

    int fieldCount() const { return int(fields_.size()); }
    Field field(int index);
    Field field(const QString &name);

    bool addNew();
    bool update();

    const Error &lastError() const { return error_; }

private:
    friend class Field;
    friend class Command;

    struct FieldInfo {
        QString name;
        DataType type = DataType::VarChar;
        int definedSize = 0;
        QString table;    // origin of a query column; empty when it cannot be written back
        QString column;
    };
    // A value of a row read from a query, kept as the engine gave it until a field reads it:
    // numbers in place, text (UTF-8) and blobs as a stretch of the record set's byte store, so
    // that reading a query costs no allocation per value.
    struct Cell {
        ValueKind kind = ValueKind::Null;
        union {
            qint64 integer;
            double real;
            qsizetype offset;
        };
        qsizetype size = 0;
    };
    // The values of a row once a field of it is assigned, and of an added row.
    struct Edit {
        QVector<QVariant> values;
        QVector<QVariant> original;   // as read, to find the row again on update
        QVector<bool> changed;
        bool isNew = false;
    };
    struct Row {
        std::size_t firstCell = 0;    // of a row read from a query
        std::unique_ptr<Edit> edit;
    };

    bool fail(const Error &error) const;
    bool fail(long number) const;   // with the number's own description
    void succeed() const { error_ = {}; }
    // Reads every row of a prepared statement, which stays the caller's.
    bool fill(const std::shared_ptr<Session> &session, sqlite3_stmt *statement);
    bool commitPending();
    bool writeBack(Edit &row);
    int fieldIndex(const QString &name) const;
    QVariant valueOf(const Row &row, int column) const;
    QVector<QVariant> valuesOf(const Row &row) const;

    bool open_ = false;
    bool inMemory_ = false;
    std::vector<FieldInfo> fields_;
    std::vector<Row> rows_;
    std::vector<Cell> cells_;   // the values of the rows read from a query, row after row
    QByteArray store_;          // the bytes of their text and blob values
    qsizetype position_ = 0;   // -1 before the first row, rows_.size() after the last
    std::weak_ptr<Session> session_;
    mutable Error error_;
};

}

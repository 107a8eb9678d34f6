#pragma once

#include <QString>

// Constants and the error record of the data-access objects. The values are the data-access
// library's published ones, so that callers can be read beside the design.
namespace ado {

enum class CursorLocation { Server = 2, Client = 3 };
enum class CursorType { ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
enum class LockType { ReadOnly = 1, Pessimistic = 2, Optimistic = 3, BatchOptimistic = 4 };
enum class DataType { Integer = 3, VarChar = 200, LongVarChar = 201 };
enum class ParameterDirection { Input = 1 };
enum class CommandType { Text = 1 };
// What a value of the engine is, before it becomes a variant.
enum class ValueKind : quint8 { Null, Integer, Real, Text, Blob };

// Options of Connection::open, Recordset::open and Command::execute.
constexpr int OptionUnspecified = -1;
constexpr int CmdText = 1;
constexpr int ExecuteNoRecords = 128;

// Error numbers callers may meet; provider failures carry the engine's message as description.
namespace errors {
constexpr long InvalidArgument = 3001;
constexpr long NoCurrentRecord = 3021;      // either BOF or EOF is true
constexpr long IllegalOperation = 3219;
constexpr long ItemNotFound = 3265;
constexpr long ObjectClosed = 3704;
constexpr long ObjectOpen = 3705;
constexpr long ProviderFailure = -2147467259;      // unspecified provider error
constexpr long RowNotFoundForUpdate = -2147217864;
constexpr long MultipleStepError = -2147217887;    // a value that does not fit its field or parameter
constexpr long OutOfMemory = -2147024882;          // a record set would hold more than it may

// The description of each number that the objects raise themselves; a provider failure says
// what the engine said instead.
struct Text {
    long number;
    const char *description;
};
inline constexpr Text kTexts[] = {
    {InvalidArgument, "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another."},
    {NoCurrentRecord,
     "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record."},
    {IllegalOperation, "Operation is not allowed in this context."},
    {ItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal."},
    {ObjectClosed, "Operation is not allowed when the object is closed."},
    {ObjectOpen, "Operation is not allowed when the object is open."},
    {RowNotFoundForUpdate, "Row cannot be located for updating. Some values may have been changed since it was last read."},
    {MultipleStepError, "Multiple-step operation generated errors. Check each status value."},
    {OutOfMemory, "The query returns more than a record set holds."},
};
}

struct Error {
    long number = 0;
    QString description;

    bool failed() const { return number != 0; }

    // An error the objects raise themselves, with its description from errors::kTexts.
    static Error of(long number)
    {
        for (const errors::Text &text : errors::kTexts) {
            if (text.number == number)
                return {number, QString::fromLatin1(text.description)};
        }
        return {number, QString()};
    }
};

}

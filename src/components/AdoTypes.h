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
enum class Schema { Tables = 20 };

// Options of Connection::open, Recordset::open and Command::execute.
constexpr int OptionUnspecified = -1;
constexpr int CmdText = 1;
constexpr int ExecuteNoRecords = 128;

// Error numbers callers may meet; provider failures carry the engine's message as description.
namespace errors {
constexpr long InvalidArgument = 3001;
constexpr long NoCurrentRecord = 3021;      // either BOF or EOF is true
constexpr long ItemNotFound = 3265;
constexpr long ObjectClosed = 3704;
constexpr long ObjectOpen = 3705;
constexpr long ProviderFailure = -2147467259;      // unspecified provider error
constexpr long RowNotFoundForUpdate = -2147217864;
constexpr long MultipleStepError = -2147217887;    // a value that does not fit its field or parameter
constexpr long OutOfMemory = -2147024882;          // a record set would hold more than it may
}

struct Error {
    long number = 0;
    QString description;

    bool failed() const { return number != 0; }
};

}

#pragma once

#include "components/AdoCommand.h"
#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The one program-wide connection to hwids.mdb in the program folder, and its operations.
// Record sets are shared so that a yield inside one operation cannot free the object that
// another operation is still walking: each operation keeps its own reference while it works.
namespace ModDatabase {

inline std::shared_ptr<ado::Connection> DatabaseConnection;
inline std::shared_ptr<ado::Command> DatabaseCommand;
inline std::shared_ptr<ado::Recordset> IdentityRecordset;
inline std::shared_ptr<ado::Recordset> HwidsRecordset;
inline std::shared_ptr<ado::Recordset> DeviceNamesRecordset;
inline std::shared_ptr<ado::Recordset> MfgsRecordset;
inline std::shared_ptr<ado::Recordset> VersionRecordset;

// Opens the connection; a failure shows the error box and ends the process. A file that is not
// a sound hardware-ID database (IsSoundHardwareIdDatabase) counts as a failure.
void OpenDatabase();

// Whether the open connection reaches a sound hardware-ID database: the tables hwids,
// devicenames, mfgs and version are plain tables (no views, no virtual tables, no computed
// columns) with the columns the operations use, and the file holds no view and no trigger
// (a trigger runs on every insert; a view may be endless, so the check reads none). The
// engine's integrity check runs when the connection opens (a damaged file does not open). On
// failure `problem` says what is wrong.
bool IsSoundHardwareIdDatabase(ado::Connection &connection, ado::Error &problem);
// The same for a file, on a connection of its own that is closed again: whether it opens and
// is sound. The update's install checks a downloaded database with it before it replaces
// hwids.mdb.
bool IsSoundHardwareIdDatabase(const QString &path, ado::Error *problem = nullptr);
void CloseDatabase();

QString GetDeviceNameByID(const QString &id);
QString GetManufacturerByID(const QString &id);

// Device line: hardware ID, name and manufacturer joined with "|||".
bool IsHardwareInDatabase(const QString &deviceLine);
void AddHardwareToDatabase(const QString &deviceLine);

// Replaces the record set in `slot` by a fresh one and opens the query on DatabaseConnection
// (forward-only, optimistic), then yields. Keep the returned reference while walking the rows:
// another handler may replace `slot` meanwhile. With the connection closed the record set stays
// closed (recordCount() -1), as any failed query leaves it.
std::shared_ptr<ado::Recordset> OpenQuery(std::shared_ptr<ado::Recordset> &slot, const QString &sql);

// The main window's reading of the database: the device count (one row, column "total") into
// HwidsRecordset and the version table into VersionRecordset, each through OpenQuery (so each
// yields). The count alone: a record set of every row would hold the whole table in memory just
// to report how many there are.
std::shared_ptr<ado::Recordset> OpenDeviceCount();
std::shared_ptr<ado::Recordset> OpenVersionTable();
// The first row's dbversion, unless it is null or there is no row.
std::optional<QString> ReadDatabaseVersion(ado::Recordset &versions);
// The first row's total, unless there is no row.
std::optional<int> ReadDeviceCount(ado::Recordset &count);

// How OpenDatabase ends the process after its message; tests replace it.
void SetExitHandler(std::function<void(int)> handler);

}

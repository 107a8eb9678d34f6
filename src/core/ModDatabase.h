#pragma once

#include "components/AdoCommand.h"
#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"

#include <QString>

#include <functional>
#include <memory>

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

// Opens the connection; a failure shows the error box and ends the process.
void OpenDatabase();
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

// How OpenDatabase ends the process after its message; tests replace it.
void SetExitHandler(std::function<void(int)> handler);

}

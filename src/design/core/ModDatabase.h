#pragma once

#include "components/AdoCommand.h"
#include "components/AdoConnection.h"
#include "components/AdoRecordset.h"

#include <QString>
#include <QStringList>

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
// a sound hardware-ID database (IsSoundHardwareIdDatabase) counts as a failure. An install that
// was cut short is finished or undone first (FinishInterruptedInstall).
void OpenDatabase();

// The schema check of a hardware-ID database, made by every open before the file is read any
// further (the full integrity check included): the catalogue holds exactly the four tables
// hwids, devicenames, mfgs and version with their columns and types as the build makes them,
// and nothing else but the indexes on the searched columns and the engine's AUTOINCREMENT
// table: no constraint, trigger, view, generated column, other index, function or collation.
// It reads the catalogue only, never a row. On failure `problem` says what is wrong.
bool IsSoundHardwareIdDatabase(ado::Connection &connection, ado::Error &problem);
// Whether a file may replace hwids.mdb: it opens as a sound hardware-ID database (the full
// check within its time limit, the message loop running meanwhile) and holds at least one
// hardware ID. The update's install checks a downloaded database with it.
bool IsInstallableHardwareIdDatabase(const QString &path, ado::Error *problem = nullptr);

// The (name ID, manufacturer ID) lines of an info field, the one reading of that format: without
// CR LF the whole text is the one line (an empty text gives none); otherwise the lines not blank
// after trimming spaces, as they stand.
QStringList PairLines(const QString &info);

// The database's file name in the program folder, which an install replaces.
const QString &DatabaseFileName();
// The install's folders in the program folder: the staging folder the archive is unpacked into,
// and the aside folder that keeps the old files (hwids.mdb first, as a second link of it) until
// the new ones are in place.
const QString &InstallStagingFolder();
const QString &InstallAsideFolder();
// After a crash in an install: while the aside folder keeps the old hwids.mdb that is still in
// place, the new one never went in and every file kept there goes back; otherwise the install
// had replaced the database and what it kept is let go. The staging folder is removed.
void FinishInterruptedInstall();
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

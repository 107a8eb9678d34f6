#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

// The few values that several windows share for the whole run, and small text utilities.
// Everything runs on the one user-interface thread; nothing here is locked.
namespace ModMain {

inline bool ClosingProgram = false;    // set once when the main window begins to close
inline QString AppVersion;             // major.minor.revision
inline QString DatabaseVersion;        // as read from the hardware-ID database
inline std::int32_t DevicesInDatabase = 0;
inline bool ProgramUpToDate = false;
inline bool DatabaseUpToDate = false;
inline bool CheckForUpdates = false;   // settings key CheckForUpdates
inline bool DisableShadow = false;     // settings key CheckDisableShadow
// A guarded pointer: a lookup window may be unloaded while its menu is still on the way.
inline QPointer<QWidget> MenuTargetForm;
inline QString SystemFolder;           // always ends with a separator

// The text before the first NUL; the whole text when it holds none.
QString TrimNull(const QString &text);

// Leading and trailing spaces (character 32) removed, nothing else.
QString TrimSpaces(const QString &text);

// Tabs and no-break spaces become spaces, runs of spaces become one, the result is trimmed of
// spaces. Lets the message loop run between its passes.
QString NormalizeSpaces(const QString &value);

// Deletes the file, ignoring every failure, then lets the message loop run once.
void DeleteFilePath(const QString &path);

// "n Bytes", "n.nn KB" or "n.nn MB" by the ranges the update window shows.
QString FormatByteSize(double n);

void SetMenuTarget(QWidget *window);

}

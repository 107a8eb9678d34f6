#pragma once

#include <QString>

class QWidget;

namespace ModSpecialFolders {

// The system folder's number among the special folders.
inline constexpr int CSIDL_SYSTEM = 37;

// What the first folder request found out: which library offers the folder function.
struct FolderFunctionProbe {
    bool probed = false;
    bool inShell32 = false;
    bool inShfolder = false;
};

// The path of a special folder, or "" when it cannot be had. flags and the owner window and
// token are passed through to the folder function; create asks for the folder to be made.
QString GetSpecialFolderPath(int folder, int flags = 0, bool create = false, QWidget *owner = nullptr,
                             void *token = nullptr);

// The system folder (number 37, no flags, not created).
QString GetSystemFolderPath();

// Whether the library exports the function: a library not yet loaded is loaded for the question
// and unloaded again; one that cannot be loaded answers false.
bool IsFunctionExported(const QString &functionName, const QString &libraryName);

// The probe record, and a fresh start for tests.
FolderFunctionProbe ProbeState();
void ResetProbe();

} // namespace ModSpecialFolders

#pragma once

#include <QString>

#include <functional>

class Zentrax;

// Puts the files of a downloaded database archive into the program folder without ever
// breaking the working hwids.mdb. The archive is refused when an entry is named like one of the
// database's side files (a journal the engine would play back at the next open, a log, a
// stamp). It is unpacked into a staging folder inside the program folder, and its hwids.mdb
// must be installable (ModDatabase::IsInstallableHardwareIdDatabase: the schema, the full check
// within its limit, a hardware ID). Then the files are swapped in, hwids.mdb last: each old file
// is kept in the aside folder as a second link, the new one renamed over it, and before the
// database the side files beside it are moved aside too, so that the one rename that replaces
// hwids.mdb is all it takes. Should a step fail, every old file goes back and the folders the
// install made are removed. A crash or kill at any moment leaves the old or the new hwids.mdb
// whole in its place; the next open finishes or undoes what was cut short
// (ModDatabase::FinishInterruptedInstall). Other files of an archive cut short by a crash may
// be in place already.
namespace DatabaseInstall {

// OpenFailed: the archive did not open or is refused by its listing, or the files could not be
// put in place; ExtractFailed: the unpacking failed or the database in it is refused.
enum class Result { Installed, OpenFailed, ExtractFailed };

// `zip` raises its Progress while unpacking; `archivePath` is hwids.7z.
Result Install(Zentrax &zip, const QString &archivePath, const QString &programFolder);

// Runs before every step of the install that changes a file; tests stop the process there.
void SetStepHookForTesting(std::function<void()> hook);

} // namespace DatabaseInstall

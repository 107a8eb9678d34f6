#pragma once

#include <QString>

class Zentrax;

// Puts the files of a downloaded database archive into the program folder without ever
// breaking the working hwids.mdb: the archive is unpacked into a staging folder inside the
// program folder, its hwids.mdb must pass the check that opening the database makes
// (ModDatabase::IsSoundHardwareIdDatabase), and only then are the files swapped in, all or
// nothing: each old file is set aside by a rename, the new one renamed into its place, and
// should any step fail every old file goes back. On any failure the program folder is as it
// was and the staging folder is removed.
namespace DatabaseInstall {

enum class Result { Installed, OpenFailed, ExtractFailed };

// `zip` raises its Progress while unpacking; `archivePath` is hwids.7z.
Result Install(Zentrax &zip, const QString &archivePath, const QString &programFolder);

} // namespace DatabaseInstall

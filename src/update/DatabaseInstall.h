#pragma once

#include <QString>

class Zentrax;

// Puts the files of a downloaded database archive into the program folder without ever
// breaking the working hwids.mdb: the archive is unpacked into a staging folder inside the
// program folder, its hwids.mdb must open as a hardware-ID database (the four tables), and
// only then does each file replace its old one by an atomic rename. On any failure the old
// files are untouched and the staging folder is removed.
namespace DatabaseInstall {

enum class Result { Installed, OpenFailed, ExtractFailed };

// `zip` raises its Progress while unpacking; `archivePath` is hwids.7z.
Result Install(Zentrax &zip, const QString &archivePath, const QString &programFolder);

// True when the file opens as a hardware-ID database with its four tables.
bool IsHardwareIdDatabase(const QString &path);

} // namespace DatabaseInstall

#pragma once

#include <QString>

// The rule shared by the three version checks: which online texts count, how the local database
// version is read from the main window, and when the online version is newer. Pure functions, so
// the main window's silent check and the update window's two checks cannot drift apart.
namespace VersionCheck {

// Limits L: an online text of L characters or more is taken for an error page, not a version.
inline constexpr int ProgramVersionLimit = 10;
inline constexpr int DatabaseVersionLimit = 15;

// The version after the first ":" of a "Database Version: x" caption (up to a second ":"),
// trimmed of blanks; empty when the caption has no ":".
QString LocalDatabaseVersion(const QString &caption);

// True when the online text may be compared: not empty and shorter than `limit` characters.
bool IsValidOnlineVersion(const QString &online, int limit);

// One field padded to five digits when it is a number ("3" -> "00003", "123456" stays whole);
// a field that is not a number is returned unchanged.
QString PaddedField(const QString &field);

// The up-to-date flag: false exactly when the online version is higher in the first field in
// which the two differ. Fields are compared as padded texts; a field missing on either side
// ends the comparison as up to date.
bool IsUpToDate(const QString &online, const QString &local);

} // namespace VersionCheck

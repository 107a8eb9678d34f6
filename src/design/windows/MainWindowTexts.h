#pragma once

#include <QString>

// The main window's small text rules, apart from the window so that they can be tested alone.
namespace MainWindowTexts {

// The count as the pattern "###,###,###,###" shows it: digits grouped by thousands with the
// system's group separator; 0 gives no digits at all.
QString FormatDeviceCount(qint64 count);

// A tab caption: the tab's Tag, " (", the count, ")".
QString TabCaption(const QString &tag, int count);

// A settings value as a Boolean: a number is true unless 0, "true" and "false" in any letter case
// are themselves; anything else (the empty text included) leaves `previous`.
bool SettingAsBoolean(const QString &value, bool previous);

// "major.minor.revision" without leading zeros.
QString VersionText(int major, int minor, int revision);

} // namespace MainWindowTexts

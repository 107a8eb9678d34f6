#pragma once

#include <QString>

// The download control's texts and its target-path rule: pure functions.
namespace DownLoadFormat {

// Bytes per second: "512 Bytes/s", "1.50 KB/s", "2.00 MB/s".
QString FormatRate(double rate);
// Seconds left: "42 sec", "3 min 5 sec", "1 hr 20 min".
QString FormatTimeLeft(float seconds);
// The save location's base (up to its last "." among the last six characters) followed by the
// URL's extension from the same search: hwids.7z saved as C:\File1.tmp gives C:\File1.7z.
QString ApplyUrlExtension(const QString &url, const QString &saveLocation);

} // namespace DownLoadFormat

#pragma once

#include <QString>

namespace os {

// A file path as the design writes it, for this platform: "\" is taken as a separator too, and
// when the named file does not exist but one whose name differs only in letter case does, that
// one is meant (the design's file names are not case-sensitive: "Settings.ini" is
// "settings.ini").
QString resolveFileName(const QString &path);

}

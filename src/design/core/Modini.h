#pragma once

#include "os/ProfileFile.h"

#include <QString>

// Single values of the settings file, settings.ini in the program folder unless a file is named.
namespace Modini {

// The settings file's name in the program folder.
inline const QString kSettingsFileName = QStringLiteral("settings.ini");

// The key's value, at most 2047 characters; the empty text when the file, section or key is missing.
QString ReadIni(const QString &section, const QString &key, const QString &file = {});

// One section read once, for a reader of many keys (a whole colour scheme), which would
// otherwise read the file once per key. Value gives each key as ReadIni would have.
class IniSection {
public:
    explicit IniSection(const QString &section, const QString &file = {});
    QString Value(const QString &key) const;

private:
    os::ProfileSection m_keys;
};

// Writes the value. A missing file is first created as empty UTF-16 text with its byte-order
// mark, so that everything written afterwards is stored as UTF-16. Answers whether the write
// succeeded.
bool WriteIni(const QString &section, const QString &key, const QString &value, const QString &file = {});

}

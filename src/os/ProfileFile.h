#pragma once

#include <QString>

// The platform's private-profile functions over initialisation files: UTF-16LE files with a
// byte-order mark, and plain 8-bit files. Sections and keys match without regard to letter case;
// a write changes only the line of its key (or adds one) and keeps every other line as it was.
namespace os {

// Copies the key's value (or the default when the file, section or key is missing) into
// `returned`, cut to size - 1 characters, and answers the number of characters copied.
unsigned GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                 QString &returned, unsigned size, const QString &fileName);

// Sets the key's value: replaces the key's line, adds the key after the last key of its
// section, or adds the section at the end. A missing file is created as 8-bit text. Answers
// false when the file cannot be written; the file is then unchanged.
bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName);

}

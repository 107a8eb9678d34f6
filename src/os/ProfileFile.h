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
// section, or adds the section at the end. Every other line keeps its bytes, and the file its
// encoding; a Windows-1252 file that cannot take the value as it is (a character the code page
// lacks, or bytes that would make the file read as UTF-8) becomes UTF-16LE with its mark, every
// line keeping its text. A missing file is created as 8-bit text. Answers false when the file
// cannot be written or cannot hold the value (text that is not valid UTF-16); the file is then
// unchanged.
bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName);

}

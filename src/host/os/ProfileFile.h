#pragma once

#include <QHash>
#include <QString>

// The platform's private-profile functions over initialisation files: UTF-16LE files with a
// byte-order mark, and plain 8-bit files. Sections and keys match without regard to letter case;
// a write changes only the line of its key (or adds one) and keeps every other line as it was.
namespace os {

// The largest settings or preset file that is read or written, in bytes. A real one holds a few
// kilobytes; anything larger is not a file this system wrote, and reading it whole for every key
// would freeze the program. A larger file holds no keys for reading and refuses every write.
inline constexpr qsizetype kMaxProfileFileBytes = 4 * 1024 * 1024;

// One section of a file, read once, for readers of many keys: each key as
// GetPrivateProfileString would read it. Empty when the file or the section is missing.
class ProfileSection {
public:
    ProfileSection(const QString &section, const QString &fileName);

    // GetPrivateProfileString on the section as it was read.
    unsigned GetString(const QString &key, const QString &defaultValue, QString &returned, unsigned size) const;

private:
    QHash<QString, QString> m_values;   // by trimmed, case-folded key; a key's first line wins
};

// Copies the key's value (or the default when the file, section or key is missing) into
// `returned`, cut to size - 1 characters, and answers the number of characters copied.
unsigned GetPrivateProfileString(const QString &section, const QString &key, const QString &defaultValue,
                                 QString &returned, unsigned size, const QString &fileName);

// Sets the key's value: replaces the key's line, adds the key after the last key of its
// section, or adds the section at the end. A last line that ends in a lone carriage return gets
// its line feed. Every other line keeps its bytes, and the file its
// encoding; a Windows-1252 file that cannot take the value as it is (a character the code page
// lacks, or bytes that would make the file read as UTF-8) becomes UTF-16LE with its mark, every
// line keeping its text. A missing file is created as 8-bit text. Answers false when the file
// cannot be written, cannot hold the value (text that is not valid UTF-16) or is, or would
// become, larger than kMaxProfileFileBytes; the file is then unchanged.
bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName);

}

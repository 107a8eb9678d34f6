#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Runs `7zz a <archive> <arguments>` in `folder`, as the maker packs an archive. True when the
// engine succeeded.
bool packArchive(const QString &folder, const QString &archive, const QStringList &arguments);

// Marks the one entry of an archive as a Windows reparse point (the attribute the engine's
// listing shows as "L"), as an archive made on Windows with links stored as links has it. The
// engine cannot store one on Linux, so the entry's attribute is set in the archive's header,
// which must be stored uncompressed (packed with "-mhc=off"), and the header's checksums are
// made anew. False when the archive is not of that shape.
bool markEntryAsReparsePoint(const QString &archive);

}

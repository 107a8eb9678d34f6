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

// A stand-in for the engine, made in `folder`: a program that answers the listing command with
// the listing's header and `entries` (the "Key = value" blocks after the line of dashes), with
// `beforeListing` run first and `listStatus` as its exit status, and the extraction with
// `extractedBytes` zero bytes. Returns its path, for Zentrax::SetEngineProgramForTesting; an
// empty text when it could not be written. A listing that the real engine would take minutes to
// produce (entries of hundreds of megabytes) is handed over at once.
QString writeStandInEngine(const QString &folder, const QByteArray &entries, int listStatus = 0, qint64 extractedBytes = 0,
                           const QByteArray &beforeListing = {});

}

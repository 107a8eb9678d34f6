#include "support/SevenZipArchives.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>

#include <array>

namespace testsupport {

namespace {

constexpr quint32 kReparsePoint = 0x400;
// The signature header: checksum of the next 20 bytes, then the next header's offset (after
// these 32 bytes), size and checksum.
constexpr int kSignatureHeaderSize = 32;
// The attribute property of one entry: its id, its size (a defined-flag, an external-flag and
// the four bytes of the value), all defined, not external.
const QByteArray kOneAttribute = QByteArray::fromHex("15060100");

quint32 crc32(QByteArrayView bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> entries{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[i] = c;
        }
        return entries;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

}

bool packArchive(const QString &folder, const QString &archive, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("7zz"), QStringList{QStringLiteral("a"), QStringLiteral("-bso0"), QStringLiteral("-bsp0"), archive} + arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString writeStandInEngine(const QString &folder, const QByteArray &entries, int listStatus, qint64 extractedBytes,
                           const QByteArray &beforeListing)
{
    const QString listingPath = folder + QStringLiteral("/stand-in-listing");
    const QString enginePath = folder + QStringLiteral("/stand-in-engine");
    QFile listing(listingPath);
    if (!listing.open(QIODevice::WriteOnly)
        || !listing.write(QByteArray("7-Zip (z)\n\n--\nPath = some.7z\nType = 7z\n\n----------\n") + entries + "\n"))
        return {};
    listing.close();
    QFile engine(enginePath);
    if (!engine.open(QIODevice::WriteOnly)
        || !engine.write(QStringLiteral("#!/bin/sh\ncase \"$1\" in\n"
                                        "l) %1 cat '%2'; exit %3 ;;\n"
                                        "x) head -c %4 /dev/zero ;;\nesac\n")
                             .arg(QString::fromUtf8(beforeListing), listingPath)
                             .arg(listStatus)
                             .arg(extractedBytes)
                             .toUtf8()))
        return {};
    engine.close();
    if (!QFile::setPermissions(enginePath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return {};
    return enginePath;
}

bool markEntryAsReparsePoint(const QString &archive)
{
    QFile file(archive);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    if (bytes.size() < kSignatureHeaderSize)
        return false;
    const quint64 offset = qFromLittleEndian<quint64>(bytes.constData() + 12);
    const quint64 size = qFromLittleEndian<quint64>(bytes.constData() + 20);
    if (offset + size + kSignatureHeaderSize != quint64(bytes.size()))
        return false;
    const qsizetype header = kSignatureHeaderSize + qsizetype(offset);
    const qsizetype property = bytes.indexOf(kOneAttribute, header);
    if (property < 0 || bytes.indexOf(kOneAttribute, property + 1) >= 0)
        return false;
    char *value = bytes.data() + property + kOneAttribute.size();
    qToLittleEndian<quint32>(qFromLittleEndian<quint32>(value) | kReparsePoint, value);
    qToLittleEndian<quint32>(crc32(QByteArrayView(bytes).sliced(header, qsizetype(size))), bytes.data() + 28);
    qToLittleEndian<quint32>(crc32(QByteArrayView(bytes).sliced(12, 20)), bytes.data() + 8);
    return file.seek(0) && file.write(bytes) == bytes.size();
}

}

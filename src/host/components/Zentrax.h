#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

// The 7-Zip archive wrapper over the engine's own program, `7zz`: open an archive, extract
// everything, report progress in bytes. Only 7z archives open. An archive is refused at the
// open when an entry would land outside the destination (absolute paths, ".." parts), is a link
// of either kind (a Unix link or a Windows reparse point) or anything but a file or a folder,
// when a name is one the listing cannot carry unaltered (not UTF-8, a control character, "=")
// or is listed twice, or when the archive holds more entries or more unpacked bytes (all
// entries together) than its bounds. Extraction asks the engine for the entries by their listed
// names (so an entry the listing renamed gives nothing and fails the extraction) and
// writes the files itself from the engine's output, each exactly as long as the listing says,
// so nothing but plain files and folders below the destination is ever written. Every wait for
// the engine is bounded and lets the message loop run.
class Zentrax : public QObject {
    Q_OBJECT

public:
    // A database archive holds a handful of files and some tens of megabytes; these bounds lie
    // far above that and far below what would fill a disk or a day.
    static constexpr int kMaxEntries = 1000;
    static constexpr qint64 kMaxUnpackedBytes = qint64(512) * 1024 * 1024;
    // The engine's listing and extraction must end within these times.
    static constexpr int kListTimeLimitMs = 30 * 1000;
    static constexpr int kExtractTimeLimitMs = 5 * 60 * 1000;

    explicit Zentrax(QObject *parent = nullptr);

    // The engine is the `7zz` program on the path; `enginePath` (the library the wrapper was
    // given elsewhere) is accepted and not needed. True when the program can be found.
    bool LoadEngine(const QString &enginePath);
    // True only for a readable 7z archive whose entries are all safe to extract and within the
    // bounds. Without the engine it is false, as for an archive that does not open.
    bool Open(const QString &archivePath);
    // Extracts every entry of the opened archive below `destination`, overwriting files that
    // are there; raises Progress meanwhile and once at the end. False when the destination's
    // disk has not the room, when the engine fails, runs out of time or gives other bytes than
    // the listing promised; what was written by then is left for the caller to remove.
    bool ExtractAll(const QString &destination);

    // The entries of the opened archive (paths with "/"), and their total size in bytes.
    const QStringList &entries() const { return entries_; }
    qint64 totalSize() const { return totalSize_; }

    // The program run as the engine; tests point it at something missing or at a stand-in.
    static void SetEngineProgramForTesting(const QString &program);

signals:
    void Progress(double bytesDone, double bytesTotal);

private:
    struct Item {
        QString listedPath;
        QString path;
        qint64 size = 0;
        bool folder = false;
    };
    class Writer;

    QString archive_;
    std::vector<Item> items_;
    QStringList entries_;
    qint64 totalSize_ = 0;
};

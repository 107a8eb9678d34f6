#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The 7-Zip archive wrapper over the engine's own program, `7zz`: open an archive, extract
// everything, report progress in bytes. Only 7z archives open; an archive whose entries would
// land outside the destination (absolute paths, ".." parts) or that holds links is refused, so
// an extraction never writes anywhere but below its destination folder.
class Zentrax : public QObject {
    Q_OBJECT

public:
    explicit Zentrax(QObject *parent = nullptr);

    // The engine is the `7zz` program on the path; `enginePath` (the library the wrapper was
    // given elsewhere) is accepted and not needed. True when the program can be found.
    bool LoadEngine(const QString &enginePath);
    // True only for a readable 7z archive whose entries are all safe to extract.
    bool Open(const QString &archivePath);
    // Extracts every entry of the opened archive below `destination`, overwriting files that
    // are there; raises Progress meanwhile and once at the end. True on success.
    bool ExtractAll(const QString &destination);

    // The entries of the opened archive (paths with "/"), and their total size in bytes.
    const QStringList &entries() const { return entries_; }
    qint64 totalSize() const { return totalSize_; }

    // The program run as the engine; tests point it at something missing.
    static void SetEngineProgramForTesting(const QString &program);

signals:
    void Progress(double bytesDone, double bytesTotal);

private:
    QString archive_;
    QStringList entries_;
    qint64 totalSize_ = 0;
};

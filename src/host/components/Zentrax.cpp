#include "components/Zentrax.h"

#include "runtime/DoEvents.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

// Each pass waits this long for the engine's output, then the message loop runs.
constexpr int kPassMs = 20;
// How long the engine may take to start, and to end once it is told to.
constexpr int kStartStopLimitMs = 5000;
// A listing of kMaxEntries entries takes a few hundred kilobytes; more is no archive of ours.
constexpr qsizetype kMaxListingBytes = 16 * 1024 * 1024;

QString &engineProgram()
{
    static QString program = QStringLiteral("7zz");
    return program;
}

QString engineExecutable()
{
    return QStandardPaths::findExecutable(engineProgram());
}

// A path that stays below the destination: relative, and no part of it climbs out.
bool isContainedPath(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\'))
        || (path.size() > 1 && path.at(1) == QLatin1Char(':')))
        return false;
    const QStringList parts = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

// A name the listing carries as it is: no line break or other control character (the listing
// writes a line break as "_"), and no "=", which its "Key = value" lines use.
bool isCarriedName(const QString &path)
{
    return std::none_of(path.cbegin(), path.cend(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F || c == u'='; });
}

// Runs the engine to its end, handing its output to `consume` as it comes; the message loop
// runs between passes. True when the engine ended by itself within the limit with exit code 0
// and `consume` took everything. Stops early when `owner` is deleted meanwhile.
bool runEngine(const QStringList &arguments, int limitMs, const QPointer<QObject> &owner,
               const std::function<bool(const QByteArray &)> &consume)
{
    const QString program = engineExecutable();
    if (program.isEmpty()) {
        qWarning("The archive engine %s is not on the path.", qPrintable(engineProgram()));
        return false;
    }
    QProcess engine;
    // The engine asks for a password on its input; nobody is there to answer.
    engine.setStandardInputFile(QProcess::nullDevice());
    engine.setStandardErrorFile(QProcess::nullDevice());
    engine.start(program, arguments, QIODevice::ReadOnly);
    if (!engine.waitForStarted(kStartStopLimitMs))
        return false;
    QElapsedTimer clock;
    clock.start();
    bool accepted = true;
    for (;;) {
        if (!engine.waitForReadyRead(kPassMs))
            engine.waitForFinished(kPassMs);
        const QByteArray output = engine.readAllStandardOutput();
        if (!output.isEmpty() && !consume(output)) {
            accepted = false;
            break;
        }
        if (engine.state() == QProcess::NotRunning)
            break;
        if (clock.elapsed() > limitMs || !owner) {
            accepted = false;
            break;
        }
        runtime::DoEvents();
        if (!owner) {
            accepted = false;
            break;
        }
    }
    if (engine.state() != QProcess::NotRunning) {
        engine.kill();
        engine.waitForFinished(kStartStopLimitMs);
        return false;
    }
    const QByteArray rest = engine.readAllStandardOutput();
    if (accepted && !rest.isEmpty())
        accepted = consume(rest);
    return accepted && engine.exitStatus() == QProcess::NormalExit && engine.exitCode() == 0;
}

// One entry of the engine's technical listing: its "Key = value" lines.
struct ListedEntry {
    QString path;
    QString size;
    QString attributes;
    QString folder;
};

// The entries after the line of dashes, one block each. A key given twice in one block (a name
// that carries a line break and a forged line) makes the listing unreadable.
std::optional<std::vector<ListedEntry>> readListing(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const qsizetype dashes = lines.indexOf(QStringLiteral("----------"));
    if (dashes < 0)
        return std::nullopt;
    std::vector<ListedEntry> entries;
    for (qsizetype i = dashes + 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype equals = line.indexOf(QLatin1String(" = "));
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 3);
        if (key == QLatin1String("Path")) {
            entries.push_back({value, {}, {}, {}});
            continue;
        }
        if (entries.empty())
            continue;
        QString *field = key == QLatin1String("Size")         ? &entries.back().size
                         : key == QLatin1String("Attributes") ? &entries.back().attributes
                         : key == QLatin1String("Folder")     ? &entries.back().folder
                                                              : nullptr;
        if (!field)
            continue;
        if (!field->isNull())
            return std::nullopt;
        *field = value;
    }
    return entries;
}

// A Unix mode as the listing writes it: a type letter and nine permission letters.
bool isUnixMode(const QString &token)
{
    static const QString types = QStringLiteral("-dlbcps");
    static const QString permissions = QStringLiteral("-rwxsStT");
    if (token.size() != 10 || !types.contains(token.at(0)))
        return false;
    for (qsizetype i = 1; i < token.size(); ++i) {
        if (!permissions.contains(token.at(i)))
            return false;
    }
    return true;
}

} // namespace

// Writes the engine's output for the whole archive into the entries' files in listing order,
// each file exactly its listed size.
class Zentrax::Writer {
public:
    Writer(const QString &destination, const std::vector<Item> &items) : destination_(destination), items_(items) {}

    // False when the bytes run past the listing or a file cannot be written.
    bool write(QByteArrayView bytes)
    {
        while (!bytes.isEmpty()) {
            if (!file_.isOpen() && (!openNext() || !file_.isOpen()))
                return false;
            const qint64 part = std::min<qint64>(left_, bytes.size());
            if (file_.write(bytes.data(), part) != part)
                return false;
            left_ -= part;
            written_ += part;
            bytes = bytes.sliced(part);
            if (left_ == 0 && !closeFile())
                return false;
        }
        return true;
    }

    // True when every file got all its bytes (the empty files at the end are made here).
    bool finish() { return !file_.isOpen() && openNext() && !file_.isOpen(); }

    qint64 written() const { return written_; }

private:
    // Makes the next entries up to the next file that has bytes to come, and opens it.
    bool openNext()
    {
        while (next_ < items_.size()) {
            const Item &item = items_[next_++];
            const QString path = destination_ + QLatin1Char('/') + item.path;
            if (item.folder) {
                if (!QDir().mkpath(path))
                    return false;
                continue;
            }
            file_.setFileName(path);
            if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return false;
            left_ = item.size;
            if (left_ > 0)
                return true;
            if (!closeFile())
                return false;
        }
        return true;
    }

    bool closeFile()
    {
        const bool flushed = file_.flush();
        file_.close();
        return flushed;
    }

    const QString destination_;
    const std::vector<Item> &items_;
    std::size_t next_ = 0;
    QFile file_;
    qint64 left_ = 0;
    qint64 written_ = 0;
};

Zentrax::Zentrax(QObject *parent) : QObject(parent) {}

void Zentrax::SetEngineProgramForTesting(const QString &program)
{
    engineProgram() = program.isEmpty() ? QStringLiteral("7zz") : program;
}

bool Zentrax::LoadEngine(const QString &)
{
    return !engineExecutable().isEmpty();
}

bool Zentrax::Open(const QString &archivePath)
{
    archive_.clear();
    items_.clear();
    entries_.clear();
    totalSize_ = 0;
    if (!QFileInfo(archivePath).isFile())
        return false;
    QByteArray listing;
    const bool listed = runEngine({QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-t7z"), QStringLiteral("-sccUTF-8"),
                                   QStringLiteral("--"), archivePath},
                                  kListTimeLimitMs, this, [&listing](const QByteArray &output) {
                                      listing += output;
                                      return listing.size() <= kMaxListingBytes;
                                  });
    if (!listed)
        return false;
    // A name that is no UTF-8 would be read with replacement characters, that is under another
    // name than the archive's.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(listing);
    if (utf8.hasError())
        return false;
    const std::optional<std::vector<ListedEntry>> listedEntries = readListing(text);
    if (!listedEntries || listedEntries->size() > std::size_t(kMaxEntries))
        return false;

    std::vector<Item> items;
    QSet<QString> paths;
    qint64 total = 0;
    for (const ListedEntry &entry : *listedEntries) {
        if (!isContainedPath(entry.path) || !isCarriedName(entry.path) || paths.contains(entry.path))
            return false;
        paths.insert(entry.path);
        // "A -rw-r--r--": the Windows letters, then the Unix mode when the archive has one.
        QString windows;
        QChar unixType = QLatin1Char('-');
        for (const QString &token : entry.attributes.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (isUnixMode(token))
                unixType = token.at(0);
            else
                windows += token;
        }
        // A reparse point ("L") is the Windows form of a link.
        if (windows.contains(QLatin1Char('L')) || (unixType != QLatin1Char('-') && unixType != QLatin1Char('d')))
            return false;
        Item item;
        item.listedPath = entry.path;
        item.path = QString(entry.path).replace(QLatin1Char('\\'), QLatin1Char('/'));
        item.folder = windows.contains(QLatin1Char('D')) || unixType == QLatin1Char('d') || entry.folder == QLatin1String("+");
        bool sized = entry.size.isEmpty();
        if (!sized)
            item.size = entry.size.toLongLong(&sized);
        if (!sized || item.size < 0 || item.size > kMaxUnpackedBytes - total || (item.folder && item.size != 0))
            return false;
        total += item.size;
        items.push_back(std::move(item));
    }
    archive_ = archivePath;
    items_ = std::move(items);
    for (const Item &item : items_)
        entries_.append(item.path);
    totalSize_ = total;
    return true;
}

bool Zentrax::ExtractAll(const QString &destination)
{
    if (archive_.isEmpty() || !QDir().mkpath(destination))
        return false;
    const QStorageInfo disk(destination);
    if (!disk.isValid() || disk.bytesAvailable() < totalSize_)
        return false;
    // The engine extracts the entries by their listed names, so that one whose real name the
    // listing altered gives no bytes and the extraction fails instead of renaming it.
    QTemporaryFile names;
    if (!names.open())
        return false;
    for (const Item &item : items_)
        names.write(item.listedPath.toUtf8() + '\n');
    if (!names.flush())
        return false;
    Writer writer(destination, items_);
    const double total = double(totalSize_);
    qint64 reported = -1;
    QPointer<Zentrax> self(this);
    const bool extracted =
        runEngine({QStringLiteral("x"), QStringLiteral("-so"), QStringLiteral("-t7z"), QStringLiteral("-y"), QStringLiteral("-bso0"),
                   QStringLiteral("-bsp0"), QStringLiteral("-bse0"), QStringLiteral("-sccUTF-8"), QStringLiteral("-scsUTF-8"),
                   QStringLiteral("-spd"), QStringLiteral("-i@") + names.fileName(), QStringLiteral("--"), archive_},
                  kExtractTimeLimitMs, this, [&](const QByteArray &output) {
                      if (!writer.write(output))
                          return false;
                      const qint64 percent = totalSize_ > 0 ? writer.written() * 100 / totalSize_ : 100;
                      if (percent > reported && percent < 100) {
                          reported = percent;
                          emit Progress(double(writer.written()), total);
                      }
                      return bool(self);
                  });
    if (!self || !extracted || !writer.finish())
        return false;
    emit Progress(total, total);
    return true;
}

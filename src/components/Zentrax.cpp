#include "components/Zentrax.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

namespace {

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

// The engine writes "  42% 3 - name" and backspaces over it; the last percentage wins.
int lastPercent(const QByteArray &output)
{
    int percent = -1;
    qsizetype at = output.lastIndexOf('%');
    while (at > 0) {
        qsizetype start = at;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(output.at(start - 1))))
            --start;
        if (start < at)
            return output.mid(start, at - start).toInt();
        at = output.lastIndexOf('%', at - 1);
    }
    return percent;
}

} // namespace

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
    entries_.clear();
    totalSize_ = 0;
    const QString program = engineExecutable();
    if (program.isEmpty() || !QFileInfo(archivePath).isFile())
        return false;
    QProcess lister;
    lister.start(program, {QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-t7z"), QStringLiteral("-sccUTF-8"),
                           QStringLiteral("--"), archivePath});
    if (!lister.waitForFinished(-1) || lister.exitStatus() != QProcess::NormalExit || lister.exitCode() != 0)
        return false;

    // Entries follow the line of dashes, one block of "Key = value" lines each.
    const QStringList lines = QString::fromUtf8(lister.readAllStandardOutput()).split(QLatin1Char('\n'));
    const qsizetype dashes = lines.indexOf(QStringLiteral("----------"));
    if (dashes < 0)
        return false;
    QStringList entries;
    qint64 total = 0;
    for (qsizetype i = dashes + 1; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.startsWith(QStringLiteral("Path = "))) {
            const QString path = line.mid(7);
            if (!isContainedPath(path))
                return false;
            entries.append(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
        } else if (line.startsWith(QStringLiteral("Size = "))) {
            total += line.mid(7).toLongLong();
        } else if (line.startsWith(QStringLiteral("Attributes = "))) {
            // The Unix mode after the Windows letters: a link begins with "l".
            const QStringList attributes = line.mid(13).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (attributes.size() > 1 && attributes.last().startsWith(QLatin1Char('l')))
                return false;
        }
    }
    archive_ = archivePath;
    entries_ = entries;
    totalSize_ = total;
    return true;
}

bool Zentrax::ExtractAll(const QString &destination)
{
    const QString program = engineExecutable();
    if (archive_.isEmpty() || program.isEmpty() || !QDir().mkpath(destination))
        return false;
    QProcess extractor;
    extractor.setProcessChannelMode(QProcess::SeparateChannels);
    extractor.start(program, {QStringLiteral("x"), QStringLiteral("-t7z"), QStringLiteral("-y"), QStringLiteral("-aoa"),
                              QStringLiteral("-bsp1"), QStringLiteral("-bso0"), QStringLiteral("-bse0"),
                              QStringLiteral("-sccUTF-8"), QStringLiteral("-o") + destination, QStringLiteral("--"), archive_});
    if (!extractor.waitForStarted())
        return false;
    const double total = double(totalSize_);
    int reported = -1;
    QPointer<Zentrax> self(this);
    while (!extractor.waitForFinished(50) && extractor.state() != QProcess::NotRunning) {
        const int percent = lastPercent(extractor.readAllStandardOutput());
        if (percent > reported && percent < 100) {
            reported = percent;
            emit Progress(total * percent / 100.0, total);
            if (!self)
                return false;
        }
    }
    const bool ok = extractor.exitStatus() == QProcess::NormalExit && extractor.exitCode() == 0;
    if (ok)
        emit Progress(total, total);
    return ok;
}

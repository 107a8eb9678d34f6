#include "os/FileName.h"

#include <QDir>
#include <QFileInfo>

namespace os {

QString resolveFileName(const QString &path)
{
    QString native = path;
    native.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo info(native);
    if (native.isEmpty() || info.exists())
        return native;
    const QDir folder = info.dir();
    const QString name = info.fileName();
    const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    }
    return native;
}

}

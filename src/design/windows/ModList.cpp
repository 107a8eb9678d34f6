#include "windows/ModList.h"

#include "os/FileName.h"
#include "runtime/ListBox.h"

#include <QFile>
#include <QRegularExpression>

namespace ModList {

void AddListItem(runtime::ListBox *list, const QString &text)
{
    if (list)
        list->AddItem(text);
}

void LoadListFromFile(runtime::ListBox *list, const QString &filePath)
{
    QFile file(os::resolveFileName(filePath));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromLocal8Bit(file.readAll());
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    for (const QString &line : text.split(lineEnd)) {
        if (!line.isEmpty())
            AddListItem(list, line);
    }
}

}

#include "DamagedDatabase.h"

#include <QFile>

namespace testsupport {

bool damagePageHolding(const QString &databasePath, const QByteArray &marker)
{
    QFile file(databasePath);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf(marker);
    if (bytes.size() < 100 || at < 0)
        return false;
    // The page size stands big-endian at offset 16 of the file's header; 1 means 65536.
    const int sizeField = (quint8(bytes[16]) << 8) | quint8(bytes[17]);
    const qsizetype pageSize = sizeField == 1 ? 65536 : sizeField;
    const qsizetype page = at / pageSize;
    if (page == 0)
        return false; // the first page holds the file's header; that is another kind of damage
    return file.seek(page * pageSize) && file.write(QByteArray(16, '\xA5')) == 16;
}

}

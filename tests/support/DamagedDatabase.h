#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// Damages the database page that holds the marker text, as a bad sector or a torn write leaves
// it: the page's header and cell pointers are overwritten with garbage, the file's header and
// every other page stay intact. Answers false when the marker is not in the file.
bool damagePageHolding(const QString &databasePath, const QByteArray &marker);

}

#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Makes hwids.mdb in the folder with the schema the build uses, then runs the statements
// (through the data-access layer, so that text is ordered by its case-blind comparison).
// Returns the file's path, or an empty text when it could not be made.
QString makeHwidsDatabase(const QString &folder, const QStringList &statements = {});

}

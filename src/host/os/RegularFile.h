#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace os {

// The bytes of a regular file of at most `maxBytes`; nullopt for anything else standing under
// the name (a pipe, a device, a folder, a link to one of them), for a larger file and for one
// that cannot be read. Opened without blocking, so that a pipe with no writer holds nobody, and
// judged by what was opened rather than by the name, which may change meanwhile.
std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 maxBytes);

}

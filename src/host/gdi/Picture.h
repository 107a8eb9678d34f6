#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace gdi {

// A picture file's bytes decoded. PNG goes straight to the reader built into Qt: left to guess the
// format, Qt first loads every image plugin installed to ask it (libraries to map and relocate at
// start-up, for pictures that are all PNG). Other formats are Qt's to recognise.
QImage DecodePicture(const QByteArray &bytes);
// The same for a file, a resource included; null when it cannot be read.
QImage ReadPicture(const QString &path);

} // namespace gdi

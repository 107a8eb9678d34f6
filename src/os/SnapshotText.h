#pragma once

#include <QByteArray>
#include <QString>

namespace os {

// Text of a saved file as Windows tools write it: UTF-16LE or UTF-16BE or UTF-8 by their byte
// order marks; without one, UTF-16LE when every second byte of the start is NUL (a file whose
// mark was lost), UTF-8 when the bytes are valid UTF-8, else Latin-1 (an 8-bit code page).
QString decodeSavedText(const QByteArray &bytes);

} // namespace os

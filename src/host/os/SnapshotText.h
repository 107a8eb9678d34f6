#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace os {

// Text of a saved file as Windows tools write it: UTF-16LE or UTF-16BE or UTF-8 by their byte
// order marks; without one, UTF-16LE or UTF-16BE when every second byte of the start is NUL (a
// file whose mark was lost), UTF-8 when the bytes are valid UTF-8, else Windows-1252 (the 8-bit
// code page those tools write in).
QString decodeSavedText(const QByteArray &bytes);

// Windows-1252 both ways. The five bytes the code page leaves undefined stand for the control
// characters of the same number, as the platform's own conversion has them, so every byte
// decodes and decoded text encodes back to the same bytes. Encoding gives nothing when the text
// has a character the code page lacks.
QString decodeWindows1252(QByteArrayView bytes);
std::optional<QByteArray> encodeWindows1252(QStringView text);

} // namespace os

#include "os/SnapshotText.h"

#include <QStringDecoder>

#include <algorithm>

namespace os {

namespace {

// The characters of bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Every second byte of the start NUL: UTF-16 without its mark, the NULs at odd offsets for
// little-endian, at even offsets for big-endian.
bool looksLikeUtf16(const QByteArray &bytes, bool littleEndian)
{
    const qsizetype probe = std::min<qsizetype>(bytes.size() & ~qsizetype(1), 256);
    if (probe < 4)
        return false;
    const qsizetype text = littleEndian ? 0 : 1;
    for (qsizetype i = 0; i < probe; i += 2) {
        if (bytes[i + text] == '\0' || bytes[i + 1 - text] != '\0')
            return false;
    }
    return true;
}

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = value >= 0x80 && value < 0xA0 ? QChar(kHighControls[value - 0x80]) : QChar(value);
    }
    return text;
}

std::optional<QByteArray> encodeWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes.append(char(unit));
            continue;
        }
        const auto *found = std::find(std::begin(kHighControls), std::end(kHighControls), unit);
        if (found == std::end(kHighControls))
            return std::nullopt;
        bytes.append(char(0x80 + (found - std::begin(kHighControls))));
    }
    return bytes;
}

QString decodeSavedText(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, view.sliced(2));
    if (view.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, view.sliced(2));
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, view.sliced(3));
    if (looksLikeUtf16(bytes, true))
        return decodeWith(QStringConverter::Utf16LE, view);
    if (looksLikeUtf16(bytes, false))
        return decodeWith(QStringConverter::Utf16BE, view);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(view);
}

} // namespace os

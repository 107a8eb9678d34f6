#include "os/SnapshotText.h"

#include <QStringDecoder>

#include <algorithm>

namespace os {

namespace {

bool looksLikeUtf16Le(const QByteArray &bytes)
{
    const qsizetype probe = std::min<qsizetype>(bytes.size() & ~qsizetype(1), 256);
    if (probe < 4)
        return false;
    for (qsizetype i = 0; i < probe; i += 2) {
        if (bytes[i] == '\0' || bytes[i + 1] != '\0')
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

QString decodeSavedText(const QByteArray &bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, view.sliced(2));
    if (view.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, view.sliced(2));
    if (view.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, view.sliced(3));
    if (looksLikeUtf16Le(bytes))
        return decodeWith(QStringConverter::Utf16LE, view);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

} // namespace os

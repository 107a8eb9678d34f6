#include "gdi/Picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace gdi {

QImage DecodePicture(const QByteArray &bytes)
{
    static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
    if (!bytes.startsWith(QByteArrayView(kPngSignature, sizeof kPngSignature - 1)))
        return QImage::fromData(bytes);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QImage ReadPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodePicture(file.readAll());
}

} // namespace gdi

#include "runtime/StdPicture.h"

#include "runtime/Screen.h"

#include <QFileInfo>
#include <QImageReader>

#include <cmath>

namespace runtime {

qint32 PixelsToHimetric(int pixels, int dpi)
{
    return qint32(std::lround(double(pixels) * 2540.0 / (dpi > 0 ? dpi : 96)));
}

int HimetricToPixels(qint32 himetric, int dpi)
{
    return int(std::lround(double(himetric) * (dpi > 0 ? dpi : 96) / 2540.0));
}

StdPicture StdPicture::fromImage(const QImage &image, PictureType type)
{
    StdPicture picture;
    if (image.isNull() || type == vbPicTypeNone)
        return picture;
    auto data = std::make_shared<Data>();
    data->type = type;
    data->image = image.convertToFormat(type == vbPicTypeIcon ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    data->himetricWidth = PixelsToHimetric(image.width(), Screen::LogicalDpiX());
    data->himetricHeight = PixelsToHimetric(image.height(), Screen::LogicalDpiY());
    picture.m_data = std::move(data);
    return picture;
}

int StdPicture::Type() const { return m_data ? m_data->type : vbPicTypeNone; }
qint32 StdPicture::Width() const { return m_data ? m_data->himetricWidth : 0; }
qint32 StdPicture::Height() const { return m_data ? m_data->himetricHeight : 0; }
int StdPicture::pixelWidth() const { return m_data ? m_data->image.width() : 0; }
int StdPicture::pixelHeight() const { return m_data ? m_data->image.height() : 0; }

const QImage &StdPicture::image() const
{
    static const QImage none;
    return m_data ? m_data->image : none;
}

StdPicture LoadPicture(const QString &path)
{
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    const QImage image = reader.read();
    const bool icon = QFileInfo(path).suffix().compare(QStringLiteral("ico"), Qt::CaseInsensitive) == 0
                      || QFileInfo(path).suffix().compare(QStringLiteral("cur"), Qt::CaseInsensitive) == 0;
    return StdPicture::fromImage(image, icon ? StdPicture::vbPicTypeIcon : StdPicture::vbPicTypeBitmap);
}

} // namespace runtime

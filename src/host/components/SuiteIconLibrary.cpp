#include "components/SuiteIconLibrary.h"

#include "gdi/Picture.h"
#include "os/RegularFile.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <cstring>

namespace {

constexpr char kMagic[] = "KSICOLIB";

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}
    bool u32(quint32 &value)
    {
        if (m_bytes.size() - m_pos < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i)
            value |= quint32(quint8(m_bytes[m_pos + i])) << (8 * i);
        m_pos += 4;
        return true;
    }
    bool bytes(quint32 length, QByteArray &out)
    {
        if (quint64(m_bytes.size() - m_pos) < length)
            return false;
        out = m_bytes.mid(m_pos, qsizetype(length));
        m_pos += qsizetype(length);
        return true;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos = 8;
};

} // namespace

std::optional<QByteArray> SuiteIconLibrary::ReadIconFile(const QString &path)
{
    return os::ReadRegularFile(path, MaxFileBytes);
}

std::unique_ptr<SuiteIconLibrary> SuiteIconLibrary::Load(const QString &path)
{
    const std::optional<QByteArray> bytes = ReadIconFile(path);
    return bytes ? FromBytes(*bytes) : nullptr;
}

std::unique_ptr<SuiteIconLibrary> SuiteIconLibrary::FromBytes(const QByteArray &bytes)
{
    if (bytes.size() < 12 || std::memcmp(bytes.constData(), kMagic, 8) != 0)
        return nullptr;
    auto library = std::make_unique<SuiteIconLibrary>();
    Reader reader(bytes);
    quint32 count = 0;
    reader.u32(count);
    for (quint32 i = 0; i < count; ++i) {
        quint32 resource = 0;
        quint32 images = 0;
        if (!reader.u32(resource) || !reader.u32(images))
            break;
        Entry entry{int(qint32(resource)), {}};
        bool complete = true;
        for (quint32 n = 0; n < images && complete; ++n) {
            quint32 length = 0;
            QByteArray data;
            complete = reader.u32(length) && reader.bytes(length, data);
            if (complete)
                entry.images.push_back(std::move(data));
        }
        if (!complete)
            break;
        library->m_icons.push_back(std::move(entry));
    }
    return library;
}

gdi::Icon SuiteIconLibrary::decode(const Entry &entry)
{
    QIcon icon;
    QSize largest;
    for (const QByteArray &data : entry.images) {
        const QImage image = gdi::DecodePicture(data);
        if (image.isNull())
            continue;
        icon.addPixmap(QPixmap::fromImage(image));
        if (image.width() > largest.width())
            largest = image.size();
    }
    return icon.isNull() ? gdi::Icon() : gdi::Icon(icon, largest);
}

gdi::Icon SuiteIconLibrary::IconByResource(int resource) const
{
    for (const Entry &entry : m_icons) {
        if (entry.resource == resource)
            return decode(entry);
    }
    return {};
}

gdi::Icon SuiteIconLibrary::IconAt(int position) const
{
    if (position < 0 || position >= Count())
        return {};
    return decode(m_icons[std::size_t(position)]);
}

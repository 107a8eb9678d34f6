#include "os/IconResource.h"

#include "gdi/Picture.h"
#include "gdi/Objects.h"
#include "os/SystemParameters.h"

#include <QFile>
#include <QIcon>
#include <QWidget>
#include <QtEndian>

#include <limits>

namespace os {

namespace {

constexpr int kDisplayDepth = 32;
constexpr qsizetype kHeaderSize = 6;
constexpr qsizetype kEntrySize = 14;
const char *const kBigIconProperty = "_os_bigIcon";
const char *const kSmallIconProperty = "_os_smallIcon";

const char *folderOf(ResourceType type)
{
    switch (type) {
    case ResourceType::Icon:
        return "icon";
    case ResourceType::GroupIcon:
        return "group_icon";
    case ResourceType::Cursor:
        return "cursor";
    case ResourceType::GroupCursor:
        return "group_cursor";
    }
    return "";
}


}

std::vector<IconDirectoryEntry> IconDirectoryEntries(const QByteArray &directory)
{
    std::vector<IconDirectoryEntry> entries;
    if (directory.size() < kHeaderSize)
        return entries;
    const auto *bytes = reinterpret_cast<const uchar *>(directory.constData());
    const int count = qFromLittleEndian<quint16>(bytes + 4);
    for (int i = 0; i < count && kHeaderSize + (i + 1) * kEntrySize <= directory.size(); ++i) {
        const uchar *entry = bytes + kHeaderSize + i * kEntrySize;
        entries.push_back({entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256, qFromLittleEndian<quint16>(entry + 6),
                           qFromLittleEndian<quint16>(entry + 12)});
    }
    return entries;
}

QByteArray LoadResourceData(const QString &name, ResourceType type)
{
    QString key = name.toUpper();
    if (key.startsWith(QLatin1Char('#')))
        key.remove(0, 1);
    if (key.isEmpty())
        return {};
    QFile file(QStringLiteral(":/resources/%1/%2").arg(QLatin1String(folderOf(type)), key));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int LookupIconIdFromDirectoryEx(const QByteArray &directory, bool, int cxDesired, int cyDesired, unsigned)
{
    // Cursors are sized like icons here; the system has no cursor groups of its own.
    if (cxDesired == 0)
        cxDesired = GetSystemMetrics(SM_CXICON);
    if (cyDesired == 0)
        cyDesired = GetSystemMetrics(SM_CYICON);
    const std::vector<IconDirectoryEntry> entries = IconDirectoryEntries(directory);
    if (entries.empty())
        return 0;

    // The size: the largest that fits within the wish, else the smallest there is.
    const IconDirectoryEntry *size = nullptr;
    for (const IconDirectoryEntry &entry : entries) {
        const bool fits = entry.width <= cxDesired && entry.height <= cyDesired;
        if (!fits)
            continue;
        if (!size || entry.width + entry.height > size->width + size->height)
            size = &entry;
    }
    if (!size) {
        for (const IconDirectoryEntry &entry : entries) {
            if (!size || entry.width + entry.height < size->width + size->height)
                size = &entry;
        }
    }

    // The depth among the images of that size.
    const IconDirectoryEntry *best = nullptr;
    const auto rank = [](int bits) {
        if (bits == kDisplayDepth)
            return std::numeric_limits<int>::max();
        return bits < kDisplayDepth ? bits : -bits;   // deeper below the display, else shallower above it
    };
    for (const IconDirectoryEntry &entry : entries) {
        if (entry.width != size->width || entry.height != size->height)
            continue;
        if (!best || rank(entry.bitCount) > rank(best->bitCount))
            best = &entry;
    }
    return best->id;
}

gdi::Icon CreateIconFromResourceEx(const QByteArray &bytes, bool, unsigned, int cxDesired, int cyDesired, unsigned)
{
    if (!bytes.startsWith("\x89PNG"))
        return {};
    QImage image = gdi::DecodePicture(bytes);
    if (image.isNull())
        return {};
    const QSize wanted(cxDesired > 0 ? cxDesired : image.width(), cyDesired > 0 ? cyDesired : image.height());
    // An icon is a bitmap: one of 2 GB or more is refused, as every bitmap is, before any scaling.
    if (qint64(wanted.width()) * wanted.height() * 4 >= gdi::MaxBitmapBytes)
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return gdi::Icon(image);
}

gdi::Icon LoadIconImage(const QString &name, int cx, int cy, unsigned flags)
{
    const QByteArray directory = LoadResourceData(name, ResourceType::GroupIcon);
    const int id = LookupIconIdFromDirectoryEx(directory, true, cx, cy, flags);
    if (id == 0)
        return {};
    return CreateIconFromResourceEx(LoadResourceData(QString::number(id), ResourceType::Icon), true, 0x30000, cx, cy, flags);
}

void SendSetIcon(QWidget *window, int type, const gdi::Icon &icon)
{
    if (!window || icon.isNull())
        return;
    window->setProperty(type == ICON_BIG ? kBigIconProperty : kSmallIconProperty, QVariant::fromValue(icon.image()));
    QIcon both;
    for (const char *property : {kSmallIconProperty, kBigIconProperty}) {
        const QImage image = window->property(property).value<QImage>();
        if (!image.isNull())
            both.addPixmap(QPixmap::fromImage(image));
    }
    window->setWindowIcon(both);
}

gdi::Icon SentIcon(const QWidget *window, int type)
{
    const QImage image = window ? window->property(type == ICON_BIG ? kBigIconProperty : kSmallIconProperty).value<QImage>() : QImage();
    return image.isNull() ? gdi::Icon() : gdi::Icon(image);
}

QWidget *GetOwner(const QWidget *window)
{
    return window && window->isWindow() ? window->parentWidget() : nullptr;
}

}

#include "platform/ModFileIcons.h"

#include "components/SuiteControlsGlobalSettings.h"
#include "components/SuiteIconLibrary.h"
#include "platform/SystemFolderPaths.h"
#include "runtime/DoEvents.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include <cstdint>
#include <cstdlib>

namespace ModFileIcons {

namespace {

// A path as a class key writes it ("C:\...\System32\bthci.dll", "/opt/.../system32\x.dll") found
// on this file system: "\" separates too, and each part may differ in letter case.
QString resolvePath(const QString &path)
{
    QString native = path;
    native.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (native.isEmpty() || QFileInfo::exists(native))
        return native;
    const QStringList parts = native.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = native.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QStringLiteral(".");
    for (const QString &part : parts) {
        const QDir folder(current);
        QString next = folder.filePath(part);
        if (!QFileInfo::exists(next)) {
            const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = folder.filePath(entry);
                    break;
                }
            }
        }
        current = next;
    }
    return current;
}

struct ExtractedIcons
{
    gdi::Icon large;
    gdi::Icon small;
    int count = 0;
};

// ExtractIconEx with a count of 1: from one of the system folder's icon libraries by resource
// number (negative index) or position (0 or more); from an icon file at position 0.
ExtractedIcons ExtractIconEx(const QString &path, std::int32_t index)
{
    ExtractedIcons result;
    // Only a regular file is read: a class key may name a device or a pipe.
    std::optional<QByteArray> bytes = SuiteIconLibrary::ReadIconFile(resolvePath(path));
    if (!bytes)
        return result;
    if (const auto library = SuiteIconLibrary::FromBytes(*bytes)) {
        const gdi::Icon icon = index < 0 ? library->IconByResource(int(-std::int64_t(index))) : library->IconAt(index);
        if (!icon.isNull()) {
            result.large = gdi::Icon(QIcon(QPixmap::fromImage(icon.image(QSize(32, 32)))), QSize(32, 32));
            result.small = gdi::Icon(QIcon(QPixmap::fromImage(icon.image(QSize(16, 16)))), QSize(16, 16));
            result.count = 1;
        }
        return result;
    }
    if (index != 0)
        return result; // an icon file holds one icon
    QBuffer buffer(&*bytes);
    QImageReader reader(&buffer);
    QIcon icon;
    for (int image = 0; reader.canRead() && image < 64; ++image) {
        const QImage frame = reader.read();
        if (frame.isNull())
            break;
        icon.addPixmap(QPixmap::fromImage(frame));
        if (!reader.jumpToNextImage())
            break;
    }
    if (icon.isNull())
        return result;
    result.large = gdi::Icon(icon, QSize(32, 32));
    result.small = gdi::Icon(icon, QSize(16, 16));
    result.count = 1;
    return result;
}

// The icon a file and index gave, null for none: every device of a class names the same file.
using ReadIcons = QHash<std::pair<QString, std::int32_t>, gdi::Icon>;

ReadIcons &readIcons()
{
    static ReadIcons icons;
    return icons;
}

// The library is loaded for this one icon and released again at once.
gdi::Icon LibraryIcon(const QString &path, std::int32_t index)
{
    const std::int64_t resource = std::llabs(std::int64_t(index));
    if (resource > INT32_MAX)
        return {};
    const auto library = SuiteIconLibrary::Load(resolvePath(path));
    return library ? library->IconByResource(int(resource)) : gdi::Icon();
}

} // namespace

void AddFileIcon(std::int32_t key, const QString &path, std::int32_t index)
{
    SuiteImageManagerIcons *icons = SuiteControlsGlobalSettings::Global().Icons();
    const bool library = path.right(3).toLower() == QLatin1String("dll");
    ReadIcons &read = readIcons();
    auto known = read.constFind({path, index});
    if (known == read.cend()) {
        gdi::Icon icon;
        if (library) {
            icon = LibraryIcon(path, index);
        } else {
            ExtractedIcons extracted = ExtractIconEx(path, index);
            runtime::DoEvents();
            if (extracted.count == 0)
                extracted = ExtractIconEx(ModSpecialFolders::GetSystemFolderPath() + QStringLiteral("/setupapi.dll"), index);
            icon = extracted.small;
        }
        known = read.insert({path, index}, icon);
    } else if (!library) {
        runtime::DoEvents(); // the yield after the extraction, which the cache does not take away
    }
    icons->AddIcon(*known, key, 0);
}

void ForgetReadIcons() { readIcons().clear(); }

} // namespace ModFileIcons

#include "platform/ModLoadIconFromRes.h"

#include "os/IconResource.h"
#include "os/SystemParameters.h"

// Outside any namespace, as the resource initialiser must be.
static void initIconResources()
{
    Q_INIT_RESOURCE(appicon);
}

namespace ModLoadIconFromRes {

namespace {

// A second choice by colour depth: the picked image stays when it has that depth, else the
// first image of the same size that has it.
int pickByDepth(const QByteArray &directory, int picked, int colorDepth)
{
    const std::vector<os::IconDirectoryEntry> entries = os::IconDirectoryEntries(directory);
    for (const os::IconDirectoryEntry &current : entries) {
        if (current.id != picked)
            continue;
        if (current.bitCount == colorDepth)
            return picked;
        for (const os::IconDirectoryEntry &other : entries) {
            if (other.width == current.width && other.height == current.height && other.bitCount == colorDepth)
                return other.id;
        }
        return picked;
    }
    return picked;
}

}

void EnsureResources()
{
    static const bool once = (initIconResources(), true);
    Q_UNUSED(once);
}

runtime::StdPicture LoadIconFromResource(const QString &resource, int width, int height, int colorDepth, bool isCursor)
{
    EnsureResources();
    if (width == 0)
        width = os::GetSystemMetrics(os::SM_CXICON);
    else if (width < 0)
        width = os::GetSystemMetrics(os::SM_CXSMICON);
    if (height == 0)
        height = os::GetSystemMetrics(os::SM_CYICON);
    else if (height < 0)
        height = os::GetSystemMetrics(os::SM_CYSMICON);

    const QByteArray directory = os::LoadResourceData(resource, isCursor ? os::ResourceType::GroupCursor : os::ResourceType::GroupIcon);
    int picked = os::LookupIconIdFromDirectoryEx(directory, !isCursor, width, height, os::LR_DEFAULTCOLOR);
    if (picked == 0)
        return {};
    if (colorDepth >= 1 && !isCursor)
        picked = pickByDepth(directory, picked, colorDepth);
    const QByteArray image = os::LoadResourceData(QString::number(picked), isCursor ? os::ResourceType::Cursor : os::ResourceType::Icon);
    const gdi::Icon icon = os::CreateIconFromResourceEx(image, !isCursor, 0x30000, width, height, os::LR_DEFAULTCOLOR);
    if (icon.isNull())
        return {};
    return IconToPicture(icon, runtime::StdPicture::vbPicTypeIcon);
}

runtime::StdPicture IconToPicture(const gdi::Icon &icon, int pictureType)
{
    return runtime::StdPicture::fromImage(icon.image(), runtime::StdPicture::PictureType(pictureType));
}

}

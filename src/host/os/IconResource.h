#pragma once

#include "gdi/Icon.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QWidget;

// The platform's resource and icon calls that the window icons use. The program's resources are
// Qt resources laid out as ":/resources/<type>/<NAME>"; names are upper case as the platform
// keeps them, and an image's number is its name ("#7" or "7").
namespace os {

enum class ResourceType { Icon, GroupIcon, Cursor, GroupCursor };

constexpr unsigned LR_DEFAULTCOLOR = 0x0000;
constexpr int ICON_SMALL = 0;
constexpr int ICON_BIG = 1;

// One image of an icon directory (the platform's group-icon layout: a 6-byte header with the
// count in bytes 4-5, then 14-byte entries). A width or height byte of 0 stands for 256.
struct IconDirectoryEntry {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int id = 0;
};
std::vector<IconDirectoryEntry> IconDirectoryEntries(const QByteArray &directory);

// FindResource + LoadResource: the resource's bytes, empty when there is none.
QByteArray LoadResourceData(const QString &name, ResourceType type);

// The number of the image of an icon (or cursor) directory that fits the size best: the largest
// that does not exceed it (the smallest when all do), then the colour depth of the display, then
// the greatest depth below it (the lowest when all exceed it). 0 for a directory without images.
int LookupIconIdFromDirectoryEx(const QByteArray &directory, bool icon, int cxDesired, int cyDesired, unsigned flags);

// An icon from an image resource's bytes (PNG, as the platform accepts since version 6), scaled
// to the size when one is given. A null icon when the bytes are no image or the size would make
// a bitmap of 2 GB or more.
gdi::Icon CreateIconFromResourceEx(const QByteArray &bytes, bool icon, unsigned version, int cxDesired, int cyDesired,
                                   unsigned flags);

// LoadImage of an icon group at a size: the best image of the group, made at that size.
gdi::Icon LoadIconImage(const QString &name, int cx, int cy, unsigned flags);

// WM_SETICON: gives the window its big or small frame icon; the window shows both.
void SendSetIcon(QWidget *window, int type, const gdi::Icon &icon);
// The icon last sent of that type; a null icon when none was.
gdi::Icon SentIcon(const QWidget *window, int type);

// The window's owner (the platform's GetWindow with GW_OWNER): the parent of a top-level window.
QWidget *GetOwner(const QWidget *window);

}

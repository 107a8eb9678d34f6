#pragma once

// A library of icon resources as the stand-in system folder holds them (setupapi.dll and the
// others): icons addressed by resource number, each with its images at several sizes. This is
// what loading such a library as a module gives the icon collection's module operation.
// File layout, little-endian: "KSICOLIB", the icon count (u32), then per icon its resource
// number (i32), its image count (u32) and per image its byte length (u32) and its bytes (PNG or
// any format QImage reads). data/make-icon-libraries.py writes them.

#include "gdi/Icon.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class SuiteIconLibrary
{
public:
    // Libraries and icon files are small; a larger file is not one of them.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

    // The bytes of an icon file or library: a regular file of at most MaxFileBytes. Anything
    // else (a device, a pipe, a folder, a larger file) gives nothing, without waiting on it or
    // reading more than the limit.
    static std::optional<QByteArray> ReadIconFile(const QString &path);

    // Null when the file is missing or not such a library. A damaged tail is cut off: the icons
    // before it are kept.
    static std::unique_ptr<SuiteIconLibrary> Load(const QString &path);
    static std::unique_ptr<SuiteIconLibrary> FromBytes(const QByteArray &bytes);

    int Count() const { return int(m_icons.size()); }
    // The icon with that resource number, or a null icon.
    gdi::Icon IconByResource(int resource) const;
    // The icon at a 0-based position in the file, or a null icon.
    gdi::Icon IconAt(int position) const;

private:
    // Images are decoded when an icon is asked for: a scan loads a library for one icon.
    struct Entry
    {
        int resource;
        std::vector<QByteArray> images;
    };
    static gdi::Icon decode(const Entry &entry);

    std::vector<Entry> m_icons;
};

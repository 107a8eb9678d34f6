#include "os/Folders.h"

#include "runtime/App.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>

namespace os {

QString SpecialFolderLocation(int csidl)
{
    switch (csidl & ~CSIDL_FLAG_CREATE) {
    case CSIDL_SYSTEM:
        return runtime::App::FilePath(QStringLiteral("system32"));
    case CSIDL_WINDOWS:
        return runtime::App::Path();
    case CSIDL_DESKTOPDIRECTORY:
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case CSIDL_PERSONAL:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case CSIDL_APPDATA:
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    case CSIDL_LOCAL_APPDATA:
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    default:
        return {};
    }
}

long SHGetFolderPathW(QWidget *owner, int folder, void *token, quint32 flags, char16_t *path)
{
    Q_UNUSED(owner)
    Q_UNUSED(token)
    Q_UNUSED(flags)
    if (!path)
        return E_INVALIDARG;
    path[0] = u'\0';
    const QString location = SpecialFolderLocation(folder);
    if (location.isEmpty())
        return E_INVALIDARG;
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(location));
    if (native.size() >= MAX_PATH)
        return E_FAIL;
    if ((folder & CSIDL_FLAG_CREATE) != 0)
        QDir().mkpath(location);
    std::copy_n(reinterpret_cast<const char16_t *>(native.utf16()), native.size(), path);
    path[native.size()] = u'\0';
    return QDir(location).exists() ? S_OK : S_FALSE;
}

} // namespace os

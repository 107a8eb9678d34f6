#include "os/SharedLibrary.h"

#include "os/Folders.h"

#include <QByteArray>
#include <QHash>

#include <dlfcn.h>

#include <memory>

namespace os {

namespace {

struct StandIn {
    QHash<QByteArray, FARPROC> exports;
};

QString standInKey(const QString &name)
{
    QString key = name.trimmed().toLower();
    if (key.endsWith(QStringLiteral(".dll")))
        key.chop(4);
    return key;
}

// The stand-ins by key; each entry's address is its handle, so entries never move.
QHash<QString, std::shared_ptr<StandIn>> &standIns()
{
    static QHash<QString, std::shared_ptr<StandIn>> libraries = [] {
        QHash<QString, std::shared_ptr<StandIn>> builtIn;
        auto shell32 = std::make_shared<StandIn>();
        shell32->exports.insert("SHGetFolderPathW", reinterpret_cast<FARPROC>(&SHGetFolderPathW));
        builtIn.insert(QStringLiteral("shell32"), shell32);
        return builtIn;
    }();
    return libraries;
}

StandIn *standInOf(HMODULE module)
{
    for (const auto &library : std::as_const(standIns())) {
        if (reinterpret_cast<HMODULE>(library.get()) == module)
            return library.get();
    }
    return nullptr;
}

HMODULE standInHandle(const QString &name)
{
    const auto it = standIns().constFind(standInKey(name));
    return it == standIns().cend() ? nullptr : reinterpret_cast<HMODULE>(it->get());
}

}

HMODULE GetModuleHandle(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    if (HMODULE standIn = standInHandle(name))
        return standIn;
    void *handle = dlopen(name.toLocal8Bit().constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    // RTLD_NOLOAD still counts a reference; the platform's call takes none.
    dlclose(handle);
    return static_cast<HMODULE>(handle);
}

HMODULE LoadLibrary(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    if (HMODULE standIn = standInHandle(name))
        return standIn;
    return static_cast<HMODULE>(dlopen(name.toLocal8Bit().constData(), RTLD_LAZY | RTLD_LOCAL));
}

bool FreeLibrary(HMODULE module)
{
    if (!module)
        return false;
    if (standInOf(module))
        return true;
    return dlclose(module) == 0;
}

FARPROC GetProcAddress(HMODULE module, const char *name)
{
    if (!module || !name)
        return nullptr;
    if (const StandIn *standIn = standInOf(module))
        return standIn->exports.value(QByteArray(name), nullptr);
    dlerror();
    void *symbol = dlsym(module, name);
    return dlerror() ? nullptr : reinterpret_cast<FARPROC>(symbol);
}

void RegisterStandInExport(const QString &library, const char *name, FARPROC function)
{
    std::shared_ptr<StandIn> &entry = standIns()[standInKey(library)];
    if (!entry)
        entry = std::make_shared<StandIn>();
    entry->exports.insert(QByteArray(name), function);
}

} // namespace os

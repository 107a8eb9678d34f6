#include "platform/SystemFolderPaths.h"

#include "os/Folders.h"
#include "os/SharedLibrary.h"

#include <algorithm>
#include <array>

namespace ModSpecialFolders {

namespace {

constexpr int CSIDL_FLAG_CREATE = 0x8000;
constexpr char FolderFunction[] = "SHGetFolderPathW";

FolderFunctionProbe s_probe;

os::SHGetFolderPathWProc folderFunctionOf(const QString &library)
{
    os::HMODULE module = os::GetModuleHandle(library);
    if (!module)
        module = os::LoadLibrary(library);
    return reinterpret_cast<os::SHGetFolderPathWProc>(os::GetProcAddress(module, FolderFunction));
}

}

bool IsFunctionExported(const QString &functionName, const QString &libraryName)
{
    os::HMODULE module = os::GetModuleHandle(libraryName);
    bool loadedHere = false;
    if (!module) {
        module = os::LoadLibrary(libraryName);
        if (!module)
            return false;
        loadedHere = true;
    }
    const bool exported = os::GetProcAddress(module, functionName.toLatin1().constData()) != nullptr;
    if (loadedHere)
        os::FreeLibrary(module);
    return exported;
}

QString GetSpecialFolderPath(int folder, int flags, bool create, QWidget *owner, void *token)
{
    if (!s_probe.probed) {
        s_probe.inShell32 = IsFunctionExported(QString::fromLatin1(FolderFunction), QStringLiteral("shell32"));
        if (!s_probe.inShell32)
            s_probe.inShfolder = IsFunctionExported(QString::fromLatin1(FolderFunction), QStringLiteral("shfolder"));
        s_probe.probed = true;
    }
    if (create)
        folder |= CSIDL_FLAG_CREATE;

    os::SHGetFolderPathWProc function = nullptr;
    if (s_probe.inShell32)
        function = folderFunctionOf(QStringLiteral("shell32"));
    else if (s_probe.inShfolder)
        function = folderFunctionOf(QStringLiteral("shfolder"));
    if (!function)
        return {};

    std::array<char16_t, os::MAX_PATH> buffer{};
    if (function(owner, folder, token, quint32(flags), buffer.data()) != 0)
        return {};
    const auto end = std::find(buffer.begin(), buffer.end(), u'\0');
    if (end == buffer.end() || end == buffer.begin())
        return {};
    return QString::fromUtf16(buffer.data(), end - buffer.begin());
}

QString GetSystemFolderPath() { return GetSpecialFolderPath(CSIDL_SYSTEM, 0, false, nullptr, nullptr); }

FolderFunctionProbe ProbeState() { return s_probe; }
void ResetProbe() { s_probe = {}; }

} // namespace ModSpecialFolders

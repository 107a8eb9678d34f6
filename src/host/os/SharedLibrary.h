#pragma once

#include <QString>

namespace os {

// A loaded library: an opaque handle, null on failure.
struct ModuleTag;
using HMODULE = ModuleTag *;
// An exported function's address, cast to its own signature by the caller.
using FARPROC = void (*)();

// Libraries are either real shared libraries of this machine (dlopen: "libc.so.6") or stand-in
// libraries of this program, named as the platform names them ("shell32", "User32.dll": case and
// a ".dll" ending do not matter) and exporting the stand-ins of their functions. Stand-ins are
// part of the process: always loaded, never unloaded.

// GetModuleHandle: the library when it is loaded already, else null; takes no reference.
HMODULE GetModuleHandle(const QString &name);
// LoadLibrary: loads (or takes another reference to) the library; null when it cannot be loaded.
HMODULE LoadLibrary(const QString &name);
// FreeLibrary: drops a reference taken by LoadLibrary.
bool FreeLibrary(HMODULE module);
// GetProcAddress: the exported function, or null.
FARPROC GetProcAddress(HMODULE module, const char *name);

// Adds a function to a stand-in library (creating the library); a later registration of the
// same name replaces the earlier. The folder stand-in's "shell32" "SHGetFolderPathW" is built in.
void RegisterStandInExport(const QString &library, const char *name, FARPROC function);

} // namespace os

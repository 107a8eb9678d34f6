#pragma once

#include <QString>

class QWidget;

namespace os {

// Special-folder numbers (CSIDL) known here.
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
inline constexpr int CSIDL_PERSONAL = 0x0005;
inline constexpr int CSIDL_APPDATA = 0x001A;
inline constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
inline constexpr int CSIDL_WINDOWS = 0x0024;
inline constexpr int CSIDL_SYSTEM = 0x0025;
inline constexpr int CSIDL_FLAG_CREATE = 0x8000;

inline constexpr long S_OK = 0;
inline constexpr long S_FALSE = 1;
inline constexpr long E_FAIL = long(0x80004005);
inline constexpr long E_INVALIDARG = long(0x80070057);

inline constexpr int MAX_PATH = 260;

// Where the special folders are on this machine. The system folder (CSIDL_SYSTEM, 37) is the
// stand-in for the platform's system folder: "system32" in the program folder (App::Path), where
// the class-icon libraries live; the Windows folder is the program folder itself. The user
// folders are the desktop's, the documents', the configuration and the data folders of the user.
// An unknown number answers an empty path.
QString SpecialFolderLocation(int csidl);

// SHGetFolderPathW: the folder's path (with the platform's separators) into path, a buffer of
// MAX_PATH UTF-16 units, NUL-terminated. S_OK; S_FALSE when the folder does not exist (with
// CSIDL_FLAG_CREATE it is made first); E_INVALIDARG for an unknown number or a null buffer;
// E_FAIL when the path does not fit. The owner window and token are accepted and not used.
long SHGetFolderPathW(QWidget *owner, int folder, void *token, quint32 flags, char16_t *path);

// The signature of SHGetFolderPathW as GetProcAddress hands it out.
using SHGetFolderPathWProc = long (*)(QWidget *owner, int folder, void *token, quint32 flags, char16_t *path);

} // namespace os

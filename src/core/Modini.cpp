#include "core/Modini.h"

#include "components/FileSystemObject.h"
#include "os/ProfileFile.h"
#include "runtime/App.h"

namespace Modini {

namespace {

constexpr unsigned kBufferSize = 2048;   // characters, the terminating one included

QString settingsPath(const QString &file)
{
    return file.isEmpty() ? runtime::App::Path() + QLatin1String("/settings.ini") : file;
}

}

QString ReadIni(const QString &section, const QString &key, const QString &file)
{
    QString value;
    os::GetPrivateProfileString(section, key, QString(), value, kBufferSize, settingsPath(file));
    return value;
}

bool WriteIni(const QString &section, const QString &key, const QString &value, const QString &file)
{
    const QString path = settingsPath(file);
    const Scripting::FileSystemObject fso;
    if (!fso.FileExists(path)) {
        if (std::unique_ptr<Scripting::TextStream> stream = fso.CreateTextFile(path, true, true))
            stream->Close();
    }
    return os::WritePrivateProfileString(section, key, value, path);
}

}

#include "core/Modini.h"

#include "components/FileSystemObject.h"
#include "os/ProfileFile.h"
#include "runtime/App.h"

namespace Modini {

namespace {

constexpr unsigned kBufferSize = 2048;   // characters, the terminating one included

QString settingsPath(const QString &file)
{
    return file.isEmpty() ? runtime::App::FilePath(kSettingsFileName) : file;
}

}

IniSection::IniSection(const QString &section, const QString &file) : m_keys(section, settingsPath(file)) {}

QString IniSection::Value(const QString &key) const
{
    QString value;
    m_keys.GetString(key, QString(), value, kBufferSize);
    return value;
}

QString ReadIni(const QString &section, const QString &key, const QString &file) { return IniSection(section, file).Value(key); }

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

#include "components/FileSystemObject.h"

#include "os/FileName.h"

#include <QFileInfo>

namespace Scripting {

void TextStream::Close()
{
    if (file_)
        file_->close();
}

bool FileSystemObject::FileExists(const QString &path) const
{
    return QFileInfo(os::resolveFileName(path)).isFile();
}

std::unique_ptr<TextStream> FileSystemObject::CreateTextFile(const QString &path, bool overwrite, bool unicode) const
{
    const QString native = os::resolveFileName(path);
    auto file = std::make_unique<QFile>(native);
    const QIODevice::OpenMode mode = overwrite ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::NewOnly;
    if (native.isEmpty() || QFileInfo(native).isDir() || !file->open(mode))
        return nullptr;
    if (unicode && file->write("\xFF\xFE", 2) != 2)
        return nullptr;
    return std::make_unique<TextStream>(std::move(file));
}

}

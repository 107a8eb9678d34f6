#include "os/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 maxBytes)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return std::nullopt;
    QFile file;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes
        || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return std::nullopt;
    }
    // What is read is held to the size the file reported (within the limit): a file that grows
    // meanwhile is being written and is not the file judged.
    QByteArray bytes = file.read(qint64(status.st_size) + 1);
    if (bytes.size() > status.st_size || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

}

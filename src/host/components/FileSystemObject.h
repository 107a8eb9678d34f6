#pragma once

#include <QFile>
#include <QString>

#include <memory>

// The scripting library's file-system object, as far as the system uses it: testing for a file
// and creating an empty text file, 8-bit or UTF-16 little-endian with its byte-order mark.
namespace Scripting {

class TextStream {
public:
    explicit TextStream(std::unique_ptr<QFile> file) : file_(std::move(file)) {}
    void Close();

private:
    std::unique_ptr<QFile> file_;
};

class FileSystemObject {
public:
    bool FileExists(const QString &path) const;
    // Creates the file (replacing it when overwrite is set); nullptr when it cannot be made.
    std::unique_ptr<TextStream> CreateTextFile(const QString &path, bool overwrite = true, bool unicode = false) const;
};

}

#pragma once

#include <QString>

#include <stdexcept>

// Sends one file to a web server as multipart form data, part "uploadfile".
namespace ModPostFile {

// The file to send could not be opened or read: this failure reaches the caller instead of a
// result. Numbers as the original runtime gives them: 53 file not found, 75 path/file access.
class FileReadError : public std::runtime_error {
public:
    FileReadError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

// An HTTP/1.0 POST of the file to the URL (over TLS for an https address); true when the whole
// request was sent and a final answer with a status below 400 came back. The answer's body is
// not read. Throws FileReadError when the file cannot be read.
bool PostFile(const QString &url, const QString &filePath);

}

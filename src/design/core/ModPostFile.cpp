#include "core/ModPostFile.h"

#include "os/FileName.h"
#include "os/WinInet.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ModPostFile {

namespace {

const QByteArray kBoundary = QByteArrayLiteral("3fbd04f5-b1ed-4060-99b9-fca7ff59c113");

QByteArray readContent(const QString &filePath)
{
    const QString path = os::resolveFileName(filePath);
    const QFileInfo info(path);
    if (!info.exists())
        throw FileReadError(53, QStringLiteral("File not found"));
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw FileReadError(75, QStringLiteral("Path/File access error"));
    QByteArray content;
    if (file.size() > 0) {
        content = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw FileReadError(75, QStringLiteral("Path/File access error"));
    }
    return content;
}

struct Target {
    QString host;
    QString path;
    int port = 0;
    bool secure = false;
};

// A status from 400 on is the server's refusal: the file did not arrive.
constexpr int kFirstFailureStatus = 400;

Target splitUrl(const QString &url)
{
    Target target;
    QString host = url;
    const qsizetype scheme = host.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        // An https address is reached over TLS only, never in clear on its port.
        target.secure = host.left(scheme).trimmed().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
        host = host.mid(scheme + 3);
    }
    const qsizetype slash = host.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        target.path = host.mid(slash);
        host = host.left(slash);
    }
    const qsizetype colon = host.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        // The number the text begins with, as the original's conversion reads it; none is 0.
        const QString digits = host.mid(colon + 1).trimmed();
        qsizetype count = 0;
        while (count < digits.size() && count < 9 && digits.at(count).isDigit() && digits.at(count).unicode() < 128)
            ++count;
        target.port = digits.left(count).toInt();
        host = host.left(colon);
    }
    target.host = host;
    if (target.port == 0)
        target.port = target.secure ? os::INTERNET_DEFAULT_HTTPS_PORT : os::INTERNET_DEFAULT_HTTP_PORT;
    return target;
}

// The name after the last separator; the design's "\" and this platform's "/" alike, so that
// no folder of this machine goes out with the upload.
QByteArray fileNameOf(const QString &filePath)
{
    const qsizetype separator = std::max(filePath.lastIndexOf(QLatin1Char('\\')), filePath.lastIndexOf(QLatin1Char('/')));
    return filePath.mid(separator + 1).toLocal8Bit();
}

}

bool PostFile(const QString &url, const QString &filePath)
{
    const QByteArray content = readContent(filePath);
    const Target target = splitUrl(url);

    if (!os::InternetAutodial(os::INTERNET_AUTODIAL_FORCE_ONLINE, nullptr))
        return false;
    const std::unique_ptr<os::InternetSession> session =
        os::InternetSession::open(QStringLiteral("Uploader"), os::INTERNET_OPEN_TYPE_PRECONFIG);
    if (!session)
        return false;
    const std::unique_ptr<os::InternetConnection> connection =
        os::InternetConnection::connect(*session, target.host, target.port, os::INTERNET_SERVICE_HTTP);
    if (!connection)
        return false;
    const std::unique_ptr<os::HttpRequest> request =
        os::HttpRequest::open(*connection, QStringLiteral("POST"), target.path, QStringLiteral("HTTP/1.0"),
                              os::INTERNET_FLAG_RELOAD | (target.secure ? os::INTERNET_FLAG_SECURE : 0u));
    if (!request)
        return false;
    if (!request->addRequestHeaders("Content-Type: multipart/form-data; boundary=" + kBoundary + "\r\n",
                                    os::HTTP_ADDREQ_FLAG_ADD | os::HTTP_ADDREQ_FLAG_REPLACE))
        return false;

    QByteArray body;
    body += "--" + kBoundary + "\r\n";
    body += "Content-Disposition: multipart/form-data; name=\"uploadfile\"; filename=\"" + fileNameOf(filePath) + "\"\r\n";
    body += "Content-Type: application/octet-stream\r\n\r\n";
    body += content;
    body += "\r\n--" + kBoundary + "--";
    // Leaving closes the request, the connection and the session, in this order.
    return request->sendRequest(body) && request->statusCode() < kFirstFailureStatus;
}

}

#pragma once

#include "support/LocalHttpServer.h"

#include <QByteArray>

namespace testsupport {

inline QByteArray patternBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + i / 251);
    return bytes;
}

// The download's server: a file with Range support, error statuses, an answer without a
// length, one that stalls after its header, one that closes part-way, an empty one, one of
// five gigabytes that never come.
inline void downloadRoutes(httplib::Server &http, LocalHttpServer &self, const QByteArray &file)
{
    const std::string body = file.toStdString();
    http.Get("/file.zip", [body](const httplib::Request &, httplib::Response &response) {
        response.set_content(body, "application/octet-stream");
    });
    for (const int status : {401, 403, 404}) {
        http.Get("/" + std::to_string(status), [status](const httplib::Request &, httplib::Response &response) {
            response.status = status;
        });
    }
    http.Get("/500", [](const httplib::Request &, httplib::Response &response) {
        response.status = 500;
        response.set_content("server error page", "text/html");
    });
    http.Get("/nolength", [body](const httplib::Request &, httplib::Response &response) {
        response.set_chunked_content_provider("application/octet-stream", [body](size_t offset, httplib::DataSink &sink) {
            if (offset >= body.size())
                sink.done();
            else
                sink.write(body.data() + offset, std::min<size_t>(500, body.size() - offset));
            return true;
        });
    });
    // Announces five gigabytes and sends nothing of them.
    http.Get("/huge", [&self](const httplib::Request &, httplib::Response &response) {
        response.set_content_provider(size_t(5000000000ull), "application/octet-stream",
                                      [&self](size_t, size_t, httplib::DataSink &) { return self.pause(std::chrono::seconds(60)); });
    });
    http.Get("/empty", [](const httplib::Request &, httplib::Response &response) {
        response.set_content("", "application/octet-stream");
    });
    http.Get("/silent", [&self](const httplib::Request &, httplib::Response &) { self.pause(std::chrono::seconds(60)); });
    http.Get("/stall", [&self](const httplib::Request &, httplib::Response &response) {
        response.set_content_provider(1000, "application/octet-stream",
                                      [&self](size_t, size_t, httplib::DataSink &) { return self.pause(std::chrono::seconds(60)); });
    });
    http.Get("/cut", [](const httplib::Request &, httplib::Response &response) {
        response.set_content_provider(3000, "application/octet-stream", [](size_t offset, size_t, httplib::DataSink &sink) {
            if (offset > 0)
                return false;
            sink.write(std::string(1500, 'c').data(), 1500);
            return true;
        });
    });
}

} // namespace testsupport

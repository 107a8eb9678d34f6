#pragma once

#include "support/LocalHttpServer.h"

#include "components/Zentrax.h"

#include <QByteArray>

namespace testsupport {

inline QByteArray patternBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + i / 251);
    return bytes;
}

// The body in chunks of 500 bytes, with no length announced.
inline void sendWithoutLength(httplib::Response &response, const std::string &body)
{
    response.set_chunked_content_provider("application/octet-stream", [body](size_t offset, httplib::DataSink &sink) {
        if (offset >= body.size())
            sink.done();
        else
            sink.write(body.data() + offset, std::min<size_t>(500, body.size() - offset));
        return true;
    });
}

// The download's server: a file with Range support and the same file from a server that ignores
// a range, error statuses, redirects, an answer without a length, one that stalls after its
// header, one that closes part-way, an empty one, lengths at the largest archive and past it and
// one of five gigabytes, none of which come.
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
        sendWithoutLength(response, body);
    });
    // A range asked for is not given: the whole file comes again.
    http.Get("/norange", [body](const httplib::Request &request, httplib::Response &response) {
        if (!request.has_header("Range")) {
            response.set_content(body, "application/octet-stream");
            return;
        }
        sendWithoutLength(response, body);
    });
    // Chunked, so that a range asked for leaves it as it is.
    http.Get("/nowhere", [](const httplib::Request &, httplib::Response &response) {
        response.status = 301;
        response.set_chunked_content_provider("text/html", [](size_t offset, httplib::DataSink &sink) {
            const std::string page = "moved, but not said where";
            if (offset >= page.size())
                sink.done();
            else
                sink.write(page.data() + offset, page.size() - offset);
            return true;
        });
    });
    http.Get("/moved", [](const httplib::Request &, httplib::Response &response) { response.set_redirect("/file.zip"); });
    // Announce their lengths and send nothing of them.
    const std::pair<const char *, size_t> announced[] = {{"/largest", size_t(Zentrax::kMaxUnpackedBytes)},
                                                         {"/pastlargest", size_t(Zentrax::kMaxUnpackedBytes + 1)},
                                                         {"/huge", size_t(5000000000ull)}};
    for (const auto &[path, length] : announced) {
        http.Get(path, [&self, length](const httplib::Request &, httplib::Response &response) {
            response.set_content_provider(length, "application/octet-stream",
                                          [&self](size_t, size_t, httplib::DataSink &) { return self.pause(std::chrono::seconds(60)); });
        });
    }
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

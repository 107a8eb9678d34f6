#pragma once

#include "TestCertificates.h" // beside it: benchmarks include this header by its path

#include <httplib.h>

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace testsupport {

// A real HTTP server on 127.0.0.1 and a free port, serving the routes the test gives it from a
// thread of its own until it is destroyed; over TLS when given an identity. Handlers that hold
// a connection open (stalls, slow bodies) wait through pause(), which ends once the server is
// stopping, so that the destructor never waits for them.
class LocalHttpServer {
public:
    using Routes = std::function<void(httplib::Server &, LocalHttpServer &)>;

    explicit LocalHttpServer(const Routes &routes) : LocalHttpServer(std::make_unique<httplib::Server>(), routes) {}
    LocalHttpServer(const TlsIdentity &identity, const Routes &routes)
        : LocalHttpServer(std::make_unique<httplib::SSLServer>(identity.certificateFile.c_str(), identity.keyFile.c_str()),
                          routes, "https")
    {
    }
    ~LocalHttpServer()
    {
        stopping_ = true;
        server_->stop();
        thread_.join();
    }
    LocalHttpServer(const LocalHttpServer &) = delete;
    LocalHttpServer &operator=(const LocalHttpServer &) = delete;

    int port() const { return port_; }
    QString url(const QString &path) const { return QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme_).arg(port_).arg(path); }

    // Waits `duration`, or less when the server is stopping; false then.
    bool pause(std::chrono::milliseconds duration) const
    {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (!stopping_ && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return !stopping_;
    }
    bool stopping() const { return stopping_; }

private:
    LocalHttpServer(std::unique_ptr<httplib::Server> server, const Routes &routes, const char *scheme = "http")
        : server_(std::move(server)), scheme_(QLatin1String(scheme))
    {
        routes(*server_, *this);
        port_ = server_->bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        // A stop before the listen loop runs would be missed and leave the thread listening.
        while (!server_->is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    std::unique_ptr<httplib::Server> server_;
    QString scheme_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace testsupport

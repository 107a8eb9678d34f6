#pragma once

#include "support/TestCertificates.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct ssl_ctx_st;

namespace testsupport {

// A one-thread HTTP server on 127.0.0.1 that keeps every request exactly as its bytes arrived.
class RawHttpServer {
public:
    enum class Behaviour {
        Answer,         // "HTTP/1.0 <status>" once the whole request is in
        Stall,          // reads, never answers
        CloseAtOnce,    // reads the request, closes without a word
        HeadersThenStall,   // answers "HTTP/1.0 <status>" headers, then never sends the body
        Drip,               // announces 1000 bytes, then sends one every 100 ms
        EndlessContinue,    // answers "100 Continue" every few milliseconds, never the real answer
        OverlongChunked,    // announces 1000 bytes, then sends chunks of 1 KiB without end
        HeadersWithoutEnd,  // a "200" status line, then a header line every few milliseconds, never the blank line
        StatusLineThenReset,    // a "200" status line, then resets the connection
    };

    explicit RawHttpServer(Behaviour behaviour = Behaviour::Answer, int status = 200);
    // Over TLS, proving itself with `identity`: answers "HTTP/1.0 <status>" once the whole
    // request is in, and keeps the request's bytes as they were before encryption.
    explicit RawHttpServer(const TlsIdentity &identity, int status = 200);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer &) = delete;
    RawHttpServer &operator=(const RawHttpServer &) = delete;

    int port() const { return port_; }
    // The raw bytes of the requests received so far, one after another.
    QByteArray received() const;
    // The same, one entry a connection, each once its connection has been served.
    QList<QByteArray> requests() const;
    int connections() const { return connections_; }
    // Connections the client has closed, or the server has served to their end.
    int closedConnections() const { return closed_; }

private:
    void run();
    // Reads one request through `read` (the bytes it read, 0 for none yet, below 0 at the end)
    // until it is complete, or for ever while stalling, and keeps it.
    void receiveRequest(const std::function<qsizetype(char *, int)> &read);
    void serve(int client);
    void serveTls(int client);
    void keep(const char *bytes, qsizetype count);
    QByteArray answer() const;
    // False when the client is gone or the server stops first.
    bool sendAll(int client, const QByteArray &bytes);
    // Sends `first`, then `repeated` every `intervalMs` until the client closes or the server stops.
    void sendWhileHeard(int client, const QByteArray &first, const QByteArray &repeated, int intervalMs);

    struct TlsContextFree {
        void operator()(ssl_ctx_st *context) const;
    };

    Behaviour behaviour_;
    std::unique_ptr<ssl_ctx_st, TlsContextFree> tls_;
    int status_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> closed_{0};
    mutable std::mutex mutex_;
    QByteArray received_;
    QList<QByteArray> requests_;
    std::thread thread_;
};

// A socket listening on an ephemeral port of 127.0.0.1 that nobody accepts from (the kernel
// still accepts connections into its backlog); -1 when none could be had.
int listenOnLoopback(int &port);

// A port on 127.0.0.1 that nothing listens on.
int closedPort();

}

#include "support/RawHttpServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

bool readable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

// Whether the bytes hold a whole request: headers and as much body as Content-Length says.
bool complete(const QByteArray &request)
{
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    qsizetype length = 0;
    for (const QByteArray &line : request.left(end).split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(15).trimmed().toLongLong();
    }
    return request.size() >= end + 4 + length;
}

}

int listenOnLoopback(int &port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 || ::listen(fd, 8) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

RawHttpServer::RawHttpServer(Behaviour behaviour, int status) : behaviour_(behaviour), status_(status)
{
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { run(); });
}

RawHttpServer::RawHttpServer(const TlsIdentity &identity, int status)
    : behaviour_(Behaviour::Answer), tls_(SSL_CTX_new(TLS_server_method())), status_(status)
{
    if (!tls_ || SSL_CTX_use_certificate_chain_file(tls_.get(), identity.certificateFile.c_str()) != 1
        || SSL_CTX_use_PrivateKey_file(tls_.get(), identity.keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
        return; // listens on nothing: every client is refused
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { run(); });
}

void RawHttpServer::TlsContextFree::operator()(ssl_ctx_st *context) const
{
    SSL_CTX_free(context);
}

RawHttpServer::~RawHttpServer()
{
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listener_ >= 0)
        ::close(listener_);
}

QByteArray RawHttpServer::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

QList<QByteArray> RawHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void RawHttpServer::run()
{
    // The TLS library writes to the socket without MSG_NOSIGNAL: a client that hung up after
    // refusing the certificate must end that write with an error, not the test program.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    while (!stopping_ && listener_ >= 0) {
        if (!readable(listener_, 10))
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        ++connections_;
        if (tls_)
            serveTls(client);
        else
            serve(client);
        ::close(client);
        ++closed_;
    }
}

void RawHttpServer::receiveRequest(const std::function<qsizetype(char *, int)> &read)
{
    QByteArray request;
    char buffer[4096];
    while (!stopping_) {
        if (behaviour_ != Behaviour::Stall && complete(request))
            break;
        const qsizetype got = read(buffer, int(sizeof(buffer)));
        if (got < 0)
            break;
        request.append(buffer, got);
        keep(buffer, got);
    }
    std::lock_guard lock(mutex_);
    requests_.append(request);
}

void RawHttpServer::serve(int client)
{
    receiveRequest([&](char *buffer, int size) -> qsizetype {
        if (!readable(client, 10))
            return 0;
        const ssize_t got = ::recv(client, buffer, size_t(size), 0);
        return got > 0 ? got : -1;
    });
    char buffer[4096];
    if (behaviour_ == Behaviour::Answer) {
        const QByteArray answer = this->answer();
        ::send(client, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
    } else if (behaviour_ == Behaviour::Drip) {
        sendWhileHeard(client, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n", "d", 100);
    } else if (behaviour_ == Behaviour::EndlessContinue) {
        sendWhileHeard(client, {}, "HTTP/1.1 100 Continue\r\n\r\n", 5);
    } else if (behaviour_ == Behaviour::OverlongChunked) {
        sendWhileHeard(client, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nTransfer-Encoding: chunked\r\n\r\n",
                       "400\r\n" + QByteArray(1024, 'o') + "\r\n", 1);
    } else if (behaviour_ == Behaviour::HeadersWithoutEnd) {
        sendWhileHeard(client, "HTTP/1.0 200 OK\r\n", "X-More: more\r\n", 5);
    } else if (behaviour_ == Behaviour::StatusLineThenReset) {
        sendAll(client, "HTTP/1.0 200 OK\r\n");
        // Closing with a zero linger time sends a reset instead of the orderly end.
        const linger reset{1, 0};
        ::setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
    } else if (behaviour_ == Behaviour::HeadersThenStall) {
        const QByteArray headers = "HTTP/1.0 " + QByteArray::number(status_) + " Status\r\nContent-Length: 1000\r\n\r\n";
        ::send(client, headers.constData(), size_t(headers.size()), MSG_NOSIGNAL);
        // Held open until the client gives up or the server stops.
        while (!stopping_) {
            if (readable(client, 10) && ::recv(client, buffer, sizeof(buffer), 0) <= 0)
                break;
        }
    }
}

void RawHttpServer::serveTls(int client)
{
    // The handshake and the reads block; a client that falls silent ends them after this.
    const timeval limit{10, 0};
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    const std::unique_ptr<SSL, decltype(&SSL_free)> ssl(SSL_new(tls_.get()), &SSL_free);
    if (!ssl || SSL_set_fd(ssl.get(), client) != 1 || SSL_accept(ssl.get()) != 1)
        return; // a client that does not accept the certificate
    receiveRequest([&](char *buffer, int size) -> qsizetype {
        const int got = SSL_read(ssl.get(), buffer, size);
        return got > 0 ? got : -1;
    });
    const QByteArray answer = this->answer();
    SSL_write(ssl.get(), answer.constData(), int(answer.size()));
    SSL_shutdown(ssl.get());
}

void RawHttpServer::keep(const char *bytes, qsizetype count)
{
    std::lock_guard lock(mutex_);
    received_.append(bytes, count);
}

QByteArray RawHttpServer::answer() const
{
    return "HTTP/1.0 " + QByteArray::number(status_) + " Status\r\nContent-Length: 2\r\n\r\nOK";
}

bool RawHttpServer::sendAll(int client, const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        // A client that stops reading must not hold the server past its stop.
        pollfd entry{client, POLLOUT, 0};
        if (stopping_)
            return false;
        if (::poll(&entry, 1, 10) <= 0)
            continue;
        const ssize_t count = ::send(client, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        sent += std::max<ssize_t>(count, 0);
    }
    return true;
}

void RawHttpServer::sendWhileHeard(int client, const QByteArray &first, const QByteArray &repeated, int intervalMs)
{
    if (!sendAll(client, first))
        return;
    char buffer[4096];
    while (!stopping_) {
        if (!sendAll(client, repeated))
            return;
        // A readable socket that gives nothing is one the client has closed.
        if (readable(client, intervalMs) && ::recv(client, buffer, sizeof(buffer), 0) <= 0)
            return;
    }
}

int closedPort()
{
    int port = 0;
    const int fd = listenOnLoopback(port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

}

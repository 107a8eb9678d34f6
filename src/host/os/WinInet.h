#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>
#include <optional>

// The platform's internet functions that the system calls, over libcurl: the connection state
// and a request sent in one call. Session, connection and request are handles that close when
// they are destroyed; as with the platform, nothing touches the network before sendRequest.
namespace os {

constexpr unsigned INTERNET_CONNECTION_MODEM = 0x01;
constexpr unsigned INTERNET_CONNECTION_LAN = 0x02;
constexpr unsigned INTERNET_CONNECTION_PROXY = 0x04;
constexpr unsigned INTERNET_CONNECTION_OFFLINE = 0x20;
constexpr unsigned INTERNET_AUTODIAL_FORCE_ONLINE = 1;
constexpr int INTERNET_OPEN_TYPE_PRECONFIG = 0;
constexpr int INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr int INTERNET_SERVICE_HTTP = 3;
constexpr unsigned INTERNET_FLAG_RELOAD = 0x80000000u;
constexpr unsigned INTERNET_FLAG_SECURE = 0x00800000u;
constexpr unsigned HTTP_ADDREQ_FLAG_ADD = 0x20000000u;
constexpr unsigned HTTP_ADDREQ_FLAG_REPLACE = 0x80000000u;
constexpr int INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr int INTERNET_DEFAULT_HTTPS_PORT = 443;

// True when a network interface other than loopback is up with an address; `flags` receives
// INTERNET_CONNECTION_LAN or INTERNET_CONNECTION_OFFLINE.
bool InternetGetConnectedState(unsigned *flags = nullptr);
// There is nothing to dial here: succeeds exactly when the machine is connected.
bool InternetAutodial(unsigned flags, void *parentWindow);
// Tests pretend a connection state; nothing restores the machine's own.
void SetConnectedStateForTesting(std::optional<bool> connected);

// How long a request may wait to connect, and how long it may go without receiving or sending
// a byte (looked at about once a second), before it fails. Process-wide, as the platform's
// options on no handle are.
struct InternetTimeouts {
    int connectMs = 30000;
    int receiveMs = 30000;
};
void SetInternetTimeouts(const InternetTimeouts &timeouts);
InternetTimeouts GetInternetTimeouts();

class InternetSession {
public:
    static std::unique_ptr<InternetSession> open(const QString &agent, int accessType);
    const QString &agent() const { return agent_; }
    int accessType() const { return accessType_; }

private:
    InternetSession(QString agent, int accessType) : agent_(std::move(agent)), accessType_(accessType) {}
    QString agent_;
    int accessType_;
};

class InternetConnection {
public:
    // Fails for an empty host or a service other than HTTP.
    static std::unique_ptr<InternetConnection> connect(InternetSession &session, const QString &host, int port,
                                                       int service);
    InternetSession &session() const { return session_; }
    const QString &host() const { return host_; }
    int port() const { return port_; }

private:
    InternetConnection(InternetSession &session, QString host, int port) : session_(session), host_(std::move(host)), port_(port) {}
    InternetSession &session_;
    QString host_;
    int port_;
};

class HttpRequest {
public:
    // With INTERNET_FLAG_SECURE the request goes over TLS, the server's certificate verified
    // (os/WinInetCurl.h); a server that cannot prove itself gets nothing.
    static std::unique_ptr<HttpRequest> open(InternetConnection &connection, const QString &verb, const QString &path,
                                             const QString &version, unsigned flags);

    // Adds the header lines (each ended by CR LF, or the last without); with REPLACE a header of
    // the same name is replaced. Fails for a line that is no "Name: value".
    bool addRequestHeaders(const QByteArray &headers, unsigned modifiers);
    // Sends the request with the body; true once the whole body is sent and the headers of the
    // server's final answer are in, whatever its status (interim answers do not count). The
    // answer's body is not read.
    bool sendRequest(const QByteArray &body);
    int statusCode() const { return status_; }

private:
    HttpRequest(InternetConnection &connection, QString verb, QString path, QString version, bool secure)
        : connection_(connection), verb_(std::move(verb)), path_(std::move(path)), version_(std::move(version)), secure_(secure) {}
    InternetConnection &connection_;
    QString verb_;
    QString path_;
    QString version_;
    bool secure_;
    QList<QPair<QByteArray, QByteArray>> headers_;
    int status_ = 0;
};

}

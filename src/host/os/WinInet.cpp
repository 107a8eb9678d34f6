#include "os/WinInet.h"

#include "os/WinInetCurl.h"

#include <curl/curl.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <chrono>

namespace os {

namespace {

std::optional<bool> &connectedOverride()
{
    static std::optional<bool> value;
    return value;
}

InternetTimeouts &timeouts()
{
    static InternetTimeouts value;
    return value;
}

bool machineConnected()
{
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool connected = false;
    for (const ifaddrs *entry = list; entry && !connected; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        connected = entry->ifa_addr && (entry->ifa_addr->sa_family == AF_INET || entry->ifa_addr->sa_family == AF_INET6)
                    && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(list);
    return connected;
}

// The send is over once the final answer's headers are in, as the platform's is; its body is
// not read, so a server that stalls after its headers costs nothing. Interim answers (1xx) have
// headers of their own and do not end it, nor does a status line whose headers never end: they
// count towards the header's bound, and the request fails past it.
struct AnswerWatch {
    CURL *curl = nullptr;
    long long headerBytes = 0;
    bool finalHeaderEnded = false;
};

size_t stopAfterHeaders(char *data, size_t size, size_t count, void *self)
{
    AnswerWatch &watch = *static_cast<AnswerWatch *>(self);
    const size_t length = size * count;
    watch.headerBytes += static_cast<long long>(length);
    if (watch.headerBytes > kMaxAnswerHeaderBytes)
        return 0;
    if (QByteArray::fromRawData(data, qsizetype(length)).trimmed().isEmpty()) {
        long status = 0;
        curl_easy_getinfo(watch.curl, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 200) {
            watch.finalHeaderEnded = true;
            return 0;
        }
    }
    return length;
}

// Ends a transfer that has gone without sending or receiving a byte for the idle time, once
// it is connected (the connect has a time-out of its own). The library's own low-speed check
// averages over several seconds, so a burst at the start would hide a stall behind it.
struct IdleWatch {
    CURL *curl = nullptr;
    std::chrono::milliseconds limit{};
    std::chrono::steady_clock::time_point lastChange = std::chrono::steady_clock::now();
    curl_off_t received = -1;
    curl_off_t sent = -1;
};

int stopWhenIdle(void *data, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent)
{
    IdleWatch &watch = *static_cast<IdleWatch *>(data);
    const auto now = std::chrono::steady_clock::now();
    curl_off_t connectedAfter = 0;
    curl_easy_getinfo(watch.curl, CURLINFO_CONNECT_TIME_T, &connectedAfter);
    if (connectedAfter == 0 || received != watch.received || sent != watch.sent) {
        watch.received = received;
        watch.sent = sent;
        watch.lastChange = now;
        return 0;
    }
    return now - watch.lastChange >= watch.limit ? 1 : 0;
}

// Nothing of a body that slips through goes anywhere (the library's default is to print it).
size_t discardBody(char *, size_t, size_t, void *)
{
    return 0;
}

}

bool InternetGetConnectedState(unsigned *flags)
{
    const bool connected = connectedOverride().value_or(machineConnected());
    if (flags)
        *flags = connected ? INTERNET_CONNECTION_LAN : INTERNET_CONNECTION_OFFLINE;
    return connected;
}

bool InternetAutodial(unsigned, void *)
{
    return InternetGetConnectedState();
}

void SetConnectedStateForTesting(std::optional<bool> connected)
{
    connectedOverride() = connected;
}

void SetInternetTimeouts(const InternetTimeouts &value)
{
    timeouts() = value;
}

InternetTimeouts GetInternetTimeouts()
{
    return timeouts();
}

std::unique_ptr<InternetSession> InternetSession::open(const QString &agent, int accessType)
{
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT)
        return nullptr;
    InitCurl();
    return std::unique_ptr<InternetSession>(new InternetSession(agent, accessType));
}

std::unique_ptr<InternetConnection> InternetConnection::connect(InternetSession &session, const QString &host, int port,
                                                                int service)
{
    if (host.isEmpty() || service != INTERNET_SERVICE_HTTP || port < 0 || port > 65535)
        return nullptr;
    return std::unique_ptr<InternetConnection>(
        new InternetConnection(session, host, port == 0 ? INTERNET_DEFAULT_HTTP_PORT : port));
}

std::unique_ptr<HttpRequest> HttpRequest::open(InternetConnection &connection, const QString &verb, const QString &path,
                                               const QString &version, unsigned flags)
{
    const QString method = verb.isEmpty() ? QStringLiteral("GET") : verb;
    for (const QChar c : method) {
        if (!(c.isLetter() && c.unicode() < 128))
            return nullptr;
    }
    return std::unique_ptr<HttpRequest>(new HttpRequest(connection, method, path.isEmpty() ? QStringLiteral("/") : path,
                                                        version.isEmpty() ? QStringLiteral("HTTP/1.1") : version,
                                                        (flags & INTERNET_FLAG_SECURE) != 0));
}

bool HttpRequest::addRequestHeaders(const QByteArray &headers, unsigned modifiers)
{
    QList<QPair<QByteArray, QByteArray>> added;
    for (const QByteArray &line : headers.split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if (text.isEmpty())
            continue;
        const qsizetype colon = text.indexOf(':');
        if (colon <= 0)
            return false;
        added.append({text.left(colon).trimmed(), text.mid(colon + 1).trimmed()});
    }
    if (added.isEmpty())
        return false;
    for (const auto &header : added) {
        bool replaced = false;
        if (modifiers & HTTP_ADDREQ_FLAG_REPLACE) {
            for (auto &existing : headers_) {
                if (existing.first.compare(header.first, Qt::CaseInsensitive) == 0) {
                    existing.second = header.second;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            headers_.append(header);
    }
    return true;
}

bool HttpRequest::sendRequest(const QByteArray &body)
{
    status_ = 0;
    const CurlEasy transfer(curl_easy_init());
    if (!transfer)
        return false;
    CURL *const curl = transfer.get();
    const InternetSession &session = connection_.session();
    const QByteArray url = QStringLiteral("%1://%2:%3%4")
                               .arg(secure_ ? QStringLiteral("https") : QStringLiteral("http"), connection_.host())
                               .arg(connection_.port())
                               .arg(path_)
                               .toUtf8();
    const QByteArray agent = session.agent().toLatin1();
    const QByteArray verb = verb_.toLatin1();

    // The request carries the caller's headers and nothing of the library's own choosing.
    CurlStringList headerList;
    bool listed = AppendString(headerList, "Accept:") && AppendString(headerList, "Expect:");
    for (const auto &header : std::as_const(headers_))
        listed = listed && AppendString(headerList, (header.first + ": " + header.second).constData());
    if (!listed)
        return false;

    const InternetTimeouts limits = timeouts();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, secure_ ? "https" : "http");
    if (secure_)
        VerifyPeerAgainstTrustedCertificates(curl);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION,
                     version_ == QLatin1String("HTTP/1.0") ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList.get());
    if (verb == "POST") {
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.constData());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    } else if (verb != "GET") {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb.constData());
    }
    if (session.accessType() == INTERNET_OPEN_TYPE_DIRECT)
        curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connectMs));
    IdleWatch idle{curl, std::chrono::milliseconds(limits.receiveMs)};
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, stopWhenIdle);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &idle);
    AnswerWatch answer{curl};
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, stopAfterHeaders);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &answer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discardBody);

    curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_off_t uploaded = 0;
    curl_easy_getinfo(curl, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    status_ = int(status);
    // Sent is the whole body out and the final answer's headers in; whatever ended the transfer
    // before (a time-out, a reset, an answer cut short) leaves the request unsent.
    return answer.finalHeaderEnded && uploaded == curl_off_t(body.size());
}

}

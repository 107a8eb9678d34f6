#include "components/Inet.h"

#include "os/WinInetCurl.h"
#include "runtime/DoEvents.h"

#include <curl/curl.h>

#include <QPointer>

namespace InetCtlsObjects {

namespace {

using Clock = std::chrono::steady_clock;

// A request's body waits here for GetChunk; past this much the transfer pauses until the
// reader catches up, so a slow reader never holds a whole file in memory.
constexpr qsizetype kBufferedBodyLimit = 1 << 20;
// A page fetched whole is a small text; anything larger fails instead of growing without bound.
constexpr qsizetype kPageLimit = 1 << 20;
// Redirects of a page may change host but never leave TLS for clear text.
constexpr char kAnyWebProtocol[] = "http,https";
constexpr char kTlsOnly[] = "https";
constexpr std::chrono::milliseconds kNetworkWait{5};

} // namespace

struct Inet::Transfer {
    quint64 serial = 0;
    os::CurlMulti multi{curl_multi_init()};
    os::CurlEasy easy; // in `multi` while the transfer runs
    os::CurlStringList requestHeaders;
    QByteArray url;
    QByteArray operation;

    QByteArray header; // of the latest answer, line by line
    qsizetype headerBytes = 0; // of every answer so far, interim ones included
    bool headerComplete = false;
    bool finished = false;
    CURLcode result = CURLE_OK;
    long status = 0; // of the last answer, once finished

    QByteArray body;
    qsizetype readPosition = 0;
    qsizetype bodyLimit = kBufferedBodyLimit;
    bool pauseWhenFull = true;
    bool paused = false;

    Clock::time_point started = Clock::now();
    Clock::time_point lastActivity = started;

    ~Transfer() { release(); }

    qsizetype buffered() const { return body.size() - readPosition; }

    // Removing the handle ends the request; with reuse forbidden its connection closes too.
    void release()
    {
        if (!easy)
            return;
        curl_multi_remove_handle(multi.get(), easy.get());
        easy.reset();
    }

    void finish(CURLcode code)
    {
        finished = true;
        result = code;
        if (easy)
            curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
        release();
    }

    static size_t onHeader(char *data, size_t size, size_t count, void *self)
    {
        auto &transfer = *static_cast<Transfer *>(self);
        const size_t length = size * count;
        const QByteArray line(data, qsizetype(length));
        transfer.lastActivity = Clock::now();
        if (line.startsWith("HTTP/")) {
            transfer.header.clear();
            transfer.headerComplete = false;
        }
        if (line.trimmed().isEmpty()) {
            long status = 0;
            curl_easy_getinfo(transfer.easy.get(), CURLINFO_RESPONSE_CODE, &status);
            // Interim answers (1xx) have headers of their own.
            transfer.headerComplete = status >= 200;
            return length;
        }
        transfer.headerBytes += line.size();
        // Interim answers (100 Continue) that never give way to the real one count too.
        if (transfer.headerBytes > os::kMaxAnswerHeaderBytes)
            return 0; // fails the transfer
        transfer.header += line.endsWith("\r\n") ? line : line.trimmed() + "\r\n";
        return length;
    }

    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        auto &transfer = *static_cast<Transfer *>(self);
        const size_t length = size * count;
        transfer.lastActivity = Clock::now();
        if (transfer.buffered() + qsizetype(length) > transfer.bodyLimit) {
            if (!transfer.pauseWhenFull)
                return 0; // fails the transfer
            if (transfer.buffered() > 0) {
                transfer.paused = true;
                return CURL_WRITEFUNC_PAUSE;
            }
        }
        if (transfer.readPosition > 0 && transfer.readPosition >= transfer.body.size() / 2) {
            transfer.body.remove(0, transfer.readPosition);
            transfer.readPosition = 0;
        }
        transfer.body.append(data, qsizetype(length));
        return length;
    }
};

Inet::Inet(QObject *parent) : QObject(parent) {}

Inet::~Inet() = default;

bool Inet::start(const QString &url, const QString &operation, const QString &requestHeaders, bool followRedirects)
{
    Cancel();
    // At the first transfer, not with the control: the TLS library's start-up costs every
    // window that holds one time and resident pages though most never transfer.
    os::InitCurl();
    static quint64 nextSerial = 0;
    auto transfer = std::make_unique<Transfer>();
    transfer->serial = ++nextSerial;
    transfer->url = url.toUtf8();
    transfer->operation = operation.isEmpty() ? QByteArray("GET") : operation.toLatin1();
    transfer->easy.reset(curl_easy_init());
    if (!transfer->multi || !transfer->easy || transfer->url.isEmpty())
        return false;
    for (const QString &line : requestHeaders.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (!os::AppendString(transfer->requestHeaders, line.toLatin1().constData()))
            return false;
    }

    CURL *easy = transfer->easy.get();
    curl_easy_setopt(easy, CURLOPT_URL, transfer->url.constData());
    const bool secure = transfer->url.trimmed().toLower().startsWith("https:");
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, kAnyWebProtocol);
    os::VerifyPeerAgainstTrustedCertificates(easy);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts_.connect.count()));
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 64L * 1024);
    if (transfer->operation != "GET")
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, transfer->operation.constData());
    if (transfer->requestHeaders)
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer->requestHeaders.get());
    if (followRedirects) {
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, secure ? kTlsOnly : kAnyWebProtocol);
        // An error page is no page: the caller gets the empty text of a failure.
        curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
        transfer->bodyLimit = kPageLimit;
        transfer->pauseWhenFull = false;
    }
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
    if (curl_multi_add_handle(transfer->multi.get(), easy) != CURLM_OK)
        return false;
    transfer_ = std::move(transfer);
    pump(std::chrono::milliseconds(0));
    return true;
}

void Inet::pump(std::chrono::milliseconds wait)
{
    if (!transfer_ || transfer_->finished)
        return;
    Transfer &transfer = *transfer_;
    if (transfer.paused && transfer.buffered() < transfer.bodyLimit / 2) {
        transfer.paused = false;
        transfer.lastActivity = Clock::now();
        curl_easy_pause(transfer.easy.get(), CURLPAUSE_CONT);
    }
    int running = 0;
    curl_multi_perform(transfer.multi.get(), &running);
    if (running && wait.count() > 0) {
        curl_multi_poll(transfer.multi.get(), nullptr, 0, int(wait.count()), nullptr);
        curl_multi_perform(transfer.multi.get(), &running);
    }
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(transfer.multi.get(), &queued)) {
        if (message->msg == CURLMSG_DONE && !transfer.finished)
            transfer.finish(message->data.result);
    }
    if (transfer.finished)
        return;
    const auto now = Clock::now();
    if (transfer.paused)
        transfer.lastActivity = now; // the reader is behind, not the server
    if (now - transfer.lastActivity > timeouts_.idle || now - transfer.started > timeouts_.total)
        transfer.finish(CURLE_OPERATION_TIMEDOUT);
}

QString Inet::OpenURL(const QString &url)
{
    if (!start(url, QStringLiteral("GET"), QString(), true))
        return QString();
    const quint64 serial = transfer_->serial;
    while (!transfer_->finished) {
        pump(kNetworkWait);
        if (!yieldFor(serial))
            return QString();
    }
    const bool ok = transfer_->result == CURLE_OK && !IsRedirect(int(transfer_->status));
    const QString page = ok ? QString::fromUtf8(transfer_->body) : QString();
    Cancel();
    return page;
}

bool Inet::Execute(const QString &url, const QString &operation, const QString &requestHeaders)
{
    return start(url.isEmpty() ? url_ : url, operation, requestHeaders, false);
}

bool Inet::StillExecuting()
{
    if (!transfer_)
        return false;
    if (!transfer_->headerComplete && !transfer_->finished)
        pump(kNetworkWait);
    return !transfer_->headerComplete && !transfer_->finished;
}

std::optional<QString> Inet::GetHeader(const QString &name) const
{
    if (!transfer_ || !transfer_->headerComplete)
        return std::nullopt;
    const QString header = QString::fromLatin1(transfer_->header);
    if (name.isEmpty())
        return header;
    for (const QString &line : header.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return QString();
}

std::optional<QByteArray> Inet::GetChunk(int size)
{
    if (size < 1 || !transfer_)
        return std::nullopt;
    const quint64 serial = transfer_->serial;
    // A chunk is full unless the body ends first; never more than the buffer holds at most.
    const qsizetype wanted = std::min<qsizetype>(size, kBufferedBodyLimit / 2);
    for (;;) {
        Transfer &transfer = *transfer_;
        if (transfer.buffered() >= wanted || (transfer.finished && transfer.buffered() > 0)) {
            const qsizetype length = std::min<qsizetype>(wanted, transfer.buffered());
            QByteArray chunk = transfer.body.mid(transfer.readPosition, length);
            transfer.readPosition += length;
            return chunk;
        }
        if (transfer.finished)
            return transfer.result == CURLE_OK ? std::optional<QByteArray>(QByteArray()) : std::nullopt;
        pump(kNetworkWait);
        if (transfer.buffered() >= wanted || transfer.finished)
            continue;
        if (!yieldFor(serial))
            return std::nullopt;
    }
}

bool Inet::yieldFor(quint64 serial)
{
    const runtime::StillLoaded alive(this);
    const QPointer<Inet> self(this);
    runtime::DoEvents();
    if (!self)
        return false;
    if (!alive) {
        Cancel();
        return false;
    }
    return transfer_ && transfer_->serial == serial;
}

void Inet::Cancel()
{
    transfer_.reset();
}

} // namespace InetCtlsObjects

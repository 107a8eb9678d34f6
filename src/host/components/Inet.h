#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

// The Internet Transfer control over libcurl: a page fetched whole, or a request whose header
// and body the caller reads in turn. Everything runs on the caller's thread; whoever waits here
// lets the message loop run, and each pass waits for network activity a few milliseconds at
// most, so the windows stay responsive without a core spinning.
namespace InetCtlsObjects {

// A redirect that reaches the caller is one the library did not follow (no target, or one it
// refused): it is neither the page nor the file asked for.
constexpr bool IsRedirect(int status)
{
    return status >= 300 && status < 400;
}

class Inet : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE setURL)

public:
    // Every wait ends: the connect, a request that goes without a byte for `idle`, and a request
    // from its start to the end of its body (a page, a file read chunk by chunk) each have a
    // limit. A wait also ends, with the request, once the window holding this control unloads.
    struct Timeouts {
        std::chrono::milliseconds connect{15000};
        std::chrono::milliseconds idle{30000};
        std::chrono::milliseconds total{60000};
    };

    explicit Inet(QObject *parent = nullptr);
    ~Inet() override;

    QString URL() const { return url_; }
    void setURL(const QString &url) { url_ = url; }

    void setTimeouts(const Timeouts &timeouts) { timeouts_ = timeouts; }
    const Timeouts &timeouts() const { return timeouts_; }

    // The body as text (UTF-8), "" on any failure: no network, a name not found, a refused or
    // silent server, a time-out, an answer with a status from 400 on, a server certificate that
    // fails verification. Redirects are followed, from an https address to https ones only; one
    // that cannot be (no target, a refused one) is a failure too. A request still open is ended
    // first.
    QString OpenURL(const QString &url);

    // Starts a request to `url` (the URL property when empty) and returns at once; the caller
    // polls StillExecuting. Redirects are not followed: the caller reads the status.
    // `requestHeaders` are lines "Name: value", each ended by CR LF. False when the request
    // cannot even be started.
    bool Execute(const QString &url = QString(), const QString &operation = QStringLiteral("GET"),
                 const QString &requestHeaders = QString());
    // True until the answer's header is in or the request has failed. Drives the transfer and,
    // while it is still running, waits for the network a few milliseconds.
    bool StillExecuting();
    // Without a name, the whole header of the answer: its status line, then each header line,
    // each ended by CR LF. With a name, that header's value ("" when absent). nullopt when there
    // is no answer (nothing executed, failed before the header, cancelled).
    std::optional<QString> GetHeader(const QString &name = QString()) const;
    // The next `size` bytes of the body, fewer only where the body ends; empty once it is
    // complete. Waits for data while letting the message loop run. nullopt when the transfer
    // failed (the server closed part-way, went silent, a limit passed, the request was
    // cancelled, the window unloaded) or `size` is below 1.
    std::optional<QByteArray> GetChunk(int size);
    // Ends the request and closes its connection.
    void Cancel();

private:
    struct Transfer;
    bool start(const QString &url, const QString &operation, const QString &requestHeaders, bool followRedirects);
    // One pass: lets libcurl work, then waits up to `wait` for the network; applies the limits.
    void pump(std::chrono::milliseconds wait);
    // One pass of the message loop while request `serial` is awaited; false when the wait is
    // over: this control deleted, its window unloaded (the request is ended), or another
    // request started by a handler.
    bool yieldFor(quint64 serial);

    QString url_;
    Timeouts timeouts_;
    std::unique_ptr<Transfer> transfer_;
};

} // namespace InetCtlsObjects

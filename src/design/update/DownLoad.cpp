#include "update/DownLoad.h"

#include "chrome/WindowDesign.h"
#include "components/Inet.h"
#include "components/Zentrax.h"
#include "controls/StoredProperties.h"
#include "core/ModMain.h"
#include "core/ModServer.h"
#include "os/WinInet.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "update/DownLoadFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <sys/statvfs.h>

#include <cmath>
#include <functional>
#include <optional>

namespace {

constexpr WindowDesign::Size kSize{480, 480};
const QString kDefaultSaveLocation = QStringLiteral("C:\\File1.tmp");
// A file takes longer than a page, but not for ever: a body that trickles ends too.
const InetCtlsObjects::Inet::Timeouts kTransferTimeouts{std::chrono::seconds(15), std::chrono::seconds(30),
                                                        std::chrono::minutes(30)};

// The announced length as a count of bytes: anything else (empty, not a number, negative,
// beyond 64 bits) is a failure.
std::optional<qint64> toLength(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value >= 0 ? std::optional<qint64>(value) : std::nullopt;
}

// The statuses by which the server refuses the file it has: the request ends, the file counts as
// there with no size, and resuming is off.
struct RefusedStatus {
    const char *status;
    const char *statusText;
    DownLoad::ErrorCode code;
    const char *error;
};
constexpr RefusedStatus kRefusedStatuses[] = {
    {"401", "Unauthorized Access, Download Terminated!", DownLoad::Unauthorized, "Unauthorized Access!"},
    {"403", "Access Denied, Download Terminated!", DownLoad::AccessDenied, "Access Denied!"},
};

// The free space is looked at again after every this many bytes written: often enough that a
// disk filled meanwhile by something else ends the download long before it is full, seldom
// enough to cost nothing beside the transfer.
constexpr qint64 kFreeSpaceCheckBytes = 1024 * 1024;

std::function<std::optional<qint64>(const QString &)> &freeSpaceForTesting()
{
    static std::function<std::optional<qint64>(const QString &)> reader;
    return reader;
}

// The bytes an unprivileged writer may still put on the disk that holds `folder`.
std::optional<qint64> freeSpaceOf(const QString &folder)
{
    if (freeSpaceForTesting())
        return freeSpaceForTesting()(folder);
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(folder).constData(), &disk) != 0)
        return std::nullopt;
    return qint64(disk.f_bavail) * qint64(disk.f_frsize);
}

// Whether `bytes` more fit on the disk of the file at `path`.
bool roomFor(const QString &path, qint64 bytes)
{
    const std::optional<qint64> free = freeSpaceOf(QFileInfo(path).absolutePath());
    return free && bytes <= *free;
}

// A file larger than the largest archive the install accepts cannot be the one wanted, however
// long the server says it is; and one the disk cannot hold would only fill it.
bool acceptableLength(const QString &path, qint64 length, qint64 held)
{
    return length <= Zentrax::kMaxUnpackedBytes && roomFor(path, length - held);
}

// The three digits of the status in the answer's header, after "HTTP/x.y ".
QString statusOf(const QString &header)
{
    return header.mid(9, 3);
}

// What a directory search with normal attributes finds: a plain file that is not hidden.
bool fileFound(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

} // namespace

DownLoad::DownLoad(QWidget *container, const QString &name, int index)
    : runtime::UserControl(container, name, index), m_i1(new InetCtlsObjects::Inet(this))
{
    storedKeys(StoredProperties::Fresh{});
    m_i1->setObjectName(QStringLiteral("I1"));
    m_i1->setTimeouts(kTransferTimeouts);
    UserControl_Resize();
}

DownLoad::~DownLoad() = default;

template <class Io>
void DownLoad::storedKeys(Io &&io)
{
    io("URL", m_url, ModServer::HomePage());
    io("CHUNK", m_chunk, 1024);
    io("SaveLocation", m_saveLocation, kDefaultSaveLocation);
    io("KeepType", m_keepType, false);
    io("OnlineCheck", m_onlineCheck, false);
    io("PromptOverwrite", m_promptOverwrite, false);
}

void DownLoad::UserControl_InitProperties()
{
    storedKeys(StoredProperties::Fresh{});
}

void DownLoad::UserControl_ReadProperties(const runtime::PropertyBag &bag)
{
    storedKeys(StoredProperties::Reader{bag});
}

void DownLoad::UserControl_WriteProperties(runtime::PropertyBag &bag)
{
    storedKeys(StoredProperties::Writer{bag});
}

void DownLoad::UserControl_Resize()
{
    const QSize square = WindowDesign::ToPixels(kSize);
    if (size() != square)
        resize(square);
}

void DownLoad::setURL(const QString &url) { setStored(m_url, url, QStringLiteral("URL")); }
void DownLoad::setSaveLocation(const QString &path) { setStored(m_saveLocation, path, QStringLiteral("SaveLocation")); }
void DownLoad::setCHUNK(int size) { setStored(m_chunk, size, QStringLiteral("CHUNK")); }
void DownLoad::setKeepType(bool keep) { setStored(m_keepType, keep, QStringLiteral("KeepType")); }
void DownLoad::setOnlineCheck(bool check) { setStored(m_onlineCheck, check, QStringLiteral("OnlineCheck")); }
void DownLoad::setPromptOverwrite(bool prompt) { setStored(m_promptOverwrite, prompt, QStringLiteral("PromptOverwrite")); }

bool DownLoad::hostLoaded() const
{
    for (const QObject *object = this; object; object = object->parent()) {
        if (const auto *form = qobject_cast<const runtime::Form *>(object))
            return form->IsLoaded();
    }
    return true;
}

double DownLoad::elapsedSeconds() const
{
    return (m_started.isValid() ? m_started.elapsed() / 1000.0 : 0.0) + 1.0;
}

bool DownLoad::CheckConnection()
{
    unsigned flags = 0;
    const bool connected = os::InternetGetConnectedState(&flags);
    if (flags & os::INTERNET_CONNECTION_MODEM)
        emit ConnectionState(QStringLiteral("Connected Via Modem."));
    if (flags & os::INTERNET_CONNECTION_LAN)
        emit ConnectionState(QStringLiteral("Connected Via LAN."));
    if (flags & os::INTERNET_CONNECTION_PROXY)
        emit ConnectionState(QStringLiteral("Connected Through A Proxy."));
    return connected;
}

void DownLoad::noConnection()
{
    emit DLECode(NoConnection);
    emit DLError(QStringLiteral("No Connection Found!"));
    emit StatusChange(QStringLiteral("Download aborted, no connection present!"));
}

// The busy flag, polled with the message loop running; false when the host window went away
// meanwhile, and the caller leaves without another event.
bool DownLoad::waitWhileExecuting()
{
    const QPointer<DownLoad> self(this);
    while (m_i1->StillExecuting()) {
        if (!runtime::DoEventsStillLoaded(this)) {
            // What the window was waiting for goes with it.
            if (self)
                m_i1->Cancel();
            return false;
        }
    }
    return true;
}

void DownLoad::GetFileInformation()
{
    m_cancel = false;
    if (m_onlineCheck) {
        m_connected = CheckConnection();
        if (!m_connected) {
            noConnection();
            return;
        }
    }
    QPointer<DownLoad> self(this);
    const auto fail = [this] {
        emit DLError(QStringLiteral("Error Reading File Headers."));
        emit StatusChange(QStringLiteral("Error Reading File Headers!"));
        emit DLECode(HeadersUnreadable);
    };
    const auto cancelled = [this] {
        m_cancel = false;
        emit DLECode(Cancelled);
        emit StatusChange(QStringLiteral("cancelled."));
    };
    m_i1->setURL(m_url);
    if (!m_i1->Execute(QString(), QStringLiteral("GET"))) {
        fail();
        return;
    }
    emit StatusChange(QStringLiteral("Initiating Connection."));
    if (!self || !waitWhileExecuting())
        return;
    emit StatusChange(QStringLiteral("Connection Accepted, Retrieving File Information."));
    if (!self)
        return;
    if (m_cancel) {
        cancelled();
        return;
    }
    const std::optional<QString> header = m_i1->GetHeader();
    if (!header) {
        fail();
        return;
    }
    const QString status = statusOf(*header);
    for (const RefusedStatus &refused : kRefusedStatuses) {
        if (status != QLatin1String(refused.status))
            continue;
        emit StatusChange(QString::fromLatin1(refused.statusText));
        emit DLECode(refused.code);
        emit DLError(QString::fromLatin1(refused.error));
        m_resumeSupported = false;
        m_fileExists = true;
        m_fileSize = 0;
        m_i1->Cancel();
        return;
    }
    if (status == QLatin1String("404")) {
        emit DLError(QStringLiteral("File Not Found!"));
        emit StatusChange(QStringLiteral("File Not Found!"));
        emit DLECode(FileNotFound);
        m_fileExists = false;
        m_fileSize = 0;
        m_i1->Cancel();
        return;
    }
    if (m_cancel) {
        cancelled();
        return;
    }
    if (InetCtlsObjects::IsRedirect(status.toInt())) {
        fail();
        return;
    }
    if (header->mid(5, 3) == QLatin1String("1.1"))
        m_resumeSupported = true;
    m_fileExists = true;
    m_started.start();
    const std::optional<qint64> length = toLength(m_i1->GetHeader(QStringLiteral("Content-Length")).value_or(QString()));
    if (!length) {
        fail();
        return;
    }
    m_fileSize = *length;
    emit StatusChange(QStringLiteral("Retrieving File Information Complete!"));
}

void DownLoad::failDownload()
{
    emit DLError(QStringLiteral("Error Downloading File from : ") + m_url);
    emit StatusChange(QStringLiteral("Download Aborted Due To Error In Download!"));
    emit DLECode(DownloadFailed);
    m_i1->Cancel();
}

DownLoad::LoopEnd DownLoad::receiveChunks(QFile &file, qint64 held)
{
    QPointer<DownLoad> self(this);
    const auto cancelled = [this, &file] {
        m_cancel = false;
        file.close();
        return LoopEnd::Cancelled;
    };
    qint64 received = 0;
    qint64 nextSpaceCheck = kFreeSpaceCheckBytes;
    for (;;) {
        if (m_cancel)
            return cancelled();
        const std::optional<QByteArray> chunk = m_i1->GetChunk(m_chunk);
        if (!self)
            return LoopEnd::HostGone;
        // A cancel followed by the window's close still ends as cancelled, as the next pass would.
        if (!hostLoaded())
            return m_cancel ? cancelled() : LoopEnd::HostGone;
        // Past the announced length the body is not the file announced (a chunked body may run
        // on whatever its length said): nothing of it is written.
        if (!chunk || chunk->size() > m_fileSize - held - received || file.write(*chunk) != chunk->size())
            return LoopEnd::Failed;
        received += chunk->size();
        if (received >= nextSpaceCheck) {
            nextSpaceCheck = received + kFreeSpaceCheckBytes;
            if (!roomFor(file.fileName(), m_fileSize - held - received))
                return LoopEnd::Failed;
        }
        // The arithmetic of a Single rate and time left: an empty first chunk gives a rate of 0,
        // and the division by it fails.
        const float rate = float(double(received) / elapsedSeconds());
        if (rate == 0)
            return LoopEnd::Failed;
        const qint64 total = held + received;
        const float timeLeft = float(double(m_fileSize - total) / rate);
        emit Rate(DownLoadFormat::FormatRate(rate));
        emit TimeLeft(DownLoadFormat::FormatTimeLeft(timeLeft));
        emit RecievedBytes(total);
        if (!self)
            return LoopEnd::HostGone;
        // Within the length, which is at least the one byte received: 0 to 100.
        emit Percent(int(std::nearbyint(double(total) / double(m_fileSize) * 100)));
        emit StatusChange(QStringLiteral("Recieving File..."));
        if (!self)
            return LoopEnd::HostGone;
        while (m_pause) {
            if (!runtime::DoEventsStillLoaded(this))
                return LoopEnd::HostGone;
            emit StatusChange(QStringLiteral("Paused."));
            if (!self)
                return LoopEnd::HostGone;
        }
        if (chunk->size() <= 1)
            return LoopEnd::Complete;
    }
}

// The endings shared by DownLoad and DLResume once the loop has run.
void DownLoad::endLoop(LoopEnd end, QFile &file)
{
    switch (end) {
    case LoopEnd::Complete: {
        file.close();
        m_inDL = false;
        QPointer<DownLoad> self(this);
        emit DLComplete();
        if (!self)
            return;
        emit StatusChange(QStringLiteral("Download Successful!"));
        if (self)
            m_i1->Cancel();
        return;
    }
    case LoopEnd::Cancelled:
        // The connection is closed at once rather than left to the next request.
        m_i1->Cancel();
        emit DLECode(Cancelled);
        emit StatusChange(QStringLiteral("Cancelled."));
        return;
    case LoopEnd::Failed:
        // What a failed transfer wrote is no part of the file announced.
        file.close();
        file.remove();
        failDownload();
        return;
    case LoopEnd::HostGone:
        // Its window is gone: nobody is left to tell.
        file.close();
        m_i1->Cancel();
        return;
    }
}

bool DownLoad::prepareTransfer()
{
    if (m_cancel)
        return false;
    if (m_onlineCheck && !m_connected) {
        noConnection();
        m_i1->Cancel();
        return false;
    }
    m_i1->setURL(m_url);
    return true;
}

void DownLoad::Download()
{
    if (!prepareTransfer())
        return;
    const QString target = m_keepType ? DownLoadFormat::ApplyUrlExtension(m_url, m_saveLocation) : m_saveLocation;
    if (!acceptableLength(target, m_fileSize, 0)) {
        failDownload();
        return;
    }
    if (fileFound(target))
        ModMain::DeleteFilePath(target);
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite)) {
        failDownload();
        return;
    }
    QPointer<DownLoad> self(this);
    emit StatusChange(QStringLiteral("Opening ") + target + QStringLiteral("..."));
    if (!self)
        return;
    m_inDL = true;
    endLoop(receiveChunks(file, 0), file);
}

void DownLoad::DLResume()
{
    if (!prepareTransfer())
        return;
    if (!fileFound(m_saveLocation)) {
        emit DLError(QStringLiteral("Resume File Not Found!"));
        emit DLECode(ResumeFileNotFound);
        emit StatusChange(QStringLiteral("Resume File Not Found, Aborting Download!"));
        return;
    }
    if (!m_resumeSupported) {
        emit DLError(QStringLiteral("Resume Not Supported!"));
        emit DLECode(ResumeNotSupported);
        emit StatusChange(QStringLiteral("Resume NotSupported, Aborting Download!"));
        return;
    }
    const qint64 held = QFileInfo(m_saveLocation).size();
    if (!acceptableLength(m_saveLocation, m_fileSize, held)
        || !m_i1->Execute(QString(), QStringLiteral("GET"), QStringLiteral("Range: bytes=%1-\r\n").arg(held))) {
        failDownload();
        return;
    }
    if (!waitWhileExecuting())
        return;
    // The answer's status is not otherwise examined: the bytes decide. A redirect has none of them.
    if (const std::optional<QString> header = m_i1->GetHeader(); header && InetCtlsObjects::IsRedirect(statusOf(*header).toInt())) {
        failDownload();
        return;
    }
    QFile file(m_saveLocation);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(held)) {
        failDownload();
        return;
    }
    QPointer<DownLoad> self(this);
    emit StatusChange(QStringLiteral("Opening ") + m_saveLocation + QStringLiteral("..."));
    if (!self)
        return;
    m_inDL = true;
    endLoop(receiveChunks(file, held), file);
}

void DownLoad::SetFreeSpaceForTesting(std::function<std::optional<qint64>(const QString &folder)> reader)
{
    freeSpaceForTesting() = std::move(reader);
}

void DownLoad::Cancel()
{
    m_cancel = true;
    emit StatusChange(QStringLiteral("Cancelling.."));
}

void DownLoad::Pause(bool paused)
{
    m_pause = paused;
    if (!paused)
        emit StatusChange(QStringLiteral("Unpausing"));
}

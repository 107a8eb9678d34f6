#include "support_improve.h"

#include "components/AdoConnection.h"
#include "os/Registry.h"
#include "os/Wmi.h"

#include <QDir>
#include <QFile>

#include <optional>
#include <sqlite3.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace improvetest {

namespace {

class GivenMachine : public os::MachineSource {
public:
    explicit GivenMachine(os::Machine machine) : machine_(std::move(machine)) {}
    os::Machine read() override { return machine_; }

private:
    os::Machine machine_;
};

// A socket bound to an ephemeral port of 127.0.0.1; -1 when none could be had.
int boundSocket(int &port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

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

// The content of part "uploadfile" of a multipart body: what stands between the blank line after
// its part header and the CR LF before the closing delimiter.
std::optional<QByteArray> uploadedFile(const QByteArray &body)
{
    const qsizetype lineEnd = body.indexOf("\r\n");
    if (!body.startsWith("--") || lineEnd < 0)
        return std::nullopt;
    const QByteArray delimiter = body.left(lineEnd);
    const qsizetype header = body.indexOf("name=\"uploadfile\"");
    const qsizetype start = body.indexOf("\r\n\r\n", header);
    const qsizetype end = body.lastIndexOf("\r\n" + delimiter + "--");
    if (header < 0 || start < 0 || end < start + 4)
        return std::nullopt;
    return body.mid(start + 4, end - start - 4);
}

}

void useMachine(const std::vector<Device> &devices)
{
    os::Machine machine;
    for (const Device &device : devices) {
        os::WmiObject object;
        object.set(QStringLiteral("DeviceID"), device.id);
        object.set(QStringLiteral("Name"), device.name);
        object.set(QStringLiteral("Manufacturer"), device.maker);
        object.set(QStringLiteral("ConfigManagerErrorCode"), 0);
        machine.devices.push_back(object);
        machine.registry.setMultiString(os::HKEY_LOCAL_MACHINE, QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\") + device.id,
                                        QStringLiteral("HardwareID"), device.hardwareIds);
    }
    os::setMachineSource(std::make_unique<GivenMachine>(std::move(machine)));
}

void forgetMachine() { os::setMachineSource(nullptr); }

QString makeHwidsDatabase(const QString &folder)
{
    QFile schemaFile(QStringLiteral(KESTROVA_FIXTURES "/../../tools/hwids-schema.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        return {};
    const QByteArray schema = schemaFile.readAll();
    const QString path = QDir(folder).filePath(QStringLiteral("hwids.mdb"));
    QFile::remove(path);
    sqlite3 *db = nullptr;
    const bool made = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK
                      && sqlite3_exec(db, schema.constData(), nullptr, nullptr, nullptr) == SQLITE_OK
                      && sqlite3_exec(db, "INSERT INTO version VALUES ('1.0.0')", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return made ? path : QString();
}

UploadServer::UploadServer()
{
    listener_ = boundSocket(port_);
    if (listener_ >= 0)
        ::listen(listener_, 8);
    thread_ = std::thread([this] { run(); });
}

UploadServer::~UploadServer()
{
    stopping_ = true;
    thread_.join();
    if (listener_ >= 0)
        ::close(listener_);
}

void UploadServer::run()
{
    while (!stopping_ && listener_ >= 0) {
        if (!readable(listener_, 10))
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        serve(client);
        ::close(client);
    }
}

void UploadServer::serve(int client)
{
    QByteArray request;
    char buffer[4096];
    while (!stopping_ && !complete(request)) {
        if (!readable(client, 10))
            continue;
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        request.append(buffer, got);
    }
    const std::optional<QByteArray> content = uploadedFile(request.mid(request.indexOf("\r\n\r\n") + 4));
    {
        const std::lock_guard lock(mutex_);
        if (content)
            uploads_.push_back(*content);
        else
            ++withoutFile_;
    }
    const QByteArray answer = "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nOK";
    ::send(client, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
}

std::vector<QByteArray> UploadServer::uploads() const
{
    const std::lock_guard lock(mutex_);
    return uploads_;
}

int UploadServer::requestsWithoutFile() const
{
    const std::lock_guard lock(mutex_);
    return withoutFile_;
}

SilentServer::SilentServer()
{
    listener_ = boundSocket(port_);
    if (listener_ >= 0)
        ::listen(listener_, 8);
}

SilentServer::~SilentServer()
{
    if (listener_ >= 0)
        ::close(listener_);
}

int closedPort()
{
    int port = 0;
    const int fd = boundSocket(port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

}

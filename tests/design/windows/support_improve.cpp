#include "support_improve.h"

#include "support/GivenMachine.h"

#include "os/Registry.h"
#include "os/Wmi.h"

#include <optional>

#include <unistd.h>

namespace improvetest {

namespace {

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
    os::setMachineSource(std::make_unique<testsupport::GivenMachine>(std::move(machine)));
}

void forgetMachine() { os::setMachineSource(nullptr); }

std::vector<QByteArray> UploadServer::uploads() const
{
    std::vector<QByteArray> contents;
    for (const QByteArray &request : server_.requests()) {
        if (const std::optional<QByteArray> content = uploadedFile(request.mid(request.indexOf("\r\n\r\n") + 4)))
            contents.push_back(*content);
    }
    return contents;
}

SilentServer::SilentServer() { listener_ = testsupport::listenOnLoopback(port_); }

SilentServer::~SilentServer()
{
    if (listener_ >= 0)
        ::close(listener_);
}

}

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "support/RawHttpServer.h"

#include <memory>
#include <vector>

namespace improvetest {

// A working device of the machine the scan sees: its ID, name, maker and the hardware IDs the
// registry lists for it.
struct Device {
    QString id;
    QString name;
    QString maker;
    QStringList hardwareIds;
};

// Makes the scan see exactly these devices (all working).
void useMachine(const std::vector<Device> &devices);
// Back to the machine named by the environment (or the live one).
void forgetMachine();

// The upload page on 127.0.0.1: the raw server (a parsing server refuses the upload's closing
// delimiter, which has no line end), answering "200", read for the content of each request's
// part "uploadfile".
class UploadServer {
public:
    int port() const { return server_.port(); }
    // The contents received, one per upload that held such a part.
    std::vector<QByteArray> uploads() const;

private:
    testsupport::RawHttpServer server_;
};

// A port on 127.0.0.1 whose connections the kernel accepts but nobody ever reads or answers.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer &) = delete;
    SilentServer &operator=(const SilentServer &) = delete;
    int port() const { return port_; }

private:
    int listener_ = -1;
    int port_ = 0;
};

using testsupport::closedPort;

}

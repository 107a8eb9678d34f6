#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
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

// Makes hwids.mdb in the folder with the build's schema; returns its path, empty on failure.
QString makeHwidsDatabase(const QString &folder);

// The upload page on 127.0.0.1: a one-thread server that reads each request as its bytes arrive
// (a parsing server refuses the upload's closing delimiter, which has no line end), answers
// "200", and keeps the content of its part "uploadfile".
class UploadServer {
public:
    UploadServer();
    ~UploadServer();
    UploadServer(const UploadServer &) = delete;
    UploadServer &operator=(const UploadServer &) = delete;

    int port() const { return port_; }
    // The contents received, one per upload, and the requests that held no such part.
    std::vector<QByteArray> uploads() const;
    int requestsWithoutFile() const;

private:
    void run();
    void serve(int client);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<QByteArray> uploads_;
    int withoutFile_ = 0;
    std::thread thread_;
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

// A port on 127.0.0.1 that nothing listens on.
int closedPort();

}

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <string>

namespace testsupport {

// The certificate and key files an HTTPS server proves itself with.
struct TlsIdentity {
    std::string certificateFile;
    std::string keyFile;
};

// A certificate authority of the test's own, made by the openssl program, and identities: one
// for 127.0.0.1 the authority signed, one it signed for another host name only, and a stranger
// for 127.0.0.1 signed by nobody the client knows.
class TestCertificates {
public:
    // Made once per test program; check valid() before use.
    static const TestCertificates &instance();

    bool valid() const { return valid_; }
    QString authorityFile() const { return dir_.filePath(QStringLiteral("authority.pem")); }
    TlsIdentity signedByAuthority() const { return identity("server"); }
    TlsIdentity signedForAnotherHost() const { return identity("elsewhere"); }
    TlsIdentity stranger() const { return identity("stranger"); }

private:
    TestCertificates();
    TlsIdentity identity(const char *name) const;

    QTemporaryDir dir_;
    bool valid_ = false;
};

// The client trusts `file` instead of the system's certificates while this lives.
class TrustedCertificatesScope {
public:
    explicit TrustedCertificatesScope(const QString &file);
    ~TrustedCertificatesScope();
    TrustedCertificatesScope(const TrustedCertificatesScope &) = delete;
    TrustedCertificatesScope &operator=(const TrustedCertificatesScope &) = delete;

private:
    std::optional<QByteArray> previous_;
};

} // namespace testsupport

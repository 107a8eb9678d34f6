#include "support/TestCertificates.h"

#include "os/WinInetCurl.h"

#include <QFile>
#include <QProcess>

namespace testsupport {

namespace {

const QStringList kEcKey = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
const QStringList kShortLived = {QStringLiteral("-days"), QStringLiteral("2")};

bool openssl(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    const bool made = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!made)
        qWarning("openssl %s: %s", qPrintable(arguments.join(QLatin1Char(' '))), process.readAll().constData());
    return made;
}

// An identity the authority signs: a key, a request for `subject`, the certificate with the
// extensions of `extensionFile`.
bool signByAuthority(const QString &folder, const QString &name, const QString &subject, const QString &extensionFile)
{
    return openssl(folder, QStringList{QStringLiteral("req")} + kEcKey
                               + QStringList{QStringLiteral("-keyout"), name + QStringLiteral(".key"), QStringLiteral("-out"),
                                             name + QStringLiteral(".csr"), QStringLiteral("-subj"), subject})
           && openssl(folder, QStringList{QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), name + QStringLiteral(".csr"),
                                          QStringLiteral("-CA"), QStringLiteral("authority.pem"), QStringLiteral("-CAkey"),
                                          QStringLiteral("authority.key"), QStringLiteral("-CAcreateserial"), QStringLiteral("-out"),
                                          name + QStringLiteral(".pem"), QStringLiteral("-extfile"), extensionFile}
                                  + kShortLived);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}

const TestCertificates &TestCertificates::instance()
{
    static const TestCertificates certificates;
    return certificates;
}

TestCertificates::TestCertificates()
{
    const QString folder = dir_.path();
    const QByteArray serverUse = "basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n";
    if (!dir_.isValid() || !writeFile(dir_.filePath(QStringLiteral("server.ext")), "subjectAltName=IP:127.0.0.1\n" + serverUse)
        || !writeFile(dir_.filePath(QStringLiteral("elsewhere.ext")), "subjectAltName=DNS:elsewhere.example\n" + serverUse))
        return;
    valid_ = openssl(folder, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + kEcKey + kShortLived
                                 + QStringList{QStringLiteral("-keyout"), QStringLiteral("authority.key"), QStringLiteral("-out"),
                                               QStringLiteral("authority.pem"), QStringLiteral("-subj"), QStringLiteral("/CN=Test Authority")})
             && signByAuthority(folder, QStringLiteral("server"), QStringLiteral("/CN=127.0.0.1"), QStringLiteral("server.ext"))
             && signByAuthority(folder, QStringLiteral("elsewhere"), QStringLiteral("/CN=elsewhere.example"),
                                QStringLiteral("elsewhere.ext"))
             && openssl(folder, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + kEcKey + kShortLived
                                    + QStringList{QStringLiteral("-keyout"), QStringLiteral("stranger.key"), QStringLiteral("-out"),
                                                  QStringLiteral("stranger.pem"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                                                  QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1")});
}

TlsIdentity TestCertificates::identity(const char *name) const
{
    const QString base = dir_.filePath(QLatin1String(name));
    return {(base + QStringLiteral(".pem")).toStdString(), (base + QStringLiteral(".key")).toStdString()};
}

TrustedCertificatesScope::TrustedCertificatesScope(const QString &file)
{
    if (qEnvironmentVariableIsSet(os::kTrustedCertificatesVariable))
        previous_ = qgetenv(os::kTrustedCertificatesVariable);
    qputenv(os::kTrustedCertificatesVariable, file.toLocal8Bit());
}

TrustedCertificatesScope::~TrustedCertificatesScope()
{
    if (previous_)
        qputenv(os::kTrustedCertificatesVariable, *previous_);
    else
        qunsetenv(os::kTrustedCertificatesVariable);
}

} // namespace testsupport

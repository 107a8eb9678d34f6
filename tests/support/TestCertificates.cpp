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

}

const TestCertificates &TestCertificates::instance()
{
    static const TestCertificates certificates;
    return certificates;
}

TestCertificates::TestCertificates()
{
    const QString folder = dir_.path();
    QFile extensions(dir_.filePath(QStringLiteral("server.ext")));
    if (!dir_.isValid() || !extensions.open(QIODevice::WriteOnly))
        return;
    extensions.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n");
    extensions.close();
    valid_ = openssl(folder, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + kEcKey + kShortLived
                                 + QStringList{QStringLiteral("-keyout"), QStringLiteral("authority.key"), QStringLiteral("-out"),
                                               QStringLiteral("authority.pem"), QStringLiteral("-subj"), QStringLiteral("/CN=Test Authority")})
             && openssl(folder, QStringList{QStringLiteral("req")} + kEcKey
                                    + QStringList{QStringLiteral("-keyout"), QStringLiteral("server.key"), QStringLiteral("-out"),
                                                  QStringLiteral("server.csr"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1")})
             && openssl(folder, QStringList{QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), QStringLiteral("server.csr"),
                                            QStringLiteral("-CA"), QStringLiteral("authority.pem"), QStringLiteral("-CAkey"),
                                            QStringLiteral("authority.key"), QStringLiteral("-CAcreateserial"), QStringLiteral("-out"),
                                            QStringLiteral("server.pem"), QStringLiteral("-extfile"), QStringLiteral("server.ext")}
                                    + kShortLived)
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

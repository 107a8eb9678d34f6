#include "core/ModServer.h"

#include "core/Modini.h"

namespace ModServer {

namespace {

QString setting(const QString &key, const QString &fallback)
{
    const QString value = Modini::ReadIni(QStringLiteral("main"), key).trimmed();
    return value.isEmpty() ? fallback : value;
}

}

QString WebServer()
{
    QString server = setting(QStringLiteral("WebServer"), QStringLiteral("http://www.quordane.example"));
    while (server.endsWith(QLatin1Char('/')))
        server.chop(1);
    return server;
}

QString SearchPage()
{
    return setting(QStringLiteral("SearchPage"), QStringLiteral("http://search.quordane.example/"));
}

QString HomePage()
{
    return setting(QStringLiteral("HomePage"), WebServer() + QLatin1Char('/'));
}

QString FacebookPage()
{
    return setting(QStringLiteral("FacebookPage"), QStringLiteral("http://facebook.quordane.example/quordane"));
}

QString TwitterPage()
{
    return setting(QStringLiteral("TwitterPage"), QStringLiteral("http://twitter.quordane.example/quordane"));
}

QString SupportEmail()
{
    return setting(QStringLiteral("SupportEmail"), QStringLiteral("support@quordane.example"));
}

}

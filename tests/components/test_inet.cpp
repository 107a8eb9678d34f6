#include "components/Inet.h"

#include "support_httpserver.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

using InetCtlsObjects::Inet;
using namespace std::chrono_literals;
using testsupport::LocalHttpServer;

Inet::Timeouts shortTimeouts()
{
    return {std::chrono::milliseconds(2000), std::chrono::milliseconds(400), std::chrono::milliseconds(800)};
}

// Routes shared by the tests: pages, error pages, silent and slow answers.
void pages(httplib::Server &server, LocalHttpServer &self)
{
    server.Get("/version", [](const httplib::Request &, httplib::Response &response) {
        response.set_content("1.2.3\r\n", "text/html");
    });
    server.Get("/missing", [](const httplib::Request &, httplib::Response &response) {
        response.status = 404;
        response.set_content("<html>not here</html>", "text/html");
    });
    server.Get("/moved", [](const httplib::Request &, httplib::Response &response) {
        response.set_redirect("/version");
    });
    server.Get("/silent", [&self](const httplib::Request &, httplib::Response &response) {
        self.pause(60s);
        response.set_content("late", "text/plain");
    });
    server.Get("/trickle", [&self](const httplib::Request &, httplib::Response &response) {
        response.set_chunked_content_provider("text/plain", [&self](size_t, httplib::DataSink &sink) {
            if (!self.pause(100ms))
                return false;
            return sink.write("x", 1);
        });
    });
}

TEST(InetOpenUrl, ReturnsTheBodyExactlyAsReceived)
{
    LocalHttpServer server(pages);
    Inet inet;
    inet.setTimeouts(shortTimeouts());
    EXPECT_EQ(inet.OpenURL(server.url("/version")), QStringLiteral("1.2.3\r\n"));
    EXPECT_EQ(inet.OpenURL(server.url("/missing")), QStringLiteral("<html>not here</html>"))
        << "an error page is a body like any other";
    EXPECT_EQ(inet.OpenURL(server.url("/moved")), QStringLiteral("1.2.3\r\n"));
}

TEST(InetOpenUrl, AnyFailureGivesAnEmptyText)
{
    int closedPort = 0;
    {
        LocalHttpServer gone([](httplib::Server &, LocalHttpServer &) {});
        closedPort = gone.port();
    }
    LocalHttpServer server(pages);
    struct Row {
        const char *name;
        QString url;
    };
    const Row rows[] = {
        {"refused", QStringLiteral("http://127.0.0.1:%1/version").arg(closedPort)},
        {"name not found", QStringLiteral("http://no-such-host.invalid/version")},
        {"server never answers", server.url("/silent")},
        {"body never ends", server.url("/trickle")},
        {"not a web address", QStringLiteral("file:///etc/hostname")},
        {"empty", QString()},
    };
    for (const Row &row : rows) {
        Inet inet;
        inet.setTimeouts(shortTimeouts());
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(inet.OpenURL(row.url), QString()) << row.name;
        EXPECT_LT(std::chrono::steady_clock::now() - started, 10s) << row.name << ": bounded by the time-outs";
    }
}

TEST(InetOpenUrl, TheMessageLoopRunsWhileItWaits)
{
    LocalHttpServer server(pages);
    Inet inet;
    inet.setTimeouts(shortTimeouts());
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(10);
    EXPECT_EQ(inet.OpenURL(server.url("/silent")), QString());
    EXPECT_GT(ticks, 5);
}

TEST(InetOpenUrl, AHandlerThatStartsAnotherRequestEndsTheWaitingOne)
{
    LocalHttpServer server(pages);
    Inet inet;
    inet.setTimeouts(shortTimeouts());
    QString inner;
    QTimer::singleShot(50, [&] { inner = inet.OpenURL(server.url("/version")); });
    EXPECT_EQ(inet.OpenURL(server.url("/silent")), QString());
    EXPECT_EQ(inner, QStringLiteral("1.2.3\r\n"));
}

TEST(InetOpenUrl, DeletedByAHandlerWhileWaiting)
{
    LocalHttpServer server(pages);
    auto *inet = new Inet;
    inet->setTimeouts(shortTimeouts());
    QTimer::singleShot(50, [inet] { delete inet; });
    EXPECT_EQ(inet->OpenURL(server.url("/silent")), QString());
}

} // namespace

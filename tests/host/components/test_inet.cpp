#include "components/Inet.h"

#include "support/LocalHttpServer.h"
#include "support/RawHttpServer.h"
#include "support/TestCertificates.h"

#include "runtime/Form.h"
#include "runtime/Forms.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using InetCtlsObjects::Inet;
using namespace std::chrono_literals;
using testsupport::LocalHttpServer;

Inet::Timeouts shortTimeouts()
{
    return {std::chrono::milliseconds(3000), std::chrono::milliseconds(600), std::chrono::milliseconds(1500)};
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
    server.Get("/broken", [](const httplib::Request &, httplib::Response &response) {
        response.status = 500;
        response.set_content("1.2.3", "text/html");
    });
    server.Get("/moved", [](const httplib::Request &, httplib::Response &response) {
        response.set_redirect("/version");
    });
    // Redirects the library cannot follow: no target, a target it refuses, one without end.
    for (const int status : {300, 301, 302, 307}) {
        server.Get("/nowhere" + std::to_string(status), [status](const httplib::Request &, httplib::Response &response) {
            response.status = status;
            response.set_content("1.2.3", "text/html");
        });
    }
    server.Get("/tofile", [](const httplib::Request &, httplib::Response &response) {
        response.set_redirect("file:///etc/hostname");
        response.set_content("1.2.3", "text/html");
    });
    server.Get("/loop", [](const httplib::Request &, httplib::Response &response) {
        response.set_redirect("/loop");
        response.set_content("1.2.3", "text/html");
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
        {"error page 404", server.url("/missing")},
        {"error page 500 that reads like a version", server.url("/broken")},
        {"300 without a target", server.url("/nowhere300")},
        {"301 without a target", server.url("/nowhere301")},
        {"302 without a target", server.url("/nowhere302")},
        {"307 without a target", server.url("/nowhere307")},
        {"redirect to a file of this machine", server.url("/tofile")},
        {"redirect without end", server.url("/loop")},
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

QByteArray pattern(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 256);
    return bytes;
}

// Routes of the request operations: a file with its length, one without, error statuses,
// stalls before and after the header, an answer cut short and an endless one.
struct RequestServer {
    QByteArray file = pattern(5000);
    std::atomic<bool> clientGone{false};
    LocalHttpServer server{[this](httplib::Server &http, LocalHttpServer &self) {
        http.Get("/file", [this](const httplib::Request &request, httplib::Response &response) {
            const std::string range = request.get_header_value("Range");
            response.set_header("X-Range-Asked", range.empty() ? "none" : range);
            response.set_content(file.toStdString(), "application/octet-stream");
        });
        http.Get("/nolength", [this](const httplib::Request &, httplib::Response &response) {
            response.set_chunked_content_provider("application/octet-stream", [this](size_t offset, httplib::DataSink &sink) {
                if (offset >= size_t(file.size()))
                    sink.done();
                else
                    sink.write(file.constData() + offset, std::min<size_t>(700, file.size() - offset));
                return true;
            });
        });
        http.Get("/missing", [](const httplib::Request &, httplib::Response &response) { response.status = 404; });
        http.Get("/hugeheader", [](const httplib::Request &, httplib::Response &response) {
            for (int i = 0; i < 40; ++i)
                response.set_header("X-Filler-" + std::to_string(i), std::string(2000, 'h'));
            response.set_content("body", "text/plain");
        });
        http.Get("/silent", [&self](const httplib::Request &, httplib::Response &) { self.pause(60s); });
        http.Get("/stall", [&self](const httplib::Request &, httplib::Response &response) {
            response.set_content_provider(1000, "application/octet-stream", [&self](size_t, size_t, httplib::DataSink &) {
                return self.pause(60s);
            });
        });
        http.Get("/cut", [](const httplib::Request &, httplib::Response &response) {
            response.set_content_provider(1000, "application/octet-stream", [](size_t offset, size_t, httplib::DataSink &sink) {
                if (offset > 0)
                    return false; // closes the connection part-way
                sink.write(std::string(400, 'c').data(), 400);
                return true;
            });
        });
        http.Get("/endless", [this, &self](const httplib::Request &, httplib::Response &response) {
            response.set_chunked_content_provider("application/octet-stream", [this, &self](size_t, httplib::DataSink &sink) {
                if (!self.pause(5ms) || !sink.write(std::string(4096, 'e').data(), 4096)) {
                    clientGone = true;
                    return false;
                }
                return true;
            });
        });
    }};
};

bool waitForHeader(Inet &inet)
{
    while (inet.StillExecuting())
        QCoreApplication::processEvents();
    return inet.GetHeader().has_value();
}

QByteArray readAll(Inet &inet, int chunkSize, bool *withinSize)
{
    QByteArray all;
    *withinSize = true;
    for (;;) {
        const std::optional<QByteArray> chunk = inet.GetChunk(chunkSize);
        if (!chunk || chunk->isEmpty())
            return all;
        *withinSize = *withinSize && chunk->size() <= chunkSize;
        all += *chunk;
    }
}

TEST(InetRequest, HeaderIsTheStatusLineAndTheHeadersAndTheBodyComesInChunksOfAtMostTheSize)
{
    RequestServer fixture;
    for (const int chunkSize : {1, 1000, 1024, 7000}) {
        Inet inet;
        inet.setTimeouts(shortTimeouts());
        inet.setURL(fixture.server.url("/file"));
        ASSERT_TRUE(inet.Execute());
        ASSERT_TRUE(waitForHeader(inet));
        const QString header = *inet.GetHeader();
        EXPECT_TRUE(header.startsWith(QStringLiteral("HTTP/1.1 200 OK\r\n"))) << header.toStdString();
        EXPECT_TRUE(header.endsWith(QStringLiteral("\r\n")));
        EXPECT_EQ(inet.GetHeader(QStringLiteral("content-length")), QStringLiteral("5000"));
        EXPECT_EQ(inet.GetHeader(QStringLiteral("X-Range-Asked")), QStringLiteral("none"));
        bool withinSize = false;
        EXPECT_EQ(readAll(inet, chunkSize, &withinSize), fixture.file) << chunkSize;
        EXPECT_TRUE(withinSize) << chunkSize;
        EXPECT_EQ(inet.GetChunk(chunkSize), QByteArray()) << "stays empty once the body is complete";
    }
}

TEST(InetRequest, AnswersWithoutLengthErrorStatusesAndRanges)
{
    RequestServer fixture;
    Inet inet;
    inet.setTimeouts(shortTimeouts());
    ASSERT_TRUE(inet.Execute(fixture.server.url("/nolength")));
    ASSERT_TRUE(waitForHeader(inet));
    EXPECT_EQ(inet.GetHeader(QStringLiteral("Content-Length")), QString());
    bool withinSize = false;
    EXPECT_EQ(readAll(inet, 1024, &withinSize), fixture.file);

    ASSERT_TRUE(inet.Execute(fixture.server.url("/missing")));
    ASSERT_TRUE(waitForHeader(inet));
    EXPECT_TRUE(inet.GetHeader()->startsWith(QStringLiteral("HTTP/1.1 404 Not Found\r\n")));

    ASSERT_TRUE(inet.Execute(fixture.server.url("/file"), QStringLiteral("GET"), QStringLiteral("Range: bytes=4000-\r\n")));
    ASSERT_TRUE(waitForHeader(inet));
    EXPECT_EQ(inet.GetHeader(QStringLiteral("X-Range-Asked")), QStringLiteral("bytes=4000-"));
    EXPECT_TRUE(inet.GetHeader()->startsWith(QStringLiteral("HTTP/1.1 206")));
    EXPECT_EQ(readAll(inet, 1024, &withinSize), fixture.file.mid(4000));
}

TEST(InetRequest, SilentAndBrokenServersEndTheWaitsAsFailures)
{
    RequestServer fixture;
    Inet inet;
    inet.setTimeouts(shortTimeouts());

    ASSERT_TRUE(inet.Execute(fixture.server.url("/silent")));
    EXPECT_FALSE(waitForHeader(inet)) << "no header after the idle time-out";
    EXPECT_EQ(inet.GetChunk(1024), std::nullopt);

    ASSERT_TRUE(inet.Execute(fixture.server.url("/stall")));
    ASSERT_TRUE(waitForHeader(inet));
    EXPECT_EQ(inet.GetChunk(1024), std::nullopt) << "stalled after the header";

    ASSERT_TRUE(inet.Execute(fixture.server.url("/cut")));
    ASSERT_TRUE(waitForHeader(inet));
    std::optional<QByteArray> chunk;
    qsizetype received = 0;
    while ((chunk = inet.GetChunk(1024)) && !chunk->isEmpty())
        received += chunk->size();
    EXPECT_EQ(chunk, std::nullopt) << "closed part-way is no complete body";
    EXPECT_EQ(received, 400);

    ASSERT_TRUE(inet.Execute(fixture.server.url("/hugeheader")));
    EXPECT_FALSE(waitForHeader(inet)) << "a header without end fails the request";

    EXPECT_EQ(inet.GetChunk(0), std::nullopt);
    Inet idle;
    EXPECT_FALSE(idle.StillExecuting());
    EXPECT_EQ(idle.GetHeader(), std::nullopt);
    EXPECT_EQ(idle.GetChunk(10), std::nullopt);
}

TEST(InetRequest, CancelClosesTheConnection)
{
    RequestServer fixture;
    Inet inet;
    inet.setTimeouts(shortTimeouts());
    ASSERT_TRUE(inet.Execute(fixture.server.url("/endless")));
    ASSERT_TRUE(waitForHeader(inet));
    ASSERT_TRUE(inet.GetChunk(100).has_value());
    inet.Cancel();
    EXPECT_EQ(inet.GetHeader(), std::nullopt);
    EXPECT_EQ(inet.GetChunk(100), std::nullopt);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!fixture.clientGone && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(fixture.clientGone) << "the server sees the connection closed";
}

// Servers that never finish: a body dripping a byte at a time keeps the idle limit from firing,
// interim answers without end keep the header from arriving. The total limit ends both.
struct EndlessCase {
    const char *name;
    testsupport::RawHttpServer::Behaviour behaviour;
    bool headerArrives;
};

class InetEndless : public ::testing::TestWithParam<EndlessCase> {};

TEST_P(InetEndless, TheTotalLimitEndsTheRequestAndItsConnection)
{
    testsupport::RawHttpServer server(GetParam().behaviour);
    Inet inet;
    inet.setTimeouts({3000ms, 1000ms, 2000ms});
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(inet.Execute(QStringLiteral("http://127.0.0.1:%1/file").arg(server.port())));
    EXPECT_EQ(waitForHeader(inet), GetParam().headerArrives);
    bool withinSize = false;
    readAll(inet, 1024, &withinSize);
    EXPECT_EQ(inet.GetChunk(1024), std::nullopt) << "a failure, not an empty (complete) body";
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (server.closedConnections() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(server.closedConnections(), 1) << "the server sees the connection closed";
}

INSTANTIATE_TEST_SUITE_P(Servers, InetEndless,
                         ::testing::Values(EndlessCase{"BodyDripsAByteAtATime", testsupport::RawHttpServer::Behaviour::Drip, true},
                                           EndlessCase{"EndlessContinueAnswers", testsupport::RawHttpServer::Behaviour::EndlessContinue,
                                                       false}),
                         [](const auto &info) { return std::string(info.param.name); });

// A transfer control on a window: the window's unload ends the wait it is in, with its
// request, although the limits would allow minutes more.
struct UnloadCase {
    const char *name;
    bool wholePage;
};

class InetOnAWindow : public ::testing::TestWithParam<UnloadCase> {};

TEST_P(InetOnAWindow, UnloadingTheWindowEndsTheWaitAndTheConnection)
{
    testsupport::RawHttpServer server(testsupport::RawHttpServer::Behaviour::Drip);
    const QString url = QStringLiteral("http://127.0.0.1:%1/file").arg(server.port());
    auto *window = new runtime::Form(QStringLiteral("FrmHost"));
    runtime::Load(window);
    auto *inet = new Inet(window);
    inet->setTimeouts({3000ms, 600000ms, 600000ms});
    QPointer<runtime::Form> guard(window);
    QTimer::singleShot(200, [guard] {
        if (guard)
            runtime::Unload(guard);
    });
    const auto started = std::chrono::steady_clock::now();
    if (GetParam().wholePage) {
        EXPECT_EQ(inet->OpenURL(url), QString());
    } else {
        ASSERT_TRUE(inet->Execute(url));
        ASSERT_TRUE(waitForHeader(*inet));
        EXPECT_EQ(inet->GetChunk(1024), std::nullopt);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (server.closedConnections() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(server.closedConnections(), 1) << "the connection closes with the window";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

INSTANTIATE_TEST_SUITE_P(Waits, InetOnAWindow,
                         ::testing::Values(UnloadCase{"WholePage", true}, UnloadCase{"ChunkRead", false}),
                         [](const auto &info) { return std::string(info.param.name); });

// An https address: TLS with the server's certificate verified, against the trusted file the
// test names; a server that cannot prove itself gets no request.
class InetTls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(certificates.valid()) << "the openssl program made no certificates"; }

    static void routes(httplib::Server &http, LocalHttpServer &)
    {
        http.Get("/version", [](const httplib::Request &, httplib::Response &response) { response.set_content("1.2.3", "text/html"); });
        http.Get("/file", [](const httplib::Request &, httplib::Response &response) {
            response.set_content(pattern(5000).toStdString(), "application/octet-stream");
        });
    }

    const testsupport::TestCertificates &certificates = testsupport::TestCertificates::instance();
};

TEST_F(InetTls, AServerTheTrustedAuthoritySignedIsReadOverTls)
{
    LocalHttpServer server(certificates.signedByAuthority(), routes);
    const testsupport::TrustedCertificatesScope trust(certificates.authorityFile());
    Inet inet;
    inet.setTimeouts(shortTimeouts());
    EXPECT_EQ(inet.OpenURL(server.url("/version")), QStringLiteral("1.2.3"));
    ASSERT_TRUE(inet.Execute(server.url("/file")));
    ASSERT_TRUE(waitForHeader(inet));
    bool withinSize = false;
    EXPECT_EQ(readAll(inet, 1024, &withinSize), pattern(5000));
}

TEST_F(InetTls, ServersThatCannotProveThemselvesAreRefused)
{
    LocalHttpServer stranger(certificates.stranger(), routes);
    LocalHttpServer elsewhere(certificates.signedForAnotherHost(), routes);
    LocalHttpServer signedOne(certificates.signedByAuthority(), routes);
    struct Row {
        const char *name;
        QString url;
        bool trustAuthority;
    };
    const Row rows[] = {
        {"certificate of nobody trusted", stranger.url("/version"), true},
        {"certificate of the trusted authority for another host name", elsewhere.url("/version"), true},
        {"authority not trusted (system store only)", signedOne.url("/version"), false},
    };
    for (const Row &row : rows) {
        std::optional<testsupport::TrustedCertificatesScope> trust;
        if (row.trustAuthority)
            trust.emplace(certificates.authorityFile());
        Inet inet;
        inet.setTimeouts(shortTimeouts());
        EXPECT_EQ(inet.OpenURL(row.url), QString()) << row.name;
        ASSERT_TRUE(inet.Execute(row.url)) << row.name;
        EXPECT_FALSE(waitForHeader(inet)) << row.name;
    }
}

TEST_F(InetTls, APageNeverFollowsARedirectFromHttpsToClearText)
{
    LocalHttpServer plain(pages);
    const std::string target = plain.url(QStringLiteral("/version")).toStdString();
    LocalHttpServer server(certificates.signedByAuthority(), [target](httplib::Server &http, LocalHttpServer &) {
        http.Get("/moved", [target](const httplib::Request &, httplib::Response &response) { response.set_redirect(target); });
    });
    const testsupport::TrustedCertificatesScope trust(certificates.authorityFile());
    Inet inet;
    inet.setTimeouts(shortTimeouts());
    EXPECT_EQ(inet.OpenURL(server.url("/moved")), QString());
}

} // namespace

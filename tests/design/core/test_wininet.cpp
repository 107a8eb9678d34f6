// The internet stand-in, tested here beside its one caller because its tests share the raw
// capture server with the upload's.
#include "os/WinInet.h"

#include "support/RawHttpServer.h"

#include <gtest/gtest.h>

namespace {

using testsupport::RawHttpServer;

class WinInet : public ::testing::Test {
protected:
    void SetUp() override { os::SetConnectedStateForTesting(true); }
    void TearDown() override { os::SetConnectedStateForTesting(std::nullopt); }
};

TEST_F(WinInet, ConnectedStateCanBePretended)
{
    unsigned flags = 0;
    EXPECT_TRUE(os::InternetGetConnectedState(&flags));
    EXPECT_EQ(flags, os::INTERNET_CONNECTION_LAN);
    os::SetConnectedStateForTesting(false);
    EXPECT_FALSE(os::InternetGetConnectedState(&flags));
    EXPECT_EQ(flags, os::INTERNET_CONNECTION_OFFLINE);
    EXPECT_FALSE(os::InternetAutodial(os::INTERNET_AUTODIAL_FORCE_ONLINE, nullptr));
}

TEST_F(WinInet, HandlesRefuseWhatCannotBeSent)
{
    EXPECT_FALSE(os::InternetSession::open(QStringLiteral("a"), 3)) << "named proxies are not supported";
    auto session = os::InternetSession::open(QStringLiteral("a"), os::INTERNET_OPEN_TYPE_PRECONFIG);
    ASSERT_TRUE(session);
    EXPECT_FALSE(os::InternetConnection::connect(*session, QString(), 80, os::INTERNET_SERVICE_HTTP));
    EXPECT_FALSE(os::InternetConnection::connect(*session, QStringLiteral("h"), 80, 1)) << "FTP";
    EXPECT_FALSE(os::InternetConnection::connect(*session, QStringLiteral("h"), 70000, os::INTERNET_SERVICE_HTTP));
    auto connection = os::InternetConnection::connect(*session, QStringLiteral("h"), 0, os::INTERNET_SERVICE_HTTP);
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->port(), 80);
    EXPECT_FALSE(os::HttpRequest::open(*connection, QStringLiteral("PO ST"), QStringLiteral("/"), QString(), 0));
    auto request = os::HttpRequest::open(*connection, QStringLiteral("POST"), QStringLiteral("/"), QString(), 0);
    ASSERT_TRUE(request);
    EXPECT_FALSE(request->addRequestHeaders("no colon\r\n", os::HTTP_ADDREQ_FLAG_ADD));
    EXPECT_FALSE(request->addRequestHeaders("\r\n", os::HTTP_ADDREQ_FLAG_ADD));
}

TEST_F(WinInet, RequestCarriesItsHeadersAgentAndBody)
{
    RawHttpServer server;
    auto session = os::InternetSession::open(QStringLiteral("Uploader"), os::INTERNET_OPEN_TYPE_DIRECT);
    auto connection = os::InternetConnection::connect(*session, QStringLiteral("127.0.0.1"), server.port(), os::INTERNET_SERVICE_HTTP);
    auto request = os::HttpRequest::open(*connection, QStringLiteral("POST"), QStringLiteral("/upload"), QStringLiteral("HTTP/1.0"),
                                         os::INTERNET_FLAG_RELOAD);
    ASSERT_TRUE(request->addRequestHeaders("X-One: 1\r\nContent-Type: text/plain\r\n", os::HTTP_ADDREQ_FLAG_ADD));
    ASSERT_TRUE(request->addRequestHeaders("content-type: application/x-test", os::HTTP_ADDREQ_FLAG_ADD | os::HTTP_ADDREQ_FLAG_REPLACE));
    ASSERT_TRUE(request->addRequestHeaders("X-One: 2\r\n", os::HTTP_ADDREQ_FLAG_ADD)) << "added beside, not replacing";
    ASSERT_TRUE(request->sendRequest(QByteArray("body\0bytes", 10)));
    EXPECT_EQ(request->statusCode(), 200);
    const QByteArray received = server.received();
    EXPECT_EQ(received,
              "POST /upload HTTP/1.0\r\nHost: 127.0.0.1:" + QByteArray::number(server.port())
                  + "\r\nUser-Agent: Uploader\r\nX-One: 1\r\nContent-Type: application/x-test\r\nX-One: 2\r\n"
                    "Content-Length: 10\r\n\r\n" + QByteArray("body\0bytes", 10));
}

TEST_F(WinInet, AnyAnswerMeansSentAndItsStatusIsKept)
{
    RawHttpServer server(RawHttpServer::Behaviour::Answer, 404);
    auto session = os::InternetSession::open(QStringLiteral("a"), os::INTERNET_OPEN_TYPE_DIRECT);
    auto connection = os::InternetConnection::connect(*session, QStringLiteral("127.0.0.1"), server.port(), os::INTERNET_SERVICE_HTTP);
    auto request = os::HttpRequest::open(*connection, QStringLiteral("GET"), QStringLiteral("/missing"), QString(), 0);
    EXPECT_TRUE(request->sendRequest({}));
    EXPECT_EQ(request->statusCode(), 404);
    EXPECT_TRUE(server.received().startsWith("GET /missing HTTP/1.1\r\n"));
}

}

#include "core/ModPostFile.h"

#include "os/WinInet.h"
#include "support/RawHttpServer.h"
#include "support/TestCertificates.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {

using testsupport::RawHttpServer;

const QByteArray kBoundary = "3fbd04f5-b1ed-4060-99b9-fca7ff59c113";
const QString kPath = QStringLiteral("/files/hardware_ids/upload_hardware_id_v1.php");

QByteArray expectedBody(const QByteArray &fileName, const QByteArray &content)
{
    return "--" + kBoundary + "\r\n" + "Content-Disposition: multipart/form-data; name=\"uploadfile\"; filename=\"" + fileName + "\"\r\n"
           + "Content-Type: application/octet-stream\r\n\r\n" + content + "\r\n--" + kBoundary + "--";
}

class Upload : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        os::SetConnectedStateForTesting(true);
        os::SetInternetTimeouts({2000, 1000});
    }
    void TearDown() override
    {
        os::SetConnectedStateForTesting(std::nullopt);
        os::SetInternetTimeouts({});
    }

    QString file(const QByteArray &content, const QString &name = QStringLiteral("new_hardware.txt"))
    {
        const QString path = folder.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
        return path;
    }

    static QString url(int port) { return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(kPath); }

    static QByteArray bodyOf(const QByteArray &request) { return request.mid(request.indexOf("\r\n\r\n") + 4); }
    static QList<QByteArray> headersOf(const QByteArray &request) { return request.left(request.indexOf("\r\n\r\n") + 2).split('\n'); }

    QTemporaryDir folder;
};

TEST_F(Upload, RequestIsTheMultipartPostByteForByte)
{
    RawHttpServer server;
    const QByteArray content("PCI\\VEN_1AF4&DEV_1041|||Virtio|||Red Hat, Inc.\r\n\x00\xFF binary\r\n", 53);
    ASSERT_TRUE(ModPostFile::PostFile(url(server.port()), file(content)));
    const QByteArray request = server.received();
    EXPECT_TRUE(request.startsWith("POST " + kPath.toLatin1() + " HTTP/1.0\r\n")) << request.left(80).toStdString();
    const QList<QByteArray> headers = headersOf(request);
    EXPECT_TRUE(headers.contains("Content-Type: multipart/form-data; boundary=" + kBoundary + "\r"));
    EXPECT_TRUE(headers.contains("User-Agent: Uploader\r"));
    EXPECT_TRUE(headers.contains("Host: 127.0.0.1:" + QByteArray::number(server.port()) + "\r"));
    EXPECT_EQ(bodyOf(request), expectedBody("new_hardware.txt", content));
    EXPECT_TRUE(headers.contains("Content-Length: " + QByteArray::number(bodyOf(request).size()) + "\r"));
    for (const QByteArray &header : headers)
        EXPECT_FALSE(header.toLower().startsWith("accept:") || header.toLower().startsWith("expect:")) << header.toStdString();
}

TEST_F(Upload, EmptyFileSendsTheTwoDelimitersAroundNothing)
{
    RawHttpServer server;
    ASSERT_TRUE(ModPostFile::PostFile(url(server.port()), file(QByteArray())));
    EXPECT_EQ(bodyOf(server.received()), expectedBody("new_hardware.txt", QByteArray()));
    EXPECT_TRUE(bodyOf(server.received()).endsWith("Content-Type: application/octet-stream\r\n\r\n\r\n--" + kBoundary + "--"));
}

TEST_F(Upload, FileNameIsWhatFollowsTheLastSeparator)
{
    RawHttpServer server;
    file("x", QStringLiteral("plain.txt"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const bool sent = ModPostFile::PostFile(url(server.port()), QStringLiteral("plain.txt"));
    QDir::setCurrent(previous);
    ASSERT_TRUE(sent);
    ASSERT_TRUE(ModPostFile::PostFile(url(server.port()), folder.path() + QStringLiteral("\\plain.txt")));
    const QByteArray received = server.received();
    EXPECT_EQ(received.count("filename=\"plain.txt\"\r\n"), 2) << "never the folder of this machine";
}

struct UrlCase {
    const char *name;
    QString url;   // %1 stands for the server's port
    QByteArray requestLine;
};

class UploadUrls : public Upload, public ::testing::WithParamInterface<UrlCase> {};

TEST_P(UploadUrls, HostPortAndPathAreSplitFromTheUrl)
{
    RawHttpServer server;
    ASSERT_TRUE(ModPostFile::PostFile(GetParam().url.arg(server.port()), file("x")));
    EXPECT_TRUE(server.received().startsWith(GetParam().requestLine)) << server.received().left(60).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    , UploadUrls,
    ::testing::Values(UrlCase{"SchemeHostPortTwoSegments", QStringLiteral("http://127.0.0.1:%1/files/upload.php"), "POST /files/upload.php HTTP/1.0\r\n"},
                      UrlCase{"NoScheme", QStringLiteral("127.0.0.1:%1/a/b"), "POST /a/b HTTP/1.0\r\n"},
                      UrlCase{"NoPath", QStringLiteral("http://127.0.0.1:%1"), "POST / HTTP/1.0\r\n"},
                      UrlCase{"PortFollowedByText", QStringLiteral("http://127.0.0.1:%1x/p"), "POST /p HTTP/1.0\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Upload, FileThatCannotBeReadReachesTheCaller)
{
    RawHttpServer server;
    try {
        ModPostFile::PostFile(url(server.port()), folder.filePath(QStringLiteral("missing.txt")));
        ADD_FAILURE() << "no error";
    } catch (const ModPostFile::FileReadError &error) {
        EXPECT_EQ(error.number(), 53);
    }
    try {
        ModPostFile::PostFile(url(server.port()), folder.path());
        ADD_FAILURE() << "no error";
    } catch (const ModPostFile::FileReadError &error) {
        EXPECT_EQ(error.number(), 75);
    }
    EXPECT_EQ(server.connections(), 0) << "nothing is sent";
}

TEST_F(Upload, OfflineMachineGivesFalseBeforeAnyConnection)
{
    RawHttpServer server;
    os::SetConnectedStateForTesting(false);
    EXPECT_FALSE(ModPostFile::PostFile(url(server.port()), file("x")));
    EXPECT_EQ(server.connections(), 0);
}

// How an upload can end: it is sent only when the whole request went out and a final answer's
// headers came back. Every other end is a failed upload, and each comes within the time-outs.
struct EndCase {
    const char *name;
    std::optional<RawHttpServer::Behaviour> server; // none: nothing listens
    bool sent;
};

class UploadEnds : public Upload, public ::testing::WithParamInterface<EndCase> {};

TEST_P(UploadEnds, SentOnlyWithAFinalAnswer)
{
    const QString content = file("line\r\n");
    std::optional<RawHttpServer> server;
    if (GetParam().server)
        server.emplace(*GetParam().server);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ModPostFile::PostFile(url(server ? server->port() : testsupport::closedPort()), content), GetParam().sent);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    if (server) {
        EXPECT_TRUE(server->received().endsWith("line\r\n\r\n--" + kBoundary + "--")) << "the whole request reached it";
    }
}

INSTANTIATE_TEST_SUITE_P(
    , UploadEnds,
    ::testing::Values(EndCase{"Answered", RawHttpServer::Behaviour::Answer, true},
                      EndCase{"Refused", std::nullopt, false},
                      EndCase{"NeverAnswers", RawHttpServer::Behaviour::Stall, false},
                      EndCase{"ClosesWithoutAnAnswer", RawHttpServer::Behaviour::CloseAtOnce, false},
                      EndCase{"EndlessContinue", RawHttpServer::Behaviour::EndlessContinue, false},
                      EndCase{"HeadersThatNeverEnd", RawHttpServer::Behaviour::HeadersWithoutEnd, false},
                      EndCase{"ResetAfterTheStatusLine", RawHttpServer::Behaviour::StatusLineThenReset, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Upload, AnAddressWithoutAHostGivesFalse)
{
    EXPECT_FALSE(ModPostFile::PostFile(QStringLiteral("http:///x"), file("line\r\n")));
}

// The server's status says whether the file arrived: from 400 on it did not.
struct StatusCase {
    const char *name;
    int status;
    bool uploaded;
};

class UploadAnswers : public Upload, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(UploadAnswers, AStatusFromFourHundredOnIsAFailedUpload)
{
    RawHttpServer server(RawHttpServer::Behaviour::Answer, GetParam().status);
    EXPECT_EQ(ModPostFile::PostFile(url(server.port()), file("x")), GetParam().uploaded);
    EXPECT_EQ(server.connections(), 1);
}

INSTANTIATE_TEST_SUITE_P(, UploadAnswers,
                         ::testing::Values(StatusCase{"Ok", 200, true}, StatusCase{"NoContent", 204, true},
                                           StatusCase{"Redirect", 302, true}, StatusCase{"BadRequest", 400, false},
                                           StatusCase{"NotFound", 404, false}, StatusCase{"ServerError", 500, false},
                                           StatusCase{"Unavailable", 503, false}),
                         [](const auto &info) { return std::string(info.param.name); });

// An https address: the upload goes over TLS to a server whose certificate the trusted
// authority signed, and nothing at all in clear text to any other.
class SecureUpload : public Upload {
protected:
    void SetUp() override
    {
        Upload::SetUp();
        ASSERT_TRUE(certificates.valid()) << "the openssl program made no certificates";
    }
    static QString secureUrl(int port) { return QStringLiteral("https://127.0.0.1:%1%2").arg(port).arg(kPath); }

    const testsupport::TestCertificates &certificates = testsupport::TestCertificates::instance();
};

TEST_F(SecureUpload, AnHttpsAddressGetsTheMultipartBodyOverVerifiedTls)
{
    RawHttpServer server(certificates.signedByAuthority());
    const testsupport::TrustedCertificatesScope trust(certificates.authorityFile());
    const QByteArray content("PCI\\VEN_8086&DEV_1237|||Bridge|||Intel\r\n");
    ASSERT_TRUE(ModPostFile::PostFile(secureUrl(server.port()), file(content)));
    const QByteArray request = server.received();
    EXPECT_TRUE(request.startsWith("POST " + kPath.toLatin1() + " HTTP/1.0\r\n")) << request.left(80).toStdString();
    EXPECT_EQ(bodyOf(request), expectedBody("new_hardware.txt", content));
}

TEST_F(SecureUpload, NothingIsSentInClearToAnHttpsAddress)
{
    const QString content = file("PCI\\VEN_8086&DEV_1237|||Bridge|||Intel\r\n");
    {
        RawHttpServer stranger(certificates.stranger());
        const testsupport::TrustedCertificatesScope trust(certificates.authorityFile());
        EXPECT_FALSE(ModPostFile::PostFile(secureUrl(stranger.port()), content)) << "certificate of nobody trusted";
        EXPECT_EQ(stranger.connections(), 1);
        EXPECT_EQ(stranger.received(), QByteArray()) << "nothing after the handshake";
    }
    {
        // Host-name verification, not only the chain: the authority is trusted, the name is not ours.
        RawHttpServer elsewhere(certificates.signedForAnotherHost());
        const testsupport::TrustedCertificatesScope trust(certificates.authorityFile());
        EXPECT_FALSE(ModPostFile::PostFile(secureUrl(elsewhere.port()), content)) << "certificate for another host name";
        EXPECT_EQ(elsewhere.connections(), 1);
        EXPECT_EQ(elsewhere.received(), QByteArray()) << "nothing after the handshake";
    }
    {
        RawHttpServer signedOne(certificates.signedByAuthority());
        EXPECT_FALSE(ModPostFile::PostFile(secureUrl(signedOne.port()), content)) << "authority not trusted (system store only)";
        EXPECT_EQ(signedOne.received(), QByteArray());
    }
    RawHttpServer plain;
    EXPECT_FALSE(ModPostFile::PostFile(secureUrl(plain.port()), content)) << "a server that speaks no TLS";
    const QByteArray seen = plain.received();
    EXPECT_FALSE(seen.isEmpty()) << "the handshake reached it";
    EXPECT_FALSE(seen.contains("POST") || seen.contains("uploadfile") || seen.contains("VEN_8086")) << seen.toStdString();
}

TEST_F(Upload, AnswerThatStallsAfterItsHeadersCountsAsSentWithoutWaitingForItsBody)
{
    // A receive time-out beyond the test's own limit: waiting for the body would fail the test.
    os::SetInternetTimeouts({2000, 600000});
    RawHttpServer server(RawHttpServer::Behaviour::HeadersThenStall);
    EXPECT_TRUE(ModPostFile::PostFile(url(server.port()), file("x")));
}

}

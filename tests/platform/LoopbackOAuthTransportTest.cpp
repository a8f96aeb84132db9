#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

#include "base/ProgramLauncher.h"
#include "platform/LoopbackOAuthTransport.h"

namespace qlt {
namespace {

// Plays the browser: asked to open the sign-in page, it connects to the
// redirect listener and sends `request` (nothing when empty), after a spare
// connection that sends `spare` when there is one.
class BrowserLauncher final : public ProgramLauncher {
  public:
    bool start(const std::string& commandLine) override {
        started = commandLine;
        if (!opens) return false;
        if (spare) send(spareSocket, *spare);
        if (connects) send(socket, request);
        return true;
    }
    void abort() {
        socket.abort();
        spareSocket.abort();
    }
    std::string started;
    quint16 port = 0;
    bool opens = true;
    bool connects = true;
    QByteArray request;
    std::optional<QByteArray> spare;
    QTcpSocket socket;
    QTcpSocket spareSocket;

  private:
    void send(QTcpSocket& to, const QByteArray& bytes) {
        to.connectToHost(QHostAddress::LocalHost, port);
        // Connected before the next one starts, so the spare comes first.
        to.waitForConnected(1000);
        to.write(bytes);
    }
};

class LoopbackOAuthTransportTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qlt_platform_tests";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) static QCoreApplication app(argc, argv);
    }

    OAuthTransport::Redirect signIn() {
        const std::string redirectUri = transport.startRedirectListener();
        EXPECT_TRUE(redirectUri.starts_with("http://127.0.0.1:")) << redirectUri;
        browser.port = static_cast<quint16>(std::stoi(redirectUri.substr(17)));
        return transport.awaitRedirect("https://idp.test/authorize?client_id=x");
    }

    BrowserLauncher browser;
    LoopbackOAuthTransport transport{browser, 300, 300};
};

struct RedirectRow {
    const char* name;
    bool opens;
    bool connects;
    QByteArray request;
    OAuthTransport::Redirect expected;
    std::optional<QByteArray> spare = std::nullopt;
};

TEST_F(LoopbackOAuthTransportTest, TheRedirectIsReadOnceBoundedAndTimedOut) {
    const RedirectRow rows[] = {
        {"answer",
         true,
         true,
         "GET /?state=s%2B1&code=c-1 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n",
         {"c-1", "s+1", {}, {}}},
        {"refusal",
         true,
         true,
         "GET /?error=access_denied&state=s HTTP/1.1\r\n\r\n",
         {{}, "s", "access_denied", {}}},
        {"not a GET", true, true, "POST / HTTP/1.1\r\n\r\n", {{}, {}, {}, "no sign-in answer came in time"}},
        {"after an idle spare connection",
         true,
         true,
         "GET /?state=s&code=c-2 HTTP/1.1\r\n\r\n",
         {"c-2", "s", {}, {}},
         QByteArray()},
        {"after another request",
         true,
         true,
         "GET /?state=s&code=c-3 HTTP/1.1\r\n\r\n",
         {"c-3", "s", {}, {}},
         "GET /favicon.ico HTTP/1.1\r\n\r\n"},
        {"head never ends",
         true,
         true,
         "GET /?code=c",
         {{}, {}, {}, "the sign-in answer did not arrive whole"}},
        {"nobody comes", true, false, "", {{}, {}, {}, "no sign-in answer came in time"}},
        {"no browser", false, false, "", {{}, {}, {}, "the web browser could not be started"}},
    };
    for (const auto& row : rows) {
        browser.opens = row.opens;
        browser.connects = row.connects;
        browser.request = row.request;
        browser.spare = row.spare;
        const OAuthTransport::Redirect got = signIn();
        browser.abort();
        EXPECT_EQ(got.code, row.expected.code) << row.name;
        EXPECT_EQ(got.state, row.expected.state) << row.name;
        EXPECT_EQ(got.error, row.expected.error) << row.name;
        EXPECT_EQ(got.failure, row.expected.failure) << row.name;
        EXPECT_EQ(browser.started, R"(xdg-open "https://idp.test/authorize?client_id=x")") << row.name;
    }
}

TEST_F(LoopbackOAuthTransportTest, AFormPostGetsTheStatusAndBodyOrFailsInTime) {
    QTcpServer endpoint;
    ASSERT_TRUE(endpoint.listen(QHostAddress::LocalHost, 0));
    QByteArray received;
    bool answer = true;
    QObject::connect(&endpoint, &QTcpServer::newConnection, [&] {
        QTcpSocket* peer = endpoint.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&, peer] {
            received += peer->readAll();
            if (!answer || !received.contains("grant_type=refresh_token")) return;
            peer->write(
                "HTTP/1.1 400 Bad Request\r\nContent-Type: application/json\r\nContent-Length: 25\r\n"
                "Connection: close\r\n\r\n{\"error\":\"invalid_grant\"}");
            peer->disconnectFromHost();
        });
    });
    const std::string url = "http://127.0.0.1:" + std::to_string(endpoint.serverPort()) + "/token";
    const OAuthTransport::Reply refused = transport.postForm(url, "grant_type=refresh_token&refresh_token=r");
    EXPECT_EQ(refused.status, 400) << refused.failure;
    EXPECT_EQ(refused.body, R"({"error":"invalid_grant"})");
    EXPECT_TRUE(received.startsWith("POST /token HTTP/1.1\r\n"));
    EXPECT_TRUE(received.contains("Content-Type: application/x-www-form-urlencoded"));

    answer = false;
    received.clear();
    const OAuthTransport::Reply silent = transport.postForm(url, "grant_type=refresh_token&refresh_token=r");
    EXPECT_EQ(silent.status, 0);
    EXPECT_FALSE(silent.failure.empty());
}

}  // namespace
}  // namespace qlt

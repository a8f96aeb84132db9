#include <utility>
#include <vector>

#include "pop3/Pop3Fixture.h"
#include "pop3/SocketErrors.h"

namespace qlt::test {
namespace {

using Events = std::vector<std::pair<int, long>>;

class ConnectTest : public Pop3Fixture {};

TEST_F(ConnectTest, LogsInWithExactTextsAndReportsEachStep) {
    loggedInScript().close();
    connectAndLogIn();
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.received(), "user ann\r\npass s3cret\r\n");
    EXPECT_EQ(ui.progressEvents, (Events{{20, 0}, {21, 0}, {22, 0}}));
    EXPECT_EQ(client.m_strCommand, "pass s3cret\r\n");
    EXPECT_EQ(client.m_strReply, "+OK logged in\r\n");
    EXPECT_EQ(client.m_strError, "");
    EXPECT_TRUE(client.m_socket.IsOpen());
}

TEST_F(ConnectTest, AcceptsAGreetingWithOkAnywhereInIt) {
    server.send("* POP3 gateway says +OK, go ahead\r\n")
        .expect("user ann\r\n")
        .send("+OK\r\n")
        .expect("pass s3cret\r\n")
        .send("+OK\r\n");
    connectAndLogIn();
    EXPECT_EQ(server.finish(), "");
}

struct BadGreeting {
    const char* name;
    const char* greeting;
    const char* error;
};

class BadGreetingTest : public Pop3Fixture, public ::testing::WithParamInterface<BadGreeting> {};

TEST_P(BadGreetingTest, IsRefusedWithTheGreetingInTheErrorAndTheSocketClosed) {
    server.send(GetParam().greeting).close();
    const std::uint64_t started = clock.tickMs();
    EXPECT_FALSE(client.Connect(account()));
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(client.m_strError, GetParam().error);
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_EQ(ui.progressEvents, (Events{{20, 0}}));
    EXPECT_EQ(server.received(), "");
    // A server that closes ends the drain after a refusal at once.
    EXPECT_LT(elapsedMs(started), 2000u);
}

INSTANTIATE_TEST_SUITE_P(
    Greetings, BadGreetingTest,
    ::testing::Values(BadGreeting{"EmptyFromServerClosingAtOnce", "",
                                  "ERROR: Not a valid POP3 server response\r\n"},
                      BadGreeting{"NegativeGreeting", "-ERR too busy\r\n",
                                  "ERROR: Not a valid POP3 server response\r\n-ERR too busy\r\n"},
                      BadGreeting{"LowerCaseStatusIsNotRecognised", "+ok hello\r\n",
                                  "ERROR: Not a valid POP3 server response\r\n+ok hello\r\n"},
                      BadGreeting{"SomethingElseAnswering", "SSH-2.0-OpenSSH_9.2\r\n",
                                  "ERROR: Not a valid POP3 server response\r\nSSH-2.0-OpenSSH_9.2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectTest, RefusedUserNameLeavesTheSocketToTheCaller) {
    server.send("+OK\r\n").expect("user ann\r\n").send("-ERR no such mailbox\r\n").close();
    EXPECT_FALSE(client.Connect(account()));
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(client.m_strError, "ERROR: It does not like your user name\r\n-ERR no such mailbox\r\n");
    EXPECT_EQ(ui.progressEvents, (Events{{20, 0}, {21, 0}}));
    EXPECT_TRUE(client.m_socket.IsOpen());
    client.Close();
    client.Close();
    EXPECT_FALSE(client.m_socket.IsOpen());
}

TEST_F(ConnectTest, RefusedPasswordIsReportedWithTheServersReply) {
    server.send("+OK\r\n")
        .expect("user ann\r\n")
        .send("+OK\r\n")
        .expect("pass s3cret\r\n")
        .send("-ERR [AUTH] Authentication failed.\r\n")
        .close();
    EXPECT_FALSE(client.Connect(account()));
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(client.m_strError,
              "ERROR: It does not like your password\r\n-ERR [AUTH] Authentication failed.\r\n");
}

TEST_F(ConnectTest, SilentServerTimesOutWithTheTimeOutText) {
    server.hang(3000);
    const std::uint64_t started = clock.tickMs();
    EXPECT_FALSE(client.Connect(account(1)));
    const std::uint64_t waited = elapsedMs(started);
    EXPECT_EQ(client.m_strError, socketErrorText(kSockTimedOut));
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_GE(waited, 1000u);
    EXPECT_LT(waited, 1100u);
    EXPECT_EQ(client.m_socket.GetLastError(), 10060);
}

// What only a real connection shows: resolving, refusals, a real time-out.
class ConnectLoopbackTest : public LoopbackPop3Fixture {
  protected:
    void connectAndLogIn() {
        server.greetAndLogin("ann", "s3cret");
        server.start();
        ASSERT_TRUE(client.Connect(account())) << client.m_strError;
    }
};

TEST_F(ConnectLoopbackTest, ResolvesAHostNameTryingEachAddress) {
    server.greetAndLogin("ann", "s3cret");
    server.start();
    AccountRecord a = account();
    a.server = "localhost";  // may resolve to ::1 first, where nothing listens
    EXPECT_TRUE(client.Connect(a)) << client.m_strError;
    EXPECT_EQ(server.finish(), "");
}

TEST_F(ConnectLoopbackTest, SilentServerTimesOutWithTheTimeOutTextWhileTheWindowRepaints) {
    server.hang(3000);
    server.start();
    const std::uint64_t started = clock.tickMs();
    EXPECT_FALSE(client.Connect(account(1)));
    const std::uint64_t waited = clock.tickMs() - started;
    EXPECT_EQ(client.m_strError, socketErrorText(kSockTimedOut));
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_GE(waited, 950u);
    EXPECT_LT(waited, 2500u);
    EXPECT_GT(ui.paintPumps, 10);
    EXPECT_EQ(client.m_socket.GetLastError(), 10060);
}

TEST_F(ConnectLoopbackTest, RefusedConnectionCannotConnect) {
    AccountRecord a = account();
    a.port = FakePop3Server::unusedPort();
    EXPECT_FALSE(client.Connect(a));
    EXPECT_EQ(client.m_strError, "Could not connect to server");
    EXPECT_EQ(client.m_socket.GetLastError(), kSockRefused);
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_TRUE(ui.progressEvents.empty());
}

TEST_F(ConnectLoopbackTest, ConnectEmptiesTheErrorsOfTheLastConnection) {
    AccountRecord refused = account();
    refused.port = FakePop3Server::unusedPort();
    ASSERT_FALSE(client.Connect(refused));
    connectAndLogIn();
    EXPECT_EQ(client.m_strError, "");
}

}  // namespace
}  // namespace qlt::test

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "demo/DemoMessages.h"
#include "demo/DemoPop3Server.h"
#include "pop3/Pop3Client.h"
#include "support/ScriptedUiPort.h"
#include "support/TestPaths.h"

namespace qlt::demo {
namespace {

using SteadyClock = std::chrono::steady_clock;

std::vector<DemoMessage> twoMessages() {
    return {
        {"demo-a", "Subject: one\r\n\r\nfirst\r\nsecond\r\nthird\r\n"},
        {"demo-b", "Subject: two\r\n\r\n.hidden\r\nlast\r\n"},
    };
}

long msSince(SteadyClock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count());
}

// The project's own client against the demo server: both sides are checked.
class DemoPop3ServerTest : public ::testing::Test {
  protected:
    void startServer(DemoPop3Server& s) { ASSERT_TRUE(s.start()) << s.error(); }

    AccountRecord account(const DemoPop3Server& s, const char* password = "demo") const {
        AccountRecord a;
        a.server = "127.0.0.1";
        a.port = s.port();
        a.userName = "demo";
        a.password = password;
        a.timeout = 5;
        return a;
    }

    void logIn(const DemoPop3Server& s) { ASSERT_TRUE(client.Connect(account(s))) << client.m_strError; }

    int countOnServer(const DemoPop3Server& s) {
        Pop3Client fresh(ui, clock);
        if (!fresh.Connect(account(s)) || !fresh.QueryStat()) return -1;
        fresh.Quit();
        fresh.Close();
        return fresh.m_nMessages;
    }

    test::ScriptedUiPort ui;
    SystemClock clock;
    Pop3Client client{ui, clock};
    DemoPop3Server server{twoMessages()};
};

TEST_F(DemoPop3ServerTest, LogsInAndReportsTheMailbox) {
    startServer(server);
    logIn(server);
    ASSERT_TRUE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, 2);
    EXPECT_EQ(client.m_nMailboxSize, 69);
    ASSERT_TRUE(client.List(2));
    EXPECT_EQ(client.m_strReply, "+OK 2 31\r\n");
    ASSERT_TRUE(client.Uidl(1));
    EXPECT_EQ(client.m_strReply, "+OK 1 demo-a\r\n");
    ASSERT_TRUE(client.Top(1, 1));
    EXPECT_EQ(client.m_strReply, "Subject: one\r\n\r\nfirst\r\n");
    ASSERT_TRUE(client.Top(2, 1024));
    EXPECT_EQ(client.m_strReply, "Subject: two\r\n\r\n..hidden\r\nlast\r\n");
    EXPECT_TRUE(client.Noop());
    EXPECT_TRUE(client.Quit());
}

TEST_F(DemoPop3ServerTest, WrongPasswordIsRefused) {
    startServer(server);
    EXPECT_FALSE(client.Connect(account(server, "secret")));
    EXPECT_NE(client.m_strError.find("wrong password"), std::string::npos) << client.m_strError;
}

TEST_F(DemoPop3ServerTest, DeletionsCountOnlyAfterQuit) {
    startServer(server);
    logIn(server);
    ASSERT_TRUE(client.Dele(1));
    client.Close();  // gone without QUIT: the server forgets the deletion
    EXPECT_EQ(countOnServer(server), 2);

    logIn(server);
    ASSERT_TRUE(client.Dele(2));
    ASSERT_TRUE(client.Rset());
    ASSERT_TRUE(client.Dele(1));
    ASSERT_TRUE(client.Quit());
    client.Close();
    const auto left = server.messages();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].uidl, "demo-b");
    EXPECT_EQ(countOnServer(server), 1);
}

TEST_F(DemoPop3ServerTest, ARefusedDeleteKeepsTheMailbox) {
    startServer(server);
    logIn(server);
    EXPECT_FALSE(client.Dele(7));
    EXPECT_NE(client.m_strError.find("DELE returned ERROR"), std::string::npos);
    EXPECT_EQ(countOnServer(server), 2);
}

TEST_F(DemoPop3ServerTest, ATooLongCommandLineEndsTheSession) {
    startServer(server);
    logIn(server);
    client.SendCommand(std::string(300, 'x'));
    EXPECT_FALSE(client.ReadReply(""));
    EXPECT_NE(client.m_strReply.find("-ERR command line too long"), std::string::npos);
    std::string rest;
    EXPECT_EQ(client.m_socket.ReceiveChunk(rest, 5000), 0) << "the server closes the connection";
    EXPECT_EQ(countOnServer(server), 2) << "the server takes the next client";
}

TEST_F(DemoPop3ServerTest, ASilentClientIsDroppedAfterTheIdleTime) {
    DemoPop3Server quick(twoMessages(), {.idleTimeoutMs = 200});
    startServer(quick);
    logIn(quick);
    const auto start = SteadyClock::now();
    std::string text;
    EXPECT_EQ(client.m_socket.ReceiveChunk(text, 5000), 0);
    EXPECT_LT(msSince(start), 4000);
}

TEST_F(DemoPop3ServerTest, StopEndsAWaitingSessionAtOnce) {
    startServer(server);
    logIn(server);
    const auto start = SteadyClock::now();
    server.stop();
    EXPECT_LT(msSince(start), 2000) << "the ten-minute idle wait must not hold the stop";
    std::string text;
    EXPECT_EQ(client.m_socket.ReceiveChunk(text, 5000), 0);
    EXPECT_FALSE(client.Connect(account(server)));
}

TEST_F(DemoPop3ServerTest, ServesEveryShippedSampleWhole) {
    const auto samples = loadDemoMessages(test::resPath("demo"));
    ASSERT_TRUE(samples);
    ASSERT_GE(samples->size(), 18u);
    DemoPop3Server shipped(*samples);
    startServer(shipped);
    logIn(shipped);
    ASSERT_TRUE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, static_cast<int>(samples->size()));
    for (std::size_t i = 0; i < samples->size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        ASSERT_TRUE(client.Uidl(n));
        EXPECT_EQ(client.m_strReply, "+OK " + std::to_string(n) + " " + (*samples)[i].uidl + "\r\n");
        ASSERT_TRUE(client.Top(n, 1024));
        EXPECT_EQ(client.m_strReply, (*samples)[i].text) << (*samples)[i].uidl;
    }
    EXPECT_TRUE(client.Quit());
}

}  // namespace
}  // namespace qlt::demo

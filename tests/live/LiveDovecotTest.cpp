#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/AccountRecord.h"
#include "base/Clock.h"
#include "pop3/Pop3Client.h"
#include "support/ScriptedUiPort.h"

namespace qlt::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "qlt-live-pw";

// The instance that tests/live/dovecot.sh started for this run.
fs::path instanceDir() {
    const char* dir = std::getenv("QLT_LIVE_DIR");
    return dir == nullptr ? fs::path() : fs::path(dir);
}

unsigned instancePort() {
    std::ifstream in(instanceDir() / "port");
    unsigned port = 0;
    in >> port;
    return port;
}

int messagesOnDisk(const std::string& user) {
    int count = 0;
    for (const char* sub : {"cur", "new"}) {
        const fs::path folder = instanceDir() / "mail" / user / "Maildir" / sub;
        for (const auto& entry : fs::directory_iterator(folder)) count += entry.is_regular_file() ? 1 : 0;
    }
    return count;
}

class LiveDovecotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(instanceDir().empty()) << "QLT_LIVE_DIR is not set: run through ctest";
        ASSERT_NE(instancePort(), 0u) << "no Dovecot instance in " << instanceDir();
    }

    AccountRecord account(const std::string& user, const std::string& password = kPassword) const {
        AccountRecord a;
        a.server = "127.0.0.1";
        a.port = instancePort();
        a.userName = user;
        a.password = password;
        a.timeout = 10;
        return a;
    }

    std::vector<std::string> tokens(ReplyCleaning cleaning = ReplyCleaning::Listing) const {
        std::vector<std::string> out;
        Pop3Client::SplitReply(client.m_strReply, out, cleaning);
        return out;
    }

    ScriptedUiPort ui;
    SystemClock clock;
    Pop3Client client{ui, clock};
};

TEST_F(LiveDovecotTest, LogsInAndReadsStatListUidlAndTop) {
    ASSERT_TRUE(client.Connect(account("ann"))) << client.m_strError;
    ASSERT_TRUE(client.QueryStat()) << client.m_strError;
    EXPECT_EQ(client.m_nMessages, 3);

    std::int32_t total = 0;
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(client.List(n)) << client.m_strError;
        EXPECT_EQ(Pop3Client::TokenNumber(tokens(), 2), n);
        total += Pop3Client::TokenNumber(tokens(), 3);
    }
    EXPECT_EQ(total, client.m_nMailboxSize);

    ASSERT_TRUE(client.Uidl(2)) << client.m_strError;
    const std::string uidl = tokens().at(2);
    EXPECT_EQ(uidl.size(), 16u) << client.m_strReply;

    ASSERT_TRUE(client.Top(1, 4)) << client.m_strError;
    const std::string& text = client.m_strReply;
    EXPECT_EQ(text.rfind("Return-Path: <lena@example.org>\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("Subject: Minutes of Tuesday's meeting\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n\r\nHello Ann,\r\n"), std::string::npos);
    // Four body lines; the fourth came dot-stuffed and keeps its extra dot.
    EXPECT_TRUE(text.ends_with("\r\n..A line that starts with a dot.\r\n")) << text;
    EXPECT_TRUE(client.Quit()) << client.m_strError;
    client.Close();

    // Identifiers stay the same across sessions.
    ASSERT_TRUE(client.Connect(account("ann"))) << client.m_strError;
    ASSERT_TRUE(client.Uidl(2));
    EXPECT_EQ(tokens().at(2), uidl);
    EXPECT_TRUE(client.Quit());
    client.Close();
}

TEST_F(LiveDovecotTest, WrongPasswordKeepsTheServersReplyInTheError) {
    EXPECT_FALSE(client.Connect(account("ann", "not-the-password")));
    EXPECT_EQ(client.m_strError.rfind("ERROR: It does not like your password\r\n-ERR ", 0), 0u)
        << client.m_strError;
    EXPECT_TRUE(client.m_strError.ends_with("\r\n"));
    client.Close();
    // No penalty for the next login.
    ASSERT_TRUE(client.Connect(account("ann"))) << client.m_strError;
    client.Close();
}

TEST_F(LiveDovecotTest, DeleteAndQuitRemovesTheMessageOnTheServer) {
    ASSERT_TRUE(client.Connect(account("bob"))) << client.m_strError;
    ASSERT_TRUE(client.QueryStat());
    ASSERT_EQ(client.m_nMessages, 3);
    ASSERT_TRUE(client.Uidl(2));
    const std::string gone = tokens().at(2);
    ASSERT_TRUE(client.Dele(2)) << client.m_strError;
    EXPECT_EQ(client.m_strCommand, "dele 2\r\n");
    ASSERT_TRUE(client.Quit()) << client.m_strError;
    client.Close();

    EXPECT_EQ(messagesOnDisk("bob"), 2);
    ASSERT_TRUE(client.Connect(account("bob"))) << client.m_strError;
    ASSERT_TRUE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, 2);
    for (int n = 1; n <= 2; ++n) {
        ASSERT_TRUE(client.Uidl(n));
        EXPECT_NE(tokens().at(2), gone);
    }
    // A message number that no longer exists is refused.
    EXPECT_FALSE(client.Dele(3));
    EXPECT_EQ(client.m_strError.rfind("DELE returned ERROR\r\n-ERR ", 0), 0u) << client.m_strError;
    EXPECT_FALSE(client.m_socket.IsOpen());
}

}  // namespace
}  // namespace qlt::test

#include <string>
#include <vector>

#include "pop3/Pop3Fixture.h"
#include "pop3/SocketErrors.h"

namespace qlt::test {
namespace {

class CommandTest : public Pop3Fixture {};

TEST_F(CommandTest, SendsEachCommandInLowerCaseAndKeepsItsReply) {
    loggedInScript()
        .expect("stat\r\n")
        .send("+OK 3 4500\r\n")
        .expect("list 2\r\n")
        .send("+OK 2 1500\r\n")
        .expect("uidl 2\r\n")
        .send("+OK 2 0000001a00000002\r\n")
        .expect("list\r\n")
        .send("+OK 3 messages\r\n1 100\r\n")
        .expect("uidl\r\n")
        .send("+OK\r\n")
        .expect("noop\r\n")
        .send("+OK\r\n")
        .expect("rset\r\n")
        .send("+OK\r\n")
        .expect("dele 3\r\n")
        .send("+OK marked\r\n")
        .expect("quit\r\n")
        .send("+OK bye\r\n")
        .close();
    connectAndLogIn();
    ASSERT_TRUE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, 3);
    EXPECT_EQ(client.m_nMailboxSize, 4500);
    EXPECT_TRUE(client.List(2));
    EXPECT_EQ(client.m_strReply, "+OK 2 1500\r\n");
    EXPECT_TRUE(client.Uidl(2));
    EXPECT_EQ(client.m_strCommand, "uidl 2\r\n");
    // The listing forms: the reply is the status line, and the listing that
    // came with it is not taken for the reply to the next command.
    EXPECT_TRUE(client.List(0));
    EXPECT_EQ(client.m_strReply, "+OK 3 messages\r\n");
    EXPECT_TRUE(client.Uidl(0));
    EXPECT_TRUE(client.Noop());
    EXPECT_TRUE(client.Rset());
    EXPECT_TRUE(client.Dele(3));
    EXPECT_TRUE(client.m_socket.IsOpen());
    EXPECT_TRUE(client.Quit());
    EXPECT_EQ(client.m_strReply, "+OK bye\r\n");
    EXPECT_EQ(client.m_strError, "");
    EXPECT_EQ(server.finish(), "");
}

TEST_F(CommandTest, StatWithoutNumbersGivesZeroCounts) {
    loggedInScript().expect("stat\r\n").send("+OK\r\n");
    connectAndLogIn();
    client.m_nMessages = 7;
    client.m_nMailboxSize = 700;
    ASSERT_TRUE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, 0);
    EXPECT_EQ(client.m_nMailboxSize, 0);
}

TEST_F(CommandTest, RefusedStatKeepsTheCountersAndAppendsTheReply) {
    loggedInScript().expect("stat\r\n").send("-ERR mailbox locked\r\n").close();
    connectAndLogIn();
    client.m_nMessages = 7;
    EXPECT_FALSE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, 7);
    EXPECT_EQ(client.m_strError, "STAT returned ERROR\r\n-ERR mailbox locked\r\n");
}

TEST_F(CommandTest, RefusedListDrainsWhatFollowsUntilTheServerCloses) {
    loggedInScript()
        .expect("list 9\r\n")
        .send("-ERR no such message\r\n")
        .delay(100)
        .send("and some more words\r\n")
        .delay(100)
        .close();
    connectAndLogIn();
    const std::uint64_t started = clock.tickMs();
    EXPECT_FALSE(client.List(9));
    EXPECT_LT(elapsedMs(started), 2000u);
    EXPECT_EQ(client.m_strError, "LIST returned ERROR\r\n-ERR no such message\r\n");
    std::string rest;
    EXPECT_EQ(client.m_socket.ReceiveChunk(rest, 1000), 0) << "left unread: " << rest;
}

TEST_F(CommandTest, FailuresAccumulateUntilAReceiveFailureReplacesThem) {
    loggedInScript()
        .expect("stat\r\n")
        .send("busy\r\n")
        .expect("list 1\r\n")
        .send("busy\r\n")
        .expect("noop\r\n")
        .hang(2500);
    connectAndLogIn(1);
    EXPECT_FALSE(client.Stat());
    EXPECT_FALSE(client.List(1));
    EXPECT_EQ(client.m_strError, "STAT returned ERROR\r\nbusy\r\nLIST returned ERROR\r\nbusy\r\n");
    EXPECT_FALSE(client.Noop());
    EXPECT_EQ(client.m_strError, socketErrorText(kSockTimedOut));
}

TEST_F(CommandTest, RefusedDeleteClosesTheConnectionWithoutQuit) {
    loggedInScript().expect("dele 4\r\n").send("cannot\r\n").hang(300);
    connectAndLogIn();
    EXPECT_FALSE(client.Dele(4));
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_EQ(client.m_strError, "DELE returned ERROR\r\ncannot\r\n");
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.received().find("quit"), std::string::npos);
    // A command on the closed connection fails at its reply.
    EXPECT_FALSE(client.Noop());
    EXPECT_EQ(client.m_strError, socketErrorText(kSockNotSocket));
}

TEST_F(CommandTest, ReplyCutByTheServerIsNegative) {
    loggedInScript().expect("noop\r\n").close();
    connectAndLogIn();
    EXPECT_FALSE(client.Noop());
    EXPECT_EQ(client.m_strError, "NOOP returned ERROR\r\n");
}

struct CheckRow {
    const char* name;
    const char* reply;
    bool positive;
};

class CheckReplyTest : public Pop3Fixture, public ::testing::WithParamInterface<CheckRow> {};

TEST_P(CheckReplyTest, JudgesTheReplyBySubstring) {
    EXPECT_EQ(client.CheckReply(GetParam().reply), GetParam().positive);
}

INSTANTIATE_TEST_SUITE_P(Replies, CheckReplyTest,
                         ::testing::Values(CheckRow{"OkAtStart", "+OK 2 200\r\n", true},
                                           CheckRow{"OkInside", "hello +OK\r\n", true},
                                           CheckRow{"OkWinsOverErr", "-ERR +OK\r\n", true},
                                           CheckRow{"LowerCase", "+ok\r\n", false},
                                           CheckRow{"Err", "-ERR\r\n", false}, CheckRow{"Empty", "", false},
                                           CheckRow{"Garbage", "\x01\x02 OK\r\n", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SplitRow {
    const char* name;
    const char* reply;
    ReplyCleaning cleaning;
    std::vector<std::string> tokens;
};

class SplitReplyTest : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitReplyTest, CleansThenCutsAtSpaces) {
    std::vector<std::string> tokens{"stale"};
    const int result = Pop3Client::SplitReply(GetParam().reply, tokens, GetParam().cleaning);
    EXPECT_EQ(tokens, GetParam().tokens);
    EXPECT_EQ(result, tokens.empty() ? 0 : static_cast<int>(tokens.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SplitReplyTest,
    ::testing::Values(
        SplitRow{"StatWellFormed", "+OK 3 4500\r\n", ReplyCleaning::Stat, {"+OK", "3", "4500"}},
        SplitRow{"StatRunsOfBlanks", " +OK\t 3 \r\n 4500 \r\n", ReplyCleaning::Stat, {"+OK", "3", "4500"}},
        SplitRow{"ListingKeepsLineBreaks",
                 "+OK 1 120\r\n2 300\r\n",
                 ReplyCleaning::Listing,
                 {"+OK", "1", "120\r\n2", "300"}},
        SplitRow{"ListingTabs", "+OK\t\t1  abc\r\n", ReplyCleaning::Listing, {"+OK", "1", "abc"}},
        SplitRow{"Empty", "", ReplyCleaning::Stat, {}},
        SplitRow{"OnlyBlanks", " \r\n", ReplyCleaning::Listing, {}},
        SplitRow{"StatusOnly", "+OK\r\n", ReplyCleaning::Stat, {"+OK"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TokenNumberTest, ReadsLeadingDigitsOnly) {
    const std::vector<std::string> tokens{"+OK", "12abc", "x9", "99999999999"};
    EXPECT_EQ(Pop3Client::TokenNumber(tokens, 2), 12);
    EXPECT_EQ(Pop3Client::TokenNumber(tokens, 3), 0);
    EXPECT_EQ(Pop3Client::TokenNumber(tokens, 4), 2147483647) << "a hostile number saturates";
    EXPECT_EQ(Pop3Client::TokenNumber(tokens, 5), 0);
    EXPECT_EQ(Pop3Client::TokenNumber(tokens, 0), 0);
}

}  // namespace
}  // namespace qlt::test

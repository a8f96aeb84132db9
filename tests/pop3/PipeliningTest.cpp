#include <string>
#include <vector>

#include "pop3/Pop3Fixture.h"

namespace qlt::test {
namespace {

class PipeliningTest : public Pop3Fixture {
  protected:
    // A login whose server announces PIPELINING, then what the test adds.
    ScriptedServer& pipeliningScript() { return loggedInScript().capa("TOP\r\nPIPELINING\r\n"); }
    void connectPipelining() {
        connectAndLogIn();
        ASSERT_TRUE(client.Capa());
    }
};

struct CapaCase {
    const char* name;
    std::string reply;
    std::vector<std::size_t> cuts;
    bool pipelining;
};

class CapaTest : public PipeliningTest, public ::testing::WithParamInterface<CapaCase> {};

// Whatever the answer, the next command is read in step.
TEST_P(CapaTest, FindsPipeliningOnlyAsACapabilityOfItsOwn) {
    loggedInScript().expect("capa\r\n").sendSplit(GetParam().reply, GetParam().cuts);
    server.expect("noop\r\n").send("+OK still here\r\n");
    connectAndLogIn();
    EXPECT_EQ(client.Capa(), GetParam().pipelining);
    EXPECT_EQ(client.Pipelining(), GetParam().pipelining);
    EXPECT_TRUE(client.Noop());
    EXPECT_EQ(client.m_strReply, "+OK still here\r\n");
    EXPECT_EQ(server.finish(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, CapaTest,
    ::testing::Values(CapaCase{"Announced", "+OK\r\nTOP\r\nPIPELINING\r\nUIDL\r\n.\r\n", {}, true},
                      CapaCase{"InAnyCase", "+OK\r\npipelining\r\n.\r\n", {}, true},
                      CapaCase{"InPieces", "+OK list\r\nTOP\r\nPIPELINING\r\n.\r\n", {5, 17, 24}, true},
                      CapaCase{"OnlyAsAWholeWord", "+OK\r\nX-PIPELINING\r\nPIPELININGS\r\n.\r\n", {}, false},
                      CapaCase{"NotAnnounced", "+OK\r\nTOP\r\nUIDL\r\n.\r\n", {}, false},
                      CapaCase{"Unknown", "-ERR unknown command\r\n", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The server answers only once it has all three: had the client waited for
// the first reply before sending the others, the play would stall.
TEST_F(PipeliningTest, QueuedCommandsGoAheadAndTheirRepliesAreReadInOrder) {
    pipeliningScript()
        .expect("list 1\r\nuidl 1\r\ntop 1 10\r\n")
        .send("+OK 1 50\r\n+OK 1 uid-a\r\n+OK\r\nSubject: a\r\n\r\nbody\r\n.\r\n")
        .expect("noop\r\n")
        .send("+OK\r\n");
    connectPipelining();
    client.QueueList(1);
    client.QueueUidl(1);
    client.QueueTop(1, 10);
    EXPECT_EQ(client.RepliesOwed(), 3u);
    ASSERT_TRUE(client.ReadListReply());
    EXPECT_EQ(client.m_strReply, "+OK 1 50\r\n");
    ASSERT_TRUE(client.ReadUidlReply());
    EXPECT_EQ(client.m_strReply, "+OK 1 uid-a\r\n");
    ASSERT_TRUE(client.ReadTopReply(1, 10));
    EXPECT_EQ(client.m_strReply, "Subject: a\r\n\r\nbody\r\n");
    EXPECT_EQ(client.RepliesOwed(), 0u);
    EXPECT_TRUE(client.Noop());
    EXPECT_EQ(server.finish(), "");
}

TEST_F(PipeliningTest, WithoutPipeliningAQueuedCommandWaitsForTheReplyBeforeIt) {
    loggedInScript()
        .withoutCapa()
        .expect("list 1\r\n")
        .send("+OK 1 50\r\n")
        .expect("uidl 1\r\n")
        .send("+OK 1 uid-a\r\n");
    connectAndLogIn();
    EXPECT_FALSE(client.Capa());
    client.QueueList(1);
    client.QueueUidl(1);
    ASSERT_TRUE(client.ReadListReply());
    EXPECT_EQ(client.m_strCommand, "list 1\r\n") << "UIDL not sent yet";
    EXPECT_EQ(client.RepliesOwed(), 1u);
    ASSERT_TRUE(client.ReadUidlReply());
    EXPECT_EQ(client.m_strReply, "+OK 1 uid-a\r\n");
    EXPECT_EQ(server.finish(), "");
}

// Bytes past the last reply owed answer nothing that was asked: taking
// them for the next reply would put every later command out of step.
TEST_F(PipeliningTest, WhatComesPastTheLastOwedReplyIsDropped) {
    loggedInScript()
        .expect("noop\r\n")
        .send("+OK\r\n+OK 9 9999\r\n")
        .expect("stat\r\n")
        .send("-ERR locked\r\n");
    connectAndLogIn();
    EXPECT_TRUE(client.Noop());
    EXPECT_FALSE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, 0);
    EXPECT_EQ(client.m_strError, "STAT returned ERROR\r\n-ERR locked\r\n");
    EXPECT_EQ(server.finish(), "");
}

TEST_F(PipeliningTest, AStatusLineInPiecesIsReadWhole) {
    loggedInScript().expect("stat\r\n").sendSplit("+OK 12 3456\r\n", {2, 7});
    connectAndLogIn();
    ASSERT_TRUE(client.QueryStat());
    EXPECT_EQ(client.m_nMessages, 12);
    EXPECT_EQ(client.m_nMailboxSize, 3456);
}

// A reply cut off by the receive cap leaves its rest to be taken for the
// replies after it: with any still owed, the connection is given up.
TEST_F(PipeliningTest, ATopCutShortWithRepliesStillOwedClosesTheConnection) {
    pipeliningScript()
        .expect("top 1 2\r\ntop 2 2\r\n")
        .sendSplit("+OK\r\nline one\r\nline two\r\nline three\r\n.\r\n+OK\r\n.\r\n", {15, 25})
        .hang(300);
    connectPipelining();
    client.QueueTop(1, 2);
    client.QueueTop(2, 2);
    ASSERT_TRUE(client.ReadTopReply(1, 2));
    EXPECT_EQ(client.m_strReply, "line one\r\nline two\r\n");
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_EQ(client.RepliesOwed(), 0u);
    EXPECT_FALSE(client.ReadTopReply(2, 2));
    EXPECT_EQ(server.finish(), "");
}

TEST_F(PipeliningTest, AStatusLineWithoutItsEndWhileRepliesAreOwedClosesTheConnection) {
    pipeliningScript().expect("list 1\r\nuidl 1\r\n").send("+OK 1 ").flood("9", 1024 * 1024);
    connectPipelining();
    client.QueueList(1);
    client.QueueUidl(1);
    EXPECT_TRUE(client.ReadListReply()) << "what came by the cap is the line";
    EXPECT_TRUE(client.m_strReply.starts_with("+OK 1 9"));
    EXPECT_EQ(client.m_strReply.size(), Pop3Client::kMaxStatusLine);
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_FALSE(client.ReadUidlReply());
    EXPECT_EQ(server.finish(), "");
}

}  // namespace
}  // namespace qlt::test

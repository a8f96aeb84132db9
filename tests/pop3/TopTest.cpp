#include <string>
#include <utility>
#include <vector>

#include "pop3/Pop3Fixture.h"

namespace qlt::test {
namespace {

using Events = std::vector<std::pair<int, long>>;

const std::string kMessage = "Subject: hello\r\nFrom: a@example.org\r\n\r\nfirst line\r\n..dotted\r\n";
const std::string kReply = "+OK top follows\r\n" + kMessage + ".\r\n";

class TopTest : public Pop3Fixture {
  protected:
    // The login's own events are not what these tests look at.
    Events eventsAfterLogin() const { return Events(ui.progressEvents.begin() + 3, ui.progressEvents.end()); }
};

TEST_F(TopTest, WholeReplyInTheFirstChunkTakesOneReceive) {
    loggedInScript().expect("top 1 10\r\n").send(kReply).expect("noop\r\n").send("+OK\r\n");
    connectAndLogIn();
    ASSERT_TRUE(client.Top(1, 10));
    EXPECT_EQ(client.m_strCommand, "top 1 10\r\n");
    // Status line and final ".\r\n" gone; dot-stuffing is left as it came.
    EXPECT_EQ(client.m_strReply, kMessage);
    EXPECT_EQ(ui.messagePumps, 0);
    // Nothing of the reply is left to be taken for the next one.
    EXPECT_TRUE(client.Noop());
    EXPECT_EQ(server.finish(), "");
}

struct SplitCase {
    const char* name;
    std::vector<std::size_t> cuts;
    int pumps;
};

class TopSplitTest : public TopTest, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(TopSplitTest, FindsTheTerminatorInTheAccumulatedText) {
    loggedInScript().expect("top 2 10\r\n").sendSplit(kReply, GetParam().cuts);
    connectAndLogIn();
    ASSERT_TRUE(client.Top(2, 10));
    EXPECT_EQ(client.m_strReply, kMessage);
    EXPECT_EQ(ui.messagePumps, GetParam().pumps);
}

INSTANTIATE_TEST_SUITE_P(
    Splits, TopSplitTest,
    ::testing::Values(SplitCase{"InsideTheStatusLine", {3}, 1},
                      SplitCase{"TerminatorStraddlesTwoChunks", {kReply.size() - 3}, 1},
                      SplitCase{"TerminatorAcrossThreeChunks", {kReply.size() - 4, kReply.size() - 2}, 2},
                      SplitCase{"EveryFewBytes", {10, 30, 50, 70}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TopTest, LongReplyIsCutAfterKReceivesAndStillSucceeds) {
    loggedInScript()
        .expect("top 3 2\r\n")
        .sendSplit("+OK\r\nline one\r\nline two\r\nline three\r\n.\r\n", {15, 25});
    connectAndLogIn();
    ASSERT_TRUE(client.Top(3, 2));
    EXPECT_EQ(client.m_strReply, "line one\r\nline two\r\n");
    EXPECT_FALSE(client.m_socket.IsOpen()) << "its rest would be read as the next reply";
}

TEST_F(TopTest, ServerClosingBeforeTheTerminatorKeepsWhatCame) {
    loggedInScript().expect("top 1 50\r\n").send("+OK\r\nSubject: cut\r\n").delay(100).close();
    connectAndLogIn();
    ASSERT_TRUE(client.Top(1, 50));
    EXPECT_EQ(client.m_strReply, "Subject: cut\r\n");
}

TEST_F(TopTest, EmptyMessageEndsRightAfterTheStatusLine) {
    loggedInScript().expect("top 1 10\r\n").send("+OK\r\n.\r\n");
    connectAndLogIn();
    ASSERT_TRUE(client.Top(1, 10));
    EXPECT_EQ(client.m_strReply, "");
    EXPECT_EQ(ui.messagePumps, 0);
}

TEST_F(TopTest, RefusalFailsWithoutTouchingTheErrorText) {
    loggedInScript().expect("top 8 10\r\n").send("-ERR no such message\r\n").close();
    connectAndLogIn();
    client.m_strError = "earlier\r\n";
    client.m_strReply = "before";
    EXPECT_FALSE(client.Top(8, 10));
    EXPECT_EQ(client.m_strError, "earlier\r\n");
    EXPECT_EQ(client.m_strReply, "before");
}

TEST_F(TopTest, StopClickedInThePumpIsReportedWithTheMessageNumberAndReadingGoesOn) {
    loggedInScript().expect("top 5 10\r\n").sendSplit(kReply, {20, 40});
    connectAndLogIn();
    ui.onPumpMessages = [] { abortRequested = 1; };
    ASSERT_TRUE(client.Top(5, 10));
    EXPECT_EQ(client.m_strReply, kMessage);
    EXPECT_EQ(ui.messagePumps, 2);
    EXPECT_EQ(eventsAfterLogin(), (Events{{6, 5}, {6, 5}}));
}

TEST_F(TopTest, RateMeterMeasuresTheChunksBeforeTheLast) {
    // A full first chunk taken whole, then the end: the meter sees 4096 bytes
    // over three clock reads (its own, and the reply pace's before and after
    // the receive) of 10 ms; 136533 bytes/s kept to 16 bits is 5461.
    std::string full = "+OK\r\n";
    while (full.size() < 4096) full += "X-Filler: abcdefghijklmnopqrstuvwxyz\r\n";
    full.resize(4094);
    full += "\r\n";
    loggedInScript().expect("top 1 100\r\n").send(full).delay(100).send("tail\r\n.\r\n");
    connectAndLogIn();
    ASSERT_TRUE(client.Top(1, 100));
    EXPECT_EQ(client.m_strReply, full.substr(5) + "tail\r\n");
    EXPECT_EQ(client.m_wRate, 5461);
}

TEST_F(TopTest, TimeOutFailsAndLeavesReplyAndError) {
    loggedInScript().expect("top 1 10\r\n").send("+OK\r\nSubject: x\r\n").hang(2500);
    connectAndLogIn(1);
    client.m_strReply = "before";
    EXPECT_FALSE(client.Top(1, 10));
    EXPECT_EQ(client.m_strReply, "before");
    EXPECT_EQ(client.m_strError, "");
    EXPECT_EQ(client.m_socket.GetLastError(), 10060);
}

}  // namespace
}  // namespace qlt::test

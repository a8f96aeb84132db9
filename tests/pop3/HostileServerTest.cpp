#include <gtest/gtest.h>

#include "content/MailboxScan.h"
#include "pop3/HostileFixture.h"
#include "pop3/SocketErrors.h"
#include "store/BuiltInTexts.h"

namespace qlt::test {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;

using HostileServerTest = HostileFixture;

// The status line and headers, then header lines for ever: TOP stops at its
// cap on receives and takes what came as the message's first lines.
TEST_F(HostileServerTest, ATopReplyThatNeverEndsIsCutAtTheCap) {
    checker.settings().scanBuf = 64;
    untilTop("endless-1", 64)
        .send("+OK\r\nFrom: ann@example.org\r\nSubject: endless\r\n")
        .flood("X-Junk: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\r\n", 64 * kMegabyte);
    scan();
    ASSERT_EQ(checker.messages().count(), 1u);
    EXPECT_EQ(checker.messages().at(0).subject.str(), "endless");
    EXPECT_EQ(account().status, kStatusCompleted);
    EXPECT_EQ(account().messageCount, 1);
    expectConsistent(1);
}

// A byte a second keeps each receive inside the time-out; the TOP reply as a
// whole gets three time-outs, and every try after it fails at once.
TEST_F(HostileServerTest, ATopTrickledAByteASecondEndsInTheRetryBox) {
    untilTop("slow-1").trickle(topReply("slow") + std::string(40, 'x'), 1000);
    for (int retry = 0; retry < kTopTries; ++retry) server.acceptNext().send("-ERR busy\r\n");
    scan();
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, kProgramName);
    EXPECT_EQ(rig.ui.boxes[0].text, kConnectionTimedOut);
    EXPECT_EQ(checker.messages().count(), 0u) << "a message not read whole gets no entry";
    EXPECT_EQ(account().status, kStatusUpdateNeeded);
    EXPECT_EQ(account().messageCount, 1);
    EXPECT_EQ(account().mailboxSize, -1);
    EXPECT_TRUE(rig.ui.sawProgress(kProgressScanIncomplete));
}

// Less than a kilobyte within a time-out is too slow, however alive.
TEST_F(HostileServerTest, AGreetingTrickledAByteASecondIsTooSlow) {
    server.trickle("+OK ready\r\n", 1000);
    scan();
    EXPECT_EQ(account().status, kStatusConnectionFailed);
    EXPECT_TRUE(rig.ui.sawProgress(kProgressConnectionError));
    EXPECT_EQ(errorDetails(), socketErrorText(kSockTimedOut));
}

TEST_F(HostileServerTest, ATenMegabyteHeaderLineWithoutLineEndIsCutAtTheCap) {
    untilTop("long-1").send("+OK\r\nSubject: ").flood("a", 10 * kMegabyte);
    scan();
    ASSERT_EQ(checker.messages().count(), 1u);
    const std::string subject = checker.messages().at(0).subject.str();
    EXPECT_FALSE(subject.empty());
    EXPECT_EQ(subject.find_first_not_of('a'), std::string::npos);
    EXPECT_EQ(account().status, kStatusCompleted);
    expectConsistent(1);
}

// A NUL is a byte of its line like any other: a reply that starts with one
// is no "+OK".
TEST_F(HostileServerTest, NulBytesInStatusLinesAreKeptInTheirLine) {
    using namespace std::string_literals;
    server.send("+OK\0 ready\r\n"s)
        .expect("user ann\r\n")
        .send("+OK\0\r\n"s)
        .expect("pass pw\r\n")
        .send("\0+OK\r\n"s)
        .expect("stat\r\n");
    scan();
    EXPECT_EQ(account().status, kStatusConnectionFailed) << "the reply to PASS starts with a NUL";
    EXPECT_EQ(errorDetails(), "ERROR: It does not like your password\r\n\0+OK\r\n"s);
    EXPECT_EQ(checker.messages().count(), 0u);
}

TEST_F(HostileServerTest, NulBytesInsideTheListingAndTheTopText) {
    using namespace std::string_literals;
    loggedIn()
        .expect("stat\r\n")
        .send("+OK 1\0 999\r\n"s)
        .withoutCapa()
        .expect("list 1\r\n")
        .send("+OK 1 \0 120\r\n"s)
        .expect("uidl 1\r\n")
        .send("+OK 1 nul\0led\r\n"s)
        .expect("top 1 1024\r\n")
        .send("+OK\r\nSubject: cut\0here\r\n"s)
        .delay(ScriptedServer::kSplitPauseMs)
        .send("\r\n.\r\n")
        .expect("quit\r\n")
        .send("+OK\0\r\n"s);
    scan();
    ASSERT_EQ(checker.messages().count(), 1u);
    const MessageEntry& e = checker.messages().at(0);
    // What is shown stops at a NUL; the reply was read through it.
    EXPECT_EQ(e.uidl.str(), "nul");
    EXPECT_EQ(e.subject.str(), "cut");
    EXPECT_EQ(account().status, kStatusCompleted);
    EXPECT_EQ(account().mailboxSize, 999);
    expectConsistent(1);
}

// Nothing is sized by the announced count: the scan asks message by message
// and ends at the first one the server fails to give.
TEST_F(HostileServerTest, StatOfTwoBillionMessagesEndsWhereTheServerStops) {
    loggedIn()
        .expect("stat\r\n")
        .send("+OK 2000000000 99999999999\r\n")
        .withoutCapa()
        .expect("list 1\r\n")
        .send("+OK 1 120\r\n")
        .expect("uidl 1\r\n")
        .send("+OK 1 big-1\r\n")
        .expect("top 1 1024\r\n")
        .send(topReply("first of many"))
        .expect("list 2\r\n")
        .send("-ERR no such message\r\n");
    scan();
    EXPECT_TRUE(rig.ui.sawProgress(kProgressRequestingData, 2000000000));
    ASSERT_EQ(checker.messages().count(), 1u);
    EXPECT_LT(checker.messages().capacity(), 1000u);
    EXPECT_EQ(checker.messages().at(0).subject.str(), "first of many");
    EXPECT_EQ(account().status, kStatusUpdateNeeded);
    EXPECT_EQ(account().messageCount, 2000000000);
    EXPECT_EQ(account().mailboxSize, -1) << "no size known forces a full read next time";
    EXPECT_EQ(errorDetails(), "LIST returned ERROR\r\n-ERR no such message\r\n");
    expectConsistent(2000000000);
}

// A size of -1, and a listing that names another message than was asked:
// the entry keeps the number it was asked by, so a delete names the right one.
TEST_F(HostileServerTest, ListingsWithANegativeSizeOrAWrongNumber) {
    loggedIn()
        .expect("stat\r\n")
        .send("+OK 2 240\r\n")
        .withoutCapa()
        .expect("list 1\r\n")
        .send("+OK 1 -1\r\n")
        .expect("uidl 1\r\n")
        .send("+OK 1 neg-1\r\n")
        .expect("top 1 1024\r\n")
        .send(topReply("negative"))
        .expect("list 2\r\n")
        .send("+OK 999999 120\r\n")
        .expect("uidl 2\r\n")
        .send("+OK 2 far-2\r\n")
        .expect("top 2 1024\r\n")
        .send(topReply("far away"))
        .expect("quit\r\n")
        .send("+OK\r\n");
    scan();
    ASSERT_EQ(checker.messages().count(), 2u);
    EXPECT_EQ(checker.messages().at(0).messageNumber, 1);
    EXPECT_GE(checker.messages().at(0).size, 0);
    EXPECT_EQ(checker.messages().at(1).messageNumber, 2);
    EXPECT_EQ(account().status, kStatusCompleted);
    expectConsistent(2);
}

// The id arrives over three receives: its line is read whole, the id is
// cut to what an entry keeps, and TOP goes on in step on the same connection.
TEST_F(HostileServerTest, AUidlOfTenThousandCharactersIsCutAndTheScanStaysInStep) {
    loggedIn()
        .expect("stat\r\n")
        .send("+OK 1 120\r\n")
        .withoutCapa()
        .expect("list 1\r\n")
        .send("+OK 1 120\r\n")
        .expect("uidl 1\r\n")
        .send("+OK 1 " + std::string(10000, 'u') + "\r\n")
        .expect("top 1 1024\r\n")
        .send(topReply("long id"))
        .expect("quit\r\n")
        .send("+OK\r\n");
    scan();
    ASSERT_EQ(checker.messages().count(), 1u);
    EXPECT_EQ(checker.messages().at(0).uidl.str(), std::string(kMaxUidlLength, 'u'));
    EXPECT_EQ(checker.messages().at(0).subject.str(), "long id");
    EXPECT_EQ(account().status, kStatusCompleted);
    EXPECT_TRUE(rig.clock.sleeps.empty()) << "no reconnect";
    expectConsistent(1);
}

TEST_F(HostileServerTest, AGreetingOfAMegabyteFailsTheLogin) {
    server.send("+OK ").flood("x", kMegabyte);
    scan();
    EXPECT_EQ(account().status, kStatusConnectionFailed);
    const std::string details = errorDetails();
    EXPECT_TRUE(details.starts_with("ERROR: Not a valid POP3 server response\r\n+OK xxxx"))
        << details.substr(0, 80);
    EXPECT_LE(details.size(), 2u * 1024u);
    EXPECT_EQ(checker.messages().count(), 0u);
}

}  // namespace
}  // namespace qlt::test

#include <string>
#include <utility>
#include <vector>

#include "content/EntryFiller.h"
#include "content/MailboxScan.h"
#include "pop3/Pop3Fixture.h"

namespace qlt::test {
namespace {

using Events = std::vector<std::pair<int, long>>;

const std::string kMessage1 = "From: ann@example.org\r\nSubject: one\r\n\r\nfirst body\r\n";
const std::string kMessage2 = "From: bob@example.org\r\nSubject: two\r\n\r\nsecond body\r\n";
const std::string kMessage3 = "From: cat@example.org\r\nSubject: three\r\n\r\nthird body\r\n";

std::string topReply(const std::string& message) {
    return "+OK\r\n" + message + ".\r\n";
}

class MailboxScanTest : public Pop3Fixture {
  protected:
    void SetUp() override {
        stored.accountNumber = 1;
        stored.accountName = "home";
    }

    // LIST n and UIDL n with their answers.
    ScriptedServer& listAndUidl(int n, std::size_t size, const std::string& uidl) {
        const std::string number = std::to_string(n);
        return server.expect("list " + number + "\r\n")
            .send("+OK " + number + " " + std::to_string(size) + "\r\n")
            .expect("uidl " + number + "\r\n")
            .send("+OK " + number + " " + uidl + "\r\n");
    }

    ScriptedServer& top(int n, const std::string& message) {
        return server.expect("top " + std::to_string(n) + " 1024\r\n").send(topReply(message));
    }

    int scan(bool forceRescan = false) {
        stored.server = "127.0.0.1";
        stored.port = 110;
        stored.userName = "ann";
        stored.password = "s3cret";
        stored.timeout = 2;
        if (!client.Connect(stored)) return -100;
        return ScanMailbox({client, list, dictionary, stored, 1024, forceRescan, ui, clock});
    }

    MessageEntry knownEntry(const std::string& uidl, std::uint8_t accountIndex) const {
        MessageEntry e;
        e.uidl = uidl;
        e.accountIndex = accountIndex;
        return e;
    }

    Events eventsAfterLogin() const { return Events(ui.progressEvents.begin() + 3, ui.progressEvents.end()); }

    AccountRecord stored;
    MessageList list;
    KeywordDictionary dictionary;
};

TEST_F(MailboxScanTest, ListsEveryMessageAndTopsOnlyTheUnknownOnes) {
    list.append(knownEntry("uid-one", 1));
    list.append(knownEntry("uid-two", 2));  // another mailbox's id names another message
    loggedInScript().expect("stat\r\n").send("+OK 3 420\r\n").withoutCapa();
    listAndUidl(1, kMessage1.size(), "uid-one");
    listAndUidl(2, kMessage2.size(), "uid-two");
    top(2, kMessage2);
    listAndUidl(3, 500, "uid-three");
    top(3, kMessage3);
    server.expect("quit\r\n").send("+OK bye\r\n");

    EXPECT_EQ(scan(), 4);
    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(list.count(), 4u);
    const MessageEntry& second = list.at(2);
    EXPECT_EQ(second.uidl.view(), "uid-two");
    EXPECT_EQ(second.messageNumber, 2);
    EXPECT_EQ(second.size, static_cast<std::int32_t>(kMessage2.size()));
    EXPECT_EQ(second.accountIndex, 1);
    EXPECT_EQ(second.subject.view(), "two");
    EXPECT_EQ(second.preview.view(), "second body\r\n") << "the whole message came: no marker";
    EXPECT_TRUE(list.at(3).preview.view().ends_with(kMoreMarker)) << "LIST said 500 octets";
    EXPECT_EQ(eventsAfterLogin(), (Events{{1, 3}, {2, 1}, {2, 2}, {2, 3}, {3, 0}}));
    EXPECT_TRUE(ui.boxes.empty());
}

struct ShortcutCase {
    const char* name;
    void (*change)(AccountRecord&);
    bool forceRescan;
    bool readsThrough;
};

class MailboxScanShortcutTest : public MailboxScanTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(MailboxScanShortcutTest, SkipsOnlyAMailboxThatCannotHaveChanged) {
    stored.messageCount = 1;
    stored.mailboxSize = 77;
    stored.status = kStatusCompleted;
    GetParam().change(stored);
    loggedInScript().expect("stat\r\n").send("+OK 1 77\r\n");
    if (GetParam().readsThrough) {
        server.withoutCapa();
        listAndUidl(1, 77, "uid-one");
        top(1, kMessage1);
        server.expect("quit\r\n").send("+OK\r\n");
    } else {
        server.hang(300);
    }
    const int result = scan(GetParam().forceRescan);
    client.Close();
    EXPECT_EQ(server.finish(), "");
    if (GetParam().readsThrough) {
        EXPECT_EQ(result, 2);
        EXPECT_EQ(list.count(), 1u);
    } else {
        EXPECT_EQ(result, kScanUnchanged);
        EXPECT_TRUE(server.received().ends_with("stat\r\n")) << "nothing after STAT";
        EXPECT_EQ(list.count(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MailboxScanShortcutTest,
    ::testing::Values(
        ShortcutCase{"SameCountSizeAndCompleteScan", [](AccountRecord&) {}, false, false},
        ShortcutCase{"RescanSwitchOn", [](AccountRecord&) {}, true, true},
        ShortcutCase{"UpdateNeeded", [](AccountRecord& a) { a.status = kStatusUpdateNeeded; }, false, true},
        ShortcutCase{"LastScanIncomplete", [](AccountRecord& a) { a.scanIncomplete = 1; }, false, true},
        ShortcutCase{"OtherCount", [](AccountRecord& a) { a.messageCount = 2; }, false, true},
        ShortcutCase{"OtherSize", [](AccountRecord& a) { a.mailboxSize = 78; }, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MailboxScanTest, EmptyMailboxRemovesOnlyThisAccountsEntriesAndCloses) {
    list.append(knownEntry("a", 1));
    list.append(knownEntry("b", 2));
    list.append(knownEntry("c", 1));
    loggedInScript().expect("stat\r\n").send("+OK 0 0\r\n").hang(300);
    EXPECT_EQ(scan(), kScanEmpty);
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).uidl.view(), "b");
}

TEST_F(MailboxScanTest, RefusedStatFailsAndKeepsTheListedMessages) {
    list.append(knownEntry("a", 1));
    loggedInScript().expect("stat\r\n").send("-ERR mailbox locked\r\n").close();
    EXPECT_EQ(scan(), kScanFailed);
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).uidl.view(), "a");
}

// Another program deleted "a" and the server renumbered the rest; the list
// also holds another account's "b" and an entry without an id, which a
// listing leaves alone.
class RenumberingScanTest : public MailboxScanTest {
  protected:
    void SetUp() override {
        MailboxScanTest::SetUp();
        const std::pair<const char*, std::uint8_t> seeded[] = {
            {"a", 1}, {"b", 1}, {"c", 1}, {"b", 2}, {"", 1}};
        for (const auto& [uidl, account] : seeded) list.append(knownEntry(uidl, account));
        for (std::size_t i = 0; i < list.count(); ++i) list.at(i).messageNumber = static_cast<int>(i) + 7;
        loggedInScript().expect("stat\r\n").send("+OK 2 240\r\n").withoutCapa();
        listAndUidl(1, 120, "b");
    }

    std::vector<std::pair<std::string, int>> left() const {
        std::vector<std::pair<std::string, int>> out;
        for (std::size_t i = 0; i < list.count(); ++i)
            out.emplace_back(list.at(i).uidl.str(), list.at(i).messageNumber);
        return out;
    }
};

TEST_F(RenumberingScanTest, AWholeListingRenumbersKnownEntriesAndDropsTheGone) {
    listAndUidl(2, 120, "c").expect("quit\r\n").send("+OK\r\n");
    EXPECT_EQ(scan(), 3);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(left(), (std::vector<std::pair<std::string, int>>{{"b", 1}, {"c", 2}, {"b", 10}, {"", 11}}));
}

TEST_F(RenumberingScanTest, AListingCutShortRenumbersWhatItSawAndDropsNothing) {
    server.expect("list 2\r\n").send("-ERR gone\r\n").close();
    EXPECT_EQ(scan(), kScanFailed);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(left(),
              (std::vector<std::pair<std::string, int>>{{"a", 7}, {"b", 1}, {"c", 9}, {"b", 10}, {"", 11}}));
}

// Each failed TOP: the server refuses and hangs up, the client reconnects.
void failedTopThenReconnect(ScriptedServer& server) {
    server.expect("top 1 1024\r\n").send("-ERR busy\r\n").close().acceptNext().greetAndLogin("ann", "s3cret");
}

TEST_F(MailboxScanTest, FourFailedTopsReconnectEachTimeThenGiveUp) {
    loggedInScript().expect("stat\r\n").send("+OK 2 200\r\n").withoutCapa();
    listAndUidl(1, 100, "uid-one");
    for (int i = 0; i < 4; ++i) failedTopThenReconnect(server);
    server.hang(300);

    EXPECT_EQ(scan(), kScanFailed);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(clock.sleeps, (std::vector<unsigned>{1000, 1000, 1000, 1000}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Connection Timed-Out. Retry Later.");
    EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_FALSE(server.received().ends_with("quit\r\n"));
    EXPECT_EQ(list.count(), 0u);
}

TEST_F(MailboxScanTest, TopThatSucceedsOnARetryGoesOnWithoutRepeatingStat) {
    loggedInScript().expect("stat\r\n").send("+OK 1 100\r\n").withoutCapa();
    listAndUidl(1, kMessage1.size(), "uid-one");
    failedTopThenReconnect(server);
    failedTopThenReconnect(server);
    top(1, kMessage1).expect("quit\r\n").send("+OK\r\n");

    EXPECT_EQ(scan(), 2);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(clock.sleeps.size(), 2u);
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).subject.view(), "one");
}

TEST_F(MailboxScanTest, StopDuringATopAppendsThatMessageAndClosesWithoutQuit) {
    loggedInScript().expect("stat\r\n").send("+OK 3 300\r\n").withoutCapa();
    listAndUidl(1, kMessage1.size(), "uid-one");
    top(1, kMessage1);
    listAndUidl(2, kMessage2.size(), "uid-two");
    const std::string reply = topReply(kMessage2);
    server.expect("top 2 1024\r\n").sendSplit(reply, {reply.size() / 2}).hang(300);
    ui.onPumpMessages = [] { abortRequested = 1; };

    EXPECT_EQ(scan(), kScanStopped);
    EXPECT_EQ(server.finish(), "");
    EXPECT_TRUE(server.received().ends_with("top 2 1024\r\n")) << "no QUIT, nothing after the stop";
    EXPECT_FALSE(client.m_socket.IsOpen());
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.at(1).subject.view(), "two");
    EXPECT_EQ(eventsAfterLogin(), (Events{{1, 3}, {2, 1}, {6, 2}}));
}

TEST_F(MailboxScanTest, AbortLeftFromAnEarlierStopIsClearedOnEntry) {
    abortRequested = 1;
    loggedInScript().expect("stat\r\n").send("+OK 1 10\r\n").withoutCapa();
    listAndUidl(1, kMessage1.size(), "uid-one");
    top(1, kMessage1).expect("quit\r\n").send("+OK\r\n");
    EXPECT_EQ(scan(), 2);
    EXPECT_EQ(server.finish(), "");
}

struct GoneCase {
    const char* name;
    void (*script)(ScriptedServer&);
    std::size_t entriesKept;
};

class MailboxScanServerGoneTest : public MailboxScanTest, public ::testing::WithParamInterface<GoneCase> {};

TEST_P(MailboxScanServerGoneTest, EndsFailedKeepingWhatWasRead) {
    loggedInScript().expect("stat\r\n").send("+OK 3 300\r\n").withoutCapa();
    listAndUidl(1, kMessage1.size(), "uid-one");
    top(1, kMessage1);
    GetParam().script(server);
    EXPECT_EQ(scan(), kScanFailed);
    EXPECT_EQ(server.finish(), "");
    EXPECT_FALSE(client.m_socket.IsOpen());
    EXPECT_EQ(list.count(), GetParam().entriesKept);
    EXPECT_EQ(list.at(0).subject.view(), "one");
}

INSTANTIATE_TEST_SUITE_P(
    Moments, MailboxScanServerGoneTest,
    ::testing::Values(GoneCase{"BeforeList", [](ScriptedServer& s) { s.expect("list 2\r\n").close(); }, 1},
                      GoneCase{"BeforeUidl",
                               [](ScriptedServer& s) {
                                   s.expect("list 2\r\n").send("+OK 2 99\r\n").expect("uidl 2\r\n").close();
                               },
                               1},
                      // A TOP cut short still gives an entry; the next LIST finds the server gone.
                      GoneCase{"InsideTop",
                               [](ScriptedServer& s) {
                                   s.expect("list 2\r\n")
                                       .send("+OK 2 99\r\n")
                                       .expect("uidl 2\r\n")
                                       .send("+OK 2 uid-two\r\n")
                                       .expect("top 2 1024\r\n")
                                       .send("+OK\r\nSubject: cut")
                                       .delay(100)
                                       .close();
                               },
                               2}),
    [](const auto& info) { return std::string(info.param.name); });

// The dialogue with a server that announces PIPELINING: the LIST and UIDL
// of a window of messages go out together, then the TOPs of its new ones.
class PipelinedScanTest : public MailboxScanTest {
  protected:
    // LIST n and UIDL n for first..last, and their replies, each as one text.
    static std::string listingCommands(int first, int last) {
        std::string text;
        for (int i = first; i <= last; ++i)
            text += "list " + std::to_string(i) + "\r\nuidl " + std::to_string(i) + "\r\n";
        return text;
    }
    static std::string listingReplies(int first, int last, const std::vector<std::string>& uidls) {
        std::string text;
        for (int i = first; i <= last; ++i)
            text += "+OK " + std::to_string(i) + " 60\r\n+OK " + std::to_string(i) + " " +
                    uidls[static_cast<std::size_t>(i - first)] + "\r\n";
        return text;
    }
    ScriptedServer& pipeliningLogin(int count) {
        return loggedInScript()
            .expect("stat\r\n")
            .send("+OK " + std::to_string(count) + " 900\r\n")
            .capa("TOP\r\nUIDL\r\nPIPELINING\r\n");
    }
};

TEST_F(PipelinedScanTest, SendsAWindowsCommandsTogetherAndReadsTheRepliesInOrder) {
    list.append(knownEntry("uid-two", 1));
    pipeliningLogin(3)
        .expect(listingCommands(1, 3))
        .send(listingReplies(1, 3, {"uid-one", "uid-two", "uid-three"}))
        .expect("top 1 1024\r\ntop 3 1024\r\n")
        // Both replies in one piece: the second must not be lost with the first.
        .send(topReply(kMessage1) + topReply(kMessage3))
        .expect("quit\r\n")
        .send("+OK bye\r\n");

    EXPECT_EQ(scan(), 4);
    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.at(1).subject.view(), "one");
    EXPECT_EQ(list.at(1).messageNumber, 1);
    EXPECT_EQ(list.at(1).uidl.view(), "uid-one");
    EXPECT_EQ(list.at(2).subject.view(), "three");
    EXPECT_EQ(list.at(2).messageNumber, 3);
    EXPECT_EQ(list.at(2).uidl.view(), "uid-three");
    EXPECT_EQ(eventsAfterLogin(), (Events{{1, 3}, {2, 1}, {2, 2}, {2, 3}, {3, 0}}));
}

TEST_F(PipelinedScanTest, ThirtyTwoMessagesGoOutAtOnceTheThirtyThirdAfterTheirReplies) {
    std::vector<std::string> uidls;
    for (int i = 1; i <= 33; ++i) {
        uidls.push_back("uid-" + std::to_string(i));
        list.append(knownEntry(uidls.back(), 1));
    }
    pipeliningLogin(33)
        .expect(listingCommands(1, 32))
        .send(listingReplies(1, 32, uidls))
        .expect(listingCommands(33, 33))
        .send(listingReplies(33, 33, {uidls.back()}))
        .expect("quit\r\n")
        .send("+OK bye\r\n");

    EXPECT_EQ(scan(), 34);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.received().find("top"), std::string::npos) << "every message is known";
    EXPECT_EQ(list.count(), 33u);
}

TEST_F(PipelinedScanTest, AnIdTwiceInOneWindowIsReadOnce) {
    pipeliningLogin(2)
        .expect(listingCommands(1, 2))
        .send(listingReplies(1, 2, {"same-id", "same-id"}))
        .expect("top 1 1024\r\n")
        .send(topReply(kMessage1))
        .expect("quit\r\n")
        .send("+OK bye\r\n");

    EXPECT_EQ(scan(), 3);
    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).subject.view(), "one");
}

// The queued TOPs die with the connection; after the reconnect each message
// asks for its own, one at a time.
TEST_F(PipelinedScanTest, AFailedTopReconnectsAndTheRestOfTheWindowIsAskedForAgain) {
    pipeliningLogin(2)
        .expect(listingCommands(1, 2))
        .send(listingReplies(1, 2, {"uid-one", "uid-two"}))
        .expect("top 1 1024\r\ntop 2 1024\r\n")
        .send("-ERR busy\r\n")
        .close()
        .acceptNext()
        .greetAndLogin("ann", "s3cret");
    top(1, kMessage1);
    top(2, kMessage2).expect("quit\r\n").send("+OK\r\n");

    EXPECT_EQ(scan(), 3);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(clock.sleeps, std::vector<unsigned>{kReconnectPauseMs});
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.at(0).subject.view(), "one");
    EXPECT_EQ(list.at(1).subject.view(), "two");
}

TEST_F(PipelinedScanTest, StopDuringTheFirstTopLeavesTheOthersUnread) {
    const std::string reply = topReply(kMessage1);
    pipeliningLogin(3)
        .expect(listingCommands(1, 3))
        .send(listingReplies(1, 3, {"uid-one", "uid-two", "uid-three"}))
        .expect("top 1 1024\r\ntop 2 1024\r\ntop 3 1024\r\n")
        .sendSplit(reply, {reply.size() / 2})
        .hang(300);
    ui.onPumpMessages = [] { abortRequested = 1; };

    EXPECT_EQ(scan(), kScanStopped);
    EXPECT_EQ(server.finish(), "");
    EXPECT_TRUE(server.received().ends_with("top 3 1024\r\n")) << "no QUIT after the stop";
    EXPECT_FALSE(client.m_socket.IsOpen());
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.at(0).subject.view(), "one");
}

}  // namespace
}  // namespace qlt::test

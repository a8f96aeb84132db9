#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/MailboxScan.h"
#include "pop3/HostileFixture.h"
#include "support/CheckerEntries.h"

// A server that resets the connection (SO_LINGER 0) at each step of each
// command: before its reply, or halfway through it.
namespace qlt::test {
namespace {

struct Exchange {
    std::string command;  // "" for the greeting
    std::string reply;
};

struct ResetRow {
    const char* name;
    std::size_t stage;         // the exchange whose reply is cut
    bool halfway;              // half of the reply goes out first
    std::string lastBoxTitle;  // "" for no box
    std::size_t entries;
    std::uint8_t status;
    std::int32_t messageCount;
};

const std::vector<Exchange> kLogin = {
    {"", "+OK ready\r\n"}, {"user ann\r\n", "+OK\r\n"}, {"pass pw\r\n", "+OK\r\n"}};

std::vector<Exchange> withLogin(std::vector<Exchange> rest) {
    std::vector<Exchange> all = kLogin;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

class HostileResetTest : public HostileFixture {
  protected:
    // Plays the dialogue up to the row's stage and resets there; a reset
    // inside TOP is met by resets on each new connection the scan tries.
    void script(const std::vector<Exchange>& dialogue, const ResetRow& row, bool retriesTop) {
        for (std::size_t i = 0; i < row.stage; ++i) {
            if (!dialogue[i].command.empty()) server.expect(dialogue[i].command);
            server.send(dialogue[i].reply);
        }
        const Exchange& cut = dialogue[row.stage];
        if (!cut.command.empty()) server.expect(cut.command);
        if (row.halfway)
            server.send(cut.reply.substr(0, cut.reply.size() / 2)).delay(ScriptedServer::kSplitPauseMs);
        server.reset();
        if (!retriesTop) return;
        for (int retry = 0; retry < kTopTries; ++retry) server.acceptNext().reset();
    }

    // `worked` is the account as the command left it: the store's record, or
    // for delete the current account's working copy.
    void expectOutcome(const ResetRow& row, const AccountRecord& worked) {
        const auto titles = rig.ui.titles();
        if (row.lastBoxTitle.empty()) {
            EXPECT_TRUE(titles.empty()) << titles.front();
        } else {
            ASSERT_FALSE(titles.empty());
            EXPECT_EQ(titles.back(), row.lastBoxTitle);
        }
        EXPECT_EQ(checker.messages().count(), row.entries);
        EXPECT_EQ(worked.status, row.status);
        EXPECT_EQ(worked.messageCount, row.messageCount);
    }

    // Account 1 as a scan left it, with its three messages listed and shown.
    void seedThree() {
        seedScannedAccount(checker, 1, 3);
        checker.accounts().MakeAccountCurrent(1);
        checker.fillMessageView();
    }
};

class ScanReset : public HostileResetTest, public ::testing::WithParamInterface<ResetRow> {};

const std::vector<Exchange> kScanDialogue = withLogin({
    {"stat\r\n", "+OK 2 240\r\n"},
    {"capa\r\n", "-ERR unknown command\r\n"},
    {"list 1\r\n", "+OK 1 120\r\n"},
    {"uidl 1\r\n", "+OK 1 r-1\r\n"},
    {"top 1 1024\r\n", topReply("first")},
    {"list 2\r\n", "+OK 2 120\r\n"},
    {"uidl 2\r\n", "+OK 2 r-2\r\n"},
    {"top 2 1024\r\n", topReply("second")},
    {"quit\r\n", "+OK\r\n"},
});

TEST_P(ScanReset, EndsWithTheStatusItsStageCallsFor) {
    const ResetRow& row = GetParam();
    const std::string& command = kScanDialogue[row.stage].command;
    script(kScanDialogue, row, command.starts_with("top"));
    scan();
    expectOutcome(row, account());
    expectConsistent(2);
    for (std::size_t i = 0; i < checker.messages().count(); ++i) {
        EXPECT_EQ(checker.messages().at(i).subject.str(), i == 0 ? "first" : "second");
    }
}

// A failed STAT ends the scan as failed: nothing is known of the mailbox.
INSTANTIATE_TEST_SUITE_P(
    Stages, ScanReset,
    ::testing::Values(ResetRow{"Greeting", 0, false, "", 0, kStatusConnectionFailed, 0},
                      ResetRow{"GreetingHalfway", 0, true, "", 0, kStatusConnectionFailed, 0},
                      ResetRow{"User", 1, false, "", 0, kStatusConnectionFailed, 0},
                      ResetRow{"Pass", 2, false, "", 0, kStatusConnectionFailed, 0},
                      ResetRow{"Stat", 3, false, "", 0, kStatusUpdateNeeded, 0},
                      ResetRow{"Capa", 4, false, "", 0, kStatusUpdateNeeded, 2},
                      ResetRow{"FirstList", 5, false, "", 0, kStatusUpdateNeeded, 2},
                      ResetRow{"FirstUidl", 6, false, "", 0, kStatusUpdateNeeded, 2},
                      ResetRow{"FirstTop", 7, false, "Quillgate", 0, kStatusUpdateNeeded, 2},
                      ResetRow{"FirstTopHalfway", 7, true, "Quillgate", 0, kStatusUpdateNeeded, 2},
                      ResetRow{"SecondList", 8, false, "", 1, kStatusUpdateNeeded, 2},
                      ResetRow{"SecondUidl", 9, false, "", 1, kStatusUpdateNeeded, 2},
                      ResetRow{"SecondTopHalfway", 10, true, "Quillgate", 1, kStatusUpdateNeeded, 2},
                      ResetRow{"Quit", 11, false, "", 2, kStatusCompleted, 2}),
    [](const auto& info) { return std::string(info.param.name); });

class DeleteReset : public HostileResetTest, public ::testing::WithParamInterface<ResetRow> {};

// Rows 1 and 3 of three are tagged; their ids are checked, then DELE goes
// from the bottom.
const std::vector<Exchange> kDeleteDialogue = withLogin({
    {"capa\r\n", "-ERR unknown command\r\n"},
    {"uidl 3\r\n", "+OK 3 uid-1-3\r\n"},
    {"uidl 1\r\n", "+OK 1 uid-1-1\r\n"},
    {"dele 3\r\n", "+OK\r\n"},
    {"dele 1\r\n", "+OK\r\n"},
    {"quit\r\n", "+OK\r\n"},
});

TEST_P(DeleteReset, KeepsTheListAndTheCountInStep) {
    const ResetRow& row = GetParam();
    seedThree();
    checker.settings().rescanDel = 0;
    ASSERT_TRUE(checker.toggleRowState(0));
    ASSERT_TRUE(checker.toggleRowState(2));
    script(kDeleteDialogue, row, false);
    run([this] { checker.deleteTagged(); });
    const AccountRecord& worked = checker.accounts().currentAccount;
    expectOutcome(row, worked);
    // The entries left are numbered from 1 on, as many as the account counts.
    expectConsistent(worked.messageCount);
    EXPECT_EQ(checker.messages().count(), static_cast<std::size_t>(worked.messageCount));
    for (std::size_t i = 0; i < checker.messages().count(); ++i)
        EXPECT_EQ(checker.messages().at(i).messageNumber, static_cast<std::int32_t>(i + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Stages, DeleteReset,
    ::testing::Values(ResetRow{"Greeting", 0, false, "QLT Server Access Problem", 3, kStatusCompleted, 3},
                      ResetRow{"User", 1, false, "QLT Server Access Problem", 3, kStatusCompleted, 3},
                      ResetRow{"Pass", 2, false, "QLT Server Access Problem", 3, kStatusCompleted, 3},
                      ResetRow{"Capa", 3, false, "QLT Nothing to Delete", 3, kStatusCompleted, 3},
                      ResetRow{"FirstUidl", 4, false, "QLT Nothing to Delete", 3, kStatusCompleted, 3},
                      ResetRow{"SecondUidlHalfway", 5, true, "QLT Nothing to Delete", 3, kStatusCompleted, 3},
                      ResetRow{"FirstDele", 6, false, "QLT Nothing to Delete", 3, kStatusCompleted, 3},
                      // Until QUIT is confirmed the server may have deleted
                      // nothing: the entries stay as they were, and the
                      // next scan reads the mailbox through.
                      ResetRow{"SecondDele", 7, false, "QLT Delete Not Confirmed", 3, kStatusUpdateNeeded, 3},
                      ResetRow{"Quit", 8, false, "QLT Delete Not Confirmed", 3, kStatusUpdateNeeded, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// Analyse and dump read message 2 of three whole with LIST and RETR.
const std::vector<Exchange> kRetrieveDialogue = withLogin({
    {"list 2\r\n", "+OK 2 60\r\n"},
    {"retr 2\r\n", "+OK\r\nFrom: ann@example.org\r\nSubject: whole\r\n\r\nthe whole body\r\n.\r\n"},
    {"rset\r\n", "+OK\r\n"},
    {"quit\r\n", "+OK\r\n"},
});

class RetrieveReset : public HostileResetTest, public ::testing::WithParamInterface<ResetRow> {
  protected:
    void SetUp() override {
        HostileResetTest::SetUp();
        seedThree();
        checker.selectRow(1);
        script(kRetrieveDialogue, GetParam(), false);
    }
    void expectListUntouched() {
        ASSERT_EQ(checker.messages().count(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(checker.messages().at(i).messageNumber, static_cast<std::int32_t>(i + 1));
            EXPECT_EQ(checker.messages().at(i).uidl.str(), "uid-1-" + std::to_string(i + 1));
        }
        EXPECT_EQ(account().messageCount, 3);
        EXPECT_EQ(account().status, kStatusCompleted);
    }
};

TEST_P(RetrieveReset, AnalyseTellsTheFailureAndKeepsTheEntries) {
    run([this] { checker.analyzeSelected(); });
    expectOutcome(GetParam(), account());
    expectListUntouched();
    // A failure not told in a box is there to click for.
    if (GetParam().lastBoxTitle.empty()) {
        EXPECT_TRUE(rig.ui.sawProgress(kProgressConnectionError));
        EXPECT_FALSE(errorDetails().empty());
    }
}

TEST_P(RetrieveReset, DumpTellsTheFailureAndKeepsTheEntries) {
    const std::string path = rig.folder.file("dumped.tmp");
    rig.ui.queueFile(path);
    run([this] { checker.dumpSelected(); });
    const ResetRow& row = GetParam();
    const bool saved = row.lastBoxTitle == "QLT Analyze Complete";
    EXPECT_EQ(rig.ui.titles().empty(), row.lastBoxTitle.empty() || saved);
    if (saved) {
        EXPECT_NE(readWholeFile(path).find("the whole body"), std::string::npos);
    }
    if (row.lastBoxTitle.empty()) {
        EXPECT_TRUE(rig.ui.sawProgress(kProgressConnectionError));
    }
    expectListUntouched();
}

// The title is analyse's; dump tells the same failures without its own box.
INSTANTIATE_TEST_SUITE_P(
    Stages, RetrieveReset,
    ::testing::Values(ResetRow{"Greeting", 0, false, "QLT Server Access Problem", 3, kStatusCompleted, 3},
                      ResetRow{"Pass", 2, false, "QLT Server Access Problem", 3, kStatusCompleted, 3},
                      ResetRow{"List", 3, false, "Quillgate", 3, kStatusCompleted, 3},
                      ResetRow{"Retr", 4, false, "", 3, kStatusCompleted, 3},
                      ResetRow{"RetrHalfway", 4, true, "", 3, kStatusCompleted, 3},
                      ResetRow{"Rset", 5, false, "", 3, kStatusCompleted, 3},
                      ResetRow{"Quit", 6, false, "QLT Analyze Complete", 3, kStatusCompleted, 3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qlt::test

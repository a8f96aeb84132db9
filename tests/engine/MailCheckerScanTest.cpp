#include <gtest/gtest.h>

#include <algorithm>

#include "base/ProcessState.h"
#include "core/TrayStatus.h"
#include "support/CheckerEntries.h"
#include "support/CheckerRig.h"
#include "support/FakePop3Server.h"

namespace qlt::test {
namespace {

constexpr const char* kTop = "+OK\r\nFrom: ann@example.org\r\nSubject: Hello\r\n\r\nbody line\r\n.\r\n";

class MailCheckerScanTest : public ::testing::Test {
  protected:
    void TearDown() override { resetProcessState(); }

    std::size_t count(int code) const {
        return static_cast<std::size_t>(std::ranges::count_if(
            rig.ui.progressEvents, [code](const auto& event) { return event.first == code; }));
    }

    CheckerRig rig;
    MailChecker& checker = rig.checker;
};

TEST_F(MailCheckerScanTest, NoAccountAsksForOneAndChangesNothing) {
    checker.onScanButton();
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "Quillgate");
    EXPECT_EQ(rig.ui.boxes[0].text,
              "Please enter your Mail Account data first.\n\nTo create your mail account record - click\n"
              "ACCOUNT tab, and ADD button. Then input\nall required mail account details.\n");
    EXPECT_TRUE(rig.timerCalls.empty());
    EXPECT_FALSE(checker.scanBusy());
    EXPECT_EQ(rig.ui.captions, std::vector<std::string>{"Connecting"});
}

TEST_F(MailCheckerScanTest, TypedPasswordLogsInButIsNeverStored) {
    FakePop3Server server;
    server.greetAndLogin("ann", "typed-pw").expect("stat\r\n").send("+OK 0 0\r\n");
    server.start();
    checker.accounts().MakeAccountCurrent(rig.addAccount(server.port(), "ann", ""));
    rig.ui.queuePassword(Credentials{"ann", "typed-pw"});

    checker.onScanButton();

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(rig.ui.passwordRequests, std::vector<std::string>{"ann"});
    const AccountRecord stored = *checker.GetAccount(1);
    EXPECT_TRUE(stored.password.empty());
    EXPECT_EQ(stored.status, kStatusNoMessages);
    EXPECT_TRUE(rig.ui.sawProgress(kProgressNoMessages));
    // The scan's frame: timer stopped without reset, scanning icon, then
    // the icon of no data, tip, message view, store saved.
    EXPECT_EQ(rig.timerCalls, std::vector<std::string>{"stop"});
    ASSERT_EQ(rig.ui.trayIcons.size(), 2u);
    EXPECT_EQ(rig.ui.trayIcons.front(), kTrayIconScanning);
    EXPECT_EQ(rig.ui.trayIcons.back(), kTrayIconProgram);
    EXPECT_EQ(rig.ui.trayTips.back(), TrayTipText(checker.accounts()));
    EXPECT_EQ(rig.ui.messageViewShown, 1);
    EXPECT_TRUE(rig.profile.contains("Accounts"));
    EXPECT_EQ(rig.ui.waitDepth, 0);
    const std::vector<std::string> frame = {"Scan face Pressed", "Scan text STOP", "Close enabled 0"};
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), rig.ui.buttonLog.begin()));
    EXPECT_EQ(rig.ui.buttonLog.back(), "Scan face Normal");
    EXPECT_FALSE(checker.scanBusy());
}

TEST_F(MailCheckerScanTest, TypedPasswordServesOneScanAndACancelLogsInWithWhatIsStored) {
    FakePop3Server server;
    server.greetAndLogin("ann", "typed-pw").expect("stat\r\n").send("+OK 0 0\r\n");
    server.acceptNext().send("+OK ready\r\n").expect("user ann\r\n").send("+OK\r\n");
    server.expect("pass \r\n").send("-ERR [AUTH] Authentication failed.\r\n");
    server.start();
    checker.accounts().MakeAccountCurrent(rig.addAccount(server.port(), "ann", ""));
    rig.ui.queuePassword(Credentials{"ann", "typed-pw"});
    rig.ui.queuePassword(std::nullopt);

    checker.onScanButton();
    checker.onScanButton();

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(rig.ui.passwordRequests, (std::vector<std::string>{"ann", "ann"}));
    EXPECT_EQ(checker.GetAccount(1)->status, kStatusConnectionFailed);
}

TEST_F(MailCheckerScanTest, ScanAllVisitsTheFlaggedAccountsInOrderOnceAndKeepsTheServersWords) {
    FakePop3Server first;
    first.greetAndLogin("ann", "pw")
        .expect("stat\r\n")
        .send("+OK 1 120\r\n")
        .withoutCapa()
        .expect("list 1\r\n")
        .send("+OK 1 120\r\n")
        .expect("uidl 1\r\n")
        .send("+OK 1 uid-ann-1\r\n")
        .expect("top 1 1024\r\n")
        .send(kTop)
        .expect("quit\r\n")
        .send("+OK\r\n");
    FakePop3Server third;
    third.send("+OK ready\r\n")
        .expect("user cid\r\n")
        .send("+OK\r\n")
        .expect("pass wrong\r\n")
        .send("-ERR [AUTH] Authentication failed.\r\n");
    first.start();
    third.start();
    const int ann = rig.addAccount(first.port(), "ann", "pw", 1);  // current and included: visited once
    rig.addAccount(FakePop3Server::unusedPort(), "bob", "pw", 0);  // not included
    rig.addAccount(third.port(), "cid", "wrong", 1);
    checker.accounts().MakeAccountCurrent(ann);
    checker.toggleScanAll();
    ASSERT_TRUE(checker.scanAll());
    EXPECT_TRUE(checker.showAll());

    ASSERT_TRUE(checker.startScan(ScanStart::Menu));

    EXPECT_EQ(first.finish(), "");
    EXPECT_EQ(third.finish(), "");
    EXPECT_EQ(checker.GetAccount(1)->status, kStatusCompleted);
    EXPECT_EQ(checker.GetAccount(2)->status, kStatusUpdateNeeded) << "not flagged, not visited";
    EXPECT_EQ(checker.GetAccount(3)->status, kStatusConnectionFailed);
    EXPECT_EQ(count(kProgressAccessingServer), 2u);
    // Store order: the first account's reading ended before the third one's
    // failure was reported.
    const auto end = std::ranges::find(rig.ui.progressEvents, std::pair<int, long>{kProgressScanEnd, 0});
    const auto failed =
        std::ranges::find(rig.ui.progressEvents, std::pair<int, long>{kProgressConnectionError, 0});
    EXPECT_LT(end, failed);
    ASSERT_NE(failed, rig.ui.progressEvents.end());
    EXPECT_TRUE(checker.newMailFound());
    // The first account is current again, with its row selected.
    EXPECT_EQ(checker.accounts().currentAccountNumber, ann);
    EXPECT_EQ(checker.messages().count(), 1u);
    EXPECT_EQ(checker.view().rowCount(), 1u);

    checker.showErrorDetails();
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "QLT Error Details");
    EXPECT_NE(rig.ui.boxes[0].text.find("-ERR [AUTH] Authentication failed."), std::string::npos)
        << rig.ui.boxes[0].text;
    EXPECT_EQ(rig.ui.progressEvents.back(), (std::pair<int, long>{kProgressClear, 0}));
    checker.showErrorDetails();
    EXPECT_EQ(rig.ui.boxes.size(), 1u) << "the details are shown once";
}

TEST_F(MailCheckerScanTest, MenuStartRestartsTheTimerWhenRecurring) {
    FakePop3Server server;
    server.greetAndLogin("ann", "pw").expect("stat\r\n").send("+OK 0 0\r\n");
    server.start();
    checker.accounts().MakeAccountCurrent(rig.addAccount(server.port(), "ann", "pw"));
    checker.settings().rescanRecurring = 1;
    ASSERT_TRUE(checker.startScan(ScanStart::Menu));
    EXPECT_EQ(server.finish(), "");
    // runScan: stop at start, restart at the end; the menu start restarts again.
    EXPECT_EQ(rig.timerCalls, (std::vector<std::string>{"stop", "stop", "start", "stop", "start"}));
    EXPECT_TRUE(rig.ui.captions.empty()) << "only the SCAN button says Connecting";
}

TEST_F(MailCheckerScanTest, StopMidTopEndsIncompleteAndTheNextScanReadsThrough) {
    FakePop3Server server;
    // A login and STAT of the two-message mailbox, LIST and UIDL of message 1.
    const auto sessionStart = [&server] {
        server.greetAndLogin("ann", "pw")
            .expect("stat\r\n")
            .send("+OK 2 300\r\n")
            .withoutCapa()
            .expect("list 1\r\n")
            .send("+OK 1 100\r\n")
            .expect("uidl 1\r\n")
            .send("+OK 1 uid-one\r\n");
    };
    sessionStart();
    // The stopped scan leaves without QUIT; the next one comes.
    server.expect("top 1 1024\r\n").sendSplit(kTop, {20}).acceptNext();
    sessionStart();
    server.expect("list 2\r\n")
        .send("+OK 2 200\r\n")
        .expect("uidl 2\r\n")
        .send("+OK 2 uid-two\r\n")
        .expect("top 2 1024\r\n")
        .send(kTop)
        .expect("quit\r\n")
        .send("+OK\r\n");
    server.start();
    checker.accounts().MakeAccountCurrent(rig.addAccount(server.port(), "ann", "pw"));
    int pumps = 0;
    rig.ui.onPumpMessages = [&] {
        if (++pumps > 1) return;
        // What the window lets through while the TOP reads: the message
        // commands are refused, STOP gets through.
        checker.deleteTagged();
        checker.receiveMail();
        checker.dumpSelected();
        checker.analyzeSelected();
        checker.onScanButton();
        EXPECT_FALSE(checker.scanBusy());
        // A second click after the pause asks again instead of starting a
        // scan inside the running one.
        checker.onScanButton();
    };

    checker.onScanButton();

    ASSERT_EQ(rig.ui.boxes.size(), 4u);
    for (const auto& box : rig.ui.boxes) EXPECT_EQ(box.title, "QLT Scan In Progress");
    EXPECT_TRUE(rig.ui.sawProgress(kProgressAborting, 1));
    EXPECT_TRUE(rig.ui.sawProgress(kProgressNoNewMessages));
    EXPECT_EQ(count(kProgressAccessingServer), 1u);
    EXPECT_EQ(rig.clock.sleeps, (std::vector<unsigned>{3000, 3000}));
    const AccountRecord stopped = *checker.GetAccount(1);
    EXPECT_EQ(stopped.status, kStatusScanIncomplete);
    EXPECT_EQ(stopped.scanIncomplete, 1);
    EXPECT_EQ(stopped.messageCount, 2);
    EXPECT_EQ(checker.messages().count(), 1u);
    EXPECT_FALSE(checker.scanBusy());
    EXPECT_FALSE(checker.scanRunning());
    const std::vector<std::string> stopFrame = {"Scan text SCAN", "Close enabled 1", "Scan enabled 0",
                                                "Scan enabled 1", "Scan face Normal"};
    EXPECT_NE(
        std::search(rig.ui.buttonLog.begin(), rig.ui.buttonLog.end(), stopFrame.begin(), stopFrame.end()),
        rig.ui.buttonLog.end());

    // Same counts on the server, but the stop forces a full read.
    checker.onScanButton();
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(checker.GetAccount(1)->status, kStatusCompleted);
    EXPECT_EQ(checker.messages().count(), 2u);
    EXPECT_EQ(checker.view().rowCount(), 2u);
    EXPECT_EQ(checker.currentRow(), 1) << "the second row after a complete scan";
}

TEST_F(MailCheckerScanTest, ScanAllAndShowAllToggleAndRescanFlips) {
    checker.toggleRescan();
    EXPECT_TRUE(checker.forceRescan());
    checker.toggleShowAll();
    EXPECT_TRUE(checker.showAll());
    EXPECT_FALSE(checker.scanAll());
    checker.toggleScanAll();
    EXPECT_TRUE(checker.scanAll());
    EXPECT_TRUE(checker.showAll());
    checker.toggleScanAll();
    EXPECT_FALSE(checker.showAll()) << "Scan All carries Show All with it";
    EXPECT_TRUE(std::ranges::count(rig.ui.refreshes, ViewPart::Toggles) == 4);
}

TEST_F(MailCheckerScanTest, RefillDropsHandTagsAndListedSendersFollowTheirLists) {
    checker.accounts().MakeAccountCurrent(rig.addAccount(FakePop3Server::unusedPort(), "ann", "pw"));
    seedScannedAccount(checker, 1, 3);
    checker.accounts().CopyToCurrent(1);
    checker.messages().at(0).level = {3, 3, 3, 3, 3};  // red, but its sender becomes a friend
    checker.messages().at(1).level = {0, 1, 0, 0, 0};
    checker.settings().delTag = 2;
    checker.fillMessageView();

    checker.selectRow(0);
    checker.listSelectedSender(kSenderFriend);
    checker.selectRow(2);
    checker.listSelectedSender(kSenderFoe);
    ASSERT_EQ(checker.view().rowCount(), 3u);
    EXPECT_EQ(checker.view().state(0), RowState::Deliver) << "a friend is never tagged by risk";
    EXPECT_EQ(checker.view().state(1), RowState::Deliver);
    EXPECT_EQ(checker.view().state(2), RowState::Delete) << "a foe is always tagged";

    checker.tagAll();
    EXPECT_EQ(checker.view().taggedCount(), 3u);
    checker.toggleRowState(2);
    EXPECT_EQ(checker.view().state(2), RowState::Deliver);
    checker.toggleShowAll();
    EXPECT_EQ(checker.view().state(0), RowState::Deliver);
    EXPECT_EQ(checker.view().state(1), RowState::Deliver);
    EXPECT_EQ(checker.view().state(2), RowState::Delete) << "the rule again, hand tags gone";

    checker.selectRow(2);
    checker.unlistSelectedSender();
    EXPECT_EQ(checker.view().state(2), RowState::Deliver);
}

}  // namespace
}  // namespace qlt::test

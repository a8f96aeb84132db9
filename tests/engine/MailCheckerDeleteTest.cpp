#include <gtest/gtest.h>

#include "risk/AutoTag.h"
#include "support/CheckerEntries.h"
#include "support/CheckerRig.h"
#include "support/FakePop3Server.h"

namespace qlt::test {
namespace {

class MailCheckerDeleteTest : public ::testing::Test {
  protected:
    // Account 1 (current) on `port` with `count` scanned messages, none tagged.
    void seed(unsigned port, int count) {
        checker.accounts().MakeAccountCurrent(rig.addAccount(port, "ann", "pw"));
        seedScannedAccount(checker, 1, count);
        checker.accounts().CopyToCurrent(1);
        checker.settings().delTag = kDelTagNone;
        checker.fillMessageView();
    }

    CheckerRig rig;
    MailChecker& checker = rig.checker;
};

TEST_F(MailCheckerDeleteTest, RowsTwoAndFiveOfSixGoAndTheRestAreRenumbered) {
    FakePop3Server server;
    server.greetAndLogin("ann", "pw")
        .expect("dele 5\r\n")
        .send("+OK\r\n")
        .expect("dele 2\r\n")
        .send("+OK\r\n")
        .expect("quit\r\n")
        .send("+OK\r\n");
    server.start();
    seed(server.port(), 6);
    checker.settings().rescanDel = 0;
    checker.toggleRowState(1);
    checker.toggleRowState(4);
    checker.selectRow(5);

    checker.deleteTagged();

    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(checker.messages().count(), 4u);
    const char* kept[] = {"uid-1-1", "uid-1-3", "uid-1-4", "uid-1-6"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(checker.messages().at(i).uidl.view(), kept[i]);
        EXPECT_EQ(checker.messages().at(i).messageNumber, static_cast<int>(i) + 1);
        // Every row still names its own entry after the removals.
        EXPECT_EQ(checker.view().entryIndex(i), i);
    }
    EXPECT_EQ(checker.accounts().currentAccount.messageCount, 4);
    EXPECT_EQ(checker.accounts().currentAccount.mailboxSize, 100 + 300 + 400 + 600);
    EXPECT_EQ(checker.currentMessage().uidl.view(), "uid-1-6") << "the selection follows its row";
    EXPECT_EQ(rig.ui.progressEvents, (std::vector<std::pair<int, long>>{{kProgressAccessingServer, 0},
                                                                        {kProgressSentUser, 0},
                                                                        {kProgressSentPass, 0},
                                                                        {kProgressDeleteStart, 2},
                                                                        {kProgressDeleting, 1},
                                                                        {kProgressDeleting, 2},
                                                                        {kProgressDeleteEnd, 2},
                                                                        {kProgressScanIncomplete, 0}}));
    ASSERT_EQ(rig.ui.boxes.size(), 3u);
    EXPECT_EQ(rig.ui.boxes[0].title, "QLT Confirm Delete Please");
    EXPECT_EQ(rig.ui.boxes[0].text, "Are you sure you want permanently DELETE 2 messages ?\n");
    EXPECT_EQ(rig.ui.boxes[0].buttons, BoxButtons::YesNo);
    // RescanDel off: no rescan, the list is only as good as before.
    EXPECT_EQ(rig.ui.boxes[1].title, "QLT Update Needed");
    EXPECT_EQ(rig.ui.boxes[1].text, "No Messages Scanned.");
    EXPECT_EQ(rig.ui.boxes[2].title, "QLT Delete Completed");
    EXPECT_EQ(rig.ui.boxes[2].text, "2 offending messages successfully deleted.");
    EXPECT_TRUE(rig.clock.sleeps.empty());
    EXPECT_EQ(rig.ui.waitDepth, 0);
}

TEST_F(MailCheckerDeleteTest, ShowAllSendsDeleForTheCurrentAccountsRowsOnly) {
    FakePop3Server server;
    server.greetAndLogin("ann", "pw").expect("dele 1\r\n").send("+OK\r\n").expect("quit\r\n").send("+OK\r\n");
    server.start();
    seed(server.port(), 1);
    rig.addAccount(FakePop3Server::unusedPort(), "bob", "pw");
    seedScannedAccount(checker, 2, 2);
    checker.settings().rescanDel = 0;
    checker.settings().noDeleteWarning = 1;
    checker.settings().noShowDeleteConfirmed = 1;
    checker.toggleShowAll();
    checker.tagAll();
    ASSERT_EQ(checker.view().rowCount(), 3u);

    checker.deleteTagged();

    EXPECT_EQ(server.finish(), "");
    EXPECT_TRUE(rig.ui.sawProgress(kProgressDeleteStart, 1)) << "only this server's messages are counted";
    ASSERT_EQ(checker.messages().count(), 2u);
    EXPECT_EQ(checker.messages().at(0).accountIndex, 2);
    EXPECT_EQ(checker.messages().at(1).messageNumber, 2) << "another account's numbers are left alone";
    EXPECT_EQ(checker.view().taggedCount(), 2u) << "their rows stay tagged";
    EXPECT_EQ(rig.ui.titles(), std::vector<std::string>{"QLT Update Needed"});
}

TEST_F(MailCheckerDeleteTest, ARefusedDeleKeepsTheRowsAfterIt) {
    FakePop3Server server;
    server.greetAndLogin("ann", "pw")
        .expect("dele 3\r\n")
        .send("+OK\r\n")
        .expect("dele 2\r\n")
        .send("-ERR no such message\r\n");
    server.start();
    seed(server.port(), 3);
    checker.settings().rescanDel = 0;
    checker.tagAll();
    rig.ui.queueAnswer(BoxAnswer::Yes);

    checker.deleteTagged();

    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(checker.messages().count(), 2u);
    EXPECT_EQ(checker.view().taggedCount(), 2u);
    EXPECT_TRUE(rig.ui.sawProgress(kProgressDeleteEnd, 1));
    // The refusal closed the connection before QUIT, so the server deleted
    // nothing: no success is reported and the next scan reads through.
    EXPECT_EQ(rig.ui.boxes.back().title, "QLT Delete Not Confirmed");
    EXPECT_EQ(checker.accounts().currentAccount.status, kStatusUpdateNeeded);
    EXPECT_EQ(checker.accounts().GetAccount(1)->mailboxSize, -1);
}

TEST_F(MailCheckerDeleteTest, RefusalsBeforeAnyConnection) {
    struct Row {
        const char* name;
        int scanned;
        bool tag;
        BoxAnswer answer;
        std::vector<std::string> titles;
    };
    const Row rows[] = {
        {"nothing scanned", 0, false, BoxAnswer::Ok, {"QLT No messages"}},
        {"nothing tagged", 2, false, BoxAnswer::Ok, {"QLT Nothing to Delete"}},
        {"the user says no", 2, true, BoxAnswer::No, {"QLT Confirm Delete Please"}},
    };
    for (const Row& row : rows) {
        CheckerRig local;
        MailChecker& c = local.checker;
        c.accounts().MakeAccountCurrent(local.addAccount(FakePop3Server::unusedPort(), "ann", "pw"));
        seedScannedAccount(c, 1, row.scanned);
        c.accounts().CopyToCurrent(1);
        c.fillMessageView();
        if (row.tag) c.tagAll();
        local.ui.queueAnswer(row.answer);
        c.deleteTagged();
        EXPECT_EQ(local.ui.titles(), row.titles) << row.name;
        EXPECT_FALSE(local.ui.sawProgress(kProgressAccessingServer)) << row.name;
        EXPECT_EQ(c.messages().count(), static_cast<std::size_t>(row.scanned)) << row.name;
    }
}

TEST_F(MailCheckerDeleteTest, NothingToDeleteTextAndSingularConfirmation) {
    seed(FakePop3Server::unusedPort(), 1);
    checker.deleteTagged();
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text,
              "You have not selected any messages to delete.\n\nTo mark message for deleting - click on the\n"
              "envelope icon beside the message. To toggle\nclick it again. After you have marked all \n"
              "selected messages press Delete button, and\nmarked emails will be deleted from server,\n"
              "without being downloaded to your PC.\n\nOr from Options->Setup select Automatic Tag\n"
              "feature, and program will mark for you for\ndeletion all messages with risk level equal to\n"
              "or higher than selected.\n");

    checker.tagAll();
    checker.deleteTagged();  // the server cannot be reached
    ASSERT_EQ(rig.ui.boxes.size(), 3u);
    EXPECT_EQ(rig.ui.boxes[1].text, "Are you sure you want permanently DELETE 1 message ?\n");
    EXPECT_EQ(rig.ui.boxes[2].title, "QLT Server Access Problem");
    EXPECT_EQ(rig.ui.boxes[2].text, "Could Not Connect to the Server.");
    EXPECT_EQ(checker.messages().count(), 1u);
}

}  // namespace
}  // namespace qlt::test

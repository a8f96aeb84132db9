#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

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
        .withoutCapa()
        .expect("uidl 5\r\n")
        .send("+OK 5 uid-1-5\r\n")
        .expect("uidl 2\r\n")
        .send("+OK 2 uid-1-2\r\n")
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
    server.greetAndLogin("ann", "pw")
        .withoutCapa()
        .expect("uidl 1\r\n")
        .send("+OK 1 uid-1-1\r\n")
        .expect("dele 1\r\n")
        .send("+OK\r\n")
        .expect("quit\r\n")
        .send("+OK\r\n");
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

// Sends "uidl n" for each number and answers it with the id given ("" for
// a refusal), as one write when the server pipelines.
void answerIds(FakePop3Server& server, const std::vector<std::pair<int, std::string>>& ids, bool pipelined) {
    std::string commands;
    std::string replies;
    for (const auto& [n, id] : ids) {
        const std::string command = "uidl " + std::to_string(n) + "\r\n";
        const std::string reply =
            id.empty() ? "-ERR no such message\r\n" : "+OK " + std::to_string(n) + " " + id + "\r\n";
        if (!pipelined) server.expect(command).send(reply);
        commands += command;
        replies += reply;
    }
    if (pipelined) server.expect(commands).send(replies);
}

// Account 1 of the rig on `port`, current, with six scanned messages and
// these rows tagged; no confirmation asked, no rescan after.
void seedSixTagged(CheckerRig& rig, unsigned port, std::initializer_list<std::size_t> rows) {
    MailChecker& c = rig.checker;
    c.accounts().MakeAccountCurrent(rig.addAccount(port, "ann", "pw"));
    seedScannedAccount(c, 1, 6);
    c.accounts().CopyToCurrent(1);
    c.settings().rescanDel = 0;
    c.settings().noDeleteWarning = 1;
    c.fillMessageView();
    for (const std::size_t row : rows) c.toggleRowState(row);
}

TEST_F(MailCheckerDeleteTest, AnUnconfirmedDeleteDeletesNothingAndRenumbersNothing) {
    struct Row {
        const char* name;
        const char* secondDeleReply;
        bool quitSent;
    };
    const Row rows[] = {{"a refused DELE", "-ERR no\r\n", false}, {"a refused QUIT", "+OK\r\n", true}};
    for (const Row& row : rows) {
        CheckerRig local;
        MailChecker& c = local.checker;
        FakePop3Server server;
        server.greetAndLogin("ann", "pw").withoutCapa();
        answerIds(server, {{6, "uid-1-6"}, {3, "uid-1-3"}}, false);
        server.expect("dele 6\r\n").send("+OK\r\n").expect("dele 3\r\n").send(row.secondDeleReply);
        if (row.quitSent) server.expect("quit\r\n").send("-ERR not now\r\n");
        // The same list, a delete later: only the row of uid-1-6 is tagged.
        server.acceptNext().greetAndLogin("ann", "pw").withoutCapa();
        answerIds(server, {{6, "uid-1-6"}}, false);
        server.expect("dele 6\r\n").send("+OK\r\n").expect("quit\r\n").send("+OK\r\n");
        server.start();
        seedSixTagged(local, server.port(), {2, 5});

        c.deleteTagged();

        // Without a confirmed QUIT the server deleted nothing: the entries
        // keep their rows, tags and numbers, no success is reported and the
        // next scan reads through.
        ASSERT_EQ(c.messages().count(), 6u) << row.name;
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(c.messages().at(i).messageNumber, static_cast<int>(i) + 1) << row.name;
        EXPECT_EQ(c.view().taggedCount(), 2u) << row.name;
        EXPECT_EQ(local.ui.boxes.back().title, "QLT Delete Not Confirmed") << row.name;
        EXPECT_EQ(c.accounts().currentAccount.status, kStatusUpdateNeeded) << row.name;
        EXPECT_EQ(c.accounts().GetAccount(1)->mailboxSize, -1) << row.name;

        c.untagAll();
        c.toggleRowState(5);
        c.deleteTagged();
        EXPECT_EQ(server.finish(), "") << row.name << ": uid-1-6 is still message 6";
        EXPECT_EQ(c.messages().count(), 5u) << row.name;
    }
}

TEST_F(MailCheckerDeleteTest, OnlyMessagesTheServerStillNamesAsScannedAreDeleted) {
    struct Row {
        const char* name;
        bool pipelined;
        std::string idOf5;  // what the server answers to "uidl 5"; "" refuses
        std::vector<std::string> kept;
    };
    const Row rows[] = {
        {"both confirmed, one write each", true, "uid-1-5", {"uid-1-1", "uid-1-3", "uid-1-4", "uid-1-6"}},
        {"another message now number 5",
         false,
         "uid-1-6",
         {"uid-1-1", "uid-1-3", "uid-1-4", "uid-1-5", "uid-1-6"}},
        {"number 5 gone, pipelined", true, "", {"uid-1-1", "uid-1-3", "uid-1-4", "uid-1-5", "uid-1-6"}},
    };
    for (const Row& row : rows) {
        CheckerRig local;
        MailChecker& c = local.checker;
        FakePop3Server server;
        server.greetAndLogin("ann", "pw");
        if (row.pipelined)
            server.capa("PIPELINING\r\n");
        else
            server.withoutCapa();
        answerIds(server, {{5, row.idOf5}, {2, "uid-1-2"}}, row.pipelined);
        const bool both = row.idOf5 == "uid-1-5";
        server.expect(both ? "dele 5\r\ndele 2\r\n" : "dele 2\r\n").send(both ? "+OK\r\n+OK\r\n" : "+OK\r\n");
        server.expect("quit\r\n").send("+OK\r\n");
        server.start();
        seedSixTagged(local, server.port(), {1, 4});

        c.deleteTagged();

        EXPECT_EQ(server.finish(), "") << row.name;
        std::vector<std::string> kept;
        for (std::size_t i = 0; i < c.messages().count(); ++i) kept.push_back(c.messages().at(i).uidl.str());
        EXPECT_EQ(kept, row.kept) << row.name;
        const auto titles = local.ui.titles();
        const bool told = std::find(titles.begin(), titles.end(), "QLT Mailbox Changed") != titles.end();
        EXPECT_EQ(told, !both) << row.name;
        EXPECT_EQ(c.GetAccount(1)->status, both ? kStatusCompleted : kStatusUpdateNeeded) << row.name;
    }
}

TEST_F(MailCheckerDeleteTest, MessagesWithoutIdsAreDeletedByNumberAlone) {
    FakePop3Server server;
    server.greetAndLogin("ann", "pw").expect("dele 1\r\n").send("+OK\r\n").expect("quit\r\n").send("+OK\r\n");
    server.start();
    seed(server.port(), 2);
    checker.messages().at(0).uidl = "";
    checker.settings().rescanDel = 0;
    checker.settings().noDeleteWarning = 1;
    checker.toggleRowState(0);

    checker.deleteTagged();

    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(checker.messages().count(), 1u);
    EXPECT_EQ(checker.messages().at(0).messageNumber, 1);
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
        if (row.scanned == 0) {
            EXPECT_EQ(c.countText(), "No Messages");
        }
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

#include <gtest/gtest.h>

#include "base/ProcessState.h"
#include "support/CheckerEntries.h"
#include "support/CheckerRig.h"
#include "support/FakePop3Server.h"

namespace qlt::test {
namespace {

class MailCheckerReceiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetProcessState();
        checker.accounts().MakeAccountCurrent(rig.addAccount(FakePop3Server::unusedPort(), "ann", "pw"));
        rig.addAccount(FakePop3Server::unusedPort(), "bob", "pw");
        seedScannedAccount(checker, 1, 3);
        seedScannedAccount(checker, 2, 1);
        checker.accounts().CopyToCurrent(1);
        checker.fillMessageView();
        checker.UpdateCommandState();
    }

    CheckerRig rig;
    MailChecker& checker = rig.checker;
};

TEST(RiskLine, SubjectCutOrPaddedAndRedTagsInOrder) {
    resetProcessState();
    EXPECT_EQ(riskLine(checkerEntry(1, 1, "Quiet", {2, 2, 2, 2, 3})), "") << "user strings have no tag";
    EXPECT_EQ(riskWarningCounter, 0);
    EXPECT_EQ(riskLine(checkerEntry(1, 4, "Twenty characters 20", {0, 0, 0, 3, 0})),
              "1 (4) \tTwenty characters 20        \t\t[L]\n");
    EXPECT_EQ(riskLine(checkerEntry(1, 7, "A subject of thirty letters..", {3, 3, 3, 3, 0})),
              "2 (7) \tA subject of thirty lett...\t\t[V][S][X][L]\n");
    EXPECT_EQ(riskLine(checkerEntry(1, 2, "Exactly twenty-four char", {0, 3, 0, 0, 0})),
              "3 (2) \tExactly twenty-four char\t\t[S]\n");
}

TEST_F(MailCheckerReceiveTest, WarningListsRedMessagesAndTheCounterRunsOn) {
    checker.messages().at(0).level = {3, 0, 0, 0, 0};
    checker.messages().at(0).subject = "Invoice";
    checker.messages().at(3).level = {0, 3, 3, 0, 0};  // the other account's
    checker.messages().at(3).subject = "Offer";
    rig.ui.queueAnswer(BoxAnswer::No);

    checker.receiveMail();

    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "QLT Potential Risk Warning");
    EXPECT_EQ(rig.ui.boxes[0].buttons, BoxButtons::YesNo);
    const std::string pad17(34, ' ');
    const std::string pad19(38, ' ');
    EXPECT_EQ(rig.ui.boxes[0].text,
              "Are you sure you want to receive your mail now ?\n"
              "The following message appear to bear some risk\n\n"
              "1 (1) \tInvoice" +
                  pad17 + "\t\t[V]\n2 (1) \tOffer" + pad19 + "\t\t[S][X]\n");
    EXPECT_TRUE(rig.launcher.started.empty()) << "No ends the command";
    EXPECT_EQ(checker.messages().count(), 4u);

    rig.ui.queueAnswer(BoxAnswer::No);
    checker.receiveMail();
    EXPECT_NE(rig.ui.boxes[1].text.find("3 (1) \tInvoice"), std::string::npos);
}

TEST_F(MailCheckerReceiveTest, StartsTheMailtoHandlerAndForgetsTheScan) {
    rig.mailto.line = "\"/opt/my mail/mailer\" -compose %u";
    rig.launcher.startable = {"\"/opt/my mail/mailer\" -compose"};

    checker.receiveMail();

    EXPECT_TRUE(rig.ui.boxes.empty()) << "nothing red, no warning";
    EXPECT_EQ(rig.launcher.started, std::vector<std::string>{"\"/opt/my mail/mailer\" -compose"});
    EXPECT_EQ(checker.messages().count(), 0u);
    EXPECT_EQ(checker.view().rowCount(), 0u);
    for (int n = 1; n <= 2; ++n) {
        const AccountRecord a = *checker.GetAccount(n);
        EXPECT_EQ(a.status, kStatusCompleted);
        EXPECT_EQ(a.messageCount, 0);
        EXPECT_EQ(a.mailboxSize, 0);
        EXPECT_EQ(a.selectedRow, 1);
        EXPECT_EQ(a.lastScanned, rig.clock.now);
    }
    EXPECT_EQ(checker.accounts().currentAccount.status, kStatusUpdateNeeded);
    EXPECT_FALSE(checker.commandState().messageCommandsEnabled);
    EXPECT_EQ(rig.ui.buttonLog.front(), "GetMail face Pressed");
    EXPECT_EQ(rig.ui.buttonLog.back(), "GetMail face Normal");
}

TEST_F(MailCheckerReceiveTest, FindingTheProgram) {
    struct Row {
        const char* name;
        std::string emailApp;
        std::string handler;
        std::string found;
    };
    const Row rows[] = {
        {"stored program first", "/usr/bin/stored", "mailer %u", "/usr/bin/stored"},
        {"unquoted handler", "", "mailer %u", "mailer"},
        {"quoted handler with arguments", "", "\"/opt/a b/m\" -x %U", "\"/opt/a b/m\" -x"},
    };
    for (const Row& row : rows) {
        CheckerRig local;
        local.checker.settings().emailApp = row.emailApp;
        local.mailto.line = row.handler;
        EXPECT_EQ(local.checker.findEmailProgram(), row.found) << row.name;
        EXPECT_TRUE(local.ui.boxes.empty()) << row.name;
    }
}

TEST_F(MailCheckerReceiveTest, NoHandlerAsksTwiceWhenTheFirstAnswerIsNo) {
    rig.ui.queueAnswer(BoxAnswer::No);
    rig.ui.queueAnswer(BoxAnswer::Yes);
    rig.ui.queueFile("/usr/local/bin/mailer");
    rig.launcher.startable = {"/usr/local/bin/mailer"};

    checker.receiveMail();

    ASSERT_EQ(rig.ui.boxes.size(), 2u);
    for (const auto& box : rig.ui.boxes) {
        EXPECT_EQ(box.title, "Quillgate");
        EXPECT_EQ(box.text,
                  "Default Email Client Entry Not Found.\nDo you want to browse to select your Email Program "
                  "now ?");
        EXPECT_EQ(box.icon, BoxIcon::Error);
    }
    EXPECT_EQ(rig.launcher.started, (std::vector<std::string>{"", "/usr/local/bin/mailer"}));
    ASSERT_EQ(rig.ui.fileRequests.size(), 1u);
    EXPECT_EQ(rig.ui.fileRequests[0].title, "Path to Email Client");
    EXPECT_EQ(rig.ui.fileRequests[0].mode, FileRequest::Mode::Open);
    EXPECT_TRUE(rig.ui.fileRequests[0].mustExist);
    EXPECT_EQ(checker.settings().emailApp, "/usr/local/bin/mailer");
}

TEST_F(MailCheckerReceiveTest, CancelledBrowseWithoutStoredProgramSaysSoAndStillClears) {
    rig.ui.queueAnswer(BoxAnswer::Yes);  // browse
    rig.ui.queueAnswer(BoxAnswer::Ok);   // nothing selected
    rig.ui.queueAnswer(BoxAnswer::No);   // second browse question

    checker.receiveMail();

    EXPECT_EQ(rig.ui.boxes[1].text, "Nothing Selected.\nPlease Start Your Email Program Manually.");
    EXPECT_EQ(rig.ui.boxes.size(), 3u);
    EXPECT_EQ(checker.messages().count(), 0u) << "the list is cleared all the same";
}

TEST_F(MailCheckerReceiveTest, AnalyseAndDumpNeedASelectionAndAServer) {
    checker.selectRow(std::nullopt);
    checker.analyzeSelected();
    checker.dumpSelected();
    ASSERT_EQ(rig.ui.boxes.size(), 2u);
    EXPECT_EQ(rig.ui.boxes[0].title, "QLT No Message Selected");
    EXPECT_EQ(rig.ui.boxes[0].text, "Select Message First");
    EXPECT_EQ(rig.ui.boxes[1].title, "QLT No Messages Selected");
    EXPECT_EQ(rig.ui.boxes[1].text, "Select Message First.");

    checker.messages().at(1).subject = "Re: a/b?c";
    checker.selectRow(1);
    checker.analyzeSelected();
    EXPECT_EQ(rig.ui.boxes.back().title, "QLT Server Access Problem");
    rig.ui.queueFile(std::nullopt);
    checker.dumpSelected();
    ASSERT_EQ(rig.ui.fileRequests.size(), 1u);
    const FileRequest& request = rig.ui.fileRequests[0];
    EXPECT_EQ(request.title, "Dump Message To File");
    EXPECT_EQ(request.suggestedName, "Re- a-b-c");
    EXPECT_EQ(request.defaultExtension, "tmp");
    EXPECT_EQ(request.filter, "Temporary Files (*.tmp)|*.tmp|All Files (*.*)|*.*||");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(rig.ui.boxes.size(), 3u) << "a cancelled chooser ends quietly";

    rig.ui.queueFile(rig.folder.file("out.tmp"));
    checker.dumpSelected();
    EXPECT_EQ(rig.ui.boxes.back().title, "Quillgate");
    EXPECT_EQ(rig.ui.boxes.back().text, "Could Not Connect to the Server.");
    EXPECT_EQ(rig.ui.waitDepth, 0);
}

}  // namespace
}  // namespace qlt::test

// The commands of the mail checker against a Dovecot of each test's own, so
// that deletions and deliveries here meet no other test's mailbox.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/ProcessState.h"
#include "core/DeletionLog.h"
#include "core/ProgressCaptions.h"
#include "support/CheckerRig.h"
#include "support/TempFolder.h"

namespace qlt::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "qlt-live-pw";
constexpr int kShippedMessages = 3;  // tests/live/mail

fs::path scriptPath() {
    return fs::path(__FILE__).parent_path() / "dovecot.sh";
}

std::string caption(int code, long value) {
    const auto effect = DescribeProgress(code, value, {});
    return effect && effect->caption ? *effect->caption : std::string();
}

class LiveCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* live = std::getenv("QLT_LIVE_DIR");
        ASSERT_NE(live, nullptr) << "QLT_LIVE_DIR is not set: run through ctest";
        // Short: the server's sockets live below it, and their paths are bounded.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        m_dir =
            fs::path(live).parent_path() / ("dc" + std::to_string(std::hash<std::string>{}(test) % 1000000));
        ASSERT_EQ(
            std::system(
                ("bash " + scriptPath().string() + " start " + m_dir.string() + " 0 >/dev/null").c_str()),
            0);
        std::ifstream(m_dir / "port") >> m_port;
        ASSERT_NE(m_port, 0u);
    }

    void TearDown() override {
        resetProcessState();
        std::system(("bash " + scriptPath().string() + " stop " + m_dir.string()).c_str());
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    int addAccount(const std::string& user, const std::string& password = kPassword,
                   std::uint8_t include = 1) {
        const int n = rig.addAccount(m_port, user, password, include);
        AccountRecord a = *rig.checker.GetAccount(n);
        a.timeout = 10;
        rig.checker.ReplaceAccount(n, a);
        return n;
    }

    fs::path maildir(const std::string& user) const { return m_dir / "mail" / user / "Maildir"; }

    // Delivers a message as the server's own delivery would: into new/,
    // renamed in from tmp/, owned by the maildir's owner.
    void deliver(const std::string& user, const std::string& subject, int bodyLines = 3) {
        std::string text = "From: Sender <sender@example.net>\r\nTo: " + user +
                           "@example.net\r\nSubject: " + subject +
                           "\r\nDate: Mon, 2 Mar 2026 10:00:00 +0100\r\n\r\n";
        for (int i = 1; i <= bodyLines; ++i) text += "Line " + std::to_string(i) + " of " + subject + "\r\n";
        const int serial = ++m_delivered;
        const std::string name =
            std::to_string(1800000000 + serial) + ".M" + std::to_string(serial) + "P2.qlt";
        const fs::path staged = maildir(user) / "tmp" / name;
        std::ofstream(staged, std::ios::binary) << text;
        struct stat owner {};
        ASSERT_EQ(::stat(maildir(user).c_str(), &owner), 0);
        ASSERT_EQ(::chown(staged.c_str(), owner.st_uid, owner.st_gid), 0);
        fs::rename(staged, maildir(user) / "new" / name);
    }

    int messagesOnDisk(const std::string& user) const {
        int count = 0;
        for (const char* sub : {"cur", "new"})
            for (const auto& entry : fs::directory_iterator(maildir(user) / sub))
                count += entry.is_regular_file();
        return count;
    }

    // The UIDLs the server lists now, in order.
    std::vector<std::string> serverUidls(const std::string& user) {
        ScriptedUiPort ui;
        SystemClock clock;
        Pop3Client client(ui, clock);
        AccountRecord a = *rig.checker.GetAccount(1);
        a.userName = user;
        std::vector<std::string> out;
        if (!client.Connect(a) || !client.QueryStat()) return out;
        for (int n = 1; n <= client.m_nMessages && client.Uidl(n); ++n) {
            std::vector<std::string> tokens;
            Pop3Client::SplitReply(client.m_strReply, tokens, ReplyCleaning::Listing);
            out.push_back(tokens.size() > 2 ? tokens[2] : "");
        }
        client.Quit();
        client.Close();
        return out;
    }

    // Another mail program at work: deletes messages `numbers` and quits.
    void deleteElsewhere(const std::string& user, const std::vector<int>& numbers) {
        ScriptedUiPort ui;
        SystemClock clock;
        Pop3Client client(ui, clock);
        AccountRecord a = *rig.checker.GetAccount(1);
        a.userName = user;
        ASSERT_TRUE(client.Connect(a)) << client.m_strError;
        for (int n : numbers) ASSERT_TRUE(client.Dele(n)) << client.m_strError;
        ASSERT_TRUE(client.Quit());
        client.Close();
    }

    std::vector<std::string> listedUidls() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < checker.messages().count(); ++i) {
            EXPECT_EQ(checker.messages().at(i).messageNumber, static_cast<int>(i) + 1);
            out.push_back(checker.messages().at(i).uidl.str());
        }
        return out;
    }

    std::size_t logins() const {
        std::size_t count = 0;
        for (const auto& [code, value] : rig.ui.progressEvents) count += code == kProgressAccessingServer;
        return count;
    }

    // Ends every session of `user` on the server, as an administrator would.
    bool kick(const std::string& user) const {
        return std::system(
                   ("doveadm -c " + (m_dir / "dovecot.conf").string() + " kick " + user + " >/dev/null")
                       .c_str()) == 0;
    }

    CheckerRig rig;
    MailChecker& checker = rig.checker;

  private:
    fs::path m_dir;
    unsigned m_port = 0;
    int m_delivered = 0;
};

TEST_F(LiveCommandsTest, DeletingRowsTwoAndFiveOfSixLeavesExactlyTheOtherFour) {
    for (int i = 4; i <= 6; ++i) deliver("ann", "Added " + std::to_string(i));
    checker.accounts().MakeAccountCurrent(addAccount("ann"));
    checker.settings().delTag = 4;
    checker.settings().rescanDel = 0;
    checker.onScanButton();
    ASSERT_EQ(checker.messages().count(), 6u) << checker.client().m_strError;
    checker.toggleRowState(1);
    checker.toggleRowState(4);
    std::vector<std::string> kept;
    for (std::size_t i : {0, 2, 3, 5}) kept.push_back(checker.messages().at(i).uidl.str());

    checker.deleteTagged();

    ASSERT_EQ(checker.messages().count(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(checker.messages().at(i).uidl.str(), kept[i]);
        EXPECT_EQ(checker.messages().at(i).messageNumber, static_cast<int>(i) + 1);
    }
    EXPECT_EQ(messagesOnDisk("ann"), 4);
    EXPECT_EQ(serverUidls("ann"), kept) << "the server numbers them as the list does";
    // RescanDel off: no second scan, and the caption says the list is stale.
    EXPECT_EQ(logins(), 2u);
    EXPECT_EQ(rig.ui.progressEvents.back().first, kProgressScanIncomplete);
    EXPECT_EQ(caption(kProgressScanIncomplete, 0), "Scan Incomplete!");
}

// Messages 2 and 5 of six are tagged; another program then deletes 3 and 4.
// Message 2 keeps its number and goes; 5 is now number 3 and the server's
// number 5 names nothing, so it stays and the user is told.
TEST_F(LiveCommandsTest, DeletionsElsewhereBetweenScanAndDeleteNeverCostAnUntaggedMessage) {
    for (int i = 4; i <= 6; ++i) deliver("ann", "Added " + std::to_string(i));
    checker.accounts().MakeAccountCurrent(addAccount("ann"));
    checker.settings().delTag = 4;
    checker.settings().noDeleteWarning = 1;
    checker.onScanButton();
    ASSERT_EQ(checker.messages().count(), 6u) << checker.client().m_strError;
    const std::vector<std::string> all = listedUidls();
    checker.toggleRowState(1);
    checker.toggleRowState(4);
    deleteElsewhere("ann", {3, 4});

    checker.deleteTagged();

    const std::vector<std::string> left = {all[0], all[4], all[5]};
    EXPECT_EQ(serverUidls("ann"), left);
    EXPECT_EQ(messagesOnDisk("ann"), 3);
    const auto titles = rig.ui.titles();
    EXPECT_NE(std::find(titles.begin(), titles.end(), "QLT Mailbox Changed"), titles.end());
    EXPECT_TRUE(rig.ui.sawProgress(kProgressDeleteEnd, 1));
    // The rescan that follows lists what the server holds, by its numbers.
    EXPECT_EQ(listedUidls(), left);
}

TEST_F(LiveCommandsTest, AScanAfterDeletionsElsewhereRenumbersTheListAndDropsTheGone) {
    for (int i = 4; i <= 6; ++i) deliver("ann", "Added " + std::to_string(i));
    checker.accounts().MakeAccountCurrent(addAccount("ann"));
    checker.settings().delTag = 4;
    checker.settings().noDeleteWarning = 1;
    checker.settings().rescanDel = 0;
    checker.onScanButton();
    ASSERT_EQ(checker.messages().count(), 6u) << checker.client().m_strError;
    const std::vector<std::string> all = listedUidls();
    deleteElsewhere("ann", {2, 4});

    checker.onScanButton();
    EXPECT_EQ(listedUidls(), (std::vector<std::string>{all[0], all[2], all[4], all[5]}));
    checker.toggleRowState(3);
    checker.deleteTagged();

    EXPECT_EQ(serverUidls("ann"), (std::vector<std::string>{all[0], all[2], all[4]}));
}

TEST_F(LiveCommandsTest, AMessageArrivingDuringTheDeleteIsAnnouncedAfterTheRescan) {
    checker.accounts().MakeAccountCurrent(addAccount("ann"));
    checker.settings().delTag = 4;
    checker.onScanButton();
    ASSERT_EQ(checker.messages().count(), static_cast<std::size_t>(kShippedMessages));
    checker.toggleRowState(0);
    rig.ui.onProgress = [this](int code, long) {
        if (code == kProgressDeleteStart) deliver("ann", "Arrived meanwhile");
    };

    checker.deleteTagged();

    EXPECT_EQ(logins(), 3u) << "scan, delete, rescan";
    EXPECT_EQ(checker.messages().count(), 3u) << "two left and the new one";
    ASSERT_FALSE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.ui.boxes.back().title, "QLT New Messages");
    EXPECT_EQ(
        rig.ui.boxes.back().text,
        "New messages arrived in the meantime. You should\nreview them before downloading your mail.\n");
    EXPECT_EQ(rig.clock.sleeps, (std::vector<unsigned>{1000, 1000}));
    EXPECT_EQ(checker.GetAccount(1)->status, kStatusCompleted);
}

TEST_F(LiveCommandsTest, ScanAllVisitsFlaggedAccountsAndKeepsTheLoginFailure) {
    const int ann = addAccount("ann", kPassword, 1);
    addAccount("bob", kPassword, 0);
    addAccount("bob", "not-the-password", 1);
    checker.accounts().MakeAccountCurrent(ann);
    checker.toggleScanAll();

    checker.onScanButton();

    EXPECT_EQ(checker.GetAccount(1)->status, kStatusCompleted);
    EXPECT_EQ(checker.GetAccount(2)->status, kStatusUpdateNeeded);
    EXPECT_EQ(checker.GetAccount(3)->status, kStatusConnectionFailed);
    EXPECT_EQ(logins(), 2u);
    EXPECT_EQ(checker.messages().count(), static_cast<std::size_t>(kShippedMessages));
    EXPECT_EQ(checker.view().rowCount(), 3u);
    EXPECT_TRUE(rig.ui.sawProgress(kProgressConnectionError));
    EXPECT_EQ(caption(kProgressConnectionError, 0), "Error (click for details)");
    checker.showErrorDetails();
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].title, "QLT Error Details");
    EXPECT_NE(rig.ui.boxes[0].text.find("-ERR"), std::string::npos) << rig.ui.boxes[0].text;
}

TEST_F(LiveCommandsTest, StopDuringAScanEndsIncompleteAndTheNextScanReadsThrough) {
    deliver("ann", "Very long one", 4000);
    deliver("ann", "After the long one");
    checker.accounts().MakeAccountCurrent(addAccount("ann"));
    bool stopped = false;
    rig.ui.onPumpMessages = [&] {
        if (!stopped) checker.onScanButton();
        stopped = true;
    };

    checker.onScanButton();

    ASSERT_TRUE(stopped) << "the long TOP came in one receive";
    long abortedAt = 0;
    for (const auto& [code, value] : rig.ui.progressEvents)
        if (code == kProgressAborting) abortedAt = value;
    EXPECT_EQ(abortedAt, kShippedMessages + 1);
    EXPECT_EQ(caption(kProgressAborting, abortedAt), "Aborting Scan at:4");
    EXPECT_EQ(checker.accounts().currentAccount.status, kStatusScanIncomplete);
    EXPECT_EQ(checker.headerLine()->status, "Scan Incomplete");
    EXPECT_EQ(rig.ui.progressEvents.back().first, kProgressNoNewMessages);
    EXPECT_EQ(caption(kProgressNoNewMessages, 0), "No New Messages");
    EXPECT_EQ(checker.messages().count(), 4u);

    rig.ui.onPumpMessages = nullptr;
    checker.onScanButton();
    EXPECT_EQ(checker.messages().count(), 5u);
    EXPECT_EQ(checker.accounts().currentAccount.status, kStatusCompleted);
}

TEST_F(LiveCommandsTest, AnalyseAndDumpFetchTheWholeSelectedMessage) {
    deliver("ann", "Whole text", 600);
    checker.accounts().MakeAccountCurrent(addAccount("ann"));
    checker.onScanButton();
    ASSERT_EQ(checker.messages().count(), 4u);
    checker.selectRow(3);

    checker.analyzeSelected();
    ASSERT_FALSE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.ui.boxes.back().title, "QLT Analyze Complete");
    EXPECT_EQ(rig.ui.boxes.back().text, "Message Analyzed - Details Updated.");

    TempFolder out("qlt-dump");
    rig.ui.queueFile(out.file("whole.tmp"));
    checker.dumpSelected();
    const std::string saved = readWholeFile(out.file("whole.tmp"));
    EXPECT_NE(saved.find("Subject: Whole text\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Line 600 of Whole text\r\n"), std::string::npos);
    EXPECT_EQ(rig.ui.progressEvents.back().first, kProgressClear);
    EXPECT_EQ(messagesOnDisk("ann"), 4) << "both leave the message on the server";
}

// Each row scans, tags the first message by hand and deletes it with an undo
// time; what happens in the wait decides what the server and the log hold.
TEST_F(LiveCommandsTest, TheUndoWaitEndsAsAskedAndTheServerAndTheLogFollow) {
    struct Row {
        const char* name;
        int undoTime;
        std::function<void()> inTheWait;  // none: the wait runs out
        bool deleted;
        const char* lastBox;  // "": none
    };
    const std::vector<Row> rows = {
        {"UNDO pressed", 5, [this] { checker.onScanButton(); }, false, ""},
        {"the wait runs out", 1, nullptr, true, ""},
        {"the program quits", 5, [this] { checker.endUndoWait(UndoEnd::Exit); }, true, ""},
        {"the server ends the session", 10, [this] { EXPECT_TRUE(kick("ann")); }, false,
         "QLT Connection Lost"},
    };
    checker.accounts().MakeAccountCurrent(addAccount("ann"));
    checker.settings().delTag = 4;
    checker.settings().noDeleteWarning = 1;
    checker.settings().noShowDeleteConfirmed = 1;
    int onServer = kShippedMessages;
    std::size_t logged = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        checker.onScanButton();
        ASSERT_EQ(checker.messages().count(), static_cast<std::size_t>(onServer))
            << checker.client().m_strError;
        const std::string first = checker.messages().at(0).uidl.str();
        checker.toggleRowState(0);
        checker.settings().undoTime = row.undoTime;
        rig.ui.boxes.clear();
        bool acted = false;
        rig.ui.onPumpMessages = [&] {
            if (acted || !row.inTheWait) return;
            acted = true;
            row.inTheWait();
        };

        checker.deleteTagged();

        rig.ui.onPumpMessages = nullptr;
        onServer -= row.deleted ? 1 : 0;
        logged += row.deleted ? 1 : 0;
        EXPECT_EQ(messagesOnDisk("ann"), onServer);
        const std::vector<std::string> uidls = serverUidls("ann");
        EXPECT_EQ(std::find(uidls.begin(), uidls.end(), first) == uidls.end(), row.deleted);
        const std::vector<DeletionRecord> log = DeletionLog(rig.folder.file(kDeletionLogFileName)).read();
        ASSERT_EQ(log.size(), logged);
        if (row.deleted) {
            EXPECT_EQ(log.back().uidl, first);
            EXPECT_TRUE(log.back().taggedByHand);
        }
        EXPECT_EQ(rig.ui.boxes.empty() ? "" : rig.ui.boxes.back().title, std::string(row.lastBox));
    }
}

}  // namespace
}  // namespace qlt::test

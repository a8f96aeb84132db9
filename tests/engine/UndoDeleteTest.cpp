#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/ProcessState.h"
#include "core/DeletionLog.h"
#include "risk/AutoTag.h"
#include "support/CheckerEntries.h"
#include "support/CheckerRig.h"
#include "support/ScriptedServer.h"

namespace qlt::test {
namespace {

constexpr const char* kDeles = "dele 3\r\ndele 1\r\n";

// Messages 1 and 3 of three tagged by hand and deleted on a scripted server
// with a five-second undo time; the clock moves only while the client waits
// on the server. No confirmation, no rescan, no completion box.
struct UndoRig {
    UndoRig() {
        checker.client().m_socket.useStreams([this] { return std::make_unique<ScriptedStream>(server); });
        checker.accounts().MakeAccountCurrent(rig.addAccount(110, "ann", "pw"));
        seedScannedAccount(checker, 1, 3);
        checker.accounts().CopyToCurrent(1);
        Settings& s = checker.settings();
        s.delTag = kDelTagNone;
        s.noDeleteWarning = 1;
        s.noShowDeleteConfirmed = 1;
        s.rescanDel = 0;
        s.undoTime = 5;
        checker.fillMessageView();
        checker.toggleRowState(0);
        checker.toggleRowState(2);
        server.greetAndLogin("ann", "pw")
            .withoutCapa()
            .expect("uidl 3\r\n")
            .send("+OK 3 uid-1-3\r\n")
            .expect("uidl 1\r\n")
            .send("+OK 1 uid-1-1\r\n")
            .expect("dele 3\r\n")
            .send("+OK\r\n")
            .expect("dele 1\r\n")
            .send("+OK\r\n");
    }
    ~UndoRig() { resetProcessState(); }

    // Runs `act` at the third pass of the wait's message pump.
    void atThirdPump(std::function<void()> act) {
        rig.ui.onPumpMessages = [this, act] {
            if (rig.ui.messagePumps == 3) act();
        };
    }

    // What the client sent after its DELEs.
    std::string afterDeles() const {
        const std::string& sent = server.received();
        const std::size_t at = sent.find(kDeles);
        return at == std::string::npos ? "(no DELEs)" : sent.substr(at + std::string(kDeles).size());
    }

    std::vector<DeletionRecord> logged() const {
        return DeletionLog(rig.folder.file(kDeletionLogFileName)).read();
    }

    CheckerRig rig{FakeClock::Ticks::Stepping, 0};
    MailChecker& checker = rig.checker;
    ScriptedServer server{rig.clock};
};

TEST(UndoDelete, HowTheWaitEndsDecidesWhatTheServerIsSentAndWhatIsDeleted) {
    struct Row {
        const char* name;
        std::function<void(UndoRig&)> script;  // the server after the DELEs
        std::function<void(UndoRig&)> during;  // what happens in the wait; none: it runs out
        const char* sentAfter;
        bool deleted;
        std::vector<std::string> titles;  // message boxes after the wait
    };
    const auto quitAccepted = [](UndoRig& t) { t.server.expect("quit\r\n").send("+OK\r\n"); };
    const std::vector<Row> rows = {
        {"UNDO pressed",
         [](UndoRig& t) { t.server.expect("rset\r\n").send("+OK\r\n").expect("quit\r\n").send("+OK\r\n"); },
         [](UndoRig& t) { t.checker.onScanButton(); },
         "rset\r\nquit\r\n",
         false,
         {}},
        {"RSET refused: no QUIT, which would delete",
         [](UndoRig& t) { t.server.expect("rset\r\n").send("-ERR no\r\n"); },
         [](UndoRig& t) { t.checker.onScanButton(); },
         "rset\r\n",
         false,
         {}},
        {"the wait runs out", quitAccepted, nullptr, "quit\r\n", true, {"QLT Update Needed"}},
        {"another command",
         quitAccepted,
         [](UndoRig& t) { t.checker.analyzeSelected(); },
         "quit\r\n",
         true,
         {"QLT Update Needed"}},
        {"a scan from the menu",
         quitAccepted,
         [](UndoRig& t) { EXPECT_FALSE(t.checker.startScan(ScanStart::Menu)); },
         "quit\r\n",
         true,
         {"QLT Update Needed"}},
        {"the program ends",
         quitAccepted,
         [](UndoRig& t) { t.checker.endUndoWait(UndoEnd::Exit); },
         "quit\r\n",
         true,
         {}},
        {"the server hangs up",
         [](UndoRig& t) { t.server.hang(2000).close(); },
         nullptr,
         "",
         false,
         {"QLT Connection Lost"}},
    };
    for (const Row& row : rows) {
        UndoRig t;
        row.script(t);
        if (row.during) t.atThirdPump([&t, &row] { row.during(t); });

        t.checker.deleteTagged();

        SCOPED_TRACE(row.name);
        EXPECT_EQ(t.server.finish(), "");
        EXPECT_EQ(t.afterDeles(), row.sentAfter);
        EXPECT_EQ(t.checker.messages().count(), row.deleted ? 1u : 3u);
        EXPECT_EQ(t.logged().size(), row.deleted ? 2u : 0u);
        if (!row.deleted && t.server.connections() == 1) {
            EXPECT_EQ(t.checker.view().taggedCount(), 2u) << "the list and tags stay";
        }
        std::vector<std::string> titles = t.rig.ui.titles();
        EXPECT_EQ(titles, row.titles);
        EXPECT_FALSE(t.checker.awaitingUndo());
        EXPECT_EQ(t.rig.ui.waitDepth, 0);
    }
}

class UndoDeleteTest : public ::testing::Test, public UndoRig {};

TEST_F(UndoDeleteTest, TheBarCountsDownWhileScanReadsUndo) {
    server.expect("quit\r\n").send("+OK\r\n");
    checker.deleteTagged();
    EXPECT_EQ(server.finish(), "");
    std::vector<std::string> expected;
    for (int left = 5; left >= 1; --left)
        expected.push_back("Deleted 2 messages. UNDO (" + std::to_string(left) + " s)");
    EXPECT_EQ(rig.ui.captions, expected);
    const auto& log = rig.ui.buttonLog;
    const auto undo = std::ranges::find(log, "Scan text UNDO");
    ASSERT_NE(undo, log.end());
    EXPECT_NE(std::find(undo, log.end(), "Scan text SCAN"), log.end());
    EXPECT_LE(rig.clock.tickMs(), 1000u + 5000u) << "the wait ends with the undo time";
}

TEST_F(UndoDeleteTest, TheLogSaysWhoTaggedEachMessageInListOrder) {
    server.expect("quit\r\n").send("+OK\r\n");
    checker.settings().undoTime = 0;
    checker.settings().delTag = 0;  // the rule tags every row of a refill
    checker.fillMessageView();
    checker.toggleRowState(1);  // kept, by hand
    checker.toggleRowState(2);
    checker.toggleRowState(2);  // tagged again, now by hand

    checker.deleteTagged();

    EXPECT_EQ(server.finish(), "");
    EXPECT_TRUE(rig.ui.captions.empty()) << "no wait, no countdown";
    const std::vector<DeletionRecord> records = logged();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].uidl, "uid-1-1");
    EXPECT_FALSE(records[0].taggedByHand);
    EXPECT_EQ(records[1].uidl, "uid-1-3");
    EXPECT_TRUE(records[1].taggedByHand);
    EXPECT_EQ(records[0].account, "ann@example.org");
    EXPECT_EQ(records[0].time, "2026-03-03T10:30:15Z");
}

}  // namespace
}  // namespace qlt::test

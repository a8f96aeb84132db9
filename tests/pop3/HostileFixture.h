#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/ProcessState.h"
#include "support/CheckerRig.h"
#include "support/ScriptedServer.h"

namespace qlt::test {

// A mail checker with one account, current, on a scripted server that is
// out to hurt it. Every case must end within kBoundMs of the clock, tell what
// went wrong, and leave the message list and the account in step with each
// other. The clock moves only when the server keeps the client waiting.
class HostileFixture : public ::testing::Test {
  protected:
    // Far beyond what any case needs with one-second time-outs, far below
    // what a scan held by the server would take.
    static constexpr std::uint64_t kBoundMs = 20000;

    void SetUp() override {
        checker.client().m_socket.useStreams([this] { return std::make_unique<ScriptedStream>(server); });
        const int n = rig.addAccount(110, "ann", "pw");
        AccountRecord a = *checker.GetAccount(n);
        a.timeout = 1;
        checker.ReplaceAccount(n, a);
        checker.accounts().MakeAccountCurrent(n);
    }
    void TearDown() override { resetProcessState(); }

    ScriptedServer& loggedIn() { return server.greetAndLogin("ann", "pw"); }

    // A mailbox of one message with this id, played up to the TOP command.
    ScriptedServer& untilTop(const std::string& uidl, int scanBuf = 1024) {
        return loggedIn()
            .expect("stat\r\n")
            .send("+OK 1 500\r\n")
            .withoutCapa()
            .expect("list 1\r\n")
            .send("+OK 1 500\r\n")
            .expect("uidl 1\r\n")
            .send("+OK 1 " + uidl + "\r\n")
            .expect("top 1 " + std::to_string(scanBuf) + "\r\n");
    }

    // Runs the command and checks it ended in bounded time.
    template <typename Command>
    void run(Command command) {
        const std::uint64_t start = rig.clock.tickMs();
        command();
        EXPECT_LT(rig.clock.tickMs() - start, kBoundMs);
        server.finish();
        EXPECT_FALSE(checker.scanRunning());
        EXPECT_EQ(rig.ui.waitDepth, 0);
    }

    void scan() {
        run([this] { checker.onScanButton(); });
    }

    AccountRecord account() const { return *checker.GetAccount(1); }

    // The clicked-for error details, or "" when there are none.
    std::string errorDetails() {
        const std::size_t before = rig.ui.boxes.size();
        checker.showErrorDetails();
        return rig.ui.boxes.size() > before ? rig.ui.boxes.back().text : std::string();
    }

    // Every entry is a whole message of this account whose number the
    // server announced, and the view shows each once.
    void expectConsistent(std::int32_t serverCount) const {
        const MessageList& list = checker.messages();
        for (std::size_t i = 0; i < list.count(); ++i) {
            const MessageEntry& e = list.at(i);
            SCOPED_TRACE("entry " + std::to_string(i));
            EXPECT_EQ(e.accountIndex, 1);
            EXPECT_GE(e.messageNumber, 1);
            EXPECT_LE(e.messageNumber, serverCount);
            EXPECT_FALSE(e.uidl.empty());
        }
        EXPECT_LE(list.count(), static_cast<std::size_t>(std::max(serverCount, 0)));
        EXPECT_EQ(checker.view().rowCount(), list.count());
    }

    CheckerRig rig{FakeClock::Ticks::Stepping, 0};
    MailChecker& checker = rig.checker;
    ScriptedServer server{rig.clock};
};

inline std::string topReply(const std::string& subject) {
    return "+OK\r\nFrom: ann@example.org\r\nSubject: " + subject + "\r\n\r\nbody line\r\n.\r\n";
}

}  // namespace qlt::test

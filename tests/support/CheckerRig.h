#pragma once

#include <set>
#include <string>
#include <vector>

#include "base/MailtoHandler.h"
#include "base/ProgramLauncher.h"
#include "core/MailChecker.h"
#include "risk/SenderList.h"
#include "store/InMemoryProfile.h"
#include "store/OAuthClient.h"
#include "support/FakeClock.h"
#include "support/ScriptedUiPort.h"
#include "support/StillWindow.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"

namespace qlt::test {

// Starts only the programs it was told exist.
class RecordingLauncher final : public ProgramLauncher {
  public:
    bool start(const std::string& commandLine) override {
        started.push_back(commandLine);
        return startable.contains(commandLine);
    }
    std::set<std::string> startable;
    std::vector<std::string> started;
};

class FixedMailto final : public MailtoHandler {
  public:
    std::string command() const override { return line; }
    std::string line;
};

// Appends an account on 127.0.0.1 to the checker's store and returns its number.
inline int appendLoopbackAccount(MailChecker& checker, unsigned port, const std::string& user,
                                 const std::string& password, std::uint8_t scanAllInclude = 1) {
    AccountRecord a;
    a.server = "127.0.0.1";
    a.port = port;
    a.userName = user;
    a.password = password;
    a.timeout = 5;
    a.scanAllInclude = scanAllInclude;
    a.accountName = user + "@example.org";
    a.accountNumber = static_cast<std::uint8_t>(checker.GetAccountCount() + 1);
    checker.AppendAccount(a);
    return a.accountNumber;
}

// A mail checker on fakes, with its data files in a private folder: the
// shipped dictionary, no user strings, an empty sender list.
struct CheckerRig {
    // Real ticks for servers on real sockets; stepping ones for a ScriptedServer.
    explicit CheckerRig(FakeClock::Ticks ticks = FakeClock::Ticks::Real, std::uint64_t stepMs = 10)
        : clock(ticks, stepMs) {
        checker.startCheckTimerHook = [this] { timerCalls.push_back("start"); };
        checker.stopCheckTimerHook = [this](bool reset) {
            timerCalls.push_back(reset ? "stop reset" : "stop");
        };
        // A delete sends QUIT right after its DELEs unless a test asks for
        // the wait for undo.
        checker.settings().undoTime = 0;
    }

    DataFiles files() const {
        return {{resPath("qltdict.dat"), folder.file("userlst.dat")},
                senderListPath(folder.path().string()),
                folder.file(kDeletionLogFileName)};
    }

    // Appends an account on 127.0.0.1 and returns its number.
    int addAccount(unsigned port, const std::string& user, const std::string& password,
                   std::uint8_t scanAllInclude = 1) {
        return appendLoopbackAccount(checker, port, user, password, scanAllInclude);
    }

    // Appends an account on 127.0.0.1 that signs in with OAuth2 at a custom
    // provider with this client, makes it current and returns its number.
    int addOAuthAccount(unsigned port, const std::string& user, const OAuthClient& client) {
        const int n = addAccount(port, user, "");
        AccountRecord a = *checker.GetAccount(n);
        a.signIn = kSignInOAuth2;
        a.oauthProvider = kOAuthCustom;
        a.isCurrent = 1;
        checker.ReplaceAccount(n, a);
        checker.accounts().CopyToCurrent(n);
        SaveOAuthClient(profile, a, client);
        return n;
    }

    TempFolder folder{"qlt-checker"};
    ScriptedUiPort ui;
    FakeClock clock;
    InMemoryProfile profile;
    StillWindow window;
    RecordingLauncher launcher;
    FixedMailto mailto;
    MailChecker checker{DeskServices{ui, clock, profile, window, launcher, mailto}, files()};
    std::vector<std::string> timerCalls;
};

}  // namespace qlt::test

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <regex>
#include <string>

#include "core/OAuthLogin.h"
#include "live/RecordingStream.h"
#include "platform/DesktopProgramLauncher.h"
#include "platform/LoopbackOAuthTransport.h"
#include "support/CheckerRig.h"
#include "support/InMemorySecretStore.h"

namespace qlt::test {
namespace {

namespace fs = std::filesystem;

constexpr char kClientId[] = "qlt-live-client";  // the one authserver.py knows

fs::path instanceDir() {
    const char* dir = std::getenv("QLT_LIVE_OAUTH_DIR");
    return dir == nullptr ? fs::path() : fs::path(dir);
}

unsigned portIn(const fs::path& file) {
    std::ifstream in(file);
    unsigned port = 0;
    in >> port;
    return port;
}

// The mail checker as the program runs it, with OAuth2 accounts signing in at
// the tests' authorization server through the real loopback transport. The
// browser is browser/xdg-open, found first on PATH by the program's launcher.
class LiveOAuthTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qlt_live_oauth_tests";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) static QCoreApplication app(argc, argv);
        const char* path = std::getenv("PATH");
        const std::string ours = std::string(QLT_OAUTH_BROWSER_DIR) + ":" + (path == nullptr ? "" : path);
        setenv("PATH", ours.c_str(), 1);
        // Read once, at the first traffic of the process.
        setenv("QLT_WIRE_LOG", wireLog().c_str(), 1);
    }

    static fs::path wireLog() { return instanceDir() / ("wire-" + std::to_string(getpid()) + ".log"); }

    void SetUp() override {
        ASSERT_FALSE(oauthDir.empty()) << "QLT_LIVE_OAUTH_DIR is not set: run through ctest";
        authServer = "http://127.0.0.1:" + std::to_string(portIn(oauthDir / "authserver-port"));
        rig.checker.client().m_socket.useStreams(
            [this] { return std::make_unique<RecordingStream>(rig.ui, rig.clock, sent, writes); });
        rig.checker.useOAuth(&oauth);
    }

    unsigned oauthPort() const { return portIn(oauthDir / "dovecot" / "port"); }
    unsigned plainPort() const { return portIn(oauthDir / "plain" / "port"); }

    // The current account: `user` on the server at `port`, signing in with OAuth2.
    void addAccount(unsigned port, const std::string& user, const std::string& clientId = kClientId) {
        rig.addOAuthAccount(port, user, {clientId, "", authServer + "/authorize", authServer + "/token"});
    }

    std::string post(const std::string& path, const std::string& form) {
        return transport.postForm(authServer + path, form).body;
    }
    // One of the server's counters for `user` (authorizations, refreshes,
    // introspections, refused), or its token lifetime in seconds.
    int count(const std::string& user, const std::string& name) {
        const std::string stats = post("/stats", "user=" + user);
        std::smatch m;
        return std::regex_search(stats, m, std::regex("\"" + name + "\": (\\d+)")) ? std::stoi(m[1]) : 0;
    }
    std::string keptRefreshToken() const {
        return secrets.secrets.size() == 1 ? secrets.secrets.begin()->second : std::string();
    }
    // What the user reads on clicking the progress bar after the scan.
    std::string errorDetails() {
        const std::size_t boxes = rig.ui.boxes.size();
        rig.checker.showErrorDetails();
        return rig.ui.boxes.size() > boxes ? rig.ui.boxes.back().text : std::string();
    }

    fs::path oauthDir = instanceDir();
    std::string authServer;
    CheckerRig rig;
    InMemorySecretStore secrets;
    DesktopProgramLauncher browser;
    LoopbackOAuthTransport transport{browser, 10 * 1000, 60 * 1000};
    // Token lifetimes are counted on a clock of their own that only the test moves.
    FakeClock tokenClock{FakeClock::Ticks::Stepping, 0};
    OAuthTokens tokens{secrets, transport, tokenClock};
    OAuthLogin oauth{tokens, rig.profile};
    std::string sent;
    int writes = 0;
};

enum class Meanwhile { Nothing, TokenLifetimePasses, AccessTokenRevoked, RefreshTokenRevoked };

struct AfterSignInRow {
    const char* user;
    std::size_t messages;  // in the user's mailbox
    Meanwhile meanwhile;
    int refreshes;  // asked for by the background scan
    int refused;    // access tokens the server refused
    bool stillSignedIn;
};

void PrintTo(const AfterSignInRow& row, std::ostream* out) {
    *out << row.user;
}

class AfterSignIn : public LiveOAuthTest, public ::testing::WithParamInterface<AfterSignInRow> {};

TEST_P(AfterSignIn, TheBackgroundScanRefreshesWhenItMustAndNeverOpensTheBrowser) {
    const AfterSignInRow& row = GetParam();
    addAccount(oauthPort(), row.user);

    ASSERT_TRUE(rig.checker.startScan(ScanStart::Menu));
    EXPECT_EQ(count(row.user, "authorizations"), 1) << "the browser opens once";
    EXPECT_EQ(rig.checker.messages().count(), row.messages) << errorDetails();
    const std::string refreshToken = keptRefreshToken();
    ASSERT_FALSE(refreshToken.empty());
    // The token went to the server; the wire log shows the AUTH line masked.
    const std::string command = "auth OAUTHBEARER ";
    const std::size_t auth = sent.find(command);
    ASSERT_NE(auth, std::string::npos) << sent;
    const std::size_t start = auth + command.size();
    const std::string response = sent.substr(start, sent.find("\r\n", start) - start);
    std::ifstream in(wireLog());
    const std::string log{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(log.find("C: auth OAUTHBEARER ********\n"), std::string::npos) << log;
    EXPECT_EQ(log.find(response), std::string::npos);

    switch (row.meanwhile) {
        case Meanwhile::Nothing:
            break;
        case Meanwhile::TokenLifetimePasses:
            tokenClock.advance(static_cast<std::uint64_t>(count(row.user, "lifetime")) * 1000);
            break;
        case Meanwhile::AccessTokenRevoked:
            post("/control", std::string("action=revoke-access&user=") + row.user);
            break;
        case Meanwhile::RefreshTokenRevoked:
            post("/revoke", "token=" + refreshToken);
            break;
    }
    ASSERT_TRUE(rig.checker.startScan(ScanStart::Background));

    EXPECT_EQ(count(row.user, "authorizations"), 1) << "a background scan never opens the browser";
    EXPECT_EQ(count(row.user, "refreshes"), row.refreshes);
    EXPECT_EQ(count(row.user, "refused"), row.refused);
    const std::string details = errorDetails();
    if (row.stillSignedIn) {
        EXPECT_EQ(details, "");
        EXPECT_EQ(rig.checker.messages().count(), row.messages);
        if (row.refreshes > 0)
            EXPECT_NE(keptRefreshToken(), refreshToken) << "the rotated token is kept";
        else
            EXPECT_EQ(keptRefreshToken(), refreshToken);
    } else {
        EXPECT_EQ(rig.ui.trayTips.back(), std::string("QLT - sign in needed: ") + row.user + "@example.org");
        EXPECT_NE(details.find("invalid_grant); sign in again"), std::string::npos) << details;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Live, AfterSignIn,
    ::testing::Values(AfterSignInRow{"ann", 3, Meanwhile::Nothing, 0, 0, true},
                      AfterSignInRow{"bob", 3, Meanwhile::TokenLifetimePasses, 1, 0, true},
                      AfterSignInRow{"carl", 0, Meanwhile::AccessTokenRevoked, 1, 1, true},
                      AfterSignInRow{"dora", 0, Meanwhile::RefreshTokenRevoked, 1, 1, false}),
    [](const auto& info) { return std::string(info.param.user); });

TEST_F(LiveOAuthTest, AWrongClientIdIsNamedAndNothingIsKeptOrSent) {
    addAccount(oauthPort(), "erin", "someone-elses-client");
    ASSERT_TRUE(rig.checker.startScan(ScanStart::Menu));
    EXPECT_EQ(count("erin", "authorizations"), 1);
    EXPECT_EQ(errorDetails(),
              "ERROR: The provider refused the client id (unauthorized_client): check Client ID and Client "
              "Secret under Add Account, Advanced\r\n");
    EXPECT_TRUE(secrets.secrets.empty());
    EXPECT_EQ(sent, "") << "no token, no connection";
}

TEST_F(LiveOAuthTest, AServerWithoutOAuthIsToldAndGetsNoPasswordNorToken) {
    addAccount(plainPort(), "fred");
    ASSERT_TRUE(rig.checker.startScan(ScanStart::Menu));
    ASSERT_FALSE(keptRefreshToken().empty()) << "the sign-in itself went through";
    EXPECT_NE(errorDetails().find("The server does not offer OAuth2 sign-in"), std::string::npos);
    EXPECT_NE(sent.find("capa\r\n"), std::string::npos) << sent;
    for (const char* secretCarrier : {"auth", "user", "pass"})
        EXPECT_EQ(sent.find(secretCarrier), std::string::npos) << sent;
}

}  // namespace
}  // namespace qlt::test

#include "core/ConnectionTrust.h"
#include "pop3/Pop3Fixture.h"
#include "store/ConnectionSecurity.h"

namespace qlt::test {
namespace {

// Certificates need a TLS server: the trust question is covered by the live
// TLS tests. Here: the clear-text warning, its answers and when it is due.
class ConnectionTrustTest : public Pop3Fixture {
  protected:
    // A server name taken for another machine's, whatever address it has.
    ConnectionTrust trust{ui, [this](const std::string& host) {
                              lookups.push_back(host);
                              return hostIsLoopback;
                          }};
    bool hostIsLoopback = false;
    std::vector<std::string> lookups;
};

TEST_F(ConnectionTrustTest, WarnsOnceBeforeAClearTextLoginToAnotherMachine) {
    server.greetAndLogin("ann", "s3cret");
    AccountRecord login = account();
    login.accountName = "Ann at work";

    const TrustedLogin result = trust.connect(client, login);

    EXPECT_TRUE(result.connected) << client.m_strError;
    EXPECT_TRUE(result.accountChanged);
    EXPECT_EQ(login.plainTextWarned, 1);
    EXPECT_EQ(server.finish(), "");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "QLT Unencrypted Login");
    EXPECT_EQ(ui.boxes[0].text,
              "The account \"Ann at work\" logs in to 127.0.0.1\n"
              "without encryption: the password and the mail can be read\n"
              "by anyone on the way.\n\n"
              "If the server offers it, choose TLS or STLS for this account.\n"
              "This warning is shown only once for the account.\n\n"
              "Log in anyway?\n");
    EXPECT_EQ(ui.boxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::YesNo);
    EXPECT_TRUE(ui.trustRequests.empty());
}

TEST_F(ConnectionTrustTest, DecliningSendsNothingAndWarnsAgainNextTime) {
    AccountRecord login = account();
    ui.queueAnswer(BoxAnswer::No);

    const TrustedLogin result = trust.connect(client, login);

    EXPECT_FALSE(result.connected);
    EXPECT_FALSE(result.accountChanged);
    EXPECT_EQ(login.plainTextWarned, 0);
    // Not even a connection was tried: that would have left its own error.
    EXPECT_EQ(client.m_strError, kPlainTextDeclined);
    EXPECT_TRUE(ui.progressEvents.empty());
    EXPECT_EQ(server.connections(), 0);
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST_F(ConnectionTrustTest, TheNameOfAnUnnamedAccountIsUserAtServer) {
    AccountRecord login = account();
    EXPECT_EQ(PlainTextWarningText(login).rfind("The account \"ann@127.0.0.1\" logs in to 127.0.0.1\n", 0),
              0u);
}

struct NoWarning {
    const char* name;
    std::uint8_t security;
    std::uint8_t warned;
    bool loopback;
    bool looksUpTheName;
};

class NoWarningTest : public ConnectionTrustTest, public ::testing::WithParamInterface<NoWarning> {};

TEST_P(NoWarningTest, LogsInWithoutABox) {
    const NoWarning& row = GetParam();
    hostIsLoopback = row.loopback;
    if (row.security == kSecurityStls) {
        // Enough of a server to show the login went ahead without a box.
        server.send("+OK ready\r\n").expect("stls\r\n").send("-ERR no\r\n");
    } else {
        server.greetAndLogin("ann", "s3cret");
    }
    AccountRecord login = account();
    login.security = row.security;
    login.plainTextWarned = row.warned;

    const TrustedLogin result = trust.connect(client, login);

    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(result.connected, row.security == kSecurityNone);
    EXPECT_FALSE(result.accountChanged);
    EXPECT_EQ(login.plainTextWarned, row.warned);
    EXPECT_TRUE(ui.boxes.empty());
    // Only an account still to be warned costs a name lookup.
    EXPECT_EQ(lookups.size(), row.looksUpTheName ? 1u : 0u);
    // A plain refusal is no certificate to ask about.
    EXPECT_TRUE(ui.trustRequests.empty());
}

INSTANTIATE_TEST_SUITE_P(Logins, NoWarningTest,
                         ::testing::Values(NoWarning{"AlreadyWarned", kSecurityNone, 1, false, false},
                                           NoWarning{"LoopbackServer", kSecurityNone, 0, true, true},
                                           NoWarning{"Stls", kSecurityStls, 0, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeepTrustTest, CopiesTheAgreementButNeverTheTypedPassword) {
    AccountRecord stored;
    stored.password = "";
    stored.status = kStatusCompleted;
    AccountRecord login = stored;
    login.password = "typed";
    login.plainTextWarned = 1;
    login.pinnedCertificate[0] = 0xAB;
    login.status = kStatusConnectionFailed;

    KeepTrust(stored, login);

    EXPECT_EQ(stored.plainTextWarned, 1);
    EXPECT_EQ(stored.pinnedCertificate, login.pinnedCertificate);
    EXPECT_TRUE(stored.password.empty());
    EXPECT_EQ(stored.status, kStatusCompleted);
}

}  // namespace
}  // namespace qlt::test

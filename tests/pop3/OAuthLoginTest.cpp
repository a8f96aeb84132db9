#include "core/ConnectionTrust.h"
#include "core/OAuthLogin.h"
#include "pop3/Pop3Fixture.h"
#include "pop3/SaslOAuth.h"
#include "store/InMemoryProfile.h"
#include "support/InMemorySecretStore.h"
#include "support/ScriptedOAuthTransport.h"

namespace qlt::test {
namespace {

class OAuthLoginTest : public Pop3Fixture {
  protected:
    OAuthLoginTest() {
        login = account();
        login.accountName = "ann@example.org";
        login.signIn = kSignInOAuth2;
        login.oauthProvider = kOAuthCustom;
        SaveOAuthClient(profile, login,
                        {"my-client", "", "https://idp.test/authorize", "https://idp.test/token"});
        trust.useOAuth(&oauth);
    }

    std::string authLine(const std::string& token) const {
        return "auth OAUTHBEARER " +
               EncodeBase64(OAuthResponse(SaslMechanism::OAuthBearer, "ann", "127.0.0.1", 110, token)) +
               "\r\n";
    }
    ScriptedServer& greetAndAuth(const std::string& token, const std::string& answer) {
        return server.send("+OK ready\r\n").capa("SASL OAUTHBEARER\r\n").expect(authLine(token)).send(answer);
    }
    std::string refreshKey() const { return "refresh-token/127.0.0.1:110/ann"; }

    AccountRecord login;
    InMemoryProfile profile;
    InMemorySecretStore secrets;
    ScriptedOAuthTransport transport;
    OAuthTokens tokens{secrets, transport, clock};
    OAuthLogin oauth{tokens, profile};
    ConnectionTrust trust{ui, [](const std::string&) { return true; }};
};

TEST_F(OAuthLoginTest, ARefusedTokenIsRefreshedOnceAndTheLoginTriedAgain) {
    secrets.secrets[refreshKey()] = "rt.1";
    transport.replies = {tokenReply("at.1", "", 3600), tokenReply("at.2", "", 3600)};
    greetAndAuth("at.1", "-ERR [AUTH] expired\r\n").acceptNext();
    greetAndAuth("at.2", "+OK in\r\n").close();
    EXPECT_TRUE(trust.connect(client, login).connected) << client.m_strError;
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(transport.posts.size(), 2u);
    EXPECT_FALSE(oauth.signInNeeded(login));
}

TEST_F(OAuthLoginTest, ARevokedRefreshTokenEndsTheLoginAndMarksTheAccount) {
    secrets.secrets[refreshKey()] = "rt.1";
    transport.replies = {tokenReply("at.1", "", 3600), {400, R"({"error":"invalid_grant"})", {}}};
    greetAndAuth("at.1", "-ERR [AUTH] revoked\r\n").close();
    EXPECT_FALSE(trust.connect(client, login).connected);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(client.m_strError,
              "ERROR: The server refused the OAuth2 sign-in\r\n-ERR [AUTH] revoked\r\n"
              "ERROR: The provider refused the sign-in (invalid_grant); sign in again\r\n");
    EXPECT_TRUE(oauth.signInNeeded(login));
    EXPECT_EQ(oauth.firstSignInNeeded(), "ann@example.org");
}

TEST_F(OAuthLoginTest, ACheckThatMayNotAskMarksTheAccountAndConnectsNowhere) {
    EXPECT_FALSE(trust.connect(client, login).connected);
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.received(), "");
    EXPECT_EQ(client.m_strError, "ERROR: Sign in needed for ann@example.org\r\n");
    EXPECT_EQ(transport.shownUrl, "") << "no browser for a check the user did not ask for";
    EXPECT_TRUE(oauth.signInNeeded(login));
}

TEST_F(OAuthLoginTest, TheUsersOwnCommandSignsInInTheBrowserThenLogsIn) {
    oauth.setInteractive(true);
    transport.replies = {tokenReply("at.1", "rt.1", 3600)};
    greetAndAuth("at.1", "+OK in\r\n").close();
    EXPECT_TRUE(trust.connect(client, login).connected) << client.m_strError;
    EXPECT_EQ(server.finish(), "");
    EXPECT_TRUE(transport.shownUrl.starts_with("https://idp.test/authorize?"));
    EXPECT_EQ(secrets.secrets[refreshKey()], "rt.1");
}

TEST_F(OAuthLoginTest, WithoutTokensAtHandAnOAuthAccountIsNotLoggedIn) {
    trust.useOAuth(nullptr);
    EXPECT_FALSE(trust.connect(client, login).connected);
    EXPECT_EQ(client.m_strError, kNoOAuthHere);
    EXPECT_EQ(server.received(), "");
}

}  // namespace
}  // namespace qlt::test

#include <gtest/gtest.h>

#include "core/OAuthRequests.h"
#include "core/OAuthTokens.h"
#include "support/FakeClock.h"
#include "support/InMemorySecretStore.h"
#include "support/SampleAccounts.h"
#include "support/ScriptedOAuthTransport.h"

namespace qlt {
namespace {

const std::string kKey = "refresh-token/pop.example.org:995/ann";

class OAuthTokensTest : public ::testing::Test {
  protected:
    OAuthTokensTest() {
        account.server = "pop.example.org";
        account.port = 995;
        account.userName = "ann";
        account.signIn = kSignInOAuth2;
        account.oauthProvider = kOAuthCustom;
    }

    AccountRecord account;
    OAuthClient client{"my-client", "", "https://idp.test/authorize", "https://idp.test/token"};
    test::FakeClock clock;
    test::InMemorySecretStore secrets;
    test::ScriptedOAuthTransport transport;
    OAuthTokens oauth{secrets, transport, clock};
};

TEST(OAuthRequests, PkceChallengeIsTheUnpaddedBase64UrlOfTheVerifiersSha256AndEachVerifierIsNew) {
    // Worked out apart with Python's hashlib and base64.urlsafe_b64encode.
    EXPECT_EQ(PkceChallenge("dBjftJeZ4CVP-mJ92K9yZNdqZIGt7X7gmt6GxFCJ3bk"),
              "dCeDFgENsfSNFe-zFA5cfMcHaZ_IWbptDJ4cyQaf6tE");
    const Pkce a = MakePkce();
    EXPECT_EQ(a.verifier.size(), 43u);
    EXPECT_EQ(a.challenge, PkceChallenge(a.verifier));
    EXPECT_NE(a.verifier, MakePkce().verifier);
}

TEST(OAuthRequests, TokenRepliesAreReadFromUntrustedText) {
    const struct {
        const char* name;
        int status;
        const char* body;
        const char* access;
        const char* error;
    } rows[] = {
        {"granted", 200, R"({"access_token":"at.1","expires_in":3599})", "at.1", ""},
        {"refused", 400, R"({"error":"invalid_grant","error_description":"revoked"})", "", "invalid_grant"},
        {"odd error code cleaned", 400, "{\"error\":\"bad\\u0001<b>\"}", "", "badb"},
        {"not json", 502, "<html>", "", "the token endpoint answered HTTP 502 without a token"},
        {"token with a space", 200, R"({"access_token":"a b"})", "a b",
         "the token endpoint gave no usable access token"},
    };
    for (const auto& row : rows) {
        const TokenReply reply = ReadTokenReply(row.status, row.body);
        EXPECT_EQ(reply.accessToken, row.access) << row.name;
        EXPECT_EQ(reply.error, row.error) << row.name;
    }
}

TEST_F(OAuthTokensTest, SignInSendsPkceKeepsTheRefreshTokenAndReusesTheAccessTokenUntilItNearlyExpires) {
    transport.replies = {test::tokenReply("at.1", "rt.1", 3600), test::tokenReply("at.2", "", 3600)};
    const auto first = oauth.signIn(account, client);
    ASSERT_EQ(first.outcome, OAuthTokens::Outcome::Ready) << first.message;
    EXPECT_EQ(first.token, "at.1");
    EXPECT_EQ(secrets.secrets[kKey], "rt.1");
    EXPECT_TRUE(
        transport.shownUrl.starts_with("https://idp.test/authorize?response_type=code&client_id=my-client&"
                                       "redirect_uri=http%3A%2F%2F127.0.0.1%3A4711%2F&state="));
    EXPECT_NE(transport.shownUrl.find("&code_challenge_method=S256&login_hint=ann"), std::string::npos);
    ASSERT_EQ(transport.posts.size(), 1u);
    EXPECT_TRUE(
        transport.posts[0].starts_with("https://idp.test/token grant_type=authorization_code&code=code-1&"));
    EXPECT_NE(transport.posts[0].find("&code_verifier="), std::string::npos);

    clock.advance(3600 * 1000 - OAuthTokens::kRefreshMarginMs - 1000);
    EXPECT_EQ(oauth.accessToken(account, client, false).token, "at.1");
    clock.advance(2000);
    EXPECT_EQ(oauth.accessToken(account, client, false).token, "at.2");
    EXPECT_EQ(transport.posts.back(),
              "https://idp.test/token grant_type=refresh_token&refresh_token=rt.1&client_id=my-client");
    EXPECT_EQ(secrets.secrets[kKey], "rt.1") << "no new refresh token: the old one stays";
}

TEST_F(OAuthTokensTest, ARefusedAuthRefreshesOnceMoreAndARotatedRefreshTokenIsKept) {
    secrets.secrets[kKey] = "rt.1";
    transport.replies = {test::tokenReply("at.1", "", 3600), test::tokenReply("at.2", "rt.2", 3600)};
    EXPECT_EQ(oauth.accessToken(account, client, false).token, "at.1");
    EXPECT_EQ(oauth.accessToken(account, client, true).token, "at.2");
    EXPECT_EQ(secrets.secrets[kKey], "rt.2");
}

struct RefreshRow {
    const char* name;
    std::optional<SecretStore::Outcome> keyring;
    bool stored;
    OAuthTransport::Reply reply;
    OAuthTokens::Outcome outcome;
    std::string message;
};

TEST_F(OAuthTokensTest, RefreshFailuresSayWhetherTheUserMustSignInAgain) {
    using O = OAuthTokens::Outcome;
    const RefreshRow rows[] = {
        {"never signed in", {}, false, {}, O::SignInNeeded, "Sign in needed for "},
        {"revoked",
         {},
         true,
         {400, R"({"error":"invalid_grant"})", {}},
         O::SignInNeeded,
         "The provider refused the sign-in (invalid_grant); sign in again"},
        {"keyring locked",
         SecretStore::Outcome::Refused,
         true,
         {},
         O::Failed,
         "The keyring did not give the sign-in token of "},
        {"no answer",
         {},
         true,
         {0, {}, "timed out"},
         O::Failed,
         "The sign-in server did not answer: timed out"},
        {"server trouble",
         {},
         true,
         {503, R"({"error":"temporarily_unavailable"})", {}},
         O::Failed,
         "The sign-in server refused a new token: temporarily_unavailable"},
    };
    for (const auto& row : rows) {
        secrets.secrets.clear();
        if (row.stored) secrets.secrets[kKey] = "rt.1";
        secrets.answer = row.keyring;
        transport.replies = {row.reply};
        const auto result = oauth.accessToken(account, client, false);
        EXPECT_EQ(result.outcome, row.outcome) << row.name;
        EXPECT_EQ(result.message, row.message) << row.name;
        EXPECT_EQ(result.token, "") << row.name;
    }
}

TEST_F(OAuthTokensTest, ASignInAnswerForAnotherRequestOrARefusalKeepsNothing) {
    transport.browser = {"code-1", "forged", {}, {}};
    EXPECT_EQ(oauth.signIn(account, client).message,
              "The sign-in answer belongs to another request; nothing was kept");
    transport.browser = {{}, {}, "unauthorized_client", {}};
    EXPECT_EQ(
        oauth.signIn(account, client).message,
        "The provider refused the client id (unauthorized_client): check Client ID and Client Secret under "
        "Add Account, Advanced");
    EXPECT_TRUE(transport.posts.empty());
    EXPECT_TRUE(secrets.secrets.empty());
}

}  // namespace
}  // namespace qlt

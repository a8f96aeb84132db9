#include <string>
#include <utility>
#include <vector>

#include "pop3/Pop3Fixture.h"
#include "pop3/SaslOAuth.h"

namespace qlt::test {
namespace {

using Exchange = std::pair<std::string, std::string>;  // what the client writes, what the server answers

const std::string kBearerShort = "bixhPWFubiwBaG9zdD0xMjcuMC4wLjEBcG9ydD0xMTABYXV0aD1CZWFyZXIgdG9rMTIzAQE=";
const std::string kXOAuth2Short = "dXNlcj1hbm4BYXV0aD1CZWFyZXIgdG9rMTIzAQE=";
const std::string kLongToken(300, 'T');
// {"status":"invalid_token"}
const std::string kErrorChallenge = "+ eyJzdGF0dXMiOiJpbnZhbGlkX3Rva2VuIn0=\r\n";

struct SaslRow {
    const char* name;
    std::string capabilities;  // empty: the server refuses CAPA
    std::string token;
    std::vector<Exchange> dialogue;
    bool loggedIn;
    bool refused;
    std::string error;
};

class SaslLoginTest : public Pop3Fixture, public ::testing::WithParamInterface<SaslRow> {};

TEST_P(SaslLoginTest, PlaysTheExactDialogueAndKeepsTheTokenOutOfTheCommandText) {
    const SaslRow& row = GetParam();
    server.send("+OK POP3 ready\r\n");
    if (row.capabilities.empty())
        server.withoutCapa();
    else
        server.capa(row.capabilities);
    std::string expected = "capa\r\n";
    for (const auto& [client, answer] : row.dialogue) {
        server.expect(client).send(answer);
        expected += client;
    }
    server.close();
    AccountRecord a = account();
    a.signIn = kSignInOAuth2;
    client.setBearerToken(row.token);
    EXPECT_EQ(client.Connect(a), row.loggedIn) << client.m_strError;
    EXPECT_EQ(server.finish(), "");
    EXPECT_EQ(server.received(), expected);
    EXPECT_EQ(client.SignInRefused(), row.refused);
    EXPECT_EQ(client.m_strError, row.error);
    EXPECT_EQ(client.m_strCommand.find(row.token), std::string::npos) << client.m_strCommand;
    EXPECT_EQ(client.m_strError.find(row.token), std::string::npos);
}

const std::string kRefused = "ERROR: The server refused the OAuth2 sign-in\r\n";
const std::string kNoMechanism =
    "ERROR: The server does not offer OAuth2 sign-in (SASL OAUTHBEARER or XOAUTH2); no password or token was "
    "sent\r\n";

INSTANTIATE_TEST_SUITE_P(
    Dialogues, SaslLoginTest,
    ::testing::Values(
        SaslRow{"OauthbearerPreferredWithItsInitialResponse",
                "SASL PLAIN XOAUTH2 OAUTHBEARER\r\n",
                "tok123",
                {{"auth OAUTHBEARER " + kBearerShort + "\r\n", "+OK Logged in\r\n"}},
                true,
                false,
                ""},
        SaslRow{"Xoauth2WhenOnlyItIsAnnouncedInAnyCase",
                "USER\r\nSASL plain xoauth2\r\n",
                "tok123",
                {{"auth XOAUTH2 " + kXOAuth2Short + "\r\n", "+OK\r\n"}},
                true,
                false,
                ""},
        SaslRow{
            "ResponseTooLongForTheLineFollowsTheContinuation",
            "SASL OAUTHBEARER\r\n",
            kLongToken,
            {{"auth OAUTHBEARER\r\n", "+ \r\n"},
             {EncodeBase64(OAuthResponse(SaslMechanism::OAuthBearer, "ann", "127.0.0.1", 110, kLongToken)) +
                  "\r\n",
              "+OK\r\n"}},
            true,
            false,
            ""},
        SaslRow{"OauthbearerErrorChallengeAnsweredWithTheDummy",
                "SASL OAUTHBEARER\r\n",
                "tok123",
                {{"auth OAUTHBEARER " + kBearerShort + "\r\n", kErrorChallenge},
                 {"AQ==\r\n", "-ERR [AUTH] Authentication failed.\r\n"}},
                false,
                true,
                kRefused + "-ERR [AUTH] Authentication failed.\r\n{\"status\":\"invalid_token\"}\r\n"},
        SaslRow{"Xoauth2ErrorChallengeAnsweredWithAnEmptyLine",
                "SASL XOAUTH2\r\n",
                "tok123",
                {{"auth XOAUTH2 " + kXOAuth2Short + "\r\n", kErrorChallenge}, {"\r\n", "-ERR no\r\n"}},
                false,
                true,
                kRefused + "-ERR no\r\n{\"status\":\"invalid_token\"}\r\n"},
        SaslRow{"RefusedWithoutAChallenge",
                "SASL OAUTHBEARER\r\n",
                "tok123",
                {{"auth OAUTHBEARER " + kBearerShort + "\r\n", "-ERR expired\r\n"}},
                false,
                true,
                kRefused + "-ERR expired\r\n"},
        SaslRow{"ContinuationRefusedBeforeTheTokenWent",
                "SASL OAUTHBEARER\r\n",
                kLongToken,
                {{"auth OAUTHBEARER\r\n", "-ERR not now\r\n"}},
                false,
                false,
                kRefused + "-ERR not now\r\n"},
        SaslRow{"NoOAuthMechanismAnnounced",
                "SASL PLAIN LOGIN\r\nUSER\r\n",
                "tok123",
                {},
                false,
                false,
                kNoMechanism},
        SaslRow{"NoCapaAtAll", "", "tok123", {}, false, false, kNoMechanism},
        SaslRow{"ATokenThatWouldBreakTheFramingIsNotSent",
                "SASL OAUTHBEARER\r\n",
                "tok\x01"
                "123",
                {},
                false,
                false,
                "ERROR: No usable OAuth2 access token; sign in again\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaslOAuth, Base64RoundTripsAndRefusesWhatIsNotBase64) {
    EXPECT_EQ(EncodeBase64("user=ann\x01"
                           "auth=Bearer tok123\x01\x01"),
              kXOAuth2Short);
    EXPECT_EQ(StrictBase64Decode(" " + kXOAuth2Short + "\r\n"),
              "user=ann\x01"
              "auth=Bearer tok123\x01\x01");
    EXPECT_EQ(StrictBase64Decode("YQ=="), "a");
    EXPECT_EQ(StrictBase64Decode("YWI="), "ab");
    EXPECT_EQ(StrictBase64Decode("not base64!"), "");
    EXPECT_FALSE(IsBearerToken(""));
    EXPECT_FALSE(IsBearerToken("a b"));
    EXPECT_TRUE(IsBearerToken("ya29.a0-_~+/x=="));
}

}  // namespace
}  // namespace qlt::test

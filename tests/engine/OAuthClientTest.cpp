#include <gtest/gtest.h>

#include "store/InMemoryProfile.h"
#include "store/OAuthClient.h"
#include "support/SampleAccounts.h"

namespace qlt {
namespace {

TEST(OAuthClient, IsKeptPerAccountByServerPortAndUserAndReadsBackAsWritten) {
    InMemoryProfile profile;
    AccountRecord ann = test::sampleAccount(1);
    AccountRecord bob = ann;
    bob.port = 995;
    const OAuthClient client{"id-123.apps", "shh", "https://auth.example/authorize",
                             "https://auth.example/token"};
    ASSERT_TRUE(SaveOAuthClient(profile, ann, client));
    EXPECT_EQ(LoadOAuthClient(profile, ann), client);
    EXPECT_EQ(LoadOAuthClient(profile, bob), OAuthClient{});
    const std::string name =
        "OAuth2/ClientId/" + ann.server.str() + ":" + std::to_string(ann.port) + "/" + ann.userName.str();
    EXPECT_EQ(profile.readText(name), "id-123.apps");
}

struct PresetRow {
    const char* name;
    std::uint8_t provider;
    OAuthEndpoints expected;
};

TEST(OAuthClient, PresetsGiveTheProvidersEndpointsAndPopScopeAndCustomTheTypedOnes) {
    const OAuthClient typed{"id", "", "https://idp.example/a", "https://idp.example/t"};
    const PresetRow rows[] = {
        {"Google",
         kOAuthGoogle,
         {"https://accounts.google.com/o/oauth2/v2/auth", "https://oauth2.googleapis.com/token",
          "https://mail.google.com/"}},
        {"Microsoft",
         kOAuthMicrosoft,
         {"https://login.microsoftonline.com/common/oauth2/v2.0/authorize",
          "https://login.microsoftonline.com/common/oauth2/v2.0/token",
          "https://outlook.office.com/POP.AccessAsUser.All offline_access"}},
        {"Custom", kOAuthCustom, {"https://idp.example/a", "https://idp.example/t", ""}},
    };
    for (const auto& row : rows) {
        const OAuthEndpoints got = EndpointsFor(row.provider, typed);
        EXPECT_EQ(got.authorization, row.expected.authorization) << row.name;
        EXPECT_EQ(got.token, row.expected.token) << row.name;
        EXPECT_EQ(got.scope, row.expected.scope) << row.name;
        EXPECT_STREQ(OAuthProviderName(row.provider), row.name);
    }
}

}  // namespace
}  // namespace qlt

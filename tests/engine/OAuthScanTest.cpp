#include <gtest/gtest.h>

#include "core/OAuthLogin.h"
#include "core/TrayStatus.h"
#include "support/CheckerRig.h"
#include "support/InMemorySecretStore.h"
#include "support/ScriptedOAuthTransport.h"

namespace qlt::test {
namespace {

// An OAuth2 account that was never signed in, scanned from each start.
class OAuthScanTest : public ::testing::TestWithParam<ScanStart> {
  protected:
    OAuthScanTest() {
        rig.addOAuthAccount(1, "ann", {"my-client", "", "https://idp.test/a", "https://idp.test/t"});
        rig.checker.useOAuth(&oauth);
    }

    CheckerRig rig;
    InMemorySecretStore secrets;
    ScriptedOAuthTransport transport;
    OAuthTokens tokens{secrets, transport, rig.clock};
    OAuthLogin oauth{tokens, rig.profile};
};

TEST_P(OAuthScanTest, OnlyTheUsersOwnStartOpensTheBrowserAndTheTrayTipSaysWhoWaits) {
    const bool userStarted = GetParam() == ScanStart::Menu || GetParam() == ScanStart::Tray;
    ASSERT_TRUE(rig.checker.startScan(GetParam()));
    EXPECT_TRUE(rig.ui.passwordRequests.empty()) << "an OAuth2 account has no password to ask for";
    EXPECT_EQ(!transport.shownUrl.empty(), userStarted);
    ASSERT_FALSE(rig.ui.trayTips.empty());
    // A browser sign-in that got no token leaves the account waiting all the same.
    const std::string tip =
        userStarted ? TrayTipText(rig.checker.accounts()) : "QLT - sign in needed: ann@example.org";
    EXPECT_EQ(rig.ui.trayTips.back(), tip);
    // The tray's later refreshes keep saying so.
    EXPECT_EQ(rig.checker.trayTip(), tip);
}

INSTANTIATE_TEST_SUITE_P(Starts, OAuthScanTest,
                         ::testing::Values(ScanStart::Menu, ScanStart::Tray, ScanStart::Startup,
                                           ScanStart::Background));

TEST(TrayStatus, SignInNeededTipFitsTheTray) {
    EXPECT_EQ(SignInNeededTip(std::string(80, 'a')).size(), kTrayTipMaxLength);
}

}  // namespace
}  // namespace qlt::test

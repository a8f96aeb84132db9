#include <gtest/gtest.h>

#include "demo/DemoProfile.h"
#include "store/AccountPersistence.h"
#include "store/Formatting.h"
#include "store/InMemoryProfile.h"
#include "support/StillWindow.h"

namespace qlt::demo {
namespace {

// The program loads the demo profile as any other: one current account for
// the server, and a scan as soon as the window is up.
TEST(DemoProfile, LoadsAsOneCurrentAccountForTheServer) {
    InMemoryProfile profile;
    ASSERT_TRUE(writeDemoProfile(profile, 40110));

    test::StillWindow window;
    AccountPersistence persistence(profile, window);
    AccountStore store;
    Settings settings;
    persistence.LoadAccounts(store, settings);
    EXPECT_FALSE(persistence.storedAccountsUnreadable());
    ASSERT_EQ(store.GetAccountCount(), 1);
    const AccountRecord& a = store.currentAccount;
    EXPECT_EQ(store.currentAccountNumber, 1);
    EXPECT_EQ(a.isCurrent, 1u);
    EXPECT_EQ(a.server.str(), "127.0.0.1");
    EXPECT_EQ(a.port, 40110u);
    EXPECT_EQ(a.userName.str(), "demo");
    EXPECT_EQ(a.password.str(), "demo");
    EXPECT_EQ(a.accountName.str(), kDemoAccountName);
    EXPECT_TRUE(IsValidAccountName(a.accountName.view()));
    EXPECT_EQ(a.status, kStatusUpdateNeeded) << "the first scan reads the mailbox through";
    EXPECT_EQ(settings.scanOnStartup, 1);
    EXPECT_EQ(settings.soundFile, "default.wav");
    EXPECT_EQ(settings.delTag, 3);
}

}  // namespace
}  // namespace qlt::demo

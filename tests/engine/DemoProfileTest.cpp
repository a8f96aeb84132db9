#include <gtest/gtest.h>

#include "demo/DemoProfile.h"
#include "store/AccountPersistence.h"
#include "store/Formatting.h"
#include "store/InMemoryProfile.h"

namespace qlt::demo {
namespace {

class StillWindow final : public WindowGeometry {
  public:
    Rect windowRect() const override { return {0, 0, 302, 420}; }
    void moveTopLeft(std::int32_t, std::int32_t) override {}
    Size screenSize() const override { return {1920, 1080}; }
};

// The program loads the demo profile as any other: one current account for
// the server, and a scan as soon as the window is up.
TEST(DemoProfile, LoadsAsOneCurrentAccountForTheServer) {
    InMemoryProfile profile;
    ASSERT_TRUE(writeDemoProfile(profile, 40110));

    StillWindow window;
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

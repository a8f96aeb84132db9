#include <gtest/gtest.h>

#include <algorithm>

#include "base/ProgressCodes.h"
#include "core/AccountView.h"
#include "support/CheckerRig.h"

namespace qlt::test {
namespace {

class MailCheckerAccountViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.addAccount(110, "ann", "pw", 1);
        rig.addAccount(110, "bob", "pw", 0);
        rig.addAccount(110, "cid", "pw", 1);
        checker.accounts().MakeAccountCurrent(1);
    }

    std::vector<AccountState> states() const {
        std::vector<AccountState> out;
        for (int n = 1; n <= checker.GetAccountCount(); ++n)
            out.push_back(AccountViewState(*checker.GetAccount(n)));
        return out;
    }

    bool refreshed(ViewPart part) const { return std::ranges::count(rig.ui.refreshes, part) > 0; }

    CheckerRig rig;
    MailChecker& checker = rig.checker;
};

using enum AccountState;

TEST_F(MailCheckerAccountViewTest, ChoosingARowMakesOnlyThatAccountCurrent) {
    ASSERT_TRUE(checker.chooseAccount(1));
    EXPECT_EQ(states(), (std::vector{Included, Current, Included}));
    EXPECT_EQ(checker.accounts().currentAccountNumber, 2);
    EXPECT_EQ(checker.accounts().currentAccount.userName.str(), "bob");
    EXPECT_TRUE(rig.ui.sawProgress(kProgressClear));
    EXPECT_TRUE(refreshed(ViewPart::AccountView));
    ASSERT_TRUE(checker.headerLine().has_value());
    EXPECT_EQ(checker.headerLine()->accountName, "bob@example.org");
}

TEST_F(MailCheckerAccountViewTest, ChoosingARowThatDoesNotExistChangesNothing) {
    EXPECT_FALSE(checker.chooseAccount(3));
    EXPECT_FALSE(checker.chooseAccount(-1));
    EXPECT_EQ(checker.accounts().currentAccountNumber, 1);
    EXPECT_TRUE(rig.ui.refreshes.empty());
}

TEST_F(MailCheckerAccountViewTest, IconClickFlipsScanAllMarkAndKeepsTheCurrentAccountIn) {
    // A store written elsewhere may leave the current account unmarked; any
    // icon change marks it, since the current account is always scanned.
    AccountRecord first = *checker.GetAccount(1);
    first.scanAllInclude = 0;
    checker.ReplaceAccount(1, first);

    ASSERT_TRUE(checker.toggleAccountInclude(1));
    EXPECT_EQ(checker.GetAccount(2)->scanAllInclude, 1);
    EXPECT_EQ(checker.GetAccount(1)->scanAllInclude, 1);
    EXPECT_EQ(checker.accounts().currentAccount.scanAllInclude, 1);

    ASSERT_TRUE(checker.toggleAccountInclude(2));
    EXPECT_EQ(states(), (std::vector{Current, Included, Inactive}));
    EXPECT_TRUE(refreshed(ViewPart::CommandState));
}

TEST_F(MailCheckerAccountViewTest, IconClickSavesTheMarksAtOnce) {
    ASSERT_TRUE(checker.toggleAccountInclude(1));
    AccountStore reloaded;
    Settings settings;
    AccountPersistence(rig.profile, rig.window).LoadAccounts(reloaded, settings);
    ASSERT_EQ(reloaded.GetAccountCount(), 3);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(reloaded.GetAccount(n)->scanAllInclude, checker.GetAccount(n)->scanAllInclude) << n;
    EXPECT_EQ(reloaded.GetAccount(2)->scanAllInclude, 1);
}

TEST_F(MailCheckerAccountViewTest, IconOfTheCurrentAccountCannotBeToggled) {
    EXPECT_FALSE(checker.toggleAccountInclude(0));
    EXPECT_FALSE(checker.toggleAccountInclude(7));
    EXPECT_EQ(states(), (std::vector{Current, Inactive, Included}));
}

TEST_F(MailCheckerAccountViewTest, AccountCannotBeChosenWhileAScanRuns) {
    // A click handled inside the scan's message pump.
    bool chosen = true;
    rig.ui.onPumpMessages = [&] { chosen = checker.chooseAccount(2); };
    rig.ui.onProgress = [&](int, long) {
        if (checker.scanRunning()) chosen = checker.chooseAccount(2);
    };
    checker.onScanButton();  // the account's port 110 on loopback refuses quickly
    EXPECT_FALSE(chosen);
    EXPECT_EQ(checker.accounts().currentAccountNumber, 1);
    EXPECT_EQ(states().front(), Current);
}

TEST(AccountViewCells, TextsOfTheColumns) {
    AccountRecord a;
    a.accountName = "Home";
    a.messageCount = 12;
    a.status = kStatusCompleted;
    a.server = "pop.example.org";
    a.userName = "ann";
    a.mailboxSize = 2048;
    EXPECT_EQ(AccountCellText(a, kAccountColumnName), "Home");
    EXPECT_EQ(AccountCellText(a, kAccountColumnMessages), "12");
    EXPECT_EQ(AccountCellText(a, kAccountColumnLastChecked), "No Record");
    EXPECT_EQ(AccountCellText(a, kAccountColumnStatus), "Completed");
    EXPECT_EQ(AccountCellText(a, kAccountColumnServer), "pop.example.org");
    EXPECT_EQ(AccountCellText(a, kAccountColumnUser), "ann");
    EXPECT_EQ(AccountCellText(a, kAccountColumnUsed), "2.00 Kb");
    EXPECT_EQ(AccountCellText(a, kAccountColumnState), "");
    EXPECT_EQ(AccountCellText(a, 99), "");
}

}  // namespace
}  // namespace qlt::test

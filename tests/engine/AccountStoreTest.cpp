#include <gtest/gtest.h>

#include "store/AccountRules.h"
#include "store/AccountStore.h"
#include "support/SampleAccounts.h"

namespace qlt {
namespace {

std::vector<int> numbers(const AccountStore& store) {
    std::vector<int> out;
    for (int n = 1; n <= store.GetAccountCount(); ++n) out.push_back(store.GetAccount(n)->accountNumber);
    return out;
}

std::vector<int> flags(const AccountStore& store) {
    std::vector<int> out;
    for (int n = 1; n <= store.GetAccountCount(); ++n)
        out.push_back(static_cast<int>(store.GetAccount(n)->isCurrent));
    return out;
}

TEST(AccountStore, StartsEmptyWithNoCurrentAccount) {
    const AccountStore store;
    EXPECT_EQ(store.GetAccountCount(), 0);
    EXPECT_EQ(store.currentAccountNumber, 255);
    EXPECT_FALSE(store.GetAccount(1));
}

TEST(AccountStore, GetAccountHandsOutCopiesAndRefusesOutOfRange) {
    AccountStore store = test::sampleStore(2);
    auto copy = store.GetAccount(1);
    ASSERT_TRUE(copy);
    copy->server = "changed";
    EXPECT_EQ(store.GetAccount(1)->server, "pop1.example.org");
    EXPECT_FALSE(store.GetAccount(0));
    EXPECT_FALSE(store.GetAccount(3));
    EXPECT_FALSE(store.ReplaceAccount(3, *copy));
    EXPECT_FALSE(store.RemoveAccount(2));
    EXPECT_FALSE(store.RemoveAccount(-1));
}

TEST(AccountStore, GrowsByAnEighthBetweenFourAndTheCap) {
    AccountStore store;
    std::vector<std::size_t> capacities;
    for (int n = 1; n <= 50; ++n) {
        store.AppendAccount(AccountRecord{});
        if (capacities.empty() || capacities.back() != store.capacity())
            capacities.push_back(store.capacity());
    }
    // 0 -> 4 -> 8 -> ... -> 40, then 40 + 40/8 = 45, 45 + 5 = 50.
    const std::vector<std::size_t> expected = {4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 45, 50};
    EXPECT_EQ(capacities, expected);
}

TEST(AccountStore, RemovingAccountTwoOfThreeKeepsTheOldNumbers) {
    AccountStore store = test::sampleStore(3);
    ASSERT_TRUE(store.DeleteAccount(1));
    EXPECT_EQ(numbers(store), (std::vector<int>{1, 3}));
    EXPECT_EQ(store.GetAccount(2)->server, "pop3.example.org");
}

TEST(AccountStore, DeleteMakesTheLastAccountCurrentWithoutClearingOthers) {
    AccountStore store = test::sampleStore(4);  // account 2 flagged
    ASSERT_TRUE(store.DeleteAccount(0));
    EXPECT_EQ(flags(store), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(store.currentAccountNumber, 3);
    EXPECT_EQ(store.currentAccount.server, "pop4.example.org");
}

TEST(AccountStore, DeletingTheOnlyAccountLeavesNoCurrentAccount) {
    AccountStore store = test::sampleStore(1);
    store.MakeAccountCurrent(1);
    ASSERT_TRUE(store.DeleteAccount(0));
    EXPECT_EQ(store.GetAccountCount(), 0);
    EXPECT_EQ(store.currentAccountNumber, AccountStore::kNoCurrentAccount);
    EXPECT_EQ(store.currentAccount, AccountRecord{});
}

TEST(AccountStore, MakingCurrentFlagsOnlyThatAccountAndCorrectsTheCopysPort) {
    AccountStore store = test::sampleStore(3);
    AccountRecord third = *store.GetAccount(3);
    third.port = 70000;
    store.ReplaceAccount(3, third);
    ASSERT_TRUE(store.MakeAccountCurrent(3));
    EXPECT_EQ(flags(store), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(store.currentAccountNumber, 3);
    EXPECT_EQ(store.currentAccount.port, 110u);
    EXPECT_EQ(store.GetAccount(3)->port, 70000u) << "the stored record keeps its port";
}

TEST(AccountStore, AddedAccountGetsItsNumberAndBecomesTheOnlyCurrent) {
    AccountStore store = test::sampleStore(2);
    AccountRecord added = NewAccountRecord();
    added.accountName = "@new.example.org";
    ASSERT_TRUE(store.AddAccount(added));
    EXPECT_EQ(flags(store), (std::vector<int>{0, 0, 1}));
    const AccountRecord stored = *store.GetAccount(3);
    EXPECT_EQ(stored.accountNumber, 3);
    EXPECT_EQ(stored.scanAllInclude, 1);
    EXPECT_EQ(stored.selectedRow, -1);
    EXPECT_EQ(stored.status, kStatusUpdateNeeded);
    EXPECT_TRUE(stored.lastScanned.isZero());
    EXPECT_EQ(store.currentAccountNumber, 3);
    EXPECT_EQ(store.currentAccount.accountName, "@new.example.org");
}

TEST(AccountStore, RefusesAnAccountBeyondTheLoadLimit) {
    AccountStore store;
    for (int n = 0; n < kMaxAccounts; ++n) ASSERT_TRUE(store.AddAccount(NewAccountRecord()));
    EXPECT_FALSE(store.AddAccount(NewAccountRecord()));
    EXPECT_EQ(store.GetAccountCount(), kMaxAccounts);
    EXPECT_NE(AccountLimitMessage().find("32"), std::string::npos);
}

TEST(AccountRules, PortAndTimeoutCorrections) {
    EXPECT_EQ(CorrectedPort(0), 110u);
    EXPECT_EQ(CorrectedPort(65536), 110u);
    EXPECT_EQ(CorrectedPort(65535), 65535u);
    EXPECT_EQ(CorrectedPort(1), 1u);
    struct Row {
        const char* name;
        long long seconds;
        std::uint16_t onAdd;
        std::uint16_t onUpdate;
    };
    const Row rows[] = {{"zero", 0, 30, 60}, {"negative", -5, 30, 60},   {"above 300", 301, 30, 60},
                        {"lowest", 1, 1, 1}, {"highest", 300, 300, 300}, {"wraps 16 bits", 65537, 30, 60}};
    for (const auto& row : rows) {
        EXPECT_EQ(CorrectedTimeout(row.seconds, TimeoutEdit::Add), row.onAdd) << row.name;
        EXPECT_EQ(CorrectedTimeout(row.seconds, TimeoutEdit::Update), row.onUpdate) << row.name;
    }
}

TEST(AccountRules, TextLongerThanItsFieldIsRefusedByName) {
    const std::string ok = "a";
    EXPECT_FALSE(CheckAccountTextLengths(
        {std::string(59, 's'), std::string(53, 'u'), std::string(43, 'p'), std::string(63, 'n')}));
    struct Row {
        const char* name;
        AccountTexts texts;
        const char* expected;
    };
    const std::string server(60, 's'), user(54, 'u'), password(44, 'p'), account(64, 'n');
    const Row rows[] = {
        {"server",
         {server, ok, ok, ok},
         "The POP3 Server Address is too long: it can hold at most 59 characters."},
        {"user", {ok, user, ok, ok}, "The User Name is too long: it can hold at most 53 characters."},
        {"password", {ok, ok, password, ok}, "The Password is too long: it can hold at most 43 characters."},
        {"account name of 64",
         {ok, ok, ok, account},
         "The Email Address is too long: it can hold at most 63 characters."},
    };
    for (const auto& row : rows) EXPECT_EQ(CheckAccountTextLengths(row.texts), row.expected) << row.name;
}

}  // namespace
}  // namespace qlt

#include <gtest/gtest.h>

#include "base/MessageList.h"

namespace qlt {
namespace {

MessageEntry entry(std::string_view uidl, std::uint8_t account, std::int32_t number = 0,
                   std::int32_t size = 0) {
    MessageEntry e;
    e.uidl = uidl;
    e.accountIndex = account;
    e.messageNumber = number;
    e.size = size;
    return e;
}

TEST(MessageList, FindByUidlKnowsAnAccountsWholeIdsByteForByte) {
    MessageList list;
    list.append(entry("1700000000.100001", 1));
    list.append(entry("AbC", 1));
    list.append(entry("", 1));
    list.append(entry("other-account", 2));
    struct Row {
        const char* name;
        std::uint8_t account;
        const char* uidl;
        bool found;
    } rows[] = {
        {"the same id", 1, "1700000000.100001", true},
        {"a long shared prefix", 1, "1700000000.100002", false},
        {"another case", 1, "abc", false},
        {"a prefix of it", 1, "Ab", false},
        {"empty is never known", 1, "", false},
        {"another account's id", 1, "other-account", false},
        {"its own account", 2, "other-account", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(list.findByUidl(row.account, row.uidl), row.found);
    }
}

TEST(MessageList, TheIdIndexFollowsEveryRemoval) {
    MessageList list;
    for (const char* id : {"a", "b", "a", "c"}) list.append(entry(id, 1));
    list.append(entry("d", 2));
    list.removeAt(0);
    EXPECT_TRUE(list.findByUidl(1, "a")) << "a second entry still has it";
    list.removeAt(1);
    EXPECT_FALSE(list.findByUidl(1, "a"));
    list.refreshAccountNumbers(1, {{"b", 1}}, true);
    EXPECT_FALSE(list.findByUidl(1, "c"));
    list.forgetAccount(1);
    EXPECT_FALSE(list.findByUidl(1, "b"));
    EXPECT_TRUE(list.findByUidl(1, "d")) << "account 2 became account 1";
    list.removeAll();
    EXPECT_FALSE(list.findByUidl(1, "d"));
}

TEST(MessageList, RemoveAccountEntriesKeepsOtherAccountsInOrder) {
    MessageList list;
    for (int i = 0; i < 9; ++i) list.append(entry("id" + std::to_string(i), i % 3 == 0 ? 2 : 1));
    list.removeAccountEntries(2);
    ASSERT_EQ(list.count(), 6u);
    const char* expected[] = {"id1", "id2", "id4", "id5", "id7", "id8"};
    for (std::size_t i = 0; i < list.count(); ++i) EXPECT_EQ(list.at(i).uidl, expected[i]);
}

TEST(MessageList, RemoveAtShiftsLaterEntriesDownAndRefusesBadIndex) {
    MessageList list;
    for (const char* id : {"a", "b", "c"}) list.append(entry(id, 1));
    EXPECT_TRUE(list.removeAt(1));
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.at(1).uidl, "c");
    EXPECT_FALSE(list.removeAt(2));
    EXPECT_EQ(list.count(), 2u);
}

TEST(MessageList, RenumberAccountClosesTheGapsOfTheDeletedAndStoresCountAndSize) {
    MessageList list;
    list.append(entry("a", 1, 4, 1000));
    list.append(entry("x", 2, 1, 7777));
    list.append(entry("b", 1, 7, 250));
    list.append(entry("c", 1, 9, 5));
    AccountRecord account;
    account.messageCount = 99;
    // Messages 2, 5 and 8 were deleted: each number drops by those below it.
    list.renumberAccount(1, {2, 5, 8}, account);
    EXPECT_EQ(list.at(0).messageNumber, 3);
    EXPECT_EQ(list.at(1).messageNumber, 1);  // other account untouched
    EXPECT_EQ(list.at(2).messageNumber, 5);
    EXPECT_EQ(list.at(3).messageNumber, 6);
    EXPECT_EQ(account.messageCount, 3);
    EXPECT_EQ(account.mailboxSize, 1255);
}

TEST(MessageList, RenumberAccountWithoutEntriesStoresZero) {
    MessageList list;
    list.append(entry("x", 2, 1, 10));
    AccountRecord account;
    account.messageCount = 5;
    account.mailboxSize = 500;
    list.renumberAccount(1, {}, account);
    EXPECT_EQ(account.messageCount, 0);
    EXPECT_EQ(account.mailboxSize, 0);
}

TEST(MessageList, GrowsByAnEighthAndAtLeastFourEntries) {
    MessageList list;
    std::vector<std::size_t> capacities;
    for (int i = 0; i < 60; ++i) {
        list.append(entry("u", 1));
        if (capacities.empty() || capacities.back() != list.capacity()) capacities.push_back(list.capacity());
    }
    // 4 steps of 4 up to 32, then count / 8: 32 + 4 = 36, 36 + 4 = 40, 40 + 5 = 45, 45 + 5 = 50,
    // 50 + 6 = 56, 56 + 7 = 63.
    const std::vector<std::size_t> expected = {4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
    EXPECT_EQ(capacities, expected);
}

TEST(MessageList, RemoveAllEmptiesTheList) {
    MessageList list;
    list.append(entry("a", 1));
    list.removeAll();
    EXPECT_EQ(list.count(), 0u);
    EXPECT_FALSE(list.findByUidl(1, "a"));
}

}  // namespace
}  // namespace qlt

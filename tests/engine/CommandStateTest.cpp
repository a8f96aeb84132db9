#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/CommandState.h"
#include "core/TrayStatus.h"
#include "support/SampleAccounts.h"
#include "support/ScopedTimeZone.h"

namespace qlt {
namespace {

AccountStore storeWithCurrent(int count, int current, std::uint8_t status, std::int32_t messageCount) {
    AccountStore store = test::sampleStore(count);
    if (current > 0) store.MakeAccountCurrent(current);
    store.currentAccountNumber =
        static_cast<std::uint8_t>(current > 0 ? current : AccountStore::kNoCurrentAccount);
    store.currentAccount.status = status;
    store.currentAccount.messageCount = messageCount;
    return store;
}

TEST(CommandState, MessageCommandsAndShowAll) {
    struct Row {
        const char* name;
        int current;  // 0: none
        std::uint8_t status;
        std::int32_t messageCount;
        std::size_t entries;
        bool showAll;
        CommandState expected;
    } rows[] = {
        {"no current account", 0, kStatusCompleted, 5, 5, false, {false, true, false}},
        {"completed with messages", 1, kStatusCompleted, 5, 5, false, {true, true, false}},
        {"no new messages", 1, kStatusNoNewMessages, 5, 0, false, {true, false, false}},
        {"scan incomplete", 1, kStatusScanIncomplete, 5, 1, true, {true, false, true}},
        {"no messages", 1, kStatusNoMessages, 5, 2, true, {false, true, true}},
        {"connection failed", 1, kStatusConnectionFailed, 5, 2, false, {false, true, false}},
        {"update needed", 1, kStatusUpdateNeeded, 5, 2, false, {false, true, false}},
        {"completed but empty", 1, kStatusCompleted, 0, 0, false, {false, false, false}},
        {"unknown status code", 1, 9, 5, 0, false, {true, false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const AccountStore store = storeWithCurrent(2, row.current, row.status, row.messageCount);
        EXPECT_EQ(ComputeCommandState(store, row.entries, row.showAll), row.expected);
    }
}

TEST(CommandState, NumberZeroOrBeyondTheStoreIsNoCurrentAccount) {
    for (std::uint8_t number : {0, 3, 255}) {
        AccountStore store = storeWithCurrent(2, 1, kStatusCompleted, 5);
        store.currentAccountNumber = number;
        EXPECT_FALSE(ComputeCommandState(store, 2, false).messageCommandsEnabled) << int(number);
        EXPECT_FALSE(ComputeHeaderLine(store)) << int(number);
        ResetCountersWithoutCurrentAccount(store);
        EXPECT_EQ(store.currentAccount.messageCount, 0);
        EXPECT_EQ(store.currentAccount.status, kStatusUpdateNeeded);
    }
}

TEST(CommandState, ResetLeavesACurrentAccountAlone) {
    AccountStore store = storeWithCurrent(2, 2, kStatusCompleted, 5);
    ResetCountersWithoutCurrentAccount(store);
    EXPECT_EQ(store.currentAccount.messageCount, 5);
    EXPECT_EQ(store.currentAccount.status, kStatusCompleted);
}

// Local time as UTC, so the shown times equal the stored ones.
class UtcZone : public ::testing::Test {
    test::ScopedTimeZone m_zone{"UTC0"};
};

TEST_F(UtcZone, HeaderLineOfTheCurrentAccount) {
    AccountStore store = storeWithCurrent(3, 2, kStatusNoNewMessages, 17);
    store.currentAccount.linkSpeed = 5000;
    EXPECT_EQ(ComputeHeaderLine(store),
              (HeaderLine{"@mail2.example.org", "No New Messages", "17", "2024-03-02 13:45:30", "4 KB/s"}));

    store.currentAccount.lastScanned = {};
    store.currentAccount.linkSpeed = 0;
    store.currentAccount.status = 7;
    EXPECT_EQ(ComputeHeaderLine(store), (HeaderLine{"@mail2.example.org", "Unknown", "17", "No Record", ""}));
}

TEST_F(UtcZone, TrayTip) {
    struct Row {
        const char* name;
        int accounts;
        std::int32_t extraMessages;  // added to account 1 (sample counts are 10, 20, 30)
        bool scanned;
        const char* tip;
    } rows[] = {
        {"no account", 0, 0, true, "Quillgate - Inactive (No Account)"},
        {"three accounts", 3, 0, true, "QLT - mail checked 2024-03-02 13:45:30 - 60 Messages "},
        {"one message in all", 1, -9, true, "QLT - mail checked 2024-03-02 13:45:30 - 1 Message "},
        {"never checked", 2, 0, false, "QLT - mail checked No Record - 30 Messages "},
        {"ten-digit sum", 2, 2147483000, true,
         "QLT - mail checked 2024-03-02 13:45:30 - 2147483030 Messages "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AccountStore store = test::sampleStore(row.accounts);
        if (row.accounts > 0) {
            AccountRecord first = *store.GetAccount(1);
            first.messageCount += row.extraMessages;
            store.ReplaceAccount(1, first);
            store.MakeAccountCurrent(2 <= row.accounts ? 2 : 1);
            store.currentAccount.lastScanned = test::sampleAccount(2).lastScanned;
            if (!row.scanned) store.currentAccount.lastScanned = {};
        }
        const std::string tip = TrayTipText(store);
        EXPECT_EQ(tip, row.tip);
        EXPECT_LE(tip.size(), kTrayTipMaxLength);
    }
}

TEST_F(UtcZone, TrayTipIsCutToItsRoom) {
    AccountStore store;
    AccountRecord hostile = test::sampleAccount(1);
    hostile.messageCount = INT32_MIN;
    for (int i = 0; i < 100; ++i) store.AppendAccount(hostile);
    store.MakeAccountCurrent(1);
    EXPECT_EQ(TrayTipText(store), "QLT - mail checked 2024-03-01 13:45:30 - -214748364800 Messages");
}

TEST(TrayIcon, ChosenByKind) {
    struct Row {
        int kind;
        int icon;
    } rows[] = {{0, 186}, {1, 187}, {2, 188}, {3, 189}, {4, 190}, {5, 191}, {6, 186}, {-1, 186}};
    for (const Row& row : rows) EXPECT_EQ(TrayIconFor(row.kind), row.icon) << row.kind;
}

}  // namespace
}  // namespace qlt

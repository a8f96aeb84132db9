#include <gtest/gtest.h>

#include "ViewFixtures.h"
#include "core/ViewStatus.h"
#include "risk/AutoTag.h"

namespace qlt {
namespace {

using test::viewEntry;
using test::viewStore;

MessageList entriesOf(std::size_t n, std::uint8_t account = 1) {
    MessageList list;
    for (std::size_t i = 0; i < n; ++i) list.append(viewEntry(account));
    return list;
}

TEST(MessageCountText, CountsEntriesAndServerMessagesWithPlural) {
    struct Row {
        const char* name;
        int accounts;
        std::size_t entries;
        std::int32_t firstServerCount;  // replaces account 1's count (sample counts are 10, 20, 30)
        const char* text;
    } rows[] = {
        {"no account", 0, 0, 0, "No Account"},
        {"one entry", 3, 1, 10, "1 (60) Message "},
        {"no entry", 3, 0, 10, "0 (60) Messages "},
        {"two entries", 2, 2, 1, "2 (21) Messages "},
        {"server sum of 9999", 1, 3, 9999, "3 (9999) Messages "},
        {"server sum past 9999", 2, 3, 9980, "3 (0) Messages "},
        {"negative server sum", 1, 3, -5, "3 (0) Messages "},
        {"10000 entries", 1, 10000, 4, "0 (4) Messages "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AccountStore store = test::sampleStore(row.accounts);
        if (row.accounts > 0) {
            AccountRecord first = *store.GetAccount(1);
            first.messageCount = row.firstServerCount;
            store.ReplaceAccount(1, first);
        }
        EXPECT_EQ(MessageCountText(store, entriesOf(row.entries)), row.text);
    }
}

TEST(PositionText, ShowsRowAndTaggedCountWhenTheServerHadMail) {
    struct Row {
        const char* name;
        std::optional<std::size_t> selected;
        std::size_t tagged;
        std::int32_t statCount;
        const char* text;
    } rows[] = {
        {"nothing selected", std::nullopt, 2, 5, ""},
        {"first row", 0, 0, 5, "Pos: 1"},
        {"second row, two tagged", 1, 2, 5, "Pos: 2  Delete: 2"},
        {"tagged rows but STAT found none", 1, 2, 0, "Pos: 2"},
        {"row 9999 is still shown", 9998, 0, 5, "Pos: 9999"},
        {"row 10000 is not", 9999, 1, 5, ""},
    };
    const MessageList list = entriesOf(10000);
    AccountStore store = viewStore(1, 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MessageView view;
        view.fill(list, store, false, kDelTagNone);
        for (std::size_t r = 0; r < row.tagged; ++r) view.toggleState(r);
        view.select(row.selected);
        view.updateSelection(store, list);
        EXPECT_EQ(PositionText(view, row.statCount), row.text);
    }
}

TEST(PositionText, EmptyWithoutACurrentEntry) {
    const MessageList list = entriesOf(3);
    AccountStore store = viewStore(1, 1);
    store.currentAccount.messageCount = 0;
    MessageView view;
    view.fill(list, store, false, 3);
    view.select(1);
    view.updateSelection(store, list);
    EXPECT_EQ(PositionText(view, 3), "");
}

TEST(RiskLamps, HighestLevelPerCategoryOverTheListedEntries) {
    using L = test::Levels;
    struct Row {
        const char* name;
        std::uint8_t status;
        std::int32_t messageCount;
        bool showAll;
        std::array<int, 4> lamps;
        int overall;
    } rows[] = {
        {"current account only", kStatusCompleted, 3, false, {1, 2, 0, 1}, 3},
        {"show all adds the other account's red virus", kStatusCompleted, 3, true, {3, 2, 0, 1}, 4},
        {"no messages on the server", kStatusCompleted, 0, false, {-1, -1, -1, -1}, 0},
        {"update needed hides existing entries", kStatusUpdateNeeded, 3, true, {-1, -1, -1, -1}, 0},
        {"scan incomplete still shows", kStatusScanIncomplete, 3, false, {1, 2, 0, 1}, 3},
    };
    MessageList list;
    list.append(viewEntry(1, L{1, 0, 0, 0, 3}));
    list.append(viewEntry(2, L{3, 0, 0, 0, 0}));
    list.append(viewEntry(1, L{0, 2, 0, 1, 0}));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AccountStore store = viewStore(2, 1);
        store.currentAccount.status = row.status;
        store.currentAccount.messageCount = row.messageCount;
        const RiskLamps lamps = ComputeRiskLamps(store, list, row.showAll);
        EXPECT_EQ(lamps.lamp, row.lamps);
        EXPECT_EQ(lamps.overallRisk, row.overall);
    }
}

TEST(RiskLamps, UserStringsAloneLeaveTheLampsGreen) {
    MessageList list;
    list.append(viewEntry(1, {0, 0, 0, 0, 3}));
    const RiskLamps lamps = ComputeRiskLamps(viewStore(1, 1), list, false);
    EXPECT_EQ(lamps.lamp, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(lamps.overallRisk, 1);
}

TEST(RiskLamps, AccountWithMessagesButNoListedEntriesIsGreen) {
    const RiskLamps lamps = ComputeRiskLamps(viewStore(2, 2), entriesOf(2, 1), false);
    EXPECT_EQ(lamps.lamp, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(lamps.overallRisk, 1);
}

}  // namespace
}  // namespace qlt

#include <gtest/gtest.h>

#include <vector>

#include "ViewFixtures.h"
#include "core/MessageView.h"
#include "risk/AutoTag.h"

namespace qlt {
namespace {

using test::viewEntry;
using test::viewStore;

std::vector<std::size_t> entryIndexes(const MessageView& view) {
    std::vector<std::size_t> out;
    for (std::size_t r = 0; r < view.rowCount(); ++r) out.push_back(view.entryIndex(r));
    return out;
}

std::vector<RowState> states(const MessageView& view) {
    std::vector<RowState> out;
    for (std::size_t r = 0; r < view.rowCount(); ++r) out.push_back(view.state(r));
    return out;
}

constexpr RowState D = RowState::Deliver;
constexpr RowState X = RowState::Delete;

TEST(MessageView, CellsShowTextsAndIcons) {
    constexpr const char* kName1 = "@mail1.example.org";
    constexpr const char* kName2 = "@mail2.example.org";
    constexpr const char* kName3 = "@mail3.example.org";
    struct Row {
        const char* name;
        std::uint8_t account;
        test::Levels levels;
        std::uint8_t sender;
        std::int32_t size;
        std::array<int, 6> icons;  // columns 1..5 and 7
        const char* sizeText;
        const char* accountText;
    } rows[] = {
        {"green, unlisted, 1024", 1, {0, 0, 0, 0, 0}, 0, 1024, {0, 0, 0, 0, 0, 5}, "1024 b", kName1},
        {"mixed, friend, 1025", 2, {1, 2, 3, 0, 1}, 1, 1025, {1, 2, 3, 0, 1, 6}, "1.00 Kb", kName2},
        {"user red, foe, 1048577", 3, {0, 0, 0, 0, 3}, 2, 1048577, {0, 0, 0, 0, 3, 7}, "1.00 Mb", kName3},
        {"unknown size", 1, {0, 0, 0, 0, 0}, 0, -1, {0, 0, 0, 0, 0, 5}, "unknown", kName1},
        {"past the scale", 1, {9, 0, 0, 0, 0}, 9, 0, {3, 0, 0, 0, 0, 5}, "0 b", kName1},
        {"account not in store", 7, {0, 0, 0, 0, 0}, 0, 5, {0, 0, 0, 0, 0, 5}, "5 b", ""},
    };
    MessageList list;
    for (const Row& row : rows) {
        MessageEntry e = viewEntry(row.account, row.levels, row.sender, std::string("from ") + row.name);
        e.subject = std::string("subject ") + row.name;
        e.date = std::string("date ") + row.name;
        e.size = row.size;
        list.append(e);
    }
    const AccountStore store = viewStore(3, 1);
    MessageView view;
    view.fill(list, store, true, kDelTagNone);
    ASSERT_EQ(view.rowCount(), std::size(rows));
    for (std::size_t r = 0; r < view.rowCount(); ++r) {
        const Row& row = rows[r];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(view.cellText(r, kColumnFrom), std::string("from ") + row.name);
        EXPECT_EQ(view.cellText(r, kColumnSubject), std::string("subject ") + row.name);
        EXPECT_EQ(view.cellText(r, kColumnDate), std::string("date ") + row.name);
        EXPECT_EQ(view.cellText(r, kColumnSize), row.sizeText);
        EXPECT_EQ(view.cellText(r, kColumnAccount), row.accountText);
        const int iconColumns[] = {kColumnVirus,        kColumnSpam,        kColumnXRated,
                                   kColumnFoulLanguage, kColumnUserStrings, kColumnSender};
        for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(view.cellIcon(r, iconColumns[i]), row.icons[i]) << i;
        for (int textColumn :
             {kColumnFrom, kColumnSubject, kColumnSize, kColumnDate, kColumnAccount, kColumnState})
            EXPECT_EQ(view.cellIcon(r, textColumn), kNoIcon);
        EXPECT_EQ(view.cellText(r, kColumnState), "");
        EXPECT_EQ(view.cellText(r, kColumnVirus), "");
    }
    EXPECT_EQ(view.cellText(99, kColumnFrom), "");
    EXPECT_EQ(view.cellText(0, kMessageColumnCount), "");
    EXPECT_EQ(view.cellIcon(0, -1), kNoIcon);
}

TEST(MessageView, FillListsTheCurrentAccountOrEveryAccountInScanOrder) {
    MessageList list;
    for (std::uint8_t account : {1, 2, 3, 2, 1}) list.append(viewEntry(account));
    const AccountStore store = viewStore(3, 2);
    MessageView view;
    view.fill(list, store, false, kDelTagNone);
    EXPECT_EQ(entryIndexes(view), (std::vector<std::size_t>{1, 3}));
    view.fill(list, store, true, kDelTagNone);
    EXPECT_EQ(entryIndexes(view), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(view.cellText(2, kColumnAccount), "@mail3.example.org");
}

TEST(MessageView, RefillDropsHandSetTagsAndAppliesTheRuleAgain) {
    MessageList list;
    list.append(viewEntry(1, {0, 0, 0, 0, 0}, kSenderFoe));       // black-listed, no risk
    list.append(viewEntry(1, {3, 3, 3, 3, 3}, kSenderFriend));    // white-listed, every level red
    list.append(viewEntry(1, {0, 3, 0, 0, 0}, kSenderUnlisted));  // red spam
    list.append(viewEntry(1, {0, 2, 0, 0, 0}, kSenderUnlisted));  // orange spam
    AccountStore store = viewStore(2, 1);
    MessageView view;
    view.fill(list, store, false, 3);
    EXPECT_EQ(states(view), (std::vector<RowState>{X, D, X, D}));

    EXPECT_TRUE(view.toggleState(0));
    EXPECT_TRUE(view.toggleState(1));
    EXPECT_TRUE(view.toggleState(3));
    EXPECT_EQ(states(view), (std::vector<RowState>{D, X, X, X}));

    view.fill(list, store, true, 3);  // as after the Show All switch
    EXPECT_EQ(states(view), (std::vector<RowState>{X, D, X, D}));

    view.fill(list, store, false, kDelTagNone);
    EXPECT_EQ(states(view), (std::vector<RowState>{X, D, D, D}));
    view.fill(list, store, false, 0);
    EXPECT_EQ(states(view), (std::vector<RowState>{X, D, X, X}));
}

TEST(MessageView, TaggingByHandAndAll) {
    MessageList list;
    for (int i = 0; i < 4; ++i) list.append(viewEntry(1, {}, i == 0 ? kSenderFoe : kSenderUnlisted));
    MessageView view;
    view.fill(list, viewStore(1, 1), false, 3);
    EXPECT_EQ(view.taggedCount(), 1u);
    EXPECT_FALSE(view.toggleState(4));
    EXPECT_EQ(view.tagAll(), 3u);
    EXPECT_EQ(view.taggedCount(), 4u);
    EXPECT_EQ(view.tagAll(), 0u);
    EXPECT_EQ(view.untagAll(), 4u);
    EXPECT_EQ(view.taggedCount(), 0u);
    EXPECT_TRUE(view.toggleState(2));
    EXPECT_EQ(states(view), (std::vector<RowState>{D, D, X, D}));
    EXPECT_TRUE(view.toggleState(2));
    EXPECT_EQ(view.taggedCount(), 0u);
}

TEST(MessageView, RemovedRowsTakeTheirEntriesAlong) {
    MessageList list;
    for (std::uint8_t account : {1, 2, 1, 1, 2, 1}) list.append(viewEntry(account));
    MessageView view;
    view.fill(list, viewStore(2, 1), false, kDelTagNone);  // rows: entries 0, 2, 3, 5
    view.select(3);
    // Entries 0 and 3 left the list; a row past the view is passed over.
    view.removeEntryRows({2, 0, 9});
    EXPECT_EQ(entryIndexes(view), (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(view.selectedRow(), 1u) << "the selection follows its row";
    view.removeEntryRows({1});
    EXPECT_FALSE(view.selectedRow()) << "a removed row takes the selection with it";
}

TEST(MessageView, ListenerHearsEveryChangeAndRevisionCounts) {
    MessageList list;
    for (int i = 0; i < 3; ++i) list.append(viewEntry(1));
    MessageView view;
    std::vector<std::pair<MessageView::Change, std::size_t>> heard;
    view.setListener([&](MessageView::Change change, std::size_t row) { heard.emplace_back(change, row); });
    const std::uint64_t before = view.revision();
    view.fill(list, viewStore(1, 1), false, kDelTagNone);
    view.toggleState(1);
    view.tagAll();
    view.select(2);
    view.select(2);  // no change
    view.clear();
    using C = MessageView::Change;
    const std::vector<std::pair<C, std::size_t>> expected = {{C::Reset, 0},     {C::RowState, 1},
                                                             {C::RowState, 0},  {C::RowState, 2},
                                                             {C::Selection, 0}, {C::Reset, 0}};
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(view.revision() - before, expected.size());
    EXPECT_EQ(view.rowCount(), 0u);
    EXPECT_FALSE(view.selectedRow());
}

class Selection : public ::testing::Test {
  protected:
    void SetUp() override {
        for (std::uint8_t account : {1, 2, 2, 1, 2}) {
            MessageEntry e = viewEntry(account);
            e.subject = "entry " + std::to_string(list.count());
            list.append(e);
        }
        store = viewStore(3, 2);  // account 2: rows are entries 1, 2, 4
    }

    MessageList list;
    AccountStore store;
    MessageView view;
};

TEST_F(Selection, FillSelectsTheRememberedRowWhenItExists) {
    struct Row {
        const char* name;
        std::int16_t remembered;
        std::optional<std::size_t> selected;
        std::size_t currentRow;
    } rows[] = {
        {"second row after a complete scan", 1, 1, 1},
        {"last row", 2, 2, 2},
        {"none remembered", -1, std::nullopt, kNoCurrentRow},
        {"remembered row beyond the view", 3, std::nullopt, kNoCurrentRow},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        store.currentAccount.selectedRow = row.remembered;
        view.fill(list, store, false, kDelTagNone);
        EXPECT_EQ(view.selectedRow(), row.selected);
        EXPECT_EQ(view.currentRow(), row.currentRow);
    }
}

TEST_F(Selection, UpdateCopiesTheSelectedEntryAndRemembersTheRow) {
    view.fill(list, store, false, kDelTagNone);
    view.select(2);
    view.updateSelection(store, list);
    EXPECT_EQ(view.currentRow(), 2);
    EXPECT_EQ(view.currentEntry(), 4);
    EXPECT_EQ(view.currentMessage(), list.at(4));
    EXPECT_EQ(store.currentAccount.selectedRow, 2);
    EXPECT_EQ(store.GetAccount(2)->selectedRow, 2);
    EXPECT_EQ(store.GetAccount(1)->selectedRow, -1) << "another account's row is left alone";
}

TEST_F(Selection, NothingSelectedClearsTheCopyAndKeepsTheRememberedRow) {
    store.currentAccount.selectedRow = 1;
    view.fill(list, store, false, kDelTagNone);
    view.updateSelection(store, list);
    ASSERT_EQ(view.currentEntry(), 2);
    view.select(std::nullopt);
    view.updateSelection(store, list);
    EXPECT_EQ(view.currentRow(), kNoCurrentRow);
    EXPECT_EQ(view.currentEntry(), -1);
    EXPECT_EQ(view.currentMessage(), MessageEntry{});
    EXPECT_EQ(store.currentAccount.selectedRow, 1);
}

TEST_F(Selection, AccountWithoutMessagesShowsNoEntry) {
    view.fill(list, store, true, kDelTagNone);
    view.select(0);
    store.currentAccount.messageCount = 0;
    view.updateSelection(store, list);
    EXPECT_EQ(view.currentRow(), 0);
    EXPECT_EQ(view.currentEntry(), -1);
    EXPECT_EQ(view.currentMessage(), MessageEntry{});
}

TEST_F(Selection, WithoutCurrentAccountNothingChanges) {
    view.fill(list, store, true, kDelTagNone);
    const std::size_t filledRow = view.currentRow();
    view.select(3);
    store.currentAccountNumber = AccountStore::kNoCurrentAccount;
    view.updateSelection(store, list);
    EXPECT_EQ(view.currentRow(), filledRow);
    EXPECT_EQ(view.currentEntry(), -1);
    EXPECT_NE(store.currentAccount.selectedRow, 3);
}

TEST_F(Selection, EntryRemovedSinceTheFillIsNotRead) {
    view.fill(list, store, false, kDelTagNone);
    view.select(2);  // entry 4
    list.removeAt(4);
    view.updateSelection(store, list);
    EXPECT_EQ(view.currentRow(), 2);
    EXPECT_EQ(view.currentEntry(), -1);
    EXPECT_EQ(view.currentMessage(), MessageEntry{});
}

TEST_F(Selection, SelectingBeyondTheRowsClearsTheSelection) {
    view.fill(list, store, false, kDelTagNone);
    view.select(1);
    view.select(3);
    EXPECT_FALSE(view.selectedRow());
}

TEST(MessageViewRows, RowsPastSixteenBitsAreSelectable) {
    constexpr std::size_t kRows = 70001;
    constexpr std::size_t kRow = 70000;
    MessageList list;
    list.append(viewEntry(2));  // another account's entry, so that rows and entries differ by one
    for (std::size_t i = 0; i < kRows; ++i) {
        MessageEntry e = viewEntry(1);
        e.messageNumber = static_cast<std::int32_t>(i + 1);
        list.append(e);
    }
    AccountStore store = viewStore(2, 1);
    store.currentAccount.selectedRow = 1;
    MessageView view;
    view.fill(list, store, false, kDelTagNone);
    view.select(kRow);
    view.updateSelection(store, list);
    EXPECT_EQ(view.currentRow(), kRow);
    EXPECT_EQ(view.currentEntry(), static_cast<std::int64_t>(kRow + 1));
    EXPECT_EQ(view.currentMessage().messageNumber, 70001);
    EXPECT_EQ(store.currentAccount.selectedRow, -1)
        << "the stored 16-bit field remembers no row it cannot hold";
    view.select(65535);
    view.updateSelection(store, list);
    EXPECT_EQ(view.currentRow(), 65535u) << "the old no-selection value is a row like any other";
}

}  // namespace
}  // namespace qlt

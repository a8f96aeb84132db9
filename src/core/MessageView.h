#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/MessageEntry.h"
#include "base/MessageList.h"
#include "store/AccountStore.h"

namespace qlt {

// The envelope at the left of a row; the numbers are the state-icon images.
enum class RowState : std::uint8_t { Deliver = 1, Delete = 2 };

enum MessageColumn : int {
    kColumnState = 0,
    kColumnVirus,
    kColumnSpam,
    kColumnXRated,
    kColumnFoulLanguage,
    kColumnUserStrings,
    kColumnFrom,
    kColumnSender,
    kColumnSubject,
    kColumnSize,
    kColumnDate,
    kColumnAccount,
};
inline constexpr int kMessageColumnCount = 12;

struct MessageColumnInfo {
    const char* header;
    double widthFraction;  // of the view's client width when the window is created
    bool rightAligned;
    const char* tooltip;
};

extern const std::array<MessageColumnInfo, kMessageColumnCount> kMessageColumns;

// Small-icon images: 0..3 the risk levels, 5..7 the sender statuses.
inline constexpr int kNoIcon = -1;
inline constexpr int kSenderIconBase = 5;

// The image of a risk level; a level beyond the scale shows as the highest
// rather than pick an image the strip does not hold.
int LevelIcon(std::uint8_t level);

// currentRow when nothing is selected. Above every row, so that a check for
// a row "beyond the view" also finds no selection; wide enough that no row of
// a large list can be mistaken for it.
inline constexpr std::size_t kNoCurrentRow = std::numeric_limits<std::size_t>::max();

// Whether the view lists the entry: every entry with Show All on, otherwise
// only the current account's.
bool EntryShown(const MessageEntry& entry, bool showAll, std::uint8_t currentAccountNumber);

// The message view without its widgets: the rows a refill produced, their
// tags, the row the user selected, and what the window derives from that
// selection. Cell texts are taken when the row is filled, as a list view
// keeps them, so a later change of the message list never shows through
// half-way; a refill brings the view up to date.
class MessageView {
  public:
    enum class Change { Reset, RowState, Selection };
    using Listener = std::function<void(Change, std::size_t row)>;

    // fillMessageView: rebuilds every row from the list, tags each row by the
    // automatic rule (hand-set tags are dropped) and selects the current
    // account's remembered row.
    void fill(const MessageList& list, const AccountStore& accounts, bool showAll, std::uint8_t delTag);

    // Removes every row; the selection goes with them.
    void clear();

    // Removes the rows whose entries were just removed from the list, all in
    // one pass: the rows of later entries follow the entries' moves down, so
    // every row keeps naming its own message. Rows that do not exist are
    // passed over.
    void removeEntryRows(std::vector<std::size_t> rows);

    std::size_t rowCount() const { return m_rows.size(); }
    // Row and column out of range give an empty text and kNoIcon.
    const std::string& cellText(std::size_t row, int column) const;
    // The small-icon image of a risk or sender cell, kNoIcon elsewhere; the
    // envelope of column 0 is state().
    int cellIcon(std::size_t row, int column) const;
    // Precondition for both: row < rowCount().
    RowState state(std::size_t row) const { return m_rows[row].state; }
    std::size_t entryIndex(std::size_t row) const { return m_rows[row].entryIndex; }
    // Whether the user set the row's envelope (a click, Tag All, Untag All)
    // rather than the automatic rule of the last refill.
    bool setByHand(std::size_t row) const { return m_rows[row].byHand; }

    // A click on a row's envelope: deliver goes to delete, anything else to
    // deliver. False for a row that does not exist.
    bool toggleState(std::size_t row);
    // Each returns how many rows changed their envelope.
    std::size_t tagAll() { return setAllStates(RowState::Delete); }
    std::size_t untagAll() { return setAllStates(RowState::Deliver); }
    std::size_t taggedCount() const;

    // The row the user has selected in the widget; a row out of range clears
    // the selection.
    void select(std::optional<std::size_t> row);
    std::optional<std::size_t> selectedRow() const { return m_selected; }

    // updateSelection: re-reads the selected row into currentRow, remembers it
    // in the current account's record (working copy and store; a row beyond
    // what the record's field holds is remembered as none), and copies
    // the selected entry into currentMessage while the current account holds
    // messages. Does nothing without a current account.
    void updateSelection(AccountStore& accounts, const MessageList& list);

    std::size_t currentRow() const { return m_currentRow; }
    // The list index behind currentMessage, -1 when there is none.
    std::int64_t currentEntry() const { return m_currentEntry; }
    const MessageEntry& currentMessage() const { return m_currentMessage; }

    // Counts every change of rows, tags or selection.
    std::uint64_t revision() const { return m_revision; }
    void setListener(Listener listener) { m_listener = std::move(listener); }

  private:
    struct Row {
        std::size_t entryIndex = 0;
        RowState state = RowState::Deliver;
        bool byHand = false;
        std::array<std::string, kMessageColumnCount> texts;
        std::array<int, kMessageColumnCount> icons{};
    };

    static Row makeRow(std::size_t entryIndex, const MessageEntry& entry, const std::string& accountName);
    std::size_t setAllStates(RowState state);
    void rememberSelectedRow(AccountStore& accounts, std::size_t row) const;
    void notify(Change change, std::size_t row = 0);

    std::vector<Row> m_rows;
    std::optional<std::size_t> m_selected;
    std::size_t m_currentRow = kNoCurrentRow;
    std::int64_t m_currentEntry = -1;
    MessageEntry m_currentMessage;
    std::uint64_t m_revision = 0;
    Listener m_listener;
};

}  // namespace qlt

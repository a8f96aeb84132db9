#include "core/MessageView.h"

#include <algorithm>
#include <limits>

#include "core/AccountQueries.h"
#include "risk/AutoTag.h"
#include "store/Formatting.h"

namespace qlt {

const std::array<MessageColumnInfo, kMessageColumnCount> kMessageColumns = {{
    {"D", 0.042, false, "Message status - deliver or delete. Click icon to toggle."},
    {"V", 0.036, false, "Virus risk level"},
    {"S", 0.036, false, "Spam risk level"},
    {"X", 0.036, false, "X-rated risk level"},
    {"L", 0.036, false, "Foul language risk level"},
    {"U", 0.036, false, "User defined strings"},
    {"From", 0.28, false, "Sender email address"},
    {"F", 0.038, false, "Sender status - friend or foe.\r\nRight click to add to\r\nwhite or black list."},
    {"Subject", 0.48, false, "Message subject line"},
    {"Size ", 0.124, true, "Size of the message"},
    {"Date", 0.4, false, "Sent date of the message"},
    {"Account", 0.3, false, "Receiving account"},
}};

namespace {

int senderIcon(std::uint8_t status) {
    const std::uint8_t known = status <= kSenderFoe ? status : std::uint8_t{kSenderUnlisted};
    return kSenderIconBase + known;
}

const std::string kEmptyText;

// The account names by number (0 and numbers past the store name none), read
// once for a fill: the store hands out whole records.
std::vector<std::string> accountNames(const AccountStore& accounts) {
    std::vector<std::string> names(static_cast<std::size_t>(accounts.GetAccountCount()) + 1);
    for (std::size_t n = 1; n < names.size(); ++n)
        names[n] = accounts.GetAccount(static_cast<int>(n))->accountName.str();
    return names;
}

const std::string& accountNameOf(const std::vector<std::string>& names, std::uint8_t accountIndex) {
    return accountIndex < names.size() ? names[accountIndex] : kEmptyText;
}

constexpr std::int16_t kNoRememberedRow = -1;

}  // namespace

int LevelIcon(std::uint8_t level) {
    return std::min<std::uint8_t>(level, kLevelRed);
}

bool EntryShown(const MessageEntry& entry, bool showAll, std::uint8_t currentAccountNumber) {
    return showAll || entry.accountIndex == currentAccountNumber;
}

MessageView::Row MessageView::makeRow(std::size_t entryIndex, const MessageEntry& entry,
                                      const std::string& accountName) {
    Row row;
    row.entryIndex = entryIndex;
    row.icons.fill(kNoIcon);
    for (int category = 0; category < kRiskCategories; ++category)
        row.icons[static_cast<std::size_t>(kColumnVirus + category)] =
            LevelIcon(entry.level[static_cast<std::size_t>(category)]);
    row.icons[kColumnSender] = senderIcon(entry.senderStatus);
    row.texts[kColumnFrom] = entry.from.str();
    row.texts[kColumnSubject] = entry.subject.str();
    row.texts[kColumnSize] = FormatSize(entry.size);
    row.texts[kColumnDate] = entry.date.str();
    row.texts[kColumnAccount] = accountName;
    return row;
}

void MessageView::fill(const MessageList& list, const AccountStore& accounts, bool showAll,
                       std::uint8_t delTag) {
    m_rows.clear();
    const std::vector<std::string> names = accountNames(accounts);
    for (std::size_t i = 0; i < list.count(); ++i) {
        const MessageEntry& entry = list.at(i);
        if (!EntryShown(entry, showAll, accounts.currentAccountNumber)) continue;
        Row row = makeRow(i, entry, accountNameOf(names, entry.accountIndex));
        row.state = InitiallyTagged(entry, delTag) ? RowState::Delete : RowState::Deliver;
        m_rows.push_back(std::move(row));
    }
    const std::int16_t remembered = accounts.currentAccount.selectedRow;
    m_selected.reset();
    if (remembered >= 0 && static_cast<std::size_t>(remembered) < m_rows.size())
        m_selected = static_cast<std::size_t>(remembered);
    // Only a row that really exists becomes current; a remembered row beyond
    // the refilled view would point the commands at nothing.
    m_currentRow = m_selected.value_or(kNoCurrentRow);
    notify(Change::Reset);
}

void MessageView::clear() {
    m_rows.clear();
    m_selected.reset();
    notify(Change::Reset);
}

void MessageView::removeEntryRows(std::vector<std::size_t> rows) {
    std::erase_if(rows, [this](std::size_t row) { return row >= m_rows.size(); });
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::size_t> removedEntries;
    for (std::size_t row : rows) removedEntries.push_back(m_rows[row].entryIndex);
    std::ranges::sort(removedEntries);
    // An entry moved down by as many removed entries as were before it.
    const auto entriesBefore = [&removedEntries](std::size_t entry) {
        return static_cast<std::size_t>(std::ranges::lower_bound(removedEntries, entry) -
                                        removedEntries.begin());
    };
    std::size_t kept = 0;
    for (std::size_t row = 0, next = 0; row < m_rows.size(); ++row) {
        if (next < rows.size() && rows[next] == row) {
            ++next;
            continue;
        }
        m_rows[row].entryIndex -= entriesBefore(m_rows[row].entryIndex);
        if (kept != row) m_rows[kept] = std::move(m_rows[row]);
        ++kept;
    }
    m_rows.resize(kept);
    if (m_selected) {
        const auto below = std::ranges::lower_bound(rows, *m_selected);
        if (below != rows.end() && *below == *m_selected)
            m_selected.reset();
        else
            *m_selected -= static_cast<std::size_t>(below - rows.begin());
    }
    notify(Change::Reset);
}

const std::string& MessageView::cellText(std::size_t row, int column) const {
    if (row >= m_rows.size() || column < 0 || column >= kMessageColumnCount) return kEmptyText;
    return m_rows[row].texts[static_cast<std::size_t>(column)];
}

int MessageView::cellIcon(std::size_t row, int column) const {
    if (row >= m_rows.size() || column < 0 || column >= kMessageColumnCount) return kNoIcon;
    return m_rows[row].icons[static_cast<std::size_t>(column)];
}

bool MessageView::toggleState(std::size_t row) {
    if (row >= m_rows.size()) return false;
    RowState& state = m_rows[row].state;
    state = state == RowState::Deliver ? RowState::Delete : RowState::Deliver;
    m_rows[row].byHand = true;
    notify(Change::RowState, row);
    return true;
}

std::size_t MessageView::setAllStates(RowState state) {
    std::size_t changed = 0;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].state == state) continue;
        m_rows[row].state = state;
        m_rows[row].byHand = true;
        ++changed;
        notify(Change::RowState, row);
    }
    return changed;
}

std::size_t MessageView::taggedCount() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(m_rows, [](const Row& row) { return row.state == RowState::Delete; }));
}

void MessageView::select(std::optional<std::size_t> row) {
    if (row && *row >= m_rows.size()) row.reset();
    if (row == m_selected) return;
    m_selected = row;
    notify(Change::Selection);
}

void MessageView::updateSelection(AccountStore& accounts, const MessageList& list) {
    if (!HasCurrentAccount(accounts)) return;
    m_currentRow = m_selected.value_or(kNoCurrentRow);
    if (m_selected) rememberSelectedRow(accounts, *m_selected);
    const std::size_t index = m_selected ? m_rows[*m_selected].entryIndex : list.count();
    // An index the list no longer holds (entries removed since the last
    // refill) clears the copy rather than reading past the list.
    if (accounts.currentAccount.messageCount != 0 && index < list.count()) {
        m_currentEntry = static_cast<std::int64_t>(index);
        m_currentMessage = list.at(index);
    } else {
        m_currentEntry = -1;
        m_currentMessage = MessageEntry{};
    }
    notify(Change::Selection);
}

void MessageView::rememberSelectedRow(AccountStore& accounts, std::size_t row) const {
    // The record keeps 16 signed bits. A row it cannot hold is remembered as
    // none: keeping an older row would have the next refill select another
    // message than the one the user chose.
    const auto selectedRow = row <= static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())
                                 ? static_cast<std::int16_t>(row)
                                 : kNoRememberedRow;
    accounts.currentAccount.selectedRow = selectedRow;
    auto stored = accounts.GetAccount(accounts.currentAccountNumber);
    if (!stored || stored->selectedRow == selectedRow) return;
    stored->selectedRow = selectedRow;
    accounts.ReplaceAccount(accounts.currentAccountNumber, *stored);
}

void MessageView::notify(Change change, std::size_t row) {
    ++m_revision;
    if (m_listener) m_listener(change, row);
}

}  // namespace qlt

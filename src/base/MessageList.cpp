#include "base/MessageList.h"

#include <algorithm>

namespace qlt {
namespace {

// A full list grows by an eighth of its size, at least 4 entries at a
// time, so that a large mailbox does not double its memory. The growth is
// never capped: a fixed step would move the whole list every so many
// messages, and a scan of 100,000 would spend most of its time moving.
std::size_t grownCapacity(std::size_t count) {
    return count + std::max<std::size_t>(4, count / 8);
}

}  // namespace

std::string MessageList::idKey(std::uint8_t accountIndex, std::string_view uidl) {
    std::string key(1, static_cast<char>(accountIndex));
    key += uidl;
    return key;
}

void MessageList::remember(const MessageEntry& entry) {
    if (!entry.uidl.view().empty()) ++m_ids[idKey(entry.accountIndex, entry.uidl.view())];
}

void MessageList::forget(const MessageEntry& entry) {
    if (entry.uidl.view().empty()) return;
    const auto found = m_ids.find(idKey(entry.accountIndex, entry.uidl.view()));
    if (found != m_ids.end() && --found->second == 0) m_ids.erase(found);
}

void MessageList::rebuildIndex() {
    m_ids.clear();
    for (const MessageEntry& e : m_entries) remember(e);
}

void MessageList::append(MessageEntry entry) {
    if (m_entries.size() == m_entries.capacity()) m_entries.reserve(grownCapacity(m_entries.size()));
    remember(entry);
    m_entries.push_back(std::move(entry));
}

bool MessageList::findByUidl(std::uint8_t accountIndex, std::string_view uidl) const {
    return !uidl.empty() && m_ids.contains(idKey(accountIndex, keptUidl(uidl)));
}

void MessageList::eraseAccount(std::uint8_t accountIndex) {
    std::erase_if(m_entries,
                  [accountIndex](const MessageEntry& e) { return e.accountIndex == accountIndex; });
}

void MessageList::removeAccountEntries(std::uint8_t accountIndex) {
    eraseAccount(accountIndex);
    rebuildIndex();
}

void MessageList::forgetAccount(std::uint8_t accountIndex) {
    eraseAccount(accountIndex);
    for (auto& e : m_entries) {
        if (e.accountIndex > accountIndex) --e.accountIndex;
    }
    rebuildIndex();
}

bool MessageList::removeAt(std::size_t index) {
    if (index >= m_entries.size()) return false;
    forget(m_entries[index]);
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void MessageList::renumberAccount(std::uint8_t accountIndex, const std::vector<std::int32_t>& deleted,
                                  AccountRecord& account) {
    std::int32_t count = 0;
    // The stored mailbox size is a 32-bit counter; a sum beyond it wraps as
    // the server's own 32-bit figure would, instead of overflowing.
    std::uint32_t sizeSum = 0;
    for (MessageEntry& e : m_entries) {
        if (e.accountIndex != accountIndex) continue;
        const auto below =
            std::lower_bound(deleted.begin(), deleted.end(), e.messageNumber) - deleted.begin();
        e.messageNumber -= static_cast<std::int32_t>(below);
        ++count;
        sizeSum += static_cast<std::uint32_t>(e.size);
    }
    account.messageCount = count;
    account.mailboxSize = static_cast<std::int32_t>(sizeSum);
}

void MessageList::refreshAccountNumbers(std::uint8_t accountIndex,
                                        const std::unordered_map<std::string, std::int32_t>& numbers,
                                        bool complete) {
    const auto listed = [&](const MessageEntry& e) { return numbers.find(e.uidl.str()); };
    const auto refreshed = [&](const MessageEntry& e) {
        return e.accountIndex == accountIndex && !e.uidl.empty();
    };
    for (MessageEntry& e : m_entries) {
        if (!refreshed(e)) continue;
        if (const auto found = listed(e); found != numbers.end()) e.messageNumber = found->second;
    }
    if (!complete) return;
    const std::size_t before = m_entries.size();
    std::erase_if(m_entries,
                  [&](const MessageEntry& e) { return refreshed(e) && listed(e) == numbers.end(); });
    if (m_entries.size() != before) rebuildIndex();
}

void MessageList::removeAll() {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_ids.clear();
}

}  // namespace qlt

#include "base/MessageList.h"

#include <algorithm>

namespace qlt {
namespace {

constexpr std::size_t kUidlCompareLength = 16;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view uidlKey(std::string_view uidl) {
    uidl = uidl.substr(0, uidl.find('\0'));
    return uidl.substr(0, kUidlCompareLength);
}

bool sameUidl(std::string_view a, std::string_view b) {
    a = uidlKey(a);
    b = uidlKey(b);
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// A full list grows by an eighth of its size, at least 4 and at most 1024
// entries at a time, so that a large mailbox does not double its memory.
std::size_t grownCapacity(std::size_t count) {
    return count + std::max<std::size_t>(4, std::min<std::size_t>(1024, count / 8));
}

}  // namespace

void MessageList::append(MessageEntry entry) {
    if (m_entries.size() == m_entries.capacity()) m_entries.reserve(grownCapacity(m_entries.size()));
    m_entries.push_back(std::move(entry));
}

bool MessageList::findByUidl(std::string_view uidl) const {
    return std::any_of(m_entries.rbegin(), m_entries.rend(),
                       [uidl](const MessageEntry& e) { return sameUidl(e.uidl.view(), uidl); });
}

void MessageList::removeAccountEntries(std::uint8_t accountIndex) {
    std::erase_if(m_entries,
                  [accountIndex](const MessageEntry& e) { return e.accountIndex == accountIndex; });
}

void MessageList::forgetAccount(std::uint8_t accountIndex) {
    removeAccountEntries(accountIndex);
    for (auto& e : m_entries) {
        if (e.accountIndex > accountIndex) --e.accountIndex;
    }
}

bool MessageList::removeAt(std::size_t index) {
    if (index >= m_entries.size()) return false;
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
    if (complete)
        std::erase_if(m_entries,
                      [&](const MessageEntry& e) { return refreshed(e) && listed(e) == numbers.end(); });
}

void MessageList::removeAll() {
    m_entries.clear();
    m_entries.shrink_to_fit();
}

}  // namespace qlt

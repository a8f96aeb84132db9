#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/MessageEntry.h"
#include "store/AccountRecord.h"

namespace qlt {

// The scanned messages of every account, in the order the scans found them.
// Nothing sorts it; removal shifts the later entries down.
class MessageList {
  public:
    void append(MessageEntry entry);

    // True when some entry, of any account, has an id whose first 16
    // characters equal those of `uidl`, letter case ignored; ids shorter than
    // 16 characters compare whole. Searched from the last entry.
    bool findByUidl(std::string_view uidl) const;

    void removeAccountEntries(std::uint8_t accountIndex);
    // The account left the store: its entries go and the entries of the
    // accounts behind it follow them one number down.
    void forgetAccount(std::uint8_t accountIndex);
    bool removeAt(std::size_t index);

    // Numbers the account's entries 1, 2, 3, ... in list order and stores
    // their count and size sum in `account` (the account being worked on).
    void renumberAccount(std::uint8_t accountIndex, AccountRecord& account);

    void removeAll();

    std::size_t count() const { return m_entries.size(); }
    std::size_t capacity() const { return m_entries.capacity(); }
    // Precondition: index < count().
    const MessageEntry& at(std::size_t index) const { return m_entries[index]; }
    MessageEntry& at(std::size_t index) { return m_entries[index]; }

  private:
    std::vector<MessageEntry> m_entries;
};

}  // namespace qlt

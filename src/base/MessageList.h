#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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

    // After the server carried out the deletion of messages `deleted`
    // (their numbers before it, ascending), gives each of the account's
    // entries the number the server now uses for it: the old one less the
    // deleted messages below it. Stores the entries' count and size sum in
    // `account` (the account being worked on).
    void renumberAccount(std::uint8_t accountIndex, const std::vector<std::int32_t>& deleted,
                         AccountRecord& account);

    // What a listing of the account's mailbox found: each entry whose id it
    // names takes that message's number. With `complete` (the listing named
    // every message) the entries with an id it did not name are gone from
    // the server and leave the list. Entries without an id are kept as they
    // are: a server that gives no ids cannot tell them apart.
    void refreshAccountNumbers(std::uint8_t accountIndex,
                               const std::unordered_map<std::string, std::int32_t>& numbers, bool complete);

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

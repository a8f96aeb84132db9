#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/AccountRecord.h"
#include "base/MessageEntry.h"

namespace qlt {

// The scanned messages of every account, in the order the scans found them.
// Nothing sorts it; removal shifts the later entries down.
//
// The ids of each account's entries are indexed, so that a scan asks in
// constant time whether it holds a message already. Entries change their
// account or id only through the list; at() gives the rest to change.
class MessageList {
  public:
    void append(MessageEntry entry);

    // True when an entry of this account has exactly this id (the whole id,
    // byte for byte, as keptUidl keeps it). An empty id is never known: a
    // server that gives none cannot tell its messages apart.
    bool findByUidl(std::uint8_t accountIndex, std::string_view uidl) const;

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

    // What a listing of the account's mailbox found, by id: each entry
    // whose id it names takes that message's number. With `complete` (the
    // listing named every message) the entries with an id it did not name
    // are gone from the server and leave the list. Entries without an id are
    // kept as they are.
    void refreshAccountNumbers(std::uint8_t accountIndex,
                               const std::unordered_map<std::string, std::int32_t>& numbers, bool complete);

    void removeAll();

    std::size_t count() const { return m_entries.size(); }
    std::size_t capacity() const { return m_entries.capacity(); }
    // Precondition: index < count().
    const MessageEntry& at(std::size_t index) const { return m_entries[index]; }
    MessageEntry& at(std::size_t index) { return m_entries[index]; }

  private:
    static std::string idKey(std::uint8_t accountIndex, std::string_view uidl);
    void remember(const MessageEntry& entry);
    void forget(const MessageEntry& entry);
    void rebuildIndex();
    void eraseAccount(std::uint8_t accountIndex);

    std::vector<MessageEntry> m_entries;
    // Account and id -> how many entries carry them.
    std::unordered_map<std::string, std::uint32_t> m_ids;
};

}  // namespace qlt

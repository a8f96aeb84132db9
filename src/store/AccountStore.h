#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/AccountRecord.h"

namespace qlt {

// The user's accounts, numbered 1..N in order, and the working copy of the
// current one. GetAccount hands out copies; nothing outside holds a reference
// into the array.
class AccountStore {
  public:
    static constexpr std::uint8_t kNoCurrentAccount = 255;

    int GetAccountCount() const { return static_cast<int>(m_accounts.size()); }
    std::optional<AccountRecord> GetAccount(int n) const;

    void AppendAccount(const AccountRecord& record);
    bool ReplaceAccount(int n, const AccountRecord& record);

    // Removes the account at list position i (0-based). The accounts behind it
    // move up one place and keep their accountNumber until the next load.
    bool RemoveAccount(int i);

    void ClearAccountSelection();

    // Account n becomes the only flagged account and the working copy.
    bool MakeAccountCurrent(int n);

    // Copies account n into currentAccount without touching any flag.
    bool CopyToCurrent(int n);

    // A record built from the Add Account dialog joins the store as its last
    // account and becomes current. Refused (false) when the store is full.
    bool AddAccount(AccountRecord record);

    // RemoveAccount, then the last account becomes current without clearing
    // the others' flags; an emptied store leaves no current account.
    bool DeleteAccount(int i);

    // Counts every change to the records, so a saver can tell whether the
    // accounts were touched since they were loaded.
    std::uint64_t revision() const { return m_revision; }

    // Room for records before the array must grow again.
    std::size_t capacity() const { return m_accounts.capacity(); }

    AccountRecord currentAccount;
    std::uint8_t currentAccountNumber = kNoCurrentAccount;

  private:
    bool holds(int n) const { return n >= 1 && n <= GetAccountCount(); }
    void growIfFull();
    void clearCurrent();

    std::vector<AccountRecord> m_accounts;
    std::uint64_t m_revision = 0;
};

}  // namespace qlt

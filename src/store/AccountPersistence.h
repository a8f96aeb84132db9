#pragma once

#include <cstdint>
#include <optional>

#include "store/AccountStore.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "store/WindowGeometry.h"

namespace qlt {

// Keeps the account store, the settings and the window position in the
// profile. The store is one value: the 336-byte records in order, compressed
// and scrambled.
class AccountPersistence {
  public:
    AccountPersistence(Profile& profile, WindowGeometry& window) : m_profile(profile), m_window(window) {}

    // Called once at start on an empty store; an empty sound setting becomes
    // the shipped sound. A first run (no stored
    // accounts) saves at once, so every value exists afterwards.
    void LoadAccounts(AccountStore& store, Settings& settings);

    // Takes the window position into settings and writes everything; false
    // when the profile could not store it.
    bool SaveAccounts(const AccountStore& store, Settings& settings);

    // True when the stored accounts could not be read at load. Their bytes
    // are then written back unchanged at every save until the accounts are
    // changed, so a damaged value is never replaced by an empty store unasked.
    bool storedAccountsUnreadable() const { return m_unreadableValue.has_value(); }

  private:
    void restoreWindowPosition(const Settings& settings);
    void readRecords(const Bytes& plain, AccountStore& store);
    Bytes accountsValueFor(const AccountStore& store) const;

    Profile& m_profile;
    WindowGeometry& m_window;
    std::optional<Bytes> m_unreadableValue;
    std::uint64_t m_loadedRevision = 0;
};

// The stored "Accounts" value of the records in store order.
Bytes EncodeAccounts(const AccountStore& store);

}  // namespace qlt

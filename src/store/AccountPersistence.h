#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
    // accounts) saves at once, so every value exists afterwards. A stored
    // value that cannot be read or decoded is no first run: the store stays
    // empty and nothing is written.
    void LoadAccounts(AccountStore& store, Settings& settings);

    // Takes the window position into settings and writes everything; false
    // when the profile could not store it.
    bool SaveAccounts(const AccountStore& store, Settings& settings);

    // True when the stored accounts could not be read at load and have not
    // been replaced since. Until the accounts are changed their stored value
    // is left as it was; the first save after such a load copies the profile
    // aside, so the value is never lost unasked.
    bool storedAccountsUnreadable() const { return m_unreadable; }
    std::string profileLocation() const { return m_profile.location(); }
    Profile& profile() { return m_profile; }

  private:
    void restoreWindowPosition(const Settings& settings);
    void addLoaded(const std::vector<AccountRecord>& records, AccountStore& store);
    std::optional<Bytes> accountsValueFor(const AccountStore& store);

    Profile& m_profile;
    WindowGeometry& m_window;
    bool m_unreadable = false;
    bool m_backedUp = false;
    // What was stored when it reads as bytes but does not decode.
    std::optional<Bytes> m_keptValue;
    std::uint64_t m_loadedRevision = 0;
};

// The stored "Accounts" value of the records in store order.
Bytes EncodeAccounts(const AccountStore& store);
Bytes EncodeAccountRecords(std::span<const AccountRecord> records);

// Every whole record of a stored "Accounts" value, as stored (numbers and
// status untouched); nothing when the value does not decode.
std::optional<std::vector<AccountRecord>> DecodeAccounts(const Bytes& value);

}  // namespace qlt

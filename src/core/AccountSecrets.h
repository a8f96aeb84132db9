#pragma once

#include <map>
#include <set>
#include <string>

#include "base/SecretStore.h"
#include "base/UiPort.h"
#include "store/AccountStore.h"

namespace qlt {

// Remembered passwords in the keyring instead of the stored record. In
// memory the records hold their passwords as before; only the stored form
// leaves out the ones the keyring confirmed it holds. Where no keyring
// answers, or it refuses, the password stays in the record and nothing is
// lost; the user is told once a run when a new password goes there.
// Accounts that sign in with OAuth2 keep no password; the refresh token of
// one that is removed leaves the keyring with it.
class AccountSecrets {
  public:
    // `keyring` null: everything stays in the records, as it always did.
    AccountSecrets(SecretStore* keyring, UiPort& ui) : m_keyring(keyring), m_ui(ui) {}

    // After a load: fills remembered passwords the records leave empty from
    // the keyring and notes what the stored records hold. True when a
    // stored password is to move to the keyring (the caller saves).
    bool adoptLoaded(AccountStore& store);

    // Fills the record's remembered password from the keyring when its own
    // field is empty; true when it was filled.
    bool fill(AccountRecord& record);

    // Brings the keyring in line with the store (writes new or changed
    // passwords, removes entries no account remembers any more) and returns
    // the store as it is to be saved. `where` names the settings file.
    AccountStore storedForm(const AccountStore& store, const std::string& where);

  private:
    using Secrets = std::map<std::string, std::string>;
    void writeWanted(const Secrets& wanted, const std::string& where);
    void removeUnwanted(const AccountStore& store);
    void forgetSignInsOfRemoved(const AccountStore& store);
    bool heldInKeyring(const AccountRecord& record) const;
    void tellKeptInRecord(SecretStore::Outcome why, const std::string& where);
    void noteAnswer(SecretStore::Outcome outcome);

    SecretStore* m_keyring;
    UiPort& m_ui;
    // What the keyring confirmed it holds, and what the stored records hold.
    Secrets m_held;
    Secrets m_inRecord;
    // The refresh tokens' names of the OAuth2 accounts last seen.
    std::set<std::string> m_signIns;
    bool m_keyringAbsent = false;
    bool m_told = false;
};

// The keyring names of an account's password and of its OAuth2 refresh token.
std::string PasswordKey(const AccountRecord& record);
std::string RefreshTokenKey(const AccountRecord& record);

}  // namespace qlt

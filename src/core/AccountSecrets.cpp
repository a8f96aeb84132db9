#include "core/AccountSecrets.h"

#include <set>
#include <utility>

namespace qlt {

namespace {

constexpr const char* kKeptInRecordTitle = "QLT Password Storage";

std::string keptInRecordText(SecretStore::Outcome why, const std::string& where) {
    const char* reason = why == SecretStore::Outcome::Refused
                             ? "The desktop keyring refused to keep the password (it may be locked).\n"
                             : "No desktop keyring (Secret Service) answered.\n";
    return std::string(reason) + "The password is kept in the settings file, scrambled but not encrypted:\n" +
           where + "\n";
}

bool remembers(const AccountRecord& record) {
    return record.rememberPassword != 0 && record.signIn != kSignInOAuth2;
}

template <class Visit>
void forEachRecord(const AccountStore& store, Visit visit) {
    for (int n = 1; n <= store.GetAccountCount(); ++n) visit(*store.GetAccount(n));
}

// Remembered passwords by keyring name; a name two accounts give different
// passwords stays out of the keyring, so neither is lost.
std::map<std::string, std::string> wantedSecrets(const AccountStore& store) {
    std::map<std::string, std::string> wanted;
    std::set<std::string> clashing;
    forEachRecord(store, [&](const AccountRecord& record) {
        if (!remembers(record) || record.password.empty()) return;
        const auto [at, added] = wanted.emplace(PasswordKey(record), record.password.str());
        if (!added && at->second != record.password.str()) clashing.insert(at->first);
    });
    for (const auto& key : clashing) wanted.erase(key);
    return wanted;
}

std::set<std::string> signInsOf(const AccountStore& store) {
    std::set<std::string> keys;
    forEachRecord(store, [&](const AccountRecord& record) {
        if (record.signIn == kSignInOAuth2) keys.insert(RefreshTokenKey(record));
    });
    return keys;
}

}  // namespace

std::string PasswordKey(const AccountRecord& record) {
    return SecretKey(SecretKind::Password, record.server.str(), static_cast<int>(record.port),
                     record.userName.str());
}

std::string RefreshTokenKey(const AccountRecord& record) {
    return SecretKey(SecretKind::RefreshToken, record.server.str(), static_cast<int>(record.port),
                     record.userName.str());
}

void AccountSecrets::noteAnswer(SecretStore::Outcome outcome) {
    // Every later call would wait out the time-out again.
    if (outcome == SecretStore::Outcome::NoKeyring) m_keyringAbsent = true;
}

bool AccountSecrets::fill(AccountRecord& record) {
    if (m_keyring == nullptr || !remembers(record) || !record.password.empty()) return false;
    const std::string key = PasswordKey(record);
    if (const auto held = m_held.find(key); held != m_held.end()) {
        record.password = held->second;
        return true;
    }
    if (m_keyringAbsent) return false;
    const SecretStore::Found found = m_keyring->read(key);
    noteAnswer(found.outcome);
    if (found.outcome != SecretStore::Outcome::Done || found.secret.empty()) return false;
    m_held[key] = found.secret;
    record.password = found.secret;
    return true;
}

bool AccountSecrets::adoptLoaded(AccountStore& store) {
    if (m_keyring == nullptr) return false;
    m_signIns = signInsOf(store);
    bool toMove = false;
    for (int n = 1; n <= store.GetAccountCount(); ++n) {
        AccountRecord record = *store.GetAccount(n);
        if (remembers(record) && !record.password.empty()) {
            m_inRecord[PasswordKey(record)] = record.password.str();
            toMove = true;
        } else if (fill(record)) {
            store.ReplaceAccount(n, record);
        }
    }
    if (store.currentAccountNumber != AccountStore::kNoCurrentAccount) fill(store.currentAccount);
    return toMove && !m_keyringAbsent;
}

void AccountSecrets::writeWanted(const Secrets& wanted, const std::string& where) {
    for (const auto& [key, secret] : wanted) {
        if (const auto held = m_held.find(key); held != m_held.end() && held->second == secret) continue;
        const SecretStore::Outcome outcome =
            m_keyringAbsent ? SecretStore::Outcome::NoKeyring : m_keyring->write(key, secret);
        noteAnswer(outcome);
        if (outcome == SecretStore::Outcome::Done) {
            m_held[key] = secret;
            continue;
        }
        // What the keyring holds under the name is unknown now.
        m_held.erase(key);
        const auto before = m_inRecord.find(key);
        if (before == m_inRecord.end() || before->second != secret) tellKeptInRecord(outcome, where);
    }
}

void AccountSecrets::removeUnwanted(const AccountStore& store) {
    // An account that remembers its password keeps its entry even while its
    // record in memory is empty (a keyring that was locked at start).
    std::set<std::string> remembered;
    forEachRecord(store, [&](const AccountRecord& record) {
        if (remembers(record)) remembered.insert(PasswordKey(record));
    });
    for (auto it = m_held.begin(); it != m_held.end();) {
        if (remembered.contains(it->first)) {
            ++it;
            continue;
        }
        if (!m_keyringAbsent) noteAnswer(m_keyring->remove(it->first));
        it = m_held.erase(it);
    }
}

void AccountSecrets::forgetSignInsOfRemoved(const AccountStore& store) {
    std::set<std::string> now = signInsOf(store);
    for (const auto& key : m_signIns)
        if (!now.contains(key) && !m_keyringAbsent) noteAnswer(m_keyring->remove(key));
    m_signIns = std::move(now);
}

bool AccountSecrets::heldInKeyring(const AccountRecord& record) const {
    if (!remembers(record) || record.password.empty()) return false;
    const auto held = m_held.find(PasswordKey(record));
    return held != m_held.end() && held->second == record.password.str();
}

AccountStore AccountSecrets::storedForm(const AccountStore& store, const std::string& where) {
    if (m_keyring == nullptr) return store;
    const Secrets wanted = wantedSecrets(store);
    writeWanted(wanted, where);
    removeUnwanted(store);
    forgetSignInsOfRemoved(store);
    AccountStore stored = store;
    m_inRecord.clear();
    for (int n = 1; n <= stored.GetAccountCount(); ++n) {
        AccountRecord record = *stored.GetAccount(n);
        if (heldInKeyring(record)) {
            record.password = "";
            stored.ReplaceAccount(n, record);
        } else if (remembers(record) && !record.password.empty()) {
            m_inRecord[PasswordKey(record)] = record.password.str();
        }
    }
    if (heldInKeyring(stored.currentAccount)) stored.currentAccount.password = "";
    return stored;
}

void AccountSecrets::tellKeptInRecord(SecretStore::Outcome why, const std::string& where) {
    if (m_told) return;
    m_told = true;
    m_ui.messageBox(kKeptInRecordTitle, keptInRecordText(why, where), BoxIcon::Information, BoxButtons::Ok);
}

}  // namespace qlt

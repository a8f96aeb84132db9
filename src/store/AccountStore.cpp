#include "store/AccountStore.h"

#include <algorithm>

#include "store/AccountRules.h"

namespace qlt {

std::optional<AccountRecord> AccountStore::GetAccount(int n) const {
    if (!holds(n)) return std::nullopt;
    return m_accounts[static_cast<std::size_t>(n - 1)];
}

void AccountStore::AppendAccount(const AccountRecord& record) {
    growIfFull();
    m_accounts.push_back(record);
    ++m_revision;
}

bool AccountStore::ReplaceAccount(int n, const AccountRecord& record) {
    if (!holds(n)) return false;
    m_accounts[static_cast<std::size_t>(n - 1)] = record;
    ++m_revision;
    return true;
}

bool AccountStore::RemoveAccount(int i) {
    if (!holds(i + 1)) return false;
    m_accounts.erase(m_accounts.begin() + i);
    ++m_revision;
    return true;
}

void AccountStore::ClearAccountSelection() {
    for (auto& account : m_accounts) account.isCurrent = 0;
    ++m_revision;
}

bool AccountStore::MakeAccountCurrent(int n) {
    if (!holds(n)) return false;
    ClearAccountSelection();
    m_accounts[static_cast<std::size_t>(n - 1)].isCurrent = 1;
    return CopyToCurrent(n);
}

bool AccountStore::CopyToCurrent(int n) {
    if (!holds(n)) return false;
    currentAccount = m_accounts[static_cast<std::size_t>(n - 1)];
    currentAccount.port = CorrectedPort(currentAccount.port);
    currentAccountNumber = static_cast<std::uint8_t>(n);
    return true;
}

bool AccountStore::AddAccount(AccountRecord record) {
    if (GetAccountCount() >= kMaxAccounts) return false;
    ClearAccountSelection();
    record.isCurrent = 1;
    record.accountNumber = static_cast<std::uint8_t>(GetAccountCount() + 1);
    AppendAccount(record);
    return CopyToCurrent(GetAccountCount());
}

bool AccountStore::DeleteAccount(int i) {
    if (!RemoveAccount(i)) return false;
    const int last = GetAccountCount();
    if (last == 0) {
        clearCurrent();
        return true;
    }
    m_accounts.back().isCurrent = 1;
    return CopyToCurrent(last);
}

void AccountStore::growIfFull() {
    const std::size_t n = m_accounts.size();
    if (n < m_accounts.capacity()) return;
    m_accounts.reserve(n + std::max<std::size_t>(4, std::min<std::size_t>(1024, n / 8)));
}

void AccountStore::clearCurrent() {
    currentAccount = AccountRecord{};
    currentAccountNumber = kNoCurrentAccount;
}

}  // namespace qlt

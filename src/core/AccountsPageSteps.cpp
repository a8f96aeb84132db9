#include "core/AccountsPageSteps.h"

#include <optional>

#include "store/AccountRules.h"
#include "store/BuiltInTexts.h"
#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr std::int32_t kMaxCountShown = 9999;

// An OAuth2 client is kept under the account's server, port and user name.
bool sameClientNames(const AccountRecord& a, const AccountRecord& b) {
    return a.server == b.server && a.port == b.port && a.userName == b.userName;
}

bool clientInUse(const MailChecker& checker, const AccountRecord& account) {
    for (int n = 1; n <= checker.GetAccountCount(); ++n) {
        const AccountRecord other = *checker.GetAccount(n);
        if (other.signIn == kSignInOAuth2 && sameClientNames(other, account)) return true;
    }
    return false;
}

// Accounts may share the names (one mailbox under two aliases), so a client
// goes only with the last account using it.
void forgetUnusedClient(MailChecker& checker, const AccountRecord& gone) {
    if (gone.signIn == kSignInOAuth2 && !clientInUse(checker, gone))
        SaveOAuthClient(checker.profile(), gone, {});
}

// A changed server, port or user name takes the client along.
void moveClient(MailChecker& checker, const AccountRecord& before, const AccountRecord& after) {
    if (before.signIn != kSignInOAuth2 || sameClientNames(before, after)) return;
    SaveOAuthClient(checker.profile(), after, LoadOAuthClient(checker.profile(), before));
    forgetUnusedClient(checker, before);
}

}  // namespace

std::string LastScannedLine(const AccountRecord& account) {
    return "Last Scanned: " + FormatLastScanned(account) + "    Status: " + AccountStatusName(account.status);
}

std::string MessageCountLine(std::int32_t count) {
    if (count <= 0 || count >= kMaxCountShown) return {};
    return std::to_string(count) + " Message" + PluralS(count) + " ";
}

AccountPageFields LoadPageFields(const AccountRecord& account) {
    AccountPageFields fields;
    fields.server = account.server.str();
    fields.port = account.port;
    fields.userName = account.userName.str();
    fields.password = account.password.str();
    fields.timeout = account.timeout;
    fields.authRequired = account.authRequired != 0;
    fields.rememberPassword = account.rememberPassword != 0;
    fields.scanAllInclude = account.scanAllInclude != 0;
    fields.security = account.security;
    fields.signIn = account.signIn;
    fields.lastScannedLine = LastScannedLine(account);
    fields.messageCountLine = MessageCountLine(account.messageCount);
    return fields;
}

void SavePageFields(const AccountPageFields& fields, AccountRecord& account) {
    account.userName = fields.userName;
    account.password = fields.password;
    account.server = fields.server;
    account.authRequired = fields.authRequired ? 1 : 0;
    account.rememberPassword = fields.rememberPassword ? 1 : 0;
    account.timeout = static_cast<std::uint16_t>(fields.timeout);
    account.port = fields.port;
    account.scanAllInclude = fields.scanAllInclude ? 1 : 0;
    account.security = fields.security;
}

void ClearPageFields(AccountPageFields& fields) {
    fields.rememberPassword = false;
    fields.authRequired = false;
    fields.timeout = 0;
    fields.server.clear();
    fields.userName.clear();
    fields.password.clear();
    fields.signIn = kSignInPassword;
}

std::vector<std::string> AccountChoiceNames(const MailChecker& checker) {
    std::vector<std::string> names;
    for (int n = 1; n <= checker.GetAccountCount(); ++n)
        names.push_back(checker.GetAccount(n)->accountName.str());
    return names;
}

int FlaggedAccountPosition(const MailChecker& checker) {
    int shown = 0;
    for (int n = 1; n <= checker.GetAccountCount(); ++n) {
        if (checker.GetAccount(n)->isCurrent != 0) shown = n - 1;
    }
    return shown;
}

bool AccountsPageSteps::chooseAccount(int position) {
    const int n = position + 1;
    if (n < 1 || n > m_checker.GetAccountCount() || m_checker.refuseWhileScanning()) return false;
    m_checker.ClearAccountSelection();
    makeCurrent(n);
    refillAfterChange();
    return true;
}

bool AccountsPageSteps::mayAddAccount() {
    if (m_checker.refuseWhileScanning()) return false;
    if (m_checker.GetAccountCount() < kMaxAccounts) return true;
    m_ui.messageBox(kProgramName, AccountLimitMessage(), BoxIcon::Warning, BoxButtons::Ok);
    return false;
}

void AccountsPageSteps::addAccount(AccountRecord record, const OAuthClient& oauth) {
    if (record.signIn == kSignInOAuth2) SaveOAuthClient(m_checker.profile(), record, oauth);
    m_checker.ClearAccountSelection();
    record.isCurrent = 1;
    record.accountNumber = static_cast<std::uint8_t>(m_checker.GetAccountCount() + 1);
    AccountStore& accounts = m_checker.accounts();
    accounts.currentAccount = record;
    m_checker.AppendAccount(record);
    const int n = m_checker.GetAccountCount();
    accounts.currentAccountNumber = static_cast<std::uint8_t>(n);
    m_checker.ReplaceAccount(n, accounts.currentAccount);
    refillAfterChange();
    m_checker.SaveAccounts();
}

bool AccountsPageSteps::deleteAccount(int position) {
    if (m_checker.GetAccountCount() <= 0 || m_checker.refuseWhileScanning()) return false;
    const std::optional<AccountRecord> removed = m_checker.GetAccount(position + 1);
    if (!removed || !m_checker.RemoveAccount(position)) return false;
    forgetUnusedClient(m_checker, *removed);
    const int n = m_checker.GetAccountCount();
    if (n > 0) {
        makeCurrent(n);
    } else {
        // Nothing may act on the account just deleted through its working copy.
        m_checker.accounts().currentAccount = AccountRecord{};
        m_checker.accounts().currentAccountNumber = AccountStore::kNoCurrentAccount;
    }
    refillAfterChange();
    m_checker.SaveAccounts();
    return true;
}

bool AccountsPageSteps::updateAccount(int position, AccountPageFields& fields) {
    if (m_checker.refuseWhileScanning() || !acceptAccountUpdate(fields, m_ui)) return false;
    AccountStore& accounts = m_checker.accounts();
    // The client was kept under the stored names, not the working copy's corrected port.
    const AccountRecord before = m_checker.GetAccount(position + 1).value_or(accounts.currentAccount);
    SavePageFields(fields, accounts.currentAccount);
    m_checker.ReplaceAccount(position + 1, accounts.currentAccount);
    moveClient(m_checker, before, accounts.currentAccount);
    m_checker.SaveAccounts();
    m_ui.messageBox("QLT Update Complete", "Account information has been updated.", BoxIcon::Information,
                    BoxButtons::Ok);
    return true;
}

void AccountsPageSteps::makeCurrent(int n) {
    AccountRecord account = *m_checker.GetAccount(n);
    account.isCurrent = 1;
    m_checker.ReplaceAccount(n, account);
    AccountStore& accounts = m_checker.accounts();
    accounts.currentAccount = account;
    accounts.currentAccount.port = CorrectedPort(account.port);
    accounts.currentAccountNumber = static_cast<std::uint8_t>(n);
}

void AccountsPageSteps::refillAfterChange() {
    m_checker.ClearProgressText();
    m_checker.RefillMessageList();
    m_checker.RefillAccountList();
    m_checker.UpdateCommandState();
}

}  // namespace qlt

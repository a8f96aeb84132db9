// The clicks of the account list and the request the window posts to itself
// once it is on screen.
#include <vector>

#include "core/AccountQueries.h"
#include "core/AccountView.h"
#include "core/MailChecker.h"

namespace qlt {

bool MailChecker::chooseAccount(int row) {
    const int n = row + 1;
    if (!m_accounts.GetAccount(n)) return false;
    // The scan puts its own current account back when it ends; a choice made
    // in the middle would leave the flags and the working copy apart.
    if (refuseWhileScanning()) return false;
    m_accounts.MakeAccountCurrent(n);
    m_ui.progress(kProgressClear, 0);
    RefillAccountList();
    UpdateCommandState();
    return true;
}

bool MailChecker::toggleAccountInclude(int row) {
    const int count = m_accounts.GetAccountCount();
    if (row < 0 || row >= count) return false;
    std::vector<AccountState> states;
    for (int n = 1; n <= count; ++n) states.push_back(AccountViewState(*m_accounts.GetAccount(n)));
    AccountState& clicked = states[static_cast<std::size_t>(row)];
    if (clicked == AccountState::Current) return false;
    clicked = clicked == AccountState::Included ? AccountState::Inactive : AccountState::Included;
    for (int n = 1; n <= count; ++n) {
        AccountRecord account = *m_accounts.GetAccount(n);
        account.scanAllInclude = states[static_cast<std::size_t>(n - 1)] == AccountState::Inactive ? 0 : 1;
        m_accounts.ReplaceAccount(n, account);
        if (n == m_accounts.currentAccountNumber)
            m_accounts.currentAccount.scanAllInclude = account.scanAllInclude;
    }
    // Kept at once: a crash or a command-line run before the next scan
    // would otherwise see the old marks.
    SaveAccounts();
    RefillAccountList();
    UpdateCommandState();
    return true;
}

void MailChecker::startUpRequest() {
    if (m_settings.scanOnStartup != 0) startScan(ScanStart::Startup);
    if (m_settings.rescanRecurring != 0) StartCheckTimer();
    m_ui.setTrayTip(trayTip());
    UpdateCommandState();
}

}  // namespace qlt

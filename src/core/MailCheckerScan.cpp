// The scan command of the mail checker: its starts, the driver over the
// accounts and what it refreshes afterwards.
#include "base/ProcessState.h"
#include "content/MailboxScan.h"
#include "core/AccountQueries.h"
#include "core/MailChecker.h"
#include "core/ProgressCaptions.h"
#include "core/ScanResult.h"
#include "core/TrayStatus.h"
#include "risk/SenderList.h"
#include "store/BuiltInTexts.h"

namespace qlt {

namespace {

constexpr unsigned kStopPauseMs = 3000;

constexpr const char* kNoAccountText =
    "Please enter your Mail Account data first.\n\n"
    "To create your mail account record - click\n"
    "ACCOUNT tab, and ADD button. Then input\n"
    "all required mail account details.\n";

}  // namespace

void MailChecker::onScanButton() {
    // During a delete's undo wait the button reads UNDO.
    if (endUndoWait(UndoEnd::Undo)) return;
    if (m_scanBusy || m_scanRunning) {
        // STOP. A scan stopped this way may still be visiting the accounts
        // after the stopped one; the click must not start a second one
        // inside it, so it only asks again.
        abortRequested = 1;
        m_scanBusy = false;
        m_ui.setButtonText(CommandButton::Scan, "SCAN");
        m_ui.setButtonEnabled(CommandButton::Close, true);
        m_ui.setButtonEnabled(CommandButton::Scan, false);
        m_clock.sleepMs(kStopPauseMs);
        m_ui.setButtonEnabled(CommandButton::Scan, true);
        m_ui.setButtonFace(CommandButton::Scan, ButtonFace::Normal);
        return;
    }
    m_ui.setButtonFace(CommandButton::Scan, ButtonFace::Pressed);
    m_ui.progressCaption(kConnectingCaption);
    runBusyScan();
}

bool MailChecker::startScan(ScanStart from) {
    // The user starting a scan ends a delete's undo wait; the timer does not.
    if (from == ScanStart::Menu || from == ScanStart::Tray) endUndoWait(UndoEnd::Commit);
    if (m_scanBusy || m_scanRunning || m_awaitingUndo) return false;
    m_ui.setButtonFace(CommandButton::Scan, ButtonFace::Pressed);
    // Only the user's own start may open the browser for a sign-in.
    if (m_oauth) m_oauth->setInteractive(from == ScanStart::Menu || from == ScanStart::Tray);
    runBusyScan();
    if (m_oauth) m_oauth->setInteractive(true);
    if (from == ScanStart::Menu && m_settings.rescanRecurring != 0) {
        StopCheckTimer(false);
        StartCheckTimer();
    }
    return true;
}

void MailChecker::runBusyScan() {
    m_ui.setButtonText(CommandButton::Scan, "STOP");
    m_ui.setButtonEnabled(CommandButton::Close, false);
    m_scanBusy = true;
    runScan();
    m_scanBusy = false;
    m_ui.setButtonText(CommandButton::Scan, "SCAN");
    m_ui.setButtonEnabled(CommandButton::Close, true);
    m_ui.setButtonFace(CommandButton::Scan, ButtonFace::Normal);
}

void MailChecker::runScan() {
    if (m_scanRunning) return;
    if (m_accounts.GetAccountCount() == 0) {
        m_ui.messageBox(kProgramName, kNoAccountText, BoxIcon::None, BoxButtons::Ok);
        return;
    }
    m_scanRunning = true;
    askPasswordIfMissing();
    StopCheckTimer(false);
    WaitCursor wait(m_ui);
    m_view.clear();
    m_ui.refresh(ViewPart::MessageView);
    m_newMailFound = false;
    m_ui.setTrayIcon(TrayIconFor(kTrayKindScanning));
    m_dictionary.loadDictionary(m_ui, m_files.dictionary);

    const int startNumber = m_accounts.currentAccountNumber;
    const AccountRecord startCopy = m_accounts.currentAccount;
    // Bounded by the store as it was: a page cannot add accounts mid-scan,
    // but the count is read once all the same.
    const int count = m_accounts.GetAccountCount();
    for (int n = 1; n <= count; ++n) {
        const auto account = m_accounts.GetAccount(n);
        if (account && accountTaken(*account)) scanAccount(n);
    }

    m_dictionary.clearDictionary();
    SenderList(m_ui, senderListFile()).applySenderList(m_list);
    restoreCurrentAccount(startNumber, startCopy);
    m_ui.setButtonText(CommandButton::Scan, "SCAN");
    m_ui.setButtonEnabled(CommandButton::Close, true);
    m_ui.setButtonFace(CommandButton::Scan, ButtonFace::Normal);
    if (m_settings.rescanRecurring != 0) {
        StopCheckTimer(false);
        StartCheckTimer();
    }
    finishScanView();
    m_scanRunning = false;
}

bool MailChecker::accountTaken(const AccountRecord& account) const {
    return account.isCurrent != 0 || (m_scanAll && account.scanAllInclude != 0);
}

void MailChecker::askPasswordIfMissing() {
    // Typed credentials serve the scan they were typed for and the commands
    // on the list it leaves; each scan asks again, and after a Cancel it logs
    // in with what is stored.
    m_typed.reset();
    if (!HasCurrentAccount(m_accounts) || !m_accounts.currentAccount.password.empty()) return;
    // An OAuth2 account has no password to ask for.
    if (m_accounts.currentAccount.signIn == kSignInOAuth2) return;
    if (fillCurrentFromKeyring()) return;
    const auto typed = m_ui.askPassword(m_accounts.currentAccount.userName.str());
    if (!typed) return;
    m_typed = *typed;
    m_typedFor = m_accounts.currentAccountNumber;
}

bool MailChecker::fillCurrentFromKeyring() {
    // A keyring that was locked at start may have been opened since.
    if (!m_secrets.fill(m_accounts.currentAccount)) return false;
    const int n = m_accounts.currentAccountNumber;
    AccountRecord stored = *m_accounts.GetAccount(n);
    if (m_secrets.fill(stored)) m_accounts.ReplaceAccount(n, stored);
    return true;
}

void MailChecker::scanAccount(int n) {
    m_accounts.CopyToCurrent(n);
    UpdateCommandState();
    const bool connected = connectAccount(n, *m_accounts.GetAccount(n));
    // Read after the login: it may have pinned a certificate or noted the
    // clear-text warning.
    const AccountRecord stored = *m_accounts.GetAccount(n);
    const AccountRecord login = loginRecord(n, stored);
    ScanOutcome outcome = ScanOutcome::ConnectionFailed;
    if (connected) {
        const ScanContext context{m_client,           m_list,        m_dictionary, login,
                                  m_settings.scanBuf, m_forceRescan, m_ui,         m_clock};
        outcome = ScanOutcomeFromResult(ScanMailbox(context));
    }
    if (outcome == ScanOutcome::Scanned) m_newMailFound = true;
    const ServerReport server{m_client.m_nMessages, m_client.m_nMailboxSize, m_client.m_wRate};
    const ScanRecord record = RecordScanResult(stored, outcome, server, m_clock);
    if (record.progressCode) m_ui.progress(*record.progressCode, 0);
    m_accounts.ReplaceAccount(n, record.account);
    m_client.Close();
}

void MailChecker::restoreCurrentAccount(int number, const AccountRecord& copy) {
    if (m_accounts.CopyToCurrent(number)) return;
    m_accounts.currentAccount = copy;
    m_accounts.currentAccountNumber = static_cast<std::uint8_t>(number);
}

void MailChecker::useOAuth(OAuthLogin* oauth) {
    m_oauth = oauth;
    if (m_oauth) m_oauth->setInteractive(true);
    m_trust.useOAuth(oauth);
}

std::string MailChecker::trayTip() const {
    const std::string waiting = m_oauth ? m_oauth->firstSignInNeeded() : std::string();
    return waiting.empty() ? TrayTipText(m_accounts) : SignInNeededTip(waiting);
}

void MailChecker::finishScanView() {
    m_ui.setTrayTip(trayTip());
    fillMessageView();
    RefillAccountList();
    m_ui.showMessageView();
    UpdateCommandState();
    m_ui.setTrayIcon(TrayIconFor(m_lamps.overallRisk));
    SaveAccounts();
}

}  // namespace qlt

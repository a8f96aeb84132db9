#include "core/MailChecker.h"

#include "core/AccountQueries.h"
#include "risk/SenderList.h"

namespace qlt {

namespace {

constexpr const char* kScanRunningTitle = "QLT Scan In Progress";
constexpr const char* kScanRunningText =
    "A scan is running and uses the connection to the server.\n"
    "Press STOP or wait for the scan to end, then try again.\n";
constexpr const char* kAccountsUnreadableTitle = "QLT Accounts Not Read";

std::string accountsUnreadableText(const std::string& location) {
    return "The stored accounts could not be read from\n" + location +
           "\nThe account list starts empty. Before the settings are next saved, a copy of the file is "
           "kept beside it, named with .bak- and the date and time.\n";
}

}  // namespace

MailChecker::MailChecker(const DeskServices& desk, DataFiles files)
    : m_ui(desk.ui),
      m_clock(desk.clock),
      m_launcher(desk.launcher),
      m_mailto(desk.mailto),
      m_files(std::move(files)),
      m_persistence(desk.profile, desk.window),
      m_secrets(desk.secrets, desk.ui),
      m_client(desk.ui, desk.clock),
      m_trust(desk.ui) {}

void MailChecker::load() {
    m_persistence.LoadAccounts(m_accounts, m_settings);
    if (m_secrets.adoptLoaded(m_accounts)) SaveAccounts();
    // A log that cannot be pruned now is pruned at a later start.
    DeletionLog(m_files.deletionLog).prune(m_clock.utcNow());
    if (m_persistence.storedAccountsUnreadable())
        m_ui.messageBox(kAccountsUnreadableTitle, accountsUnreadableText(m_persistence.profileLocation()),
                        BoxIcon::Warning, BoxButtons::Ok);
}

bool MailChecker::RemoveAccount(int i) {
    // Typed credentials belong to a place in the store, which moves.
    m_typed.reset();
    if (!m_accounts.RemoveAccount(i)) return false;
    // Messages name their account by its number, which is its place in the
    // store: without this the next account would own the removed one's
    // messages, and a delete would reach the wrong mailbox.
    m_list.forgetAccount(static_cast<std::uint8_t>(i + 1));
    for (int n = i + 1; n <= m_accounts.GetAccountCount(); ++n) {
        AccountRecord moved = *m_accounts.GetAccount(n);
        moved.accountNumber = static_cast<std::uint8_t>(n);
        m_accounts.ReplaceAccount(n, moved);
    }
    return true;
}

bool MailChecker::SaveAccounts() {
    const AccountStore stored = m_secrets.storedForm(m_accounts, m_persistence.profileLocation());
    return m_persistence.SaveAccounts(stored, m_settings);
}

void MailChecker::StartCheckTimer() {
    if (startCheckTimerHook) startCheckTimerHook();
}

void MailChecker::StopCheckTimer(bool reset) {
    if (stopCheckTimerHook) stopCheckTimerHook(reset);
}

void MailChecker::UpdateCommandState() {
    ResetCountersWithoutCurrentAccount(m_accounts);
    m_commandState = ComputeCommandState(m_accounts, m_list.count(), m_showAll);
    m_ui.refresh(ViewPart::CommandState);
    m_lamps = ComputeRiskLamps(m_accounts, m_list, m_showAll);
    m_ui.refresh(ViewPart::RiskLamps);
    m_headerLine = ComputeHeaderLine(m_accounts);
    m_ui.refresh(ViewPart::HeaderLine);
    updateSelection();
}

void MailChecker::fillMessageView() {
    m_view.fill(m_list, m_accounts, m_showAll, m_settings.delTag);
    m_ui.refresh(ViewPart::MessageView);
}

void MailChecker::updateSelection() {
    m_view.updateSelection(m_accounts, m_list);
    m_ui.refresh(ViewPart::Pages);
    refreshStatusTexts();
}

void MailChecker::refreshStatusTexts() {
    m_countText = MessageCountText(m_accounts, m_list);
    m_positionText = PositionText(m_view, m_client.m_nMessages);
    m_ui.refresh(ViewPart::StatusTexts);
}

void MailChecker::selectRow(std::optional<std::size_t> row) {
    m_view.select(row);
    updateSelection();
}

bool MailChecker::toggleRowState(std::size_t row) {
    if (!m_view.toggleState(row)) return false;
    m_ui.refresh(ViewPart::MessageView);
    UpdateCommandState();
    return true;
}

void MailChecker::tagAll() {
    if (m_view.tagAll() == 0) return;
    m_ui.refresh(ViewPart::MessageView);
    UpdateCommandState();
}

void MailChecker::untagAll() {
    if (m_view.untagAll() == 0) return;
    m_ui.refresh(ViewPart::MessageView);
    UpdateCommandState();
}

std::string MailChecker::senderListFile() const {
    return m_files.senderList.empty() ? senderListPath() : m_files.senderList;
}

void MailChecker::listSelectedSender(std::uint8_t kind) {
    const auto index = selectedEntryIndex();
    if (!index) return;
    SenderList senders(m_ui, senderListFile());
    senders.addSender(m_list.at(*index).from.view(), kind);
    senders.applySenderList(m_list);
    fillMessageView();
    UpdateCommandState();
}

void MailChecker::unlistSelectedSender() {
    const auto index = selectedEntryIndex();
    if (!index) return;
    SenderList senders(m_ui, senderListFile());
    senders.removeSender(m_list.at(*index).from.view());
    senders.applySenderList(m_list);
    fillMessageView();
    UpdateCommandState();
}

void MailChecker::toggleRescan() {
    m_forceRescan = !m_forceRescan;
    m_ui.refresh(ViewPart::Toggles);
}

void MailChecker::toggleScanAll() {
    m_scanAll = !m_scanAll;
    m_showAll = m_scanAll;
    m_ui.refresh(ViewPart::Toggles);
    refreshStatusTexts();
    fillMessageView();
    updateSelection();
}

void MailChecker::toggleShowAll() {
    m_showAll = !m_showAll;
    m_ui.refresh(ViewPart::Toggles);
    refreshStatusTexts();
    fillMessageView();
    updateSelection();
}

void MailChecker::showErrorDetails() {
    if (m_client.m_strError.empty()) return;
    m_ui.progress(kProgressClear, 0);
    m_ui.messageBox("QLT Error Details", m_client.m_strError, BoxIcon::Information, BoxButtons::Ok);
    m_client.m_strError.clear();
}

bool MailChecker::refuseWhileScanning() {
    // Another command ends a delete's undo wait: the delete goes on at once,
    // and the command may be given again once it is through.
    if (endUndoWait(UndoEnd::Commit)) return true;
    // The commands would talk over the running scan's connection.
    if (!m_scanBusy && !m_scanRunning) return false;
    m_ui.messageBox(kScanRunningTitle, kScanRunningText, BoxIcon::Warning, BoxButtons::Ok);
    return true;
}

AccountRecord MailChecker::loginRecord(int n, const AccountRecord& record) const {
    AccountRecord login = record;
    if (m_typed && m_typedFor == n && login.password.empty()) {
        login.userName = m_typed->userName;
        login.password = m_typed->password;
    }
    return login;
}

bool MailChecker::connectForEntry(const MessageEntry& entry) {
    // With Show All the entry may be another account's: its number means
    // something on its own server only.
    const int n = entry.accountIndex;
    if (n == m_accounts.currentAccountNumber) return connectAccount(n, m_accounts.currentAccount);
    const auto owner = m_accounts.GetAccount(n);
    if (!owner) return false;
    return connectAccount(n, *owner);
}

bool MailChecker::connectAccount(int n, const AccountRecord& record) {
    AccountRecord login = loginRecord(n, record);
    m_secrets.fill(login);
    const TrustedLogin result = m_trust.connect(m_client, login);
    if (result.accountChanged) keepTrust(n, login);
    return result.connected;
}

void MailChecker::keepTrust(int n, const AccountRecord& login) {
    if (auto stored = m_accounts.GetAccount(n)) {
        KeepTrust(*stored, login);
        m_accounts.ReplaceAccount(n, *stored);
    }
    if (n == m_accounts.currentAccountNumber) KeepTrust(m_accounts.currentAccount, login);
    SaveAccounts();
}

std::optional<std::size_t> MailChecker::selectedEntryIndex() const {
    const std::int64_t entry = m_view.currentEntry();
    if (entry < 0 || static_cast<std::size_t>(entry) >= m_list.count()) return std::nullopt;
    return static_cast<std::size_t>(entry);
}

void MailChecker::reportRetrievalFailure() {
    // A failure already told in a box leaves no details to click for.
    m_ui.progress(m_client.m_strError.empty() ? kProgressClear : kProgressConnectionError, 0);
}

}  // namespace qlt

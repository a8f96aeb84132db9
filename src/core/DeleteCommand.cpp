// The delete command of the mail checker: DELE for the tagged rows of the
// current account on one connection, then an optional rescan.
#include "core/MailChecker.h"
#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr unsigned kRescanPauseMs = 1000;

constexpr const char* kNothingToDeleteText =
    "You have not selected any messages to delete.\n\n"
    "To mark message for deleting - click on the\n"
    "envelope icon beside the message. To toggle\n"
    "click it again. After you have marked all \n"
    "selected messages press Delete button, and\n"
    "marked emails will be deleted from server,\n"
    "without being downloaded to your PC.\n\n"
    "Or from Options->Setup select Automatic Tag\n"
    "feature, and program will mark for you for\n"
    "deletion all messages with risk level equal to\n"
    "or higher than selected.\n";

constexpr const char* kNewMessagesText =
    "New messages arrived in the meantime. You should\n"
    "review them before downloading your mail.\n";

constexpr const char* kUnconfirmedDeleteText =
    "The server did not confirm the end of the session,\n"
    "so it has not deleted the messages.\n"
    "Scan again to see what the mailbox holds.\n";

}  // namespace

void MailChecker::deleteTagged() {
    if (refuseWhileScanning()) return;
    WaitCursor wait(m_ui);
    // The current account's own count: after Scan All the last connection
    // may have been another account's.
    const std::int32_t before = m_accounts.currentAccount.messageCount;
    if (before == 0) {
        m_ui.messageBox("QLT No messages", "No Messages Scanned.", BoxIcon::Warning, BoxButtons::Ok);
        m_countText = "No Messages";
        m_ui.refresh(ViewPart::StatusTexts);
        UpdateCommandState();
        return;
    }
    const std::size_t count = deletableCount();
    if (count == 0) {
        showNothingToDelete();
        return;
    }
    if (!confirmDelete(count)) return;

    m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Pressed);
    if (!connectAccount(m_accounts.currentAccountNumber, m_accounts.currentAccount)) {
        m_ui.messageBox("QLT Server Access Problem", "Could Not Connect to the Server.", BoxIcon::Warning,
                        BoxButtons::Ok);
        m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
        UpdateCommandState();
        return;
    }
    m_ui.progress(kProgressDeleteStart, static_cast<long>(count));
    const std::size_t deleted = deleteRows();
    m_list.renumberAccount(m_accounts.currentAccountNumber, m_accounts.currentAccount);
    m_ui.progress(kProgressDeleteEnd, static_cast<long>(deleted));
    // A server carries out DELE only when the session ends with QUIT; without
    // it (a refused DELE closes the connection) nothing was deleted.
    const bool committed = m_client.Quit();
    m_client.Close();
    m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
    if (deleted > 0 && !committed) {
        reportUnconfirmedDelete();
        return;
    }
    reportDelete(deleted, before);
}

void MailChecker::reportUnconfirmedDelete() {
    // The rows are gone from the list but the messages are still on the
    // server: the next scan must read the mailbox through to list them again.
    m_accounts.currentAccount.status = kStatusUpdateNeeded;
    m_accounts.currentAccount.mailboxSize = -1;
    m_accounts.ReplaceAccount(m_accounts.currentAccountNumber, m_accounts.currentAccount);
    m_ui.progress(kProgressScanIncomplete, 0);
    m_ui.messageBox("QLT Delete Not Confirmed", kUnconfirmedDeleteText, BoxIcon::Warning, BoxButtons::Ok);
    UpdateCommandState();
}

std::size_t MailChecker::deletableCount() const {
    std::size_t count = 0;
    for (std::size_t row = 0; row < m_view.rowCount(); ++row) {
        if (m_view.state(row) != RowState::Delete) continue;
        const std::size_t index = m_view.entryIndex(row);
        if (index < m_list.count() && m_list.at(index).accountIndex == m_accounts.currentAccountNumber)
            ++count;
    }
    return count;
}

std::size_t MailChecker::deleteRows() {
    std::size_t deleted = 0;
    // From the bottom, so that removing an entry never moves one still to come.
    for (std::size_t row = m_view.rowCount(); row-- > 0;) {
        if (m_view.state(row) != RowState::Delete) continue;
        const std::size_t index = m_view.entryIndex(row);
        // With Show All the view holds other accounts' rows: their numbers
        // mean nothing on this server, so they stay tagged.
        if (index >= m_list.count() || m_list.at(index).accountIndex != m_accounts.currentAccountNumber)
            continue;
        if (!m_client.Dele(m_list.at(index).messageNumber)) continue;
        m_list.removeAt(index);
        m_view.removeEntryRow(row);
        ++deleted;
        m_ui.progress(kProgressDeleting, static_cast<long>(deleted));
    }
    m_ui.refresh(ViewPart::MessageView);
    return deleted;
}

void MailChecker::reportDelete(std::size_t deleted, std::int32_t before) {
    const bool rescan = deleted > 0 && m_settings.rescanDel != 0;
    if (rescan) {
        m_clock.sleepMs(kRescanPauseMs);
        m_ui.setButtonText(CommandButton::Scan, "STOP");
        m_ui.setButtonEnabled(CommandButton::Close, false);
        m_scanBusy = true;
        runScan();
        m_scanBusy = false;
    } else {
        m_ui.progress(kProgressScanIncomplete, 0);
        m_ui.messageBox("QLT Update Needed", "No Messages Scanned.", BoxIcon::Warning, BoxButtons::Ok);
    }
    if (deleted == 0) {
        showNothingToDelete();
        m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
        UpdateCommandState();
        return;
    }
    if (m_settings.noShowDeleteConfirmed == 0) {
        const auto n = static_cast<long long>(deleted);
        m_ui.messageBox("QLT Delete Completed",
                        std::to_string(n) + " offending message" + PluralS(n) + " successfully deleted.",
                        BoxIcon::Information, BoxButtons::Ok);
    }
    // A rescan that could not reach the server counted nothing.
    const AccountRecord& after = m_accounts.currentAccount;
    if (rescan && after.status != kStatusConnectionFailed &&
        static_cast<long long>(before) - after.messageCount != static_cast<long long>(deleted)) {
        m_clock.sleepMs(kRescanPauseMs);
        m_ui.messageBox("QLT New Messages", kNewMessagesText, BoxIcon::Information, BoxButtons::Ok);
    }
    m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
    UpdateCommandState();
}

bool MailChecker::confirmDelete(std::size_t n) {
    if (m_settings.noDeleteWarning != 0) return true;
    const auto count = static_cast<long long>(n);
    const std::string text = "Are you sure you want permanently DELETE " + std::to_string(count) +
                             " message" + PluralS(count) + " ?\n";
    return m_ui.messageBox("QLT Confirm Delete Please", text, BoxIcon::Warning, BoxButtons::YesNo) ==
           BoxAnswer::Yes;
}

void MailChecker::showNothingToDelete() {
    m_ui.messageBox("QLT Nothing to Delete", kNothingToDeleteText, BoxIcon::Information, BoxButtons::Ok);
}

}  // namespace qlt

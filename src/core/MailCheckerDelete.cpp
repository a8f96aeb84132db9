// The delete command of the mail checker: DELE for the tagged rows of the
// current account on one connection, then an optional rescan.
#include <algorithm>

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

constexpr const char* kMailboxChangedText =
    " not deleted: the mailbox changed on the\n"
    "server since the last scan, and the numbers\n"
    "no longer name the messages you tagged.\n";

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
        UpdateCommandState();
        m_countText = "No Messages";
        m_ui.refresh(ViewPart::StatusTexts);
        return;
    }
    const std::vector<TaggedRow> tagged = taggedRows();
    if (tagged.empty()) {
        showNothingToDelete();
        return;
    }
    if (!confirmDelete(tagged.size())) return;

    m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Pressed);
    if (!connectAccount(m_accounts.currentAccountNumber, m_accounts.currentAccount)) {
        m_ui.messageBox("QLT Server Access Problem", "Could Not Connect to the Server.", BoxIcon::Warning,
                        BoxButtons::Ok);
        m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
        UpdateCommandState();
        return;
    }
    m_ui.progress(kProgressDeleteStart, static_cast<long>(tagged.size()));
    const std::vector<DeleteFate> fates = deleteOnServer(tagged);
    const auto deleted =
        static_cast<std::size_t>(std::count(fates.begin(), fates.end(), DeleteFate::Deleted));
    const auto skipped =
        static_cast<std::size_t>(std::count(fates.begin(), fates.end(), DeleteFate::Changed));
    m_ui.progress(kProgressDeleteEnd, static_cast<long>(deleted));
    // A server carries out DELE only when the session ends with QUIT; without
    // it (a refused DELE closes the connection) nothing was deleted, and the
    // entries keep their rows and numbers.
    const bool committed = m_client.Quit();
    m_client.Close();
    if (committed) removeDeleted(tagged, fates);
    m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
    if (deleted > 0 && !committed) {
        reportUnconfirmedDelete();
        return;
    }
    if (skipped > 0) reportMailboxChanged(skipped);
    reportDelete(deleted, skipped, before);
}

std::vector<MailChecker::TaggedRow> MailChecker::taggedRows() const {
    std::vector<TaggedRow> tagged;
    // From the bottom, so that removing an entry never moves one still to come.
    for (std::size_t row = m_view.rowCount(); row-- > 0;) {
        if (m_view.state(row) != RowState::Delete) continue;
        const std::size_t index = m_view.entryIndex(row);
        // With Show All the view holds other accounts' rows: their numbers
        // mean nothing on this server, so they stay tagged.
        if (index < m_list.count() && m_list.at(index).accountIndex == m_accounts.currentAccountNumber)
            tagged.push_back({row, index});
    }
    return tagged;
}

std::vector<DeleteFate> MailChecker::deleteOnServer(const std::vector<TaggedRow>& tagged) {
    std::vector<DoomedMessage> doomed;
    for (const TaggedRow& t : tagged) {
        const MessageEntry& entry = m_list.at(t.entryIndex);
        doomed.push_back({entry.messageNumber, entry.uidl.str()});
    }
    // Whether the ids may be asked for in one write. A server that gave no
    // ids is asked nothing but DELE.
    const auto hasId = [](const DoomedMessage& m) { return !m.uidl.empty(); };
    if (std::any_of(doomed.begin(), doomed.end(), hasId)) m_client.Capa();
    return DeleteMessages(m_client, doomed, m_ui);
}

void MailChecker::removeDeleted(const std::vector<TaggedRow>& tagged, const std::vector<DeleteFate>& fates) {
    std::vector<std::int32_t> numbers;
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < tagged.size(); ++i) {
        if (fates[i] != DeleteFate::Deleted) continue;
        numbers.push_back(m_list.at(tagged[i].entryIndex).messageNumber);
        m_list.removeAt(tagged[i].entryIndex);
        rows.push_back(tagged[i].row);
    }
    // One pass over the rows: row by row would walk the whole view for each
    // deleted message.
    m_view.removeEntryRows(std::move(rows));
    std::sort(numbers.begin(), numbers.end());
    m_list.renumberAccount(m_accounts.currentAccountNumber, numbers, m_accounts.currentAccount);
    m_ui.refresh(ViewPart::MessageView);
}

void MailChecker::markUpdateNeeded() {
    // The next scan must read the mailbox through, whatever its counts say.
    m_accounts.currentAccount.status = kStatusUpdateNeeded;
    m_accounts.currentAccount.mailboxSize = -1;
    m_accounts.ReplaceAccount(m_accounts.currentAccountNumber, m_accounts.currentAccount);
}

void MailChecker::reportUnconfirmedDelete() {
    markUpdateNeeded();
    m_ui.progress(kProgressScanIncomplete, 0);
    m_ui.messageBox("QLT Delete Not Confirmed", kUnconfirmedDeleteText, BoxIcon::Warning, BoxButtons::Ok);
    UpdateCommandState();
}

void MailChecker::reportMailboxChanged(std::size_t skipped) {
    markUpdateNeeded();
    const auto n = static_cast<long long>(skipped);
    m_ui.messageBox("QLT Mailbox Changed",
                    std::to_string(n) + " tagged message" + PluralS(n) + kMailboxChangedText,
                    BoxIcon::Warning, BoxButtons::Ok);
}

void MailChecker::reportDelete(std::size_t deleted, std::size_t skipped, std::int32_t before) {
    // A changed mailbox is scanned again too: its list is out of date.
    const bool rescan = (deleted > 0 || skipped > 0) && m_settings.rescanDel != 0;
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
        // The user did tag: what kept the messages has been told.
        if (skipped == 0) showNothingToDelete();
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
    // A rescan that could not reach the server counted nothing, and a
    // mailbox known to have changed has been told already.
    const AccountRecord& after = m_accounts.currentAccount;
    if (rescan && skipped == 0 && after.status != kStatusConnectionFailed &&
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

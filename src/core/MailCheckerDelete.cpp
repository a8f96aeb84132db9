// The delete command of the mail checker: DELE for the tagged rows of the
// current account on one connection, the wait for undo, then an optional
// rescan.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/MailChecker.h"
#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr unsigned kRescanPauseMs = 1000;

// The undo wait watches the connection in slices this long and handles the
// window's events between them. The slices are bounded in number too, in
// case a stream returns before its time.
constexpr int kUndoSliceMs = 50;
constexpr int kMaxUndoSlices = kMaxUndoSeconds * 1000 / kUndoSliceMs * 4;

constexpr const char* kUndoneCaption = "Delete undone.";
constexpr const char* kConnectionLostText = "The server closed the connection; nothing was deleted.";

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
    const UndoEnd end = awaitUndo(deleted);
    if (end == UndoEnd::Undo || end == UndoEnd::Lost) return reportNothingDeleted(end);
    m_ui.progress(kProgressDeleteEnd, static_cast<long>(deleted));
    // A server carries out DELE only when the session ends with QUIT; without
    // it (a refused DELE closes the connection) nothing was deleted, and the
    // entries keep their rows and numbers.
    const bool committed = m_client.Quit();
    m_client.Close();
    if (committed) {
        logDeletions(tagged, fates);
        removeDeleted(tagged, fates);
    }
    m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
    // The program is ending: nobody is left to read a box or a rescan.
    if (end == UndoEnd::Exit) return;
    if (deleted > 0 && !committed) {
        reportUnconfirmedDelete();
        return;
    }
    if (skipped > 0) reportMailboxChanged(skipped);
    reportDelete(deleted, skipped, before);
}

bool MailChecker::endUndoWait(UndoEnd how) {
    if (!m_awaitingUndo || how == UndoEnd::Lost) return false;
    if (!m_undoRequest || (how == UndoEnd::Exit && *m_undoRequest == UndoEnd::Commit)) m_undoRequest = how;
    return true;
}

UndoEnd MailChecker::awaitUndo(std::size_t deleted) {
    const auto seconds = static_cast<std::uint64_t>(std::clamp(m_settings.undoTime, 0, kMaxUndoSeconds));
    // A refused DELE closed the session already: there is nothing to undo.
    if (seconds == 0 || deleted == 0 || !m_client.m_socket.IsOpen()) return UndoEnd::Commit;
    m_undoRequest.reset();
    m_awaitingUndo = true;
    // The user is asked to act now; the busy cursor would say otherwise.
    m_ui.setWaitCursor(false);
    m_ui.setButtonText(CommandButton::Scan, "UNDO");
    const std::uint64_t end = m_clock.tickMs() + seconds * 1000;
    UndoEnd how = UndoEnd::Commit;
    std::uint64_t shown = 0;
    for (int slice = 0; slice < kMaxUndoSlices; ++slice) {
        std::uint64_t now = m_clock.tickMs();
        if (now >= end) break;
        if (const std::uint64_t left = (end - now + 999) / 1000; left != shown) {
            showUndoCountdown(deleted, left);
            shown = left;
        }
        m_ui.pumpMessages();
        if (m_undoRequest) {
            how = *m_undoRequest;
            break;
        }
        now = m_clock.tickMs();
        if (now >= end) break;
        // No command is sent while waiting: a NOOP would reset the server's
        // idle timer, and the wait must stay within the server's patience.
        if (!m_client.IdleFor(static_cast<int>(std::min<std::uint64_t>(kUndoSliceMs, end - now)))) {
            how = UndoEnd::Lost;
            break;
        }
    }
    m_awaitingUndo = false;
    m_undoRequest.reset();
    m_ui.setButtonText(CommandButton::Scan, "SCAN");
    m_ui.setWaitCursor(true);
    return how;
}

void MailChecker::showUndoCountdown(std::size_t deleted, std::uint64_t secondsLeft) {
    m_ui.progressCaption("Deleted " + std::to_string(deleted) + " messages. UNDO (" +
                         std::to_string(secondsLeft) + " s)");
}

void MailChecker::reportNothingDeleted(UndoEnd how) {
    // Without a QUIT after a good RSET the server ends the session without
    // deleting anything; a QUIT after a failed RSET would delete.
    if (how == UndoEnd::Undo && m_client.Rset()) m_client.Quit();
    m_client.Close();
    m_ui.setButtonFace(CommandButton::Delete, ButtonFace::Normal);
    if (how == UndoEnd::Undo) {
        m_ui.progressCaption(kUndoneCaption);
    } else {
        m_ui.messageBox("QLT Connection Lost", kConnectionLostText, BoxIcon::Warning, BoxButtons::Ok);
        rescanAfterDelete();
    }
    UpdateCommandState();
}

void MailChecker::rescanAfterDelete() {
    m_clock.sleepMs(kRescanPauseMs);
    m_ui.setButtonText(CommandButton::Scan, "STOP");
    m_ui.setButtonEnabled(CommandButton::Close, false);
    m_scanBusy = true;
    runScan();
    m_scanBusy = false;
}

void MailChecker::logDeletions(const std::vector<TaggedRow>& tagged, const std::vector<DeleteFate>& fates) {
    std::vector<DeletionRecord> records;
    const SystemTime now = m_clock.utcNow();
    const std::string account = m_accounts.currentAccount.accountName.str();
    // The rows were taken from the bottom; the log lists them in list order.
    for (std::size_t i = tagged.size(); i-- > 0;) {
        if (fates[i] == DeleteFate::Deleted)
            records.push_back(
                MakeDeletionRecord(m_list.at(tagged[i].entryIndex), account, now, tagged[i].byHand));
    }
    const DeletionLog log(m_files.deletionLog);
    if (const int error = log.append(records); error != 0)
        m_ui.messageBox("QLT Deletion Log",
                        "The deleted messages could not be added to the log\n" + log.path() + ":\n" +
                            std::strerror(error) + "\n",
                        BoxIcon::Warning, BoxButtons::Ok);
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
            tagged.push_back({index, m_view.setByHand(row)});
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
    std::vector<std::size_t> gone;
    for (std::size_t i = 0; i < tagged.size(); ++i) {
        if (fates[i] != DeleteFate::Deleted) continue;
        numbers.push_back(m_list.at(tagged[i].entryIndex).messageNumber);
        gone.push_back(tagged[i].entryIndex);
    }
    std::ranges::sort(gone);
    // The rows are found afresh: a refill during the undo wait may have
    // moved them. One pass: row by row would walk the whole view for each
    // deleted message.
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < m_view.rowCount(); ++row)
        if (std::ranges::binary_search(gone, m_view.entryIndex(row))) rows.push_back(row);
    // From the top index down, so that a removal never moves one still to come.
    for (auto index = gone.rbegin(); index != gone.rend(); ++index) m_list.removeAt(*index);
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
        rescanAfterDelete();
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

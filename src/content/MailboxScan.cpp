#include "content/MailboxScan.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/ProcessState.h"
#include "content/EntryFiller.h"
#include "risk/RiskRating.h"
#include "store/BuiltInTexts.h"

namespace qlt {
namespace {

// Nothing can have changed when the server reports what the account stored
// after its last complete, successful scan.
bool mailboxUnchanged(const ScanContext& scan) {
    const AccountRecord& account = scan.account;
    const Pop3Client& client = scan.client;
    return client.m_nMessages == account.messageCount && client.m_nMailboxSize == account.mailboxSize &&
           account.scanIncomplete != 1 && account.status != kStatusUpdateNeeded && !scan.forceRescan;
}

// The listing reply's tokens when it is the well-formed "+OK a b".
bool wellFormedListing(std::string_view reply, std::vector<std::string>& tokens) {
    return Pop3Client::SplitReply(reply, tokens, ReplyCleaning::Listing) == 2;
}

// Commands for this many messages go out together when the server
// pipelines. Their replies wait in the socket buffers while we take them in
// order, and the few hundred bytes of commands can never fill the server's
// side, so sending them never waits on our own reading.
constexpr int kPipelineWindow = 32;

// The number of each message by its id, as the listing found them.
using ListedNumbers = std::unordered_map<std::string, std::int32_t>;

// The origin's uidl is set only when the entry is filled: it views `uidl`,
// which moves with the message.
struct ListedMessage {
    MessageOrigin origin;
    std::string uidl;
    bool needsTop = false;
};

// The origin of message i from its LIST and UIDL replies, read in that order;
// false when either failed.
bool readOrigin(Pop3Client& client, int i, ListedMessage& message) {
    std::vector<std::string> tokens;
    MessageOrigin& origin = message.origin;
    if (!client.ReadListReply()) return false;
    // The entry is message i, whatever number the reply echoes: a delete
    // later names it by this number, and a malformed or lying reply must not
    // make that 0 (a bare "dele") or another message's.
    origin.messageNumber = i;
    if (wellFormedListing(client.m_strReply, tokens)) origin.size = Pop3Client::TokenNumber(tokens, 3);
    if (!client.ReadUidlReply()) return false;
    if (wellFormedListing(client.m_strReply, tokens)) message.uidl = keptUidl(tokens[2]);
    return true;
}

// The same rule as the list's: whole ids, and no id is never the same.
bool heldEarlier(const std::vector<ListedMessage>& window, const std::string& uidl) {
    return !uidl.empty() && std::any_of(window.begin(), window.end(), [&uidl](const ListedMessage& m) {
        return m.needsTop && m.uidl == uidl;
    });
}

// LIST and UIDL of messages first..last, and which of them are new: not in
// the list, nor an earlier message of these with the same id. Every id read
// goes into `numbers`. False when a command failed; `window` then holds the
// messages answered before it.
bool listWindow(const ScanContext& scan, int first, int last, std::vector<ListedMessage>& window,
                ListedNumbers& numbers) {
    Pop3Client& client = scan.client;
    for (int i = first; i <= last; ++i) {
        client.QueueList(i);
        client.QueueUidl(i);
    }
    window.clear();
    const std::uint8_t account = scan.account.accountNumber;
    for (int i = first; i <= last; ++i) {
        ListedMessage message;
        message.origin.accountIndex = account;
        if (!readOrigin(client, i, message)) return false;
        if (!message.uidl.empty()) numbers.emplace(message.uidl, i);
        message.needsTop = !scan.list.findByUidl(account, message.uidl) && !heldEarlier(window, message.uidl);
        window.push_back(std::move(message));
    }
    return true;
}

// The TOP reply of message i: queued with the others of its window, or sent
// now when the connection that had it queued is gone.
bool readTop(const ScanContext& scan, int i) {
    if (scan.client.RepliesOwed() == 0) scan.client.QueueTop(i, scan.scanBuf);
    return scan.client.ReadTopReply(i, scan.scanBuf);
}

// TOP of message i, on a fresh connection after each failure. False once
// every try failed; the user has then been told.
bool fetchTop(const ScanContext& scan, int i) {
    Pop3Client& client = scan.client;
    for (int failures = 0; !readTop(scan, i);) {
        client.Close();
        scan.clock.sleepMs(kReconnectPauseMs);
        // A failed reconnect shows up as the next TOP's failure.
        client.Connect(scan.account);
        if (++failures == kTopTries) {
            scan.ui.messageBox(kProgramName, kConnectionTimedOut, BoxIcon::None, BoxButtons::Ok);
            return false;
        }
    }
    return true;
}

MessageEntry filledAndRated(const ScanContext& scan, const ListedMessage& message) {
    MessageOrigin origin = message.origin;
    origin.uidl = message.uidl;
    FilledMessage filled = FillEntry(scan.client.m_strReply, origin);
    if (filled.bodyToRate)
        rateMessage(scan.dictionary, *filled.bodyToRate, filled.entry, scan.account.accountName.view());
    return std::move(filled.entry);
}

// TOP of the window's new messages, each filled, rated and appended; 0, or
// what the scan returns when it ends here.
int readWindow(const ScanContext& scan, const std::vector<ListedMessage>& window) {
    Pop3Client& client = scan.client;
    for (const ListedMessage& message : window)
        if (message.needsTop) client.QueueTop(message.origin.messageNumber, scan.scanBuf);
    for (const ListedMessage& message : window) {
        const int i = message.origin.messageNumber;
        if (message.needsTop) {
            if (!fetchTop(scan, i)) {
                client.Close();
                return kScanFailed;
            }
            scan.list.append(filledAndRated(scan, message));
            if (abortRequested != 0) {
                client.Close();
                return kScanStopped;
            }
            // A reply cut short by the receive cap closed its connection,
            // whose rest would be read as the next reply. A failed reconnect
            // shows up as the next command's failure.
            if (!client.m_socket.IsOpen()) client.Connect(scan.account);
        }
        scan.ui.progress(kProgressScanning, i);
    }
    return 0;
}

// Every message of a mailbox found not empty nor unchanged, listed and new
// ones read; returns what ScanMailbox does.
int scanMessages(const ScanContext& scan, ListedNumbers& numbers) {
    Pop3Client& client = scan.client;
    const int m = client.m_nMessages;
    scan.ui.progress(kProgressRequestingData, m);
    client.Capa();
    std::vector<ListedMessage> window;
    for (int last = 0; last < m;) {
        const int first = last + 1;
        // Without pipelining each message's commands wait for the replies
        // before them, in the order LIST, UIDL, TOP.
        const int width = client.Pipelining() ? kPipelineWindow : 1;
        last = first + std::min(width - 1, m - first);
        const bool listed = listWindow(scan, first, last, window, numbers);
        // After a refusal the messages answered before it are read all the
        // same, as one at a time would have; a broken connection reads none.
        if (!listed && !client.m_socket.IsOpen()) window.clear();
        if (const int result = readWindow(scan, window); result != 0) return result;
        if (!listed) {
            client.Close();
            return kScanFailed;
        }
    }
    scan.ui.progress(kProgressScanEnd, 0);
    client.Quit();
    return m + 1;
}

}  // namespace

int ScanMailbox(const ScanContext& scan) {
    Pop3Client& client = scan.client;
    abortRequested = 0;
    client.m_nMessages = 0;
    client.m_nMailboxSize = 0;
    // A STAT that fails says nothing about the mailbox: taking it as empty
    // would drop the account's listed messages and report "No Messages".
    if (!client.QueryStat()) {
        client.Close();
        return kScanFailed;
    }
    if (client.m_nMessages <= 0) {
        scan.list.removeAccountEntries(scan.account.accountNumber);
        client.Close();
        return kScanEmpty;
    }
    if (mailboxUnchanged(scan)) return kScanUnchanged;
    // Numbers go stale when another program deletes mail, and a delete goes
    // by number: what the listing saw replaces them, also when the scan ends
    // early, and once it saw the whole mailbox the messages gone leave the list.
    ListedNumbers numbers;
    const int result = scanMessages(scan, numbers);
    scan.list.refreshAccountNumbers(scan.account.accountNumber, numbers, result > 0);
    return result;
}

}  // namespace qlt

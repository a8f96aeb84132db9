#include "content/MailboxScan.h"

#include <string>
#include <vector>

#include "base/ScanFlags.h"
#include "content/EntryFiller.h"
#include "risk/BuiltInTexts.h"

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

// LIST and UIDL of message i; false when either failed.
bool queryOrigin(Pop3Client& client, int i, MessageOrigin& origin, std::string& uidl) {
    std::vector<std::string> tokens;
    if (!client.List(i)) return false;
    // The entry is message i, whatever number the reply echoes: a delete
    // later names it by this number, and a malformed or lying reply must not
    // make that 0 (a bare "dele") or another message's.
    origin.messageNumber = i;
    if (wellFormedListing(client.m_strReply, tokens)) origin.size = Pop3Client::TokenNumber(tokens, 3);
    if (!client.Uidl(i)) return false;
    if (wellFormedListing(client.m_strReply, tokens)) uidl = tokens[2];
    // Stored ids hold 31 characters; a longer one is known by what fits.
    uidl.resize(std::min(uidl.size(), decltype(MessageEntry::uidl)::maxLength));
    origin.uidl = uidl;
    return true;
}

// TOP of message i, on a fresh connection after each failure. False once
// every try failed; the user has then been told.
bool fetchTop(const ScanContext& scan, int i) {
    Pop3Client& client = scan.client;
    for (int failures = 0; !client.Top(i, scan.scanBuf);) {
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

MessageEntry filledAndRated(const ScanContext& scan, const MessageOrigin& origin) {
    FilledMessage filled = FillEntry(scan.client.m_strReply, origin);
    if (filled.bodyToRate)
        scan.dictionary.rateMessage(*filled.bodyToRate, filled.entry, scan.account.accountName.view());
    return std::move(filled.entry);
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

    const int m = client.m_nMessages;
    scan.ui.progress(kProgressRequestingData, m);
    for (int i = 1; i <= m; ++i) {
        MessageOrigin origin;
        origin.accountIndex = scan.account.accountNumber;
        std::string uidl;
        if (!queryOrigin(client, i, origin, uidl)) {
            client.Close();
            return kScanFailed;
        }
        if (!scan.list.findByUidl(uidl)) {
            if (!fetchTop(scan, i)) {
                client.Close();
                return kScanFailed;
            }
            scan.list.append(filledAndRated(scan, origin));
            if (abortRequested != 0) {
                client.Close();
                return kScanStopped;
            }
        }
        scan.ui.progress(kProgressScanning, i);
    }
    scan.ui.progress(kProgressScanEnd, 0);
    client.Quit();
    return m + 1;
}

}  // namespace qlt

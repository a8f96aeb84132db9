#pragma once

#include <cstdint>

#include "base/AccountRecord.h"
#include "base/Clock.h"
#include "base/MessageList.h"
#include "base/ProgressCodes.h"
#include "base/UiPort.h"
#include "pop3/Pop3Client.h"
#include "risk/KeywordDictionary.h"

namespace qlt {

// What ScanMailbox returns besides m + 1 (all m messages handled).
enum ScanResult : int {
    kScanEmpty = 0,       // no messages; the account's entries are gone; closed
    kScanUnchanged = -1,  // nothing can have changed since the last scan; still open
    kScanStopped = -2,    // STOP after the message in hand was appended; closed without QUIT
    kScanFailed = -5,     // STAT, LIST or UIDL failed, or TOP four times; closed without QUIT
};

// A TOP that failed is tried again this many times, each on a new connection.
inline constexpr int kTopTries = 4;
inline constexpr unsigned kReconnectPauseMs = 1000;
inline constexpr char kConnectionTimedOut[] = "Connection Timed-Out. Retry Later.";

// Everything one account's scan works with. The client must be logged in
// with `account`, which is the account as last stored (its counters and
// status decide whether the mailbox can be unchanged).
struct ScanContext {
    Pop3Client& client;
    MessageList& list;
    const KeywordDictionary& dictionary;
    const AccountRecord& account;
    std::int32_t scanBuf = 1024;  // TOP's line count and its cap on receives
    bool forceRescan = false;     // never take the mailbox as unchanged
    UiPort& ui;
    Clock& clock;
};

// Reads the messages of the logged-in account that the list does not hold
// yet (header block and first body lines by TOP), fills and rates an entry
// for each and appends it. Returns m + 1 or a ScanResult; on m + 1 and
// kScanUnchanged the caller closes the connection. Entries appended before a
// stop or a failure stay in the list. The account's entries that the listing
// names take the numbers it gave them; after a listing of the whole mailbox
// the entries whose id it did not name leave the list.
int ScanMailbox(const ScanContext& scan);

}  // namespace qlt

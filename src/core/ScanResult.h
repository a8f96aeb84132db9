#pragma once

#include <cstdint>
#include <optional>

#include "base/AccountRecord.h"
#include "base/Clock.h"

namespace qlt {

// How the visit of one account ended.
enum class ScanOutcome { ConnectionFailed, Empty, Unchanged, Stopped, Failed, Scanned };

// The mailbox reader's result number: 0 empty, -1 unchanged, -2 stopped,
// -5 failed, above 0 read through. Any other negative number counts as
// failed, which makes the next scan read the mailbox again.
ScanOutcome ScanOutcomeFromResult(int result);

// What the connection reported about the mailbox during the visit.
struct ServerReport {
    std::int32_t messageCount = 0;  // STAT
    std::int32_t mailboxSize = 0;   // STAT
    std::uint16_t rate = 0;         // measured transfer rate, bytes per second
};

struct ScanRecord {
    AccountRecord account;
    // The progress event code to send; none after a read-through, whose
    // caption the reader already set.
    std::optional<int> progressCode;
};

// recordScanResult: the account record after a visit with `outcome`, and the
// progress event that reports it. `clock` stamps the visits that leave an
// up-to-date list with the clock's UTC time.
ScanRecord RecordScanResult(AccountRecord account, ScanOutcome outcome, const ServerReport& server,
                            const Clock& clock);

}  // namespace qlt

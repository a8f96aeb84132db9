#include "core/ScanResult.h"

#include "core/ProgressCaptions.h"

namespace qlt {

namespace {

constexpr std::int16_t kNoSelectedRow = -1;
// After a complete read the second row is selected.
constexpr std::int16_t kRowAfterCompleteScan = 1;

enum class Counts { Kept, Taken, CountOnly };

// What one outcome writes into the record.
struct OutcomeRule {
    std::uint8_t status;
    Counts counts;
    std::optional<std::int16_t> selectedRow;
    bool incomplete;
    bool takesRate;
    bool stampsTime;
    std::optional<int> progressCode;
};

OutcomeRule ruleFor(ScanOutcome outcome) {
    switch (outcome) {
        case ScanOutcome::ConnectionFailed:
            return {kStatusConnectionFailed, Counts::Kept, {}, false, false, false, kProgressConnectionError};
        case ScanOutcome::Empty:
            return {kStatusNoMessages,  Counts::Taken, kNoSelectedRow, false, false, false,
                    kProgressNoMessages};
        case ScanOutcome::Unchanged:
            return {kStatusNoNewMessages, Counts::Kept, {}, false, false, true, kProgressNoNewMessages};
        case ScanOutcome::Stopped:
            return {kStatusScanIncomplete, Counts::Taken, kNoSelectedRow, true, true, false,
                    kProgressNoNewMessages};
        case ScanOutcome::Failed:
            return {kStatusUpdateNeeded,    Counts::CountOnly, kNoSelectedRow, false, false, false,
                    kProgressScanIncomplete};
        case ScanOutcome::Scanned:
            break;
    }
    return {kStatusCompleted, Counts::Taken, kRowAfterCompleteScan, false, true, true, std::nullopt};
}

}  // namespace

ScanOutcome ScanOutcomeFromResult(int result) {
    if (result > 0) return ScanOutcome::Scanned;
    switch (result) {
        case 0:
            return ScanOutcome::Empty;
        case -1:
            return ScanOutcome::Unchanged;
        case -2:
            return ScanOutcome::Stopped;
        default:
            return ScanOutcome::Failed;
    }
}

ScanRecord RecordScanResult(AccountRecord account, ScanOutcome outcome, const ServerReport& server,
                            const Clock& clock) {
    const OutcomeRule rule = ruleFor(outcome);
    account.status = rule.status;
    if (rule.counts != Counts::Kept) account.messageCount = server.messageCount;
    if (rule.counts == Counts::Taken) account.mailboxSize = server.mailboxSize;
    // No size known forces a full read next time.
    if (rule.counts == Counts::CountOnly) account.mailboxSize = -1;
    if (rule.selectedRow) account.selectedRow = *rule.selectedRow;
    account.scanIncomplete = rule.incomplete ? 1 : 0;
    if (rule.takesRate) account.linkSpeed = server.rate;
    if (rule.stampsTime) account.lastScanned = clock.utcNow();
    return {std::move(account), rule.progressCode};
}

}  // namespace qlt

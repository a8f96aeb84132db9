#include "core/ScanResult.h"

#include "core/ProgressCaptions.h"

namespace qlt {

namespace {

constexpr std::int16_t kNoSelectedRow = -1;
// After a complete read the second row is selected.
constexpr std::int16_t kRowAfterCompleteScan = 1;

void takeServerCounts(AccountRecord& account, const ServerReport& server) {
    account.messageCount = server.messageCount;
    account.mailboxSize = server.mailboxSize;
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
    account.scanIncomplete = 0;
    std::optional<int> code;
    switch (outcome) {
        case ScanOutcome::ConnectionFailed:
            account.status = kStatusConnectionFailed;
            code = kProgressConnectionError;
            break;
        case ScanOutcome::Empty:
            account.status = kStatusNoMessages;
            takeServerCounts(account, server);
            account.selectedRow = kNoSelectedRow;
            code = kProgressNoMessages;
            break;
        case ScanOutcome::Unchanged:
            account.status = kStatusNoNewMessages;
            account.lastScanned = clock.utcNow();
            code = kProgressNoNewMessages;
            break;
        case ScanOutcome::Stopped:
            account.status = kStatusScanIncomplete;
            takeServerCounts(account, server);
            account.selectedRow = kNoSelectedRow;
            account.scanIncomplete = 1;
            account.linkSpeed = server.rate;
            code = kProgressNoNewMessages;
            break;
        case ScanOutcome::Failed:
            account.status = kStatusUpdateNeeded;
            account.messageCount = server.messageCount;
            account.mailboxSize = -1;
            account.selectedRow = kNoSelectedRow;
            code = kProgressScanIncomplete;
            break;
        case ScanOutcome::Scanned:
            account.status = kStatusCompleted;
            takeServerCounts(account, server);
            account.selectedRow = kRowAfterCompleteScan;
            account.linkSpeed = server.rate;
            account.lastScanned = clock.utcNow();
            break;
    }
    return {std::move(account), code};
}

}  // namespace qlt

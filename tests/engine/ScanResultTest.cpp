#include <gtest/gtest.h>

#include "core/ProgressCaptions.h"
#include "core/ScanResult.h"
#include "support/FakeClock.h"
#include "support/SampleAccounts.h"

namespace qlt {
namespace {

TEST(ScanOutcome, FromTheReadersResultNumber) {
    struct Row {
        int result;
        ScanOutcome outcome;
    } rows[] = {
        {0, ScanOutcome::Empty},   {-1, ScanOutcome::Unchanged}, {-2, ScanOutcome::Stopped},
        {-5, ScanOutcome::Failed}, {1, ScanOutcome::Scanned},    {250, ScanOutcome::Scanned},
        {-3, ScanOutcome::Failed}, {-4, ScanOutcome::Failed},    {-99, ScanOutcome::Failed},
    };
    for (const Row& row : rows) EXPECT_EQ(ScanOutcomeFromResult(row.result), row.outcome) << row.result;
}

TEST(RecordScanResult, EachOutcomeWritesItsFields) {
    const SystemTime now{2025, 6, 2, 17, 9, 30, 5, 0};
    test::FakeClock clock;
    clock.now = now;
    const ServerReport server{42, 123456, 3100};
    AccountRecord before = test::sampleAccount(3);
    before.scanIncomplete = 1;
    const SystemTime earlier = before.lastScanned;

    struct Row {
        const char* name;
        ScanOutcome outcome;
        std::uint8_t status;
        std::int32_t messageCount;
        std::int32_t mailboxSize;
        std::int16_t selectedRow;
        std::uint8_t scanIncomplete;
        std::uint16_t linkSpeed;
        SystemTime lastScanned;
        std::optional<int> code;
    } rows[] = {
        {"connection failed", ScanOutcome::ConnectionFailed, 1, 30, 300000, 1, 0, 2003, earlier, 8},
        {"empty", ScanOutcome::Empty, 2, 42, 123456, -1, 0, 2003, earlier, 9},
        {"unchanged", ScanOutcome::Unchanged, 4, 30, 300000, 1, 0, 2003, now, 7},
        {"stopped", ScanOutcome::Stopped, 3, 42, 123456, -1, 1, 3100, earlier, 7},
        {"failed", ScanOutcome::Failed, 0, 42, -1, -1, 0, 2003, earlier, 5},
        {"scanned", ScanOutcome::Scanned, 5, 42, 123456, 1, 0, 3100, now, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScanRecord result = RecordScanResult(before, row.outcome, server, clock);
        AccountRecord expected = before;
        expected.status = row.status;
        expected.messageCount = row.messageCount;
        expected.mailboxSize = row.mailboxSize;
        expected.selectedRow = row.selectedRow;
        expected.scanIncomplete = row.scanIncomplete;
        expected.linkSpeed = row.linkSpeed;
        expected.lastScanned = row.lastScanned;
        EXPECT_EQ(result.account, expected);
        EXPECT_EQ(result.progressCode, row.code);
    }
}

TEST(RecordScanResult, CodesAreTheTablesCaptions) {
    test::FakeClock clock;
    clock.now = {};
    const AccountRecord account = test::sampleAccount(1);
    const auto captionOf = [&](ScanOutcome outcome) {
        const auto code = RecordScanResult(account, outcome, {}, clock).progressCode;
        return DescribeProgress(code.value_or(-1), 0, {})->caption.value_or("?");
    };
    EXPECT_EQ(captionOf(ScanOutcome::ConnectionFailed), "Error (click for details)");
    EXPECT_EQ(captionOf(ScanOutcome::Stopped), "No New Messages");
    EXPECT_EQ(captionOf(ScanOutcome::Failed), "Scan Incomplete!");
}

}  // namespace
}  // namespace qlt

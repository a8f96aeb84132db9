#include <gtest/gtest.h>

#include <climits>

#include "core/ProgressCaptions.h"

namespace qlt {
namespace {

constexpr ProgressColours kScanColours{0xD4D4D4, 0xFFCC00, 0x202020, 0xF0F0F0};
constexpr ProgressColours kDeleteColours{0xD4D4D4, 0x00A0FF, 0x202020, 0xF0F0F0};
constexpr ProgressColours kDeletedColours{0xD4D4D4, 0xFFA000, 0x202020, 0xF0F0F0};

ProgressEffect caption(const char* text) {
    ProgressEffect e;
    e.caption = text;
    return e;
}

ProgressEffect effect(std::optional<ProgressPhase> phase, std::optional<std::string> text,
                      std::optional<std::uint32_t> rangeMax, std::optional<std::int32_t> position) {
    return {std::move(phase), std::move(text), rangeMax, position};
}

TEST(ProgressCaptions, EveryCodeOfTheTable) {
    const MailboxTotals totals{7, 3 * 1048576 + 5};
    const ProgressPhase init{"Init", kScanColours};
    struct Row {
        const char* name;
        int code;
        long value;
        ProgressEffect expected;
    } rows[] = {
        {"requesting data", 1, 12, effect(std::nullopt, "Requesting Data", 12u, std::nullopt)},
        {"scanning", 2, 4, effect(std::nullopt, "Scanning", std::nullopt, 4)},
        {"end of reading", 3, 0, effect(init, "7 Messages  (3 Mb)", std::nullopt, std::nullopt)},
        {"read failed", 5, 0, caption("Scan Incomplete!")},
        {"aborting", 6, 17, caption("Aborting Scan at:17")},
        {"no new messages", 7, 0, caption("No New Messages")},
        {"connection error", 8, 0, caption("Error (click for details)")},
        {"no messages", 9, 0, caption("No Messages")},
        {"cleared", 10, 0, caption("")},
        {"delete start", 11, 2, effect(ProgressPhase{"Init", kDeleteColours}, "Deleting", 2u, std::nullopt)},
        {"deleting", 12, 1, effect(std::nullopt, std::nullopt, std::nullopt, 1)},
        {"deleted one", 13, 1, effect(ProgressPhase{"Init", kDeletedColours}, "1 Message Deleted", {}, {})},
        {"deleted none", 13, 0, effect(ProgressPhase{"Init", kDeletedColours}, "0 Messages Deleted", {}, {})},
        {"accessing server", 20, 0, caption("Accessing Server")},
        {"sent user", 21, 0, caption("Sent User")},
        {"sent pass", 22, 0, caption("Sent Pass")},
        {"receiving data", 24, 0, caption("Receiving Data")},
        {"negative range", 1, -3, effect(std::nullopt, "Requesting Data", 0u, std::nullopt)},
        {"value past 32 bits", 12, LONG_MAX, effect(std::nullopt, std::nullopt, std::nullopt, INT32_MAX)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto got = DescribeProgress(row.code, row.value, totals);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->phase, row.expected.phase);
        EXPECT_EQ(got->caption, row.expected.caption);
        EXPECT_EQ(got->rangeMax, row.expected.rangeMax);
        EXPECT_EQ(got->position, row.expected.position);
    }
}

TEST(ProgressCaptions, EndOfReadingReportsCountAndSize) {
    struct Row {
        const char* name;
        MailboxTotals totals;
        const char* caption;
    } rows[] = {
        {"one message in bytes", {1, 300}, "1 Message  (300 b)"},
        {"exactly one megabyte shows in Kb", {2, 1048576}, "2 Messages  (1024 Kb)"},
        {"one octet past a megabyte", {2, 1048577}, "2 Messages  (1 Mb)"},
        {"exactly 1024 octets", {2, 1024}, "2 Messages  (1024 b)"},
        {"empty mailbox", {0, 0}, "0 Messages  (empty)"},
        {"unknown size", {3, -1}, "3 Messages  (empty)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DescribeProgress(kProgressScanEnd, 0, row.totals)->caption, row.caption);
    }
}

TEST(ProgressCaptions, OtherCodesAreIgnored) {
    for (int code : {0, 4, 14, 19, 23, 25, -1, 0x8067}) EXPECT_FALSE(DescribeProgress(code, 1, {})) << code;
}

TEST(ProgressCaptions, WindowOpensWithTheScanColours) {
    EXPECT_EQ(InitialProgressPhase(), (ProgressPhase{"Mbox Scan", kScanColours}));
}

}  // namespace
}  // namespace qlt

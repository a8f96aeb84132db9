#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/ProgressCodes.h"

namespace qlt {

// The bar's colours in the order its Init takes them, as 0x00BBGGRR values.
struct ProgressColours {
    std::uint32_t bar = 0;
    std::uint32_t track = 0;
    std::uint32_t text = 0;
    std::uint32_t back = 0;

    friend bool operator==(const ProgressColours&, const ProgressColours&) = default;
};

// A new phase of the bar: its name and colours.
struct ProgressPhase {
    std::string name;
    ProgressColours colours;

    friend bool operator==(const ProgressPhase&, const ProgressPhase&) = default;
};

// What one event does to the bar, applied in this order: start the phase,
// set the caption (which fills the bar), set the range 0..rangeMax, set the
// position. An empty member is left alone.
struct ProgressEffect {
    std::optional<ProgressPhase> phase;
    std::optional<std::string> caption;
    std::optional<std::uint32_t> rangeMax;
    std::optional<std::int32_t> position;

    friend bool operator==(const ProgressEffect&, const ProgressEffect&) = default;
};

// The server's counts that the end-of-scan caption reports.
struct MailboxTotals {
    std::int32_t messageCount = 0;
    std::int32_t mailboxSize = 0;
};

// The effect of event `code` with its `value`; nothing for a code outside
// the table.
std::optional<ProgressEffect> DescribeProgress(int code, long value, const MailboxTotals& totals);

// The bar's phase when the window opens.
ProgressPhase InitialProgressPhase();

// The caption the SCAN button sets before a scan starts.
inline constexpr const char* kConnectingCaption = "Connecting";

}  // namespace qlt

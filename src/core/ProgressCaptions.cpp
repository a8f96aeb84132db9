#include "core/ProgressCaptions.h"

#include <limits>

#include "store/Formatting.h"

namespace qlt {

namespace {

constexpr std::uint32_t kScanTrack = 0xFFCC00;
constexpr std::uint32_t kDeleteTrack = 0x00A0FF;
constexpr std::uint32_t kDeletedTrack = 0xFFA000;
constexpr const char* kPhaseName = "Init";

ProgressPhase phase(const char* name, std::uint32_t track) {
    return {name, {0xD4D4D4, track, 0x202020, 0xF0F0F0}};
}

// A value from the event channel is a long; the bar takes 32 bits.
std::int32_t clamped(long value) {
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::uint32_t rangeOf(long value) {
    const std::int32_t n = clamped(value);
    return n < 0 ? 0u : static_cast<std::uint32_t>(n);
}

ProgressEffect captionOnly(std::string caption) {
    ProgressEffect effect;
    effect.caption = std::move(caption);
    return effect;
}

std::string countedMessages(long long n) {
    return std::to_string(n) + " Message" + PluralS(n);
}

}  // namespace

ProgressPhase InitialProgressPhase() {
    return phase("Mbox Scan", kScanTrack);
}

std::optional<ProgressEffect> DescribeProgress(int code, long value, const MailboxTotals& totals) {
    ProgressEffect effect;
    switch (code) {
        case kProgressRequestingData:
            effect.caption = "Requesting Data";
            effect.rangeMax = rangeOf(value);
            return effect;
        case kProgressScanning:
            effect.caption = "Scanning";
            effect.position = clamped(value);
            return effect;
        case kProgressScanEnd:
            effect.phase = phase(kPhaseName, kScanTrack);
            effect.caption =
                countedMessages(totals.messageCount) + " " + FormatSizeInParens(totals.mailboxSize);
            return effect;
        case kProgressScanIncomplete:
            return captionOnly("Scan Incomplete!");
        case kProgressAborting:
            return captionOnly("Aborting Scan at:" + std::to_string(clamped(value)));
        case kProgressNoNewMessages:
            return captionOnly("No New Messages");
        case kProgressConnectionError:
            return captionOnly("Error (click for details)");
        case kProgressNoMessages:
            return captionOnly("No Messages");
        case kProgressClear:
            return captionOnly("");
        case kProgressDeleteStart:
            effect.phase = phase(kPhaseName, kDeleteTrack);
            effect.caption = "Deleting";
            effect.rangeMax = rangeOf(value);
            return effect;
        case kProgressDeleting:
            effect.position = clamped(value);
            return effect;
        case kProgressDeleteEnd:
            effect.phase = phase(kPhaseName, kDeletedTrack);
            effect.caption = countedMessages(clamped(value)) + " Deleted";
            return effect;
        case kProgressAccessingServer:
            return captionOnly("Accessing Server");
        case kProgressSentUser:
            return captionOnly("Sent User");
        case kProgressSentPass:
            return captionOnly("Sent Pass");
        case kProgressReceivingData:
            return captionOnly("Receiving Data");
        default:
            return std::nullopt;
    }
}

}  // namespace qlt

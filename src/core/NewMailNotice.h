#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/MessageEntry.h"

namespace qlt {

// A notice names this many of the new messages at most; the rest are counted.
inline constexpr std::size_t kNoticeMessages = 3;

// What a notice may tell of one new message (untrusted text from the server).
struct NoticeMessage {
    std::string sender;
    std::string subject;
    std::array<std::uint8_t, kRiskCategories> level{};
};

// The notice of a background check that found new messages: how many are new
// since the check began, the highest risk level (0..3) any of them has, the
// accounts they came to and the first few of them.
struct NewMailNotice {
    std::size_t count = 0;
    int highestLevel = 0;
    std::vector<std::string> accounts;  // each once, in the order met
    std::vector<NoticeMessage> messages;
};

// Counts `entry` into the notice, which keeps its sender and subject while it
// names fewer than kNoticeMessages.
void AddToNotice(NewMailNotice& notice, const MessageEntry& entry, const std::string& accountName);

// "3 new messages for ann@example.org", or "... in 2 accounts".
std::string NewMailNoticeTitle(const NewMailNotice& notice);

// One line per named message ("sender: subject"), then "and 2 more" for the
// rest, then "Highest risk: Orange". With `redact`, a message rated X-rated or
// foul language at Orange or above is not named but counted, as in
// "1 message hidden (X-rated)".
std::string NewMailNoticeText(const NewMailNotice& notice, bool redact);

}  // namespace qlt

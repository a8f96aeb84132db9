#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/MessageEntry.h"

namespace qlt {

// The four rows of the Details page's risk box: virus, spam, X-rated, language.
inline constexpr int kDetailRiskRows = 4;

// The lamp of a row with nothing to show: any value but 0..3 is drawn grey.
inline constexpr int kNoLampLevel = -1;

// What the Details page shows of the selected message.
struct MessageDetails {
    std::string from;
    std::string sizeText;  // " (12 Kb)", " (empty)" ...
    std::string to;
    std::string subject;
    std::string date;
    std::string uidl;
    std::string attachments;
    std::string contentType;
    std::array<std::string, kDetailRiskRows> reasons;      // eight hex digits each
    std::array<std::string, kDetailRiskRows> reasonWords;  // the same reasons in words
    std::array<int, kDetailRiskRows> lampLevels{};

    friend bool operator==(const MessageDetails&, const MessageDetails&) = default;
};

// "No" without MIME parts; "Yes: F file(s) (P parts)." when F parts name a
// file in their Content-Disposition ("filename", any case); else
// "No files (P parts).".
std::string AttachmentText(const MessageEntry& entry);

// The Content-Type value cut before "boundary" when that word stands at
// character 2 or later; otherwise the whole value.
std::string ShownContentType(std::string_view contentType);

// A risk reason code as eight lower-case hexadecimal digits.
std::string ReasonCodeText(std::uint32_t code);

// The level each lamp shows: the message's own, or none for an empty message
// (size 0), whatever its levels say.
std::array<int, kDetailRiskRows> DetailLampLevels(const MessageEntry& entry);

MessageDetails DescribeMessage(const MessageEntry& entry);

}  // namespace qlt

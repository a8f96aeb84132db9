#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/BoundedText.h"

namespace qlt {

inline constexpr int kRiskCategories = 5;  // virus, spam, X-rated, foul language, user strings
inline constexpr std::size_t kMaxMimeParts = 32;

enum RiskCategory : int { kVirus = 0, kSpam = 1, kXRated = 2, kFoulLanguage = 3, kUserStrings = 4 };

// The values of a category's level.
enum RiskLevel : std::uint8_t { kLevelNone = 0, kLevelYellow = 1, kLevelOrange = 2, kLevelRed = 3 };

enum SenderStatus : std::uint8_t { kSenderUnlisted = 0, kSenderFriend = 1, kSenderFoe = 2 };

// Ids tell messages apart whole (RFC 1939 allows 70 characters); this many
// are kept, so that a hostile server cannot make each entry hold megabytes.
inline constexpr std::size_t kMaxUidlLength = 255;

// What of a server's id the entry keeps: up to a NUL, as every text field.
inline std::string_view keptUidl(std::string_view uidl) {
    return uidl.substr(0, std::min(uidl.find('\0'), kMaxUidlLength));
}

// One MIME part found in a message.
struct MimePartInfo {
    std::int32_t valid = 0;
    std::int32_t partIndex = 0;
    std::int32_t messageNumber = 0;
    BoundedText<128> contentType;
    BoundedText<256> transferEncoding;
    BoundedText<128> contentId;
    BoundedText<128> contentDescription;
    BoundedText<128> contentDisposition;

    friend bool operator==(const MimePartInfo&, const MimePartInfo&) = default;
};

// One scanned message. A value: copied whole, compared whole. Each text keeps
// the capacity of its field as a cut rule (capacity - 1 characters at most).
struct MessageEntry {
    BoundedText<2048> headers;
    BoundedText<2048> preview;
    BoundedText<kMaxUidlLength + 1> uidl;  // empty when the server gave none
    BoundedText<128> to;
    BoundedText<128> from;
    BoundedText<128> subject;
    BoundedText<128> date;
    BoundedText<128> contentType;
    BoundedText<128> transferEncoding;
    BoundedText<128> boundary;
    std::int32_t size = 0;
    std::int32_t messageNumber = 0;
    std::array<std::uint32_t, kRiskCategories> levelReason{};
    // Each reason in words, made while rating: the dictionary that named a
    // record is gone once the scan ends.
    std::array<std::string, kRiskCategories> levelReasonText;
    std::uint8_t accountIndex = 0;
    std::uint8_t senderStatus = kSenderUnlisted;
    std::array<std::uint8_t, kRiskCategories> level{};
    std::int32_t isMultipart = 0;
    std::int32_t isMixed = 0;
    std::int32_t isAlternative = 0;
    std::int32_t isText = 0;
    std::int32_t isHtml = 0;
    std::int32_t hasLink = 0;
    std::int32_t hasCidReference = 0;
    std::int32_t isBase64 = 0;
    std::int32_t hasEncodedUrl = 0;
    // At most kMaxMimeParts; the record's part count is parts.size().
    std::vector<MimePartInfo> parts;

    std::uint8_t partCount() const { return static_cast<std::uint8_t>(parts.size()); }

    friend bool operator==(const MessageEntry&, const MessageEntry&) = default;
};

}  // namespace qlt

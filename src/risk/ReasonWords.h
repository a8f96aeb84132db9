#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/KeywordRecord.h"

namespace qlt {

// Reason codes of the built-in rules (dictionary records give their own id).
inline constexpr std::uint32_t kReasonNotAddressed = 0xFF0001;      // spam: To lacks the account name
inline constexpr std::uint32_t kReasonBase64Body = 0xFF0002;        // spam
inline constexpr std::uint32_t kReasonDisguisedSubject = 0xFF0003;  // spam
inline constexpr std::uint32_t kReasonDisguisedPreview = 0xFF0004;  // spam
inline constexpr std::uint32_t kReasonEncodedUrl = 0xFF0005;        // spam
inline constexpr std::uint32_t kReasonNoSender = 0xFF0006;          // spam
inline constexpr std::uint32_t kReasonLink = 0xFF0007;              // spam and virus
inline constexpr std::uint32_t kReasonCidReference = 0xFF0008;      // spam and virus
inline constexpr std::uint32_t kReasonRiskyAttachment = 0xFF0100;   // virus

// The built-in heuristics (0xFF0001..0xFF0008): signs that ordinary mail shows
// too, such as a newsletter's links or a list's To, unlike a dictionary record
// or a risky attachment.
inline bool isHeuristicReason(std::uint32_t reason) {
    return reason >= kReasonNotAddressed && reason <= kReasonCidReference;
}

// The name of a built-in rule's reason code ("body is base64-encoded");
// empty for any other code.
std::string_view ruleReasonWords(std::uint32_t reason);

// What a dictionary record found and where: "\"cash\" in the subject". The
// record's text is kept as it is (untrusted when it is a user string).
std::string recordReasonWords(const KeywordRecord& record);

}  // namespace qlt

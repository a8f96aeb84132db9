#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/KeywordRecord.h"
#include "base/MessageEntry.h"

namespace qlt {

enum RiskLevel : std::uint8_t { kLevelNone = 0, kLevelYellow = 1, kLevelOrange = 2, kLevelRed = 3 };

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

// The word classes of classifyWord; only kWordDisguised counts.
enum WordClass : int { kWordNoLetters = 0, kWordAllLetters = 1, kWordMixedCase = 3, kWordDisguised = 5 };

// True when the needle occurs in the haystack, ASCII letters compared without
// regard to case; false when either is empty.
bool containsNoCase(std::string_view haystack, std::string_view needle);

// The needle (a file-name extension such as ".scr") found whole (not followed
// by a letter or digit) at a "." that follows the text's start or the
// previous "." by 4 to 6 characters.
bool matchExtension(std::string_view haystack, std::string_view needle);

// The "." positions of a text where matchExtension may find a needle,
// collected once for a text that many needles are tried on.
class ExtensionSites {
  public:
    explicit ExtensionSites(std::string_view text);
    bool match(std::string_view needle) const;

  private:
    struct Site {
        std::size_t at;
        std::uint32_t prefix;
    };
    static std::uint32_t prefixAt(std::string_view text, std::size_t at);

    std::string_view m_text;
    std::vector<Site> m_sites;
};

// Raises the record's category in the entry to the record's level, with the
// record's id as reason; levels never fall here.
void applyRecord(const KeywordRecord& record, MessageEntry& entry);

// 0, 2 or 3: how risky the file type named in a MIME part's content type is;
// an extension counts only whole, as in matchExtension.
int attachmentRisk(std::string_view typeText);

// Words that hide letters behind marks ("$ave", "cl!ck"); -1 for an empty text.
int countDisguisedWords(std::string_view text);

// One of WordClass for a word of at least 4 characters.
int classifyWord(std::string_view word);

// Sets a category's level and reason, with the reason in words.
inline void setLevel(MessageEntry& entry, RiskCategory category, std::uint8_t level, std::uint32_t reason,
                     std::string words) {
    entry.level[category] = level;
    entry.levelReason[category] = reason;
    entry.levelReasonText[category] = std::move(words);
}

}  // namespace qlt

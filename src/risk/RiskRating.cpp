#include "risk/RiskRating.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "base/AsciiText.h"
#include "risk/ExtensionSites.h"
#include "store/Enciphered.h"

namespace qlt {

namespace {

// Extensions, blank-separated, kept enciphered. A part naming one of the
// second list is as dangerous as a program: programs, the scripts and
// shortcuts that start one, the disk images and OneNote pages that smuggle
// one past a mail filter, web pages that ask for a password, documents with
// macros, and archives named like a document ("invoice.pdf.zip"). The first
// holds containers and documents that often carry one.
constexpr auto kOrangeExtensions =
    encipher("zip rar 7z arj cab gz doc xls ppt dot xlm rtf chm hlp dll jar sys");
constexpr auto kRedExtensions = encipher(
    "exe scr pif bat cmd vbs vbe js jse wsf wsh hta cpl msi msp lnk reg scf ps1 "
    "iso img vhd vhdx one html htm shtml docm xlsm pptm "
    "pdf.zip pdf.rar pdf.7z doc.zip doc.rar doc.7z docx.zip docx.rar xls.zip xls.rar xlsx.zip xlsx.rar");

constexpr std::size_t kMaxWordLength = 127;

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}

// True when the type text names ".ext" for some extension of the list.
bool namesAnyExtension(std::string_view typeText, const std::string& list) {
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(' ', start);
        if (end == std::string::npos) end = list.size();
        std::string pattern(1, '.');
        pattern.append(list, start, end - start);
        if (containsExtension(typeText, pattern)) return true;
        start = end + 1;
    }
    return false;
}

constexpr std::array<bool, 256> separatorTable() {
    std::array<bool, 256> table{};
    for (const char c : std::string_view(" \t\n\v\f\r.,_-=\"'?<>:;\\/#&"))
        table[static_cast<std::uint8_t>(c)] = true;
    return table;
}
constexpr std::array<bool, 256> kSeparator = separatorTable();

bool isWordSeparator(char c) {
    return kSeparator[static_cast<std::uint8_t>(c)];
}

int countDisguiseMarks(std::string_view w) {
    const std::size_t n = w.size();
    int marks = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const bool first = i == 0;
        const bool last = i + 1 == n;
        const char next = last ? '\0' : w[i + 1];
        switch (w[i]) {
            case '$':
            case '|':
                ++marks;
                break;
            case '!':
            case ')':
            case '}':
            case ']':
                marks += last ? 0 : 1;
                break;
            case '{':
            case '[':
                marks += first ? 0 : 1;
                break;
            case '\\':
                marks += next == '/' ? 1 : 0;
                break;
            case '/':
                marks += next == '\\' ? 1 : 0;
                break;
            default:
                break;
        }
    }
    return marks;
}

void setLevel(MessageEntry& entry, RiskCategory category, std::uint8_t level, std::uint32_t reason,
              std::string words) {
    entry.level[category] = level;
    entry.levelReason[category] = reason;
    entry.levelReasonText[category] = std::move(words);
}

void setRuleLevel(MessageEntry& entry, RiskCategory category, std::uint8_t level, std::uint32_t rule) {
    setLevel(entry, category, level, rule, std::string(ruleReasonWords(rule)));
}

// The built-in rules after the keywords, in their order of precedence.
void applyAttachmentRule(MessageEntry& entry) {
    if (!entry.isMultipart) return;
    for (const auto& part : entry.parts) {
        if (!part.valid) break;
        const int risk = attachmentRisk(part.contentType);
        // An assignment, not a raise: the last risky part has the say.
        if (risk >= kLevelOrange)
            setRuleLevel(entry, kVirus, static_cast<std::uint8_t>(risk), kReasonRiskyAttachment);
    }
}

void raiseSpam(MessageEntry& entry, std::uint8_t level, std::uint32_t reason) {
    if (entry.level[kSpam] < level) setRuleLevel(entry, kSpam, level, reason);
}

void applySpamRules(MessageEntry& entry, std::string_view accountName) {
    if (!containsNoCase(entry.to, accountName)) raiseSpam(entry, kLevelOrange, kReasonNotAddressed);
    if (entry.isBase64) raiseSpam(entry, kLevelRed, kReasonBase64Body);
    if (countDisguisedWords(entry.subject) > 0) raiseSpam(entry, kLevelRed, kReasonDisguisedSubject);
    if (countDisguisedWords(entry.preview) > 0) raiseSpam(entry, kLevelRed, kReasonDisguisedPreview);
    if (entry.hasEncodedUrl) raiseSpam(entry, kLevelRed, kReasonEncodedUrl);
    if (trimWhiteSpace(entry.from).empty()) raiseSpam(entry, kLevelRed, kReasonNoSender);
}

void applyLinkRules(MessageEntry& entry) {
    if (entry.hasLink) {
        raiseSpam(entry, kLevelRed, kReasonLink);
        if (entry.level[kVirus] == kLevelNone) setRuleLevel(entry, kVirus, kLevelYellow, kReasonLink);
    }
    if (entry.hasCidReference) {
        raiseSpam(entry, kLevelRed, kReasonCidReference);
        if (entry.level[kVirus] < kLevelOrange)
            setRuleLevel(entry, kVirus, kLevelOrange, kReasonCidReference);
    }
}

}  // namespace

void rateMessage(const KeywordDictionary& dictionary, std::string_view body, MessageEntry& entry,
                 std::string_view accountName) {
    for (const KeywordRecord* record : dictionary.findInMessage(body, entry)) applyRecord(*record, entry);
    applyAttachmentRule(entry);
    applySpamRules(entry, accountName);
    applyLinkRules(entry);
}

void rateText(const KeywordDictionary& dictionary, std::string_view text, MessageEntry& entry) {
    for (const KeywordRecord* record : dictionary.findInText(text)) applyRecord(*record, entry);
}

void applyRecord(const KeywordRecord& record, MessageEntry& entry) {
    if (record.category < 1 || record.category > kRiskCategories) return;
    const auto c = static_cast<RiskCategory>(record.category - 1);
    if (record.level > entry.level[c]) setLevel(entry, c, record.level, record.id, recordReasonWords(record));
}

int attachmentRisk(std::string_view typeText) {
    int risk = 0;
    if (namesAnyExtension(typeText, kOrangeExtensions.text())) risk = kLevelOrange;
    if (namesAnyExtension(typeText, kRedExtensions.text())) risk = kLevelRed;
    if (containsNoCase(typeText, ".{")) return kLevelRed;
    return risk;
}

int countDisguisedWords(std::string_view text) {
    if (text.empty()) return -1;
    int count = 0;
    std::size_t wordStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isWordSeparator(text[i])) continue;
        const std::string_view word = text.substr(wordStart, i - wordStart);
        if (word.size() >= 4 && classifyWord(word.substr(0, kMaxWordLength)) == kWordDisguised) ++count;
        wordStart = i + 1;
    }
    return count;
}

int classifyWord(std::string_view word) {
    const std::size_t n = word.size();
    std::size_t letters = 0;
    int caseChanges = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (isUpper(word[i]) || isLower(word[i])) ++letters;
        if (i + 1 < n &&
            ((isUpper(word[i]) && isLower(word[i + 1])) || (isLower(word[i]) && isUpper(word[i + 1]))))
            ++caseChanges;
    }
    if (letters == 0) return kWordNoLetters;
    if (letters == n) return kWordAllLetters;
    if (caseChanges > 1) return kWordMixedCase;
    const int marks = countDisguiseMarks(word);
    if (marks > 0 && letters > static_cast<std::size_t>(marks)) return kWordDisguised;
    return kWordNoLetters;
}

}  // namespace qlt

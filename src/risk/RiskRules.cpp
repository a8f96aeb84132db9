#include "risk/RiskRules.h"

#include <array>
#include <cstddef>

#include "base/AsciiText.h"
#include "risk/ReasonWords.h"
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

bool equalsNoCase(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    }
    return true;
}

bool isLetterOrDigit(char c) {
    return isUpper(c) || isLower(c) || (c >= '0' && c <= '9');
}

// An extension ends where the name does or at a mark: ".js" is not ".json",
// ".reg" not ".regions", ".exe" not ".exe2".
bool endsExtension(std::string_view text, std::size_t end) {
    return end >= text.size() || !isLetterOrDigit(text[end]);
}

// True when the text holds the extension (".js") whole somewhere.
bool containsExtension(std::string_view text, std::string_view extension) {
    if (extension.empty() || extension.size() > text.size()) return false;
    for (std::size_t i = 0; i + extension.size() <= text.size(); ++i) {
        if (equalsNoCase(text.data() + i, extension.data(), extension.size()) &&
            endsExtension(text, i + extension.size()))
            return true;
    }
    return false;
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

}  // namespace

bool containsNoCase(std::string_view haystack, std::string_view needle) {
    if (haystack.empty() || needle.empty() || needle.size() > haystack.size()) return false;
    const char first = foldCase(needle[0]);
    const std::size_t last = haystack.size() - needle.size();
    for (std::size_t i = 0; i <= last; ++i) {
        if (foldCase(haystack[i]) == first &&
            equalsNoCase(haystack.data() + i + 1, needle.data() + 1, needle.size() - 1))
            return true;
    }
    return false;
}

// The first four bytes at a position, letters folded, for a quick first test.
std::uint32_t ExtensionSites::prefixAt(std::string_view text, std::size_t at) {
    std::uint32_t key = 0;
    for (std::size_t i = 0; i < 4 && at + i < text.size(); ++i)
        key |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(foldCase(text[at + i]))) << (8 * i);
    return key;
}

// A site is a "." that follows the text's start, or the previous ".", by 4 to
// 6 characters. A "." in the first position is neither a site nor a start.
ExtensionSites::ExtensionSites(std::string_view text) : m_text(text) {
    std::size_t previous = 0;
    for (std::size_t t = text.find('.', 1); t != std::string_view::npos; t = text.find('.', t + 1)) {
        const std::size_t gap = t - previous;
        if (gap >= 4 && gap <= 6) m_sites.push_back({t, prefixAt(text, t)});
        previous = t;
    }
}

bool ExtensionSites::match(std::string_view needle) const {
    if (m_text.size() < 8 || needle.size() < 3 || needle.size() >= m_text.size()) return false;
    const std::size_t last = m_text.size() - needle.size();
    const std::uint32_t mask = needle.size() >= 4 ? 0xFFFFFFFFu : 0x00FFFFFFu;
    const std::uint32_t key = prefixAt(needle, 0);
    for (const Site& site : m_sites) {
        if (site.at > last) return false;
        if ((site.prefix & mask) == key &&
            equalsNoCase(m_text.data() + site.at, needle.data(), needle.size()) &&
            endsExtension(m_text, site.at + needle.size()))
            return true;
    }
    return false;
}

bool matchExtension(std::string_view haystack, std::string_view needle) {
    return ExtensionSites(haystack).match(needle);
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

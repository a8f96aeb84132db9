#include "risk/ExtensionSites.h"

#include "base/AsciiText.h"

namespace qlt {

namespace {

bool isLetterOrDigit(char c) {
    const char folded = foldCase(c);
    return (folded >= 'a' && folded <= 'z') || (c >= '0' && c <= '9');
}

// An extension ends where the name does or at a mark: ".js" is not ".json",
// ".reg" not ".regions", ".exe" not ".exe2".
bool endsExtension(std::string_view text, std::size_t end) {
    return end >= text.size() || !isLetterOrDigit(text[end]);
}

bool holdsWholeAt(std::string_view text, std::size_t at, std::string_view extension) {
    return equalsIgnoringCase(text.substr(at, extension.size()), extension) &&
           endsExtension(text, at + extension.size());
}

}  // namespace

bool containsExtension(std::string_view text, std::string_view extension) {
    if (extension.empty() || extension.size() > text.size()) return false;
    for (std::size_t i = 0; i + extension.size() <= text.size(); ++i) {
        if (holdsWholeAt(text, i, extension)) return true;
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
        if ((site.prefix & mask) == key && holdsWholeAt(m_text, site.at, needle)) return true;
    }
    return false;
}

bool matchExtension(std::string_view haystack, std::string_view needle) {
    return ExtensionSites(haystack).match(needle);
}

}  // namespace qlt

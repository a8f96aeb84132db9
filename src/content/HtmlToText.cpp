#include "content/HtmlToText.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/AsciiText.h"
#include "content/TextScan.h"

namespace qlt {
namespace {

using text::npos;

struct Replacement {
    std::string_view find;
    std::string_view with;
};

// Line breaks of the source mean nothing in HTML; quoted-printable leftovers
// that would otherwise glue words or break tags go with them.
constexpr std::array<Replacement, 6> kBeforeTags = {{
    {"\r\n", ""},
    {"\n", ""},
    {"=\r", ""},
    {"=0d", ""},
    {"=0a", ""},
    {"<br>", "\r\n"},
}};

constexpr std::array<Replacement, 5> kBeforeCollapse = {{
    {"=09", " "},
    {"=20", " "},
    {"=2E", "."},
    {"&nbsp;", " "},
    {"&nbsp=", " "},
}};

// Entities are decoded after the tags are gone, so escaped brackets stay text.
constexpr std::array<Replacement, 5> kAfterCollapse = {{
    {"&lt;", "<"},
    {"&gt;", ">"},
    {"&amp;", "&"},
    {"&quot;", "\""},
    {"&shy;", "-"},
}};

template <std::size_t N>
std::string applyAll(std::string work, const std::array<Replacement, N>& table) {
    for (const Replacement& r : table) work = ReplaceAll(work, r.find, r.with);
    return work;
}

bool endsWithNoCase(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && text::findNoCase(s.substr(s.size() - tail.size()), tail) == 0;
}

// Removes tags as a loop that restarts at the first '<' of the text after
// every tag would, in one pass. Only an extracted link can put a '<' back in
// front of the scan position, so such a link is carried and read again. A
// carried link never holds '>' or '"' (it ends at the tag's first quote, and
// the tag at its first '>') and ends in CR LF, so the closing '>' and the
// link's quote of the next tag always lie in the source, and every character
// is looked at a bounded number of times.
class TagStripper {
  public:
    explicit TagStripper(std::string_view source) : m_src(source) { m_out.reserve(source.size()); }

    std::string run() {
        for (;;) {
            if (carried().empty()) {
                const std::size_t w = m_src.find('<', m_pos);
                if (w == npos) break;
                m_out.append(m_src.substr(m_pos, w - m_pos));
                m_pos = w;
            }
            const std::size_t g = m_src.find('>', m_pos);
            if (g == npos) break;
            stripTag(g);
        }
        m_out.append(carried());
        m_out.append(m_src.substr(m_pos));
        return std::move(m_out);
    }

  private:
    std::string_view carried() const { return std::string_view(m_carry).substr(m_carryStart); }

    // The tag runs from the carried text (when any) or m_pos up to `g`.
    void stripTag(std::size_t g) {
        const std::size_t tagStartInSource = m_pos;
        const std::string_view upToTagEnd = m_src.substr(0, g);
        const std::size_t inCarry = carried().find("http:");
        std::size_t linkInSource = npos;
        std::size_t quote = npos;
        if (inCarry != npos) {
            quote = upToTagEnd.find('"', tagStartInSource);
        } else {
            linkInSource = upToTagEnd.find("http:", tagStartInSource);
            if (linkInSource != npos) quote = upToTagEnd.find('"', linkInSource);
        }
        m_pos = g + 1;
        if (quote == npos) {
            clearCarry();
            return;
        }
        if (inCarry != npos) {
            m_carryStart += inCarry;
            emitLink(tagStartInSource, quote);
        } else {
            clearCarry();
            emitLink(linkInSource, quote);
        }
    }

    // The link is the carried text followed by m_src[from, to).
    void emitLink(std::size_t from, std::size_t to) {
        m_out.append("\r\n");
        const std::size_t carriedBracket = carried().find('<');
        if (carriedBracket != npos) {
            m_out.append(carried().substr(0, carriedBracket));
            m_carryStart += carriedBracket;
            m_carry.append(m_src.substr(from, to - from));
            m_carry.append("\r\n");
            compactCarry();
            return;
        }
        m_out.append(carried());
        clearCarry();
        const std::string_view rest = m_src.substr(from, to - from);
        const std::size_t bracket = rest.find('<');
        m_out.append(rest.substr(0, bracket));
        if (bracket == npos) {
            m_out.append("\r\n");
            return;
        }
        m_carry.assign(rest.substr(bracket));
        m_carry.append("\r\n");
    }

    void clearCarry() {
        m_carry.clear();
        m_carryStart = 0;
    }

    void compactCarry() {
        if (m_carryStart > 4096 && m_carryStart > m_carry.size() / 2) {
            m_carry.erase(0, m_carryStart);
            m_carryStart = 0;
        }
    }

    std::string_view m_src;
    std::size_t m_pos = 0;
    std::string m_out;
    std::string m_carry;
    std::size_t m_carryStart = 0;
};

}  // namespace

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    // Most replacements of the conversion tables do not occur in a given text.
    if (find.empty() || text::findNoCase(text, find) == std::string_view::npos) return std::string(text);
    // Restarting the search at the front after each replacement can only find
    // a new occurrence where the replacement meets what precedes it; reading
    // the replacement again as input finds exactly that one, and the scanned
    // text never holds an occurrence.
    const bool reread = replacement.size() < find.size();
    const char lastOfFind = foldCase(find.back());
    std::string out;
    out.reserve(text.size());
    std::string pending;    // replacement still to be read, last character first
    std::size_t fence = 0;  // a final replacement ends here and is not matched again
    std::size_t i = 0;
    while (!pending.empty() || i < text.size()) {
        char c;
        if (!pending.empty()) {
            c = pending.back();
            pending.pop_back();
        } else {
            // Only a character equal to the find text's last one can complete a match.
            const auto next = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                                           [&](char t) { return foldCase(t) == lastOfFind; });
            const auto skipped = static_cast<std::size_t>(next - text.begin()) - i;
            out.append(text.substr(i, skipped));
            i += skipped;
            if (i == text.size()) break;
            c = text[i++];
        }
        out.push_back(c);
        if (foldCase(c) != lastOfFind || out.size() < fence + find.size() || !endsWithNoCase(out, find))
            continue;
        out.resize(out.size() - find.size());
        if (reread) {
            pending.append(replacement.rbegin(), replacement.rend());
        } else {
            out.append(replacement);
            fence = out.size();
        }
    }
    return out;
}

std::string CollapseBlanks(std::string_view input) {
    input = trimWhiteSpace(input);
    std::string out;
    out.reserve(input.size());
    bool inRun = false;
    for (char c : input) {
        const bool blank = c == ' ' || c == '\t';
        if (blank && inRun) continue;
        out.push_back(blank ? ' ' : c);
        inRun = blank;
    }
    return out;
}

std::string HtmlToText(std::string_view html) {
    constexpr std::string_view kHeadEnd = "</HEAD>";
    const std::size_t head = text::findNoCase(html, kHeadEnd);
    if (head != npos && head > 0) html.remove_prefix(head + kHeadEnd.size());
    std::string work = applyAll(std::string(html), kBeforeTags);
    work = TagStripper(work).run();
    work = applyAll(std::move(work), kBeforeCollapse);
    work = CollapseBlanks(work);
    return applyAll(std::move(work), kAfterCollapse);
}

}  // namespace qlt

#include "content/HeaderFields.h"

#include "base/AsciiText.h"
#include "content/BodyDecoding.h"
#include "content/TextScan.h"

namespace qlt {
namespace {

using text::npos;

std::string decodeQ(std::string_view encoded) {
    std::string out;
    out.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        const int byte = c == '=' ? text::hexByteAt(encoded, i + 1) : -1;
        if (byte >= 0) {
            out.push_back(static_cast<char>(byte));
            i += 2;
        } else {
            out.push_back(c == '_' ? ' ' : c);
        }
    }
    return out;
}

std::string decodeWord(char letter, std::string_view encoded) {
    if (letter == 'Q' || letter == 'q') return decodeQ(encoded);
    if (letter == 'B' || letter == 'b') return DecodeBase64(encoded);
    return std::string(encoded);
}

// Where the encoded word that starts at `d` ("=?") ends ("?="), with the
// places of the "?" after the charset (f) and after the letter (g); npos
// when the text there is no encoded word.
struct WordBounds {
    std::size_t f = npos;
    std::size_t g = npos;
    std::size_t e = npos;
};

WordBounds findWordBounds(std::string_view s, std::size_t d) {
    WordBounds w;
    w.f = s.find('?', d + 2);
    if (w.f == npos) return {};
    w.g = s.find('?', w.f + 1);
    w.e = s.find("?=", d + 2);
    // A Q-encoded text that starts with an "=" escape ("?Q?=E9...") puts a
    // "?=" right at the letter's closing "?": the word ends at the next one.
    if (w.e != npos && w.e == w.g) w.e = s.find("?=", w.g + 1);
    if (w.g == npos || w.e == npos || w.f >= w.e || w.g >= w.e) return {};
    return w;
}

}  // namespace

std::string GetHeaderField(std::string_view headerBlock, std::string_view name) {
    const std::size_t p = text::findNoCase(headerBlock, name);
    if (p == npos) return {};
    std::string_view value = headerBlock.substr(p + name.size());
    value = value.substr(0, value.find_first_of("\r\n"));
    std::string out(value.substr(0, kFieldValueMax));
    DecodeEncodedWords(out);
    return out;
}

void DecodeEncodedWords(std::string& text) {
    const std::string trimmed(trimWhiteSpace(text));
    text.clear();
    std::size_t s = 0;
    for (;;) {
        const std::size_t d = trimmed.find("=?", s);
        if (d == npos) break;
        const WordBounds w = findWordBounds(trimmed, d);
        if (w.e == npos) break;
        text.append(trimmed, s, d - s);
        text.append(decodeWord(trimmed[w.f + 1], std::string_view(trimmed).substr(w.g + 1, w.e - w.g - 1)));
        s = w.e + 2;
    }
    text.append(trimmed, s);
}

}  // namespace qlt

#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "base/AsciiText.h"

// Byte-text helpers of the message-content code. Mail text is single-byte and
// of unknown charset: only ASCII letters have a case.
namespace qlt::text {

inline constexpr std::size_t npos = std::string_view::npos;

inline bool equalNoCase(char a, char b) {
    return foldCase(a) == foldCase(b);
}

// First position at or after `from` where `needle` occurs, letter case ignored.
inline std::size_t findNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0) {
    if (from > haystack.size()) return npos;
    const auto it = std::search(haystack.begin() + static_cast<std::ptrdiff_t>(from), haystack.end(),
                                needle.begin(), needle.end(), equalNoCase);
    return it == haystack.end() && !needle.empty() ? npos : static_cast<std::size_t>(it - haystack.begin());
}

inline bool contains(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != npos;
}

inline std::string toLower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), foldCase);
    return out;
}

// Value of a hexadecimal digit, or -1.
inline int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The byte written as two hex digits at `s[at]`, or -1 when they are not two
// hex digits or run past the text.
inline int hexByteAt(std::string_view s, std::size_t at) {
    if (at + 1 >= s.size()) return -1;
    const int hi = hexValue(s[at]);
    const int lo = hexValue(s[at + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

}  // namespace qlt::text

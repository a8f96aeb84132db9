#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace qlt {

// Mail and data-file texts are single-byte; only ASCII letters have a case
// and only ASCII white space is blank, whatever the locale.

inline char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline std::string_view trimWhiteSpace(std::string_view s) {
    while (!s.empty() && isWhiteSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isWhiteSpace(s.back())) s.remove_suffix(1);
    return s;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return foldCase(x) == foldCase(y); });
}

// True when the needle occurs in the haystack, letters compared without regard
// to case; false when either is empty.
inline bool containsNoCase(std::string_view haystack, std::string_view needle) {
    if (haystack.empty() || needle.empty()) return false;
    for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        if (equalsIgnoringCase(haystack.substr(i, needle.size()), needle)) return true;
    }
    return false;
}

// A C stream closed when it goes out of scope.
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Two upper-case hex digits.
inline void appendHexByte(std::string& out, unsigned char b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += kHex[b >> 4];
    out += kHex[b & 0x0F];
}

}  // namespace qlt

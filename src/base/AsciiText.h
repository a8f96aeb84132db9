#pragma once

#include <cstdio>
#include <memory>
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

// A C stream closed when it goes out of scope.
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace qlt

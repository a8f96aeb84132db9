#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qlt {

// Longest header or part field value kept, as its record field holds it.
inline constexpr std::size_t kFieldValueMax = 127;

// Value of the first field whose name (with its ": ", letter case ignored)
// occurs in the header block (untrusted data): the rest of that line, cut to
// 127 characters, then trimmed and its encoded words decoded. The name may
// match inside a longer name; a name starting with "\n" matches only at the
// start of a line other than the first. Folded lines are not joined.
std::string GetHeaderField(std::string_view headerBlock, std::string_view name);

// Trims the text and decodes its RFC 2047 encoded words in place ("Q" and "B",
// either case; another letter leaves the bare encoded text). The charset is
// not looked at: the decoded bytes pass through as they are. White space
// between two encoded words stays.
void DecodeEncodedWords(std::string& text);

}  // namespace qlt

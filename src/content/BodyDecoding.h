#pragma once

#include <string>
#include <string_view>

namespace qlt {

// Base64 (RFC 2045 alphabet). Bytes 7 to 13, spaces and any other byte outside
// the alphabet are skipped; "=" in the third or fourth place of a group ends
// the group early. A group cut off by the end of the text gives the bytes its
// characters hold. The result ends at its first NUL byte.
std::string DecodeBase64(std::string_view encoded);

// Decodes the %xx escapes of every link ("://" up to the next space, tab, CR
// or LF) in place. A NUL byte from an escape ends the link there; a "%" not
// followed by two hex digits stays as it is. Returns true when some link held
// a "%".
bool UnescapeLinks(std::string& text);

}  // namespace qlt

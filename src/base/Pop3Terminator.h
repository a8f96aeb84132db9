#pragma once

#include <string_view>

namespace qlt {

// A POP3 multi-line reply ends with a line holding a lone "."; with the line
// break before it, that line is the terminator.
inline constexpr std::string_view kPop3Terminator = "\r\n.\r\n";

// The terminator's last line alone: all that follows the status line of a
// reply with no text, whose line break stands in for the terminator's first.
inline constexpr std::string_view kPop3LastLine = kPop3Terminator.substr(2);

}  // namespace qlt

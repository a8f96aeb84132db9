#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qlt {

// What a number field says when its text is not a number of its kind.
inline constexpr char kNotAnInteger[] = "Please enter an integer.";
inline constexpr char kNotAPositiveInteger[] = "Please enter a positive integer.";

// The whole number a field holds, blanks around it allowed; nothing for an
// empty text, a text with anything else in it, or a number out of range.
std::optional<std::int32_t> parseIntegerText(std::string_view text);
std::optional<std::uint32_t> parseUnsignedText(std::string_view text);

}  // namespace qlt

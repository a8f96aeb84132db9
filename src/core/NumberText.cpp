#include "core/NumberText.h"

#include <charconv>

#include "base/AsciiText.h"

namespace qlt {

namespace {

template <class T>
std::optional<T> parseWhole(std::string_view text) {
    text = trimWhiteSpace(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::int32_t> parseIntegerText(std::string_view text) {
    return parseWhole<std::int32_t>(text);
}

std::optional<std::uint32_t> parseUnsignedText(std::string_view text) {
    return parseWhole<std::uint32_t>(text);
}

}  // namespace qlt

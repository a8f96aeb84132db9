#pragma once

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "risk/BuiltInTexts.h"

namespace qlt::cli {

// The whole file as raw bytes, or nothing when it cannot be read.
inline std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
    if (in.bad()) return std::nullopt;
    return bytes;
}

// A whole decimal number that fits a 32-bit field, or nothing.
inline std::optional<long long> parseInt32(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return value;
}

// The keyword dictionary data file that ships with the program.
inline std::string shippedDictionary() {
    return std::string(QLT_SHIPPED_DATA_DIR) + "/" + dictionaryFileName();
}

}  // namespace qlt::cli

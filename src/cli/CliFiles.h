#pragma once

#include <fstream>
#include <iterator>
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

// The keyword dictionary data file that ships with the program.
inline std::string shippedDictionary() {
    return std::string(QLT_SHIPPED_DATA_DIR) + "/" + dictionaryFileName();
}

}  // namespace qlt::cli

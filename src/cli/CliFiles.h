#pragma once

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "base/AsciiText.h"
#include "store/BuiltInTexts.h"

namespace qlt::cli {

// The program's data folder, where it keeps the user's files.
inline std::string defaultDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && *dataHome == '/') return std::string(dataHome) + "/quillgate";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share/quillgate";
}

// "cannot read PATH: " and the system's reason of errno.
inline std::string cannotRead(const std::string& path) {
    return "cannot read " + path + ": " + std::strerror(errno);
}

// The whole file as raw bytes, or nothing when it cannot be read (a missing
// file, a folder, no permission); then error says why, naming the file.
inline std::optional<std::string> readFile(const std::string& path, std::string& error) {
    const UniqueFile file(std::fopen(path.c_str(), "rb"));
    std::string bytes;
    char chunk[65536];
    std::size_t got = 0;
    while (file && (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
    if (!file || std::ferror(file.get())) {
        error = cannotRead(path);
        return std::nullopt;
    }
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

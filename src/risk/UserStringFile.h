#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qlt {

// "userlst.dat": the user's own strings, one a line. Read by the keyword
// dictionary and by the preferences dialog, written by the dialog.
inline constexpr char kUserStringFileName[] = "userlst.dat";
inline constexpr char kTooManyUserStrings[] = "Too many entries in USERLST.DAT";

// Lines after this one are not read.
inline constexpr std::uint32_t kMaxUserStringLines = 1025;
// Longer lines keep only this many characters; the rest of the line is skipped.
inline constexpr std::size_t kMaxUserStringLineLength = 4096;

struct UserString {
    std::uint32_t lineNumber = 0;  // 1-based; blank lines count too
    std::string text;              // trimmed, never empty
};

struct UserStringFile {
    std::vector<UserString> strings;
    bool tooMany = false;  // reading stopped at the line limit; the user is to be told
};

// The non-empty trimmed lines of the file, or nothing when it cannot be opened.
// (untrusted file: lines and line count are bounded)
std::optional<UserStringFile> readUserStrings(const std::string& path);

// Creates the file anew, each string followed by a line break; replaced
// whole, so a failed write keeps the old strings.
bool writeUserStrings(const std::string& path, const std::vector<std::string>& strings);

}  // namespace qlt

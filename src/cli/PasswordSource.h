#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qlt::cli {

inline constexpr const char* kPasswordVariable = "QUILLGATE_PASSWORD";

// How a command was told the password: "--password P" (P "-": the first line
// of standard input), "--password-file FILE" (its first line) or the
// environment variable. Empty: not given that way.
struct PasswordSource {
    std::string given;
    std::string file;
};

// The password, "" when none was given; nothing when it cannot be had (the
// reason goes to error): both options at once, or a file or standard input
// that cannot be read or holds no password. A password written on the
// command line, which every local user sees in the process list, is warned
// about on standard error.
std::optional<std::string> takePassword(const PasswordSource& source, std::string_view command,
                                        std::string& error);

}  // namespace qlt::cli

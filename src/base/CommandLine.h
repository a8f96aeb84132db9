#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlt {

// Command lines quoted as desktop entries quote their Exec lines: words are
// separated by blanks or tabs; double quotes group a word, and inside them a
// backslash takes the next '"', '`', '$' or '\' literally.

// The words of a command line; nullopt when a quote is left open.
std::optional<std::vector<std::string>> splitCommandLine(std::string_view line);

// The words joined into a command line that splitCommandLine reads back
// unchanged; words that need it are quoted.
std::string joinCommandLine(const std::vector<std::string>& words);

}  // namespace qlt

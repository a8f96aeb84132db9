#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlt::cli {

// What "quillgate-cli rate" was asked to do.
struct RateOptions {
    std::string file;
    std::string accountName;
    std::optional<long long> size;  // unset: the length of the normalised text
    long long messageNumber = 1;
    std::string dictionary;   // empty: the shipped data file
    std::string userStrings;  // empty: none
    bool full = false;
};

// The options after "rate", or nothing when they do not make sense (the
// reason goes to error).
std::optional<RateOptions> parseRateOptions(const std::vector<std::string>& args, std::string& error);

// The message file's text as a TOP reply gives it: every LF not preceded by
// CR becomes CR LF.
std::string toTopReply(std::string_view raw);

// quillgate-cli rate FILE [--account-name NAME] [--size N] [--number N]
//                         [--dict PATH] [--userlst PATH] [--full]
// Prints the filled and rated entry as one JSON object. args: the words after
// "rate". Returns the exit code: 0 done, 1 a named file cannot be read, 2 usage.
int runRate(const std::vector<std::string>& args);

}  // namespace qlt::cli

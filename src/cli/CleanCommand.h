#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qlt::cli {

// What "quillgate-cli clean" was asked to do.
struct CleanOptions {
    std::string account;       // a name or a number; empty: the profile's current account
    std::string password;      // as given: the password, or "-" for standard input
    std::string passwordFile;  // a file whose first line is the password
    bool dryRun = false;
    bool heuristics = false;  // the built-in heuristics alone may delete too
    std::string caFile;       // empty: the system's certificates
    std::string dataFolder;   // empty: $XDG_DATA_HOME/quillgate
    std::string dictionary;   // empty: the data folder's, else the shipped one
};

// The options after "clean", or nothing when they do not make sense (the
// reason goes to error).
std::optional<CleanOptions> parseCleanOptions(const std::vector<std::string>& args, std::string& error);

// quillgate-cli clean (see its --help): scans one account of the user's
// profile with the program's own mail checker and deletes, of what the
// automatic tagging rule tags, a foe's messages and those made red by firm
// evidence. A password given (see PasswordSource) serves when the profile
// stores none. Returns the exit code: 0 done, 1 no login, a failed scan or a
// deletion that did not go through, 2 usage, no such account or no password.
int runClean(const std::vector<std::string>& args);

}  // namespace qlt::cli

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qlt::cli {

// What "--help" prints for one command: how it is called and what it does.
struct CommandHelp {
    const char* name;
    // The call forms, each "quillgate-cli ..." (continuation lines indented).
    const char* synopsis;
    // What it does, its options and its exit codes.
    const char* details;
};

// The help of a command; nullptr for a word that is none.
const CommandHelp* findHelp(std::string_view command);

// "usage: ..." and the details: the whole help of one command.
std::string helpText(const CommandHelp& help);

// Every command's call forms and a pointer to the per-command help.
std::string overviewText();

// True when the words after a command ask for its help. Only the first
// word counts: a later one may be the value of an option (a password).
bool asksForHelp(const std::vector<std::string>& args);

// Tells a misuse of a command on standard error: the reason (when there is
// one) and the command's call forms. Returns the usage exit code 2.
int usageError(std::string_view command, const std::string& error = "");

}  // namespace qlt::cli

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qlt {

// The Exec value of a desktop entry's [Desktop Entry] group, with the value
// escapes (\s, \n, \t, \r, \\) resolved and the command line's own quoting
// left in place; empty when the group or the key is missing. The text comes
// from a file anyone may have written: it is only read, never run here.
std::string desktopEntryExec(std::string_view fileText);

// Where a desktop file ID may live below an applications folder: the ID
// itself, then the ID with its leading dashes turned into folder separators
// one at a time ("kde4-kmail.desktop", "kde4/kmail.desktop"). Empty for a
// text that is no plain desktop file ID.
std::vector<std::string> desktopEntryPaths(std::string_view desktopId);

}  // namespace qlt

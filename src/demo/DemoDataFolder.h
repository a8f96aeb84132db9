#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "risk/SenderRecord.h"

namespace qlt::demo {

// The readable source of a sender list: one record a line,
//   friend TEXT    (white list)
//   foe TEXT       (black list)
// "#" starts a comment line; blank lines are skipped. On failure, error
// names the line and what is wrong with it.
std::optional<std::vector<SenderRecord>> parseSenderListSource(std::string_view source, std::string& error);

// Where the demo's shipped files are, below the folder of the program's data
// (the one holding the keyword dictionary).
std::string demoFolder(const std::string& shippedFolder);

// Fills an existing folder with what the program reads by bare name in its
// data folder: the keyword dictionary and the notification sound from the
// shipped folder, and the demo's user strings and sender list (made from
// its readable source). false, with error set, when one cannot be made.
bool prepareDemoDataFolder(const std::string& shippedFolder, const std::string& dataFolder,
                           std::string& error);

}  // namespace qlt::demo

#pragma once

#include <string>

#include "base/MessageEntry.h"

namespace qlt::cli {

// The entry as one JSON object (no line break). Its keys are the entry's
// field names in their order, and other tools read them by those names:
// renaming a field here breaks them. Texts are single-byte strings shown as
// Latin-1 code points.
std::string entryJson(const MessageEntry& entry);

}  // namespace qlt::cli

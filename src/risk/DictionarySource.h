#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/KeywordRecord.h"
#include "store/Codec.h"

namespace qlt {

// The readable source of the keyword dictionary: one record a line,
//   id  category  level  where  text
// separated by blanks; the text is the rest of the line (quoted with "..."
// when its own blanks at either end matter). "#" starts a comment line.
//   id        a number, 0x... for hex; 1 to 0xEFFFFF, each used once
//   category  virus | spam | xrated | foul | user
//   level     1 | 2 | 3
//   where     text | headers | from | subject
//   text      1 to 31 characters
// On failure, error names the line and what is wrong with it.
std::optional<std::vector<KeywordRecord>> parseDictionarySource(std::string_view source, std::string& error);

// The data file for a source: the signature record, then the source's
// records in source order, compressed and scrambled; no more than the data
// file's size limit.
std::optional<Bytes> buildDictionaryFile(std::string_view source, std::string& error);

}  // namespace qlt

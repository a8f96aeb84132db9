#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/KeywordRecord.h"

namespace qlt {

// The name of a built-in rule's reason code ("body is base64-encoded");
// empty for any other code.
std::string_view ruleReasonWords(std::uint32_t reason);

// What a dictionary record found and where: "\"cash\" in the subject". The
// record's text is kept as it is (untrusted when it is a user string).
std::string recordReasonWords(const KeywordRecord& record);

}  // namespace qlt

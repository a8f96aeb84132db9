#pragma once

#include <cstdint>
#include <string_view>

#include "base/KeywordRecord.h"

namespace qlt::test {

// A keyword record that is looked for in the message text.
inline KeywordRecord textKeyword(std::uint32_t id, std::string_view text, std::uint8_t category,
                                 std::uint8_t level) {
    return KeywordRecord::make(id, text, category, level, kWhereText);
}

}  // namespace qlt::test

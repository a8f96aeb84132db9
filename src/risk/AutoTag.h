#pragma once

#include <cstdint>

#include "base/MessageEntry.h"

namespace qlt {

// The threshold that tags no row by risk: levels never exceed 3.
inline constexpr std::uint8_t kDelTagNone = 4;

// Whether a freshly listed message starts tagged for deletion. A black-listed
// sender always is; a white-listed one never by risk; anyone else when any of
// the five levels reaches `delTag` (so 0 tags every such row).
bool InitiallyTagged(const MessageEntry& entry, std::uint8_t delTag);

}  // namespace qlt

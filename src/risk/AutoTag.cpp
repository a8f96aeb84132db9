#include "risk/AutoTag.h"

#include <algorithm>

namespace qlt {

bool InitiallyTagged(const MessageEntry& entry, std::uint8_t delTag) {
    if (entry.senderStatus == kSenderFoe) return true;
    if (entry.senderStatus == kSenderFriend) return false;
    return std::ranges::any_of(entry.level, [delTag](std::uint8_t level) { return level >= delTag; });
}

}  // namespace qlt

#include <gtest/gtest.h>

#include "ViewFixtures.h"
#include "risk/AutoTag.h"

namespace qlt {
namespace {

MessageEntry rated(std::uint8_t sender, test::Levels levels) {
    return test::viewEntry(1, levels, sender);
}

TEST(AutoTag, InitialTagFollowsSenderListsAndThreshold) {
    struct Row {
        const char* name;
        MessageEntry entry;
        std::uint8_t delTag;
        bool tagged;
    } rows[] = {
        {"red threshold, spam orange only", rated(kSenderUnlisted, {0, 2, 0, 0, 0}), 3, false},
        {"red threshold, user string red", rated(kSenderUnlisted, {0, 0, 0, 0, 3}), 3, true},
        {"red threshold, virus red", rated(kSenderUnlisted, {3, 0, 0, 0, 0}), 3, true},
        {"orange threshold, foul language orange", rated(kSenderUnlisted, {0, 0, 0, 2, 0}), 2, true},
        {"yellow threshold, X-rated yellow", rated(kSenderUnlisted, {0, 0, 1, 0, 0}), 1, true},
        {"yellow threshold, all green", rated(kSenderUnlisted, {0, 0, 0, 0, 0}), 1, false},
        {"white list, virus red", rated(kSenderFriend, {3, 3, 3, 3, 3}), 3, false},
        {"white list, threshold zero", rated(kSenderFriend, {0, 0, 0, 0, 0}), 0, false},
        {"black list, no risk", rated(kSenderFoe, {0, 0, 0, 0, 0}), 3, true},
        {"black list, none chosen", rated(kSenderFoe, {0, 0, 0, 0, 0}), kDelTagNone, true},
        {"none chosen, every level red", rated(kSenderUnlisted, {3, 3, 3, 3, 3}), kDelTagNone, false},
        {"threshold zero tags an unlisted green row", rated(kSenderUnlisted, {0, 0, 0, 0, 0}), 0, true},
        {"unknown sender status counts as unlisted", rated(7, {0, 3, 0, 0, 0}), 3, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(InitiallyTagged(row.entry, row.delTag), row.tagged);
    }
}

}  // namespace
}  // namespace qlt

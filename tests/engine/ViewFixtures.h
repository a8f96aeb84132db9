#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/MessageEntry.h"
#include "base/MessageList.h"
#include "store/AccountStore.h"
#include "support/SampleAccounts.h"

namespace qlt::test {

using Levels = std::array<std::uint8_t, kRiskCategories>;

inline MessageEntry viewEntry(std::uint8_t account, Levels levels = {}, std::uint8_t sender = kSenderUnlisted,
                              const std::string& from = "someone@example.org") {
    MessageEntry e;
    e.accountIndex = account;
    e.level = levels;
    e.senderStatus = sender;
    e.from = from;
    return e;
}

// Sample accounts 1..count with `current` made current.
inline AccountStore viewStore(int count, int current) {
    AccountStore store = sampleStore(count);
    store.MakeAccountCurrent(current);
    return store;
}

}  // namespace qlt::test

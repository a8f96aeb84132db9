#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "base/MessageList.h"
#include "store/AccountStore.h"

namespace qlt {

// The buttons UpdateCommandState sets.
struct CommandState {
    // DUMP, ANALYZE, DELETE and GET MAIL alike.
    bool messageCommandsEnabled = false;
    bool showAllEnabled = false;
    bool showAllChecked = false;

    friend bool operator==(const CommandState&, const CommandState&) = default;
};

// The message commands need a current account that was read at least in
// part and holds messages; Show All needs more than one entry to show.
CommandState ComputeCommandState(const AccountStore& accounts, std::size_t entryCount, bool showAll);

// Without a current account its working copy shows no messages and no
// status; UpdateCommandState does this before anything reads the copy.
void ResetCountersWithoutCurrentAccount(AccountStore& accounts);

// The header line's five texts.
struct HeaderLine {
    std::string accountName;
    std::string status;
    std::string messageCount;
    std::string lastScanned;
    std::string linkSpeed;

    friend bool operator==(const HeaderLine&, const HeaderLine&) = default;
};

// The current account's header line; nothing (the line is hidden) without
// a current account.
std::optional<HeaderLine> ComputeHeaderLine(const AccountStore& accounts);

}  // namespace qlt

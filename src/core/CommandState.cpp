#include "core/CommandState.h"

#include "core/AccountQueries.h"
#include "store/Formatting.h"

namespace qlt {

CommandState ComputeCommandState(const AccountStore& accounts, std::size_t entryCount, bool showAll) {
    CommandState state;
    const AccountRecord& current = accounts.currentAccount;
    state.messageCommandsEnabled =
        HasCurrentAccount(accounts) && current.messageCount != 0 && current.status > kStatusNoMessages;
    state.showAllEnabled = entryCount > 1;
    state.showAllChecked = showAll;
    return state;
}

void ResetCountersWithoutCurrentAccount(AccountStore& accounts) {
    if (HasCurrentAccount(accounts)) return;
    accounts.currentAccount.messageCount = 0;
    accounts.currentAccount.status = kStatusUpdateNeeded;
}

std::optional<HeaderLine> ComputeHeaderLine(const AccountStore& accounts) {
    if (!HasCurrentAccount(accounts)) return std::nullopt;
    const AccountRecord& current = accounts.currentAccount;
    return HeaderLine{
        current.accountName.str(),  AccountStatusName(current.status), std::to_string(current.messageCount),
        FormatLastScanned(current), FormatSpeed(current.linkSpeed),
    };
}

}  // namespace qlt

#include "core/AccountView.h"

#include "store/Formatting.h"

namespace qlt {

const std::array<AccountColumnInfo, kAccountColumnCount> kAccountColumns = {{
    {" ", 0.036, false,
     "Account status:\r\nred - current\r\nblue - selected for scan\r\ngray - inactive\r\nClick icon to "
     "toggle."},
    {"Account", 0.34, false, "Account name"},
    {"Msg  ", 0.07, true, "Number of messages waiting"},
    {"Last Checked", 0.258, false, "Last checked time"},
    {"Status", 0.22, false, "Account status"},
    {"Link", 0.1, false, "Average link speed (CPS)"},
    {"Server", 0.3, false, "Server address"},
    {"User", 0.3, false, "User name"},
    {"Used  ", 0.2, true, "Total space used by mail"},
}};

AccountState AccountViewState(const AccountRecord& account) {
    if (account.isCurrent != 0) return AccountState::Current;
    return account.scanAllInclude != 0 ? AccountState::Included : AccountState::Inactive;
}

std::string AccountCellText(const AccountRecord& account, int column) {
    switch (column) {
        case kAccountColumnName:
            return account.accountName.str();
        case kAccountColumnMessages:
            return std::to_string(account.messageCount);
        case kAccountColumnLastChecked:
            return FormatLastScanned(account);
        case kAccountColumnStatus:
            return AccountStatusName(account.status);
        case kAccountColumnLink:
            return FormatSpeed(account.linkSpeed);
        case kAccountColumnServer:
            return account.server.str();
        case kAccountColumnUser:
            return account.userName.str();
        case kAccountColumnUsed:
            return FormatSize(account.mailboxSize);
        default:
            return {};
    }
}

}  // namespace qlt

#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "base/AccountRecord.h"

namespace qlt {

// The account list that the view toggle shows in place of the message list.
enum AccountColumn : int {
    kAccountColumnState = 0,
    kAccountColumnName,
    kAccountColumnMessages,
    kAccountColumnLastChecked,
    kAccountColumnStatus,
    kAccountColumnLink,
    kAccountColumnServer,
    kAccountColumnUser,
    kAccountColumnUsed,
};
inline constexpr int kAccountColumnCount = 9;

struct AccountColumnInfo {
    const char* header;
    double widthFraction;  // of the view's client width when the window is created
    bool rightAligned;
    const char* tooltip;
};

extern const std::array<AccountColumnInfo, kAccountColumnCount> kAccountColumns;

// The state icon of a row: the images of the account state strip.
enum class AccountState : int { Included = 1, Inactive = 2, Current = 3 };

// Current wins over the Scan All mark.
AccountState AccountViewState(const AccountRecord& account);

// The text of one cell; empty for the state column and a column out of range.
std::string AccountCellText(const AccountRecord& account, int column);

}  // namespace qlt

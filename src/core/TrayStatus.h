#pragma once

#include <string>

#include "store/AccountStore.h"

namespace qlt {

// Tray icon resources: the program's icon, one per overall risk 1..4, and
// the one shown while a scan runs.
inline constexpr int kTrayIconProgram = 186;
inline constexpr int kTrayIconScanning = 191;
// setTrayRisk's kind while a scan runs.
inline constexpr int kTrayKindScanning = 5;

// The icon setTrayRisk shows for `kind`: 1..4 the overall risk, 5 a running
// scan, anything else the program's icon.
int TrayIconFor(int kind);

// The tray tip holds this many characters at most.
inline constexpr std::size_t kTrayTipMaxLength = 63;

// The tip: when the current account was checked and how many messages the
// servers hold over every account; the inactive text without accounts. It
// names no message, so hidden rated mail cannot show there either.
std::string TrayTipText(const AccountStore& accounts);

// The tip while an OAuth2 account waits for the user to sign in again.
std::string SignInNeededTip(const std::string& accountName);

}  // namespace qlt

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/AccountRecord.h"

namespace qlt {

// The most accounts the store keeps; a stored value holding more loads only
// this many, so adding more would lose them at the next start.
inline constexpr int kMaxAccounts = 32;

inline constexpr std::uint32_t kDefaultPort = 110;

// Port 0 or above 65535 becomes 110.
std::uint32_t CorrectedPort(std::uint32_t port);

// A time-out outside 1..300 seconds becomes 30 on Add and 60 on Update.
enum class TimeoutEdit { Add, Update };
std::uint16_t CorrectedTimeout(long long seconds, TimeoutEdit edit);

// The all-zero record with the defaults of an account just added: included
// in Scan All, no selected row, flagged current.
AccountRecord NewAccountRecord();

// The texts a dialog hands over, before they enter their fixed fields.
struct AccountTexts {
    std::string_view server;
    std::string_view userName;
    std::string_view password;
    std::string_view accountName;
};

// The message for the first text too long for its field, naming the field
// and its limit; nothing when every text fits.
std::optional<std::string> CheckAccountTextLengths(const AccountTexts& texts);

// The message shown when the store already holds kMaxAccounts accounts.
std::string AccountLimitMessage();

}  // namespace qlt

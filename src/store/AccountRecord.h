#pragma once

#include <cstdint>

#include "base/BoundedText.h"
#include "base/SystemTime.h"

namespace qlt {

enum AccountStatus : std::uint8_t {
    kStatusUpdateNeeded = 0,
    kStatusConnectionFailed = 1,
    kStatusNoMessages = 2,
    kStatusScanIncomplete = 3,
    kStatusNoNewMessages = 4,
    kStatusCompleted = 5,
};

// One POP3 account. Its stored form is a fixed 336-byte record (see
// AccountRecordCodec); in memory each text keeps its field width as a cut rule.
struct AccountRecord {
    BoundedText<60> server;
    std::uint32_t port = 0;
    BoundedText<54> userName;
    std::uint8_t status = kStatusUpdateNeeded;
    std::uint8_t scanAllInclude = 0;
    std::int32_t messageCount = 0;
    std::int32_t mailboxSize = 0;
    BoundedText<44> password;
    std::int16_t selectedRow = 0;
    std::uint8_t accountNumber = 0;
    std::uint8_t scanIncomplete = 0;
    SystemTime lastScanned;
    BoundedText<64> accountName;
    std::uint16_t timeout = 0;
    std::uint16_t linkSpeed = 0;
    std::uint32_t authRequired = 0;
    std::uint32_t isCurrent = 0;
    std::uint32_t rememberPassword = 0;

    friend bool operator==(const AccountRecord&, const AccountRecord&) = default;
};

}  // namespace qlt

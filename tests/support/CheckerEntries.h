#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/MessageEntry.h"
#include "core/MailChecker.h"

namespace qlt::test {

// A scanned entry of account `account`, message `number` on its server.
inline MessageEntry checkerEntry(std::uint8_t account, int number, const std::string& subject = "",
                                 std::array<std::uint8_t, kRiskCategories> levels = {}) {
    MessageEntry e;
    e.accountIndex = account;
    e.messageNumber = number;
    e.size = 100 * number;
    e.uidl = "uid-" + std::to_string(account) + "-" + std::to_string(number);
    e.subject = subject.empty() ? "Message " + std::to_string(number) : subject;
    e.from = "sender" + std::to_string(number) + "@example.net";
    e.level = levels;
    return e;
}

// Account n as a scan left it: `count` messages on the server, listed in the
// checker, n made current.
inline void seedScannedAccount(MailChecker& checker, int n, int count,
                               std::uint8_t status = kStatusCompleted) {
    AccountRecord a = *checker.GetAccount(n);
    a.status = status;
    a.messageCount = count;
    a.mailboxSize = 0;
    for (int i = 1; i <= count; ++i) {
        checker.messages().append(checkerEntry(static_cast<std::uint8_t>(n), i));
        a.mailboxSize += 100 * i;
    }
    checker.ReplaceAccount(n, a);
}

}  // namespace qlt::test

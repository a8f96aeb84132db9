#include "support/SampleAccounts.h"

namespace qlt::test {

AccountRecord sampleAccount(int n) {
    AccountRecord r;
    const std::string tag = std::to_string(n);
    r.server = "pop" + tag + ".example.org";
    r.port = 995 + static_cast<std::uint32_t>(n);
    r.userName = "user" + tag;
    r.status = kStatusCompleted;
    r.scanAllInclude = static_cast<std::uint8_t>(n % 2);
    r.messageCount = 10 * n;
    r.mailboxSize = 100000 * n;
    r.password = "secret" + tag;
    r.selectedRow = static_cast<std::int16_t>(n - 2);
    r.accountNumber = static_cast<std::uint8_t>(n);
    r.scanIncomplete = 0;
    r.lastScanned = {2024, 3, 5, static_cast<std::uint16_t>(n), 13, 45, 30, 250};
    r.accountName = "@mail" + tag + ".example.org";
    r.timeout = static_cast<std::uint16_t>(30 + n);
    r.linkSpeed = static_cast<std::uint16_t>(2000 + n);
    r.authRequired = static_cast<std::uint32_t>(n % 2);
    r.isCurrent = n == 2 ? 1 : 0;
    r.rememberPassword = 1;
    return r;
}

AccountStore sampleStore(int count) {
    AccountStore store;
    for (int n = 1; n <= count; ++n) store.AppendAccount(sampleAccount(n));
    return store;
}

}  // namespace qlt::test

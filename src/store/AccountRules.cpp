#include "store/AccountRules.h"

#include <array>

namespace qlt {

namespace {

constexpr std::uint32_t kMaxPort = 65535;
constexpr long long kMaxTimeout = 300;
constexpr std::uint16_t kAddTimeout = 30;
constexpr std::uint16_t kUpdateTimeout = 60;

struct TextField {
    const char* label;
    std::string_view text;
    std::size_t maxLength;
};

}  // namespace

std::uint32_t CorrectedPort(std::uint32_t port) {
    return (port == 0 || port > kMaxPort) ? kDefaultPort : port;
}

std::uint16_t CorrectedTimeout(long long seconds, TimeoutEdit edit) {
    if (seconds >= 1 && seconds <= kMaxTimeout) return static_cast<std::uint16_t>(seconds);
    return edit == TimeoutEdit::Add ? kAddTimeout : kUpdateTimeout;
}

AccountRecord NewAccountRecord() {
    AccountRecord record;
    record.scanAllInclude = 1;
    record.selectedRow = -1;
    record.isCurrent = 1;
    return record;
}

std::optional<std::string> CheckAccountTextLengths(const AccountTexts& texts) {
    const std::array<TextField, 4> fields = {{
        {"Email Address", texts.accountName, decltype(AccountRecord::accountName)::maxLength},
        {"User Name", texts.userName, decltype(AccountRecord::userName)::maxLength},
        {"Password", texts.password, decltype(AccountRecord::password)::maxLength},
        {"POP3 Server Address", texts.server, decltype(AccountRecord::server)::maxLength},
    }};
    for (const auto& field : fields) {
        if (field.text.size() > field.maxLength) {
            return std::string("The ") + field.label + " is too long: it can hold at most " +
                   std::to_string(field.maxLength) + " characters.";
        }
    }
    return std::nullopt;
}

std::string AccountLimitMessage() {
    return "No more accounts can be added: the program keeps at most " + std::to_string(kMaxAccounts) +
           " accounts.";
}

}  // namespace qlt

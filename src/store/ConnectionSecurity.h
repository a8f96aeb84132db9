#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/AccountRecord.h"
#include "store/AccountRules.h"

namespace qlt {

inline constexpr std::uint32_t kDefaultTlsPort = 995;

// "None", "TLS", "STLS"; "Unknown" for a value no version wrote.
const char* SecurityName(std::uint8_t security);

// The command-line spelling: "none", "tls" or "stls", in any case.
std::optional<ConnectionSecurity> ParseSecurity(std::string_view text);

// The port a new account with this security is proposed: 995 for TLS, 110 otherwise.
std::uint32_t DefaultPortFor(std::uint8_t security);

// The port to show once the user picks a security: the other choice's usual
// port gives way to this one's (110 <-> 995); any port the user typed stays.
std::uint32_t PortForSecurityChoice(std::uint8_t security, std::uint32_t port);

bool HasPinnedCertificate(const AccountRecord& account);

// True when logging in would send the password in clear text to a machine
// other than this one and the user has not been told yet for this account.
// serverIsLoopback: every address the server name resolves to is a loopback address.
bool NeedsPlainTextWarning(const AccountRecord& account, bool serverIsLoopback);

}  // namespace qlt

#include "store/ConnectionSecurity.h"

#include "base/AsciiText.h"

namespace qlt {

namespace {

struct SecurityNames {
    ConnectionSecurity security;
    const char* shown;
    std::string_view typed;
};

constexpr SecurityNames kNames[] = {
    {kSecurityNone, "None", "none"},
    {kSecurityTls, "TLS", "tls"},
    {kSecurityStls, "STLS", "stls"},
};

}  // namespace

const char* SecurityName(std::uint8_t security) {
    for (const auto& n : kNames) {
        if (n.security == security) return n.shown;
    }
    return "Unknown";
}

std::optional<ConnectionSecurity> ParseSecurity(std::string_view text) {
    for (const auto& n : kNames) {
        if (equalsIgnoringCase(text, n.typed)) return n.security;
    }
    return std::nullopt;
}

std::uint32_t DefaultPortFor(std::uint8_t security) {
    return security == kSecurityTls ? kDefaultTlsPort : kDefaultPort;
}

std::uint32_t PortForSecurityChoice(std::uint8_t security, std::uint32_t port) {
    const std::uint32_t usual = DefaultPortFor(security);
    const std::uint32_t otherUsual = usual == kDefaultTlsPort ? kDefaultPort : kDefaultTlsPort;
    return port == otherUsual ? usual : port;
}

bool HasPinnedCertificate(const AccountRecord& account) {
    return std::any_of(account.pinnedCertificate.begin(), account.pinnedCertificate.end(),
                       [](std::uint8_t b) { return b != 0; });
}

bool NeedsPlainTextWarning(const AccountRecord& account, bool serverIsLoopback) {
    return account.security == kSecurityNone && account.plainTextWarned == 0 && !serverIsLoopback;
}

}  // namespace qlt

#pragma once

#include <array>
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

// How the connection to the server is protected. Zero is what every store
// written before this setting existed holds.
enum ConnectionSecurity : std::uint8_t {
    kSecurityNone = 0,  // plain TCP; user name and password in clear text
    kSecurityTls = 1,   // TLS from the first byte (POP3S, usually port 995)
    kSecurityStls = 2,  // plain TCP upgraded with STLS before the login
};

// How the account signs in. Zero is what every store written before this
// setting existed holds.
enum SignInMethod : std::uint8_t {
    kSignInPassword = 0,  // USER and PASS
    kSignInOAuth2 = 1,    // SASL AUTH with an OAuth2 bearer token
};

// Where an OAuth2 account gets its tokens: a known provider's endpoints or
// the ones the user typed in.
enum OAuthProvider : std::uint8_t {
    kOAuthGoogle = 0,
    kOAuthMicrosoft = 1,
    kOAuthCustom = 2,
};

// SHA-256 of a server certificate in its DER form; all zero means none.
using CertificateFingerprint = std::array<std::uint8_t, 32>;

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
    std::uint8_t security = kSecurityNone;
    // A certificate the user chose to trust for this account although it
    // failed verification; a different certificate is refused again.
    CertificateFingerprint pinnedCertificate{};
    // 1 once the user was warned that the password travels in clear text.
    std::uint8_t plainTextWarned = 0;
    std::uint8_t signIn = kSignInPassword;
    // Read only with OAuth2 sign-in; the client id and the typed endpoints
    // are too long for the record and live in the profile (OAuthClient).
    std::uint8_t oauthProvider = kOAuthGoogle;
    std::uint16_t timeout = 0;
    std::uint16_t linkSpeed = 0;
    std::uint32_t authRequired = 0;
    std::uint32_t isCurrent = 0;
    std::uint32_t rememberPassword = 0;

    friend bool operator==(const AccountRecord&, const AccountRecord&) = default;
};

}  // namespace qlt

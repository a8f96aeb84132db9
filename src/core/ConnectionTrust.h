#pragma once

#include <functional>
#include <string>

#include "base/AccountRecord.h"
#include "base/UiPort.h"
#include "core/OAuthLogin.h"
#include "pop3/Pop3Client.h"

namespace qlt {

// What a login needed the user to agree to.
struct TrustedLogin {
    bool connected = false;
    // The user was warned about clear text or chose to trust a certificate:
    // login.plainTextWarned or login.pinnedCertificate changed and belong in
    // the stored account.
    bool accountChanged = false;
};

// Logs in on behalf of the commands, with the two questions a login may need
// first: a one-time warning before a password goes in clear text to another
// machine, and whether to trust a certificate that failed verification.
class ConnectionTrust {
  public:
    // Whether every address of a host name is this machine.
    using LoopbackTest = std::function<bool(const std::string& host)>;

    explicit ConnectionTrust(UiPort& ui);
    ConnectionTrust(UiPort& ui, LoopbackTest isLoopback);

    // Logs `client` in with `login`. A user who declines the clear-text
    // warning gets no login (client.m_strError says why) and is warned again
    // next time. A refused certificate the user chooses to trust is pinned
    // in `login` and the login tried once more; a different certificate
    // later is refused and asked about again.
    // An account that signs in with OAuth2 gets its token from `oauth`
    // first, and once more after the server refused it.
    TrustedLogin connect(Pop3Client& client, AccountRecord& login);

    // Where OAuth2 accounts get their tokens; without it they cannot log in.
    void useOAuth(OAuthLogin* oauth) { m_oauth = oauth; }

  private:
    bool warnPlainText(Pop3Client& client, AccountRecord& login);
    bool askToTrust(const Pop3Client& client, AccountRecord& login);
    bool login(Pop3Client& client, AccountRecord& login);

    UiPort& m_ui;
    LoopbackTest m_isLoopback;
    OAuthLogin* m_oauth = nullptr;
};

// Copies what the user agreed to at a login into the stored record, and
// nothing else of the login (a typed password stays out of the store).
void KeepTrust(AccountRecord& stored, const AccountRecord& login);

// The texts of the clear-text warning.
inline constexpr const char* kPlainTextTitle = "QLT Unencrypted Login";
std::string PlainTextWarningText(const AccountRecord& account);
inline constexpr const char* kNoOAuthHere = "ERROR: OAuth2 sign-in is not available here\r\n";
inline constexpr const char* kPlainTextDeclined =
    "ERROR: The login was cancelled: the password would have been sent unencrypted\r\n";

}  // namespace qlt

#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "base/AccountRecord.h"
#include "base/Clock.h"
#include "base/OAuthTransport.h"
#include "base/SecretStore.h"
#include "store/OAuthClient.h"

namespace qlt {

// The OAuth2 tokens of the accounts that sign in so. The refresh token is
// kept in the SecretStore under the account's server, port and user name;
// the access token only in memory, until shortly before it expires.
class OAuthTokens {
  public:
    // An access token is renewed when it has less than this left.
    static constexpr std::uint64_t kRefreshMarginMs = 60 * 1000;

    enum class Outcome {
        Ready,         // token holds the access token
        SignInNeeded,  // no refresh token, or the provider refused it: the user signs in again
        Failed,        // message says why; trying later may work
    };
    struct Result {
        Outcome outcome = Outcome::Failed;
        std::string token;
        std::string message;
    };

    OAuthTokens(SecretStore& secrets, OAuthTransport& transport, const Clock& clock)
        : m_secrets(secrets), m_transport(transport), m_clock(clock) {}

    // The access token, refreshed when it is about to expire or when
    // forceRefresh says the server refused it. Never opens a browser.
    Result accessToken(const AccountRecord& account, const OAuthClient& client, bool forceRefresh);
    // The sign-in in the browser, only on the user's own command: a new
    // refresh token is kept and an access token returned.
    Result signIn(const AccountRecord& account, const OAuthClient& client);

  private:
    struct Cached {
        std::string token;
        std::uint64_t expiresAtMs = 0;
    };

    Result refresh(const AccountRecord& account, const OAuthClient& client, const std::string& key);
    Result keep(const std::string& key, const std::string& accessToken, std::int64_t expiresInSeconds);

    SecretStore& m_secrets;
    OAuthTransport& m_transport;
    const Clock& m_clock;
    std::map<std::string, Cached> m_cache;  // by the refresh token's key
};

}  // namespace qlt

#include "core/OAuthTokens.h"

#include "core/AccountSecrets.h"
#include "core/OAuthRequests.h"

#include <algorithm>

namespace qlt {

namespace {

// A provider that gives no lifetime gets this one: the token is then asked
// for again soon rather than used after it expired.
constexpr std::int64_t kAssumedLifetimeSeconds = 300;
// A lifetime beyond a day is not believed (and would overflow the deadline).
constexpr std::int64_t kLongestLifetimeSeconds = 24 * 3600;

// RFC 6749 4.1.2.1 and 5.2: the provider does not know or admit the client.
bool clientRefused(const std::string& error) {
    return error == "invalid_client" || error == "unauthorized_client";
}

std::string refusal(const std::string& error) {
    if (clientRefused(error))
        return "The provider refused the client id (" + error +
               "): check Client ID and Client Secret under Add Account, Advanced";
    return "The provider refused the sign-in: " + error;
}

OAuthTokens::Result failed(std::string message) {
    return {OAuthTokens::Outcome::Failed, {}, std::move(message)};
}

}  // namespace

OAuthTokens::Result OAuthTokens::accessToken(const AccountRecord& account, const OAuthClient& client,
                                             bool forceRefresh) {
    const std::string key = RefreshTokenKey(account);
    if (const auto it = m_cache.find(key); it != m_cache.end()) {
        if (!forceRefresh && m_clock.tickMs() + kRefreshMarginMs < it->second.expiresAtMs)
            return {Outcome::Ready, it->second.token, {}};
        m_cache.erase(it);
    }
    return refresh(account, client, key);
}

OAuthTokens::Result OAuthTokens::refresh(const AccountRecord& account, const OAuthClient& client,
                                         const std::string& key) {
    const SecretStore::Found stored = m_secrets.read(key);
    if (stored.outcome == SecretStore::Outcome::NotFound)
        return {Outcome::SignInNeeded, {}, "Sign in needed for " + account.accountName.str()};
    if (stored.outcome != SecretStore::Outcome::Done)
        return failed("The keyring did not give the sign-in token of " + account.accountName.str());
    const OAuthTransport::Reply http = m_transport.postForm(EndpointsFor(account.oauthProvider, client).token,
                                                            RefreshRequestBody(client, stored.secret));
    if (http.status == 0) return failed("The sign-in server did not answer: " + http.failure);
    const TokenReply reply = ReadTokenReply(http.status, http.body);
    // RFC 6749 5.2: the grant itself was refused (revoked, expired, another client's).
    if (clientRefused(reply.error)) return {Outcome::SignInNeeded, {}, refusal(reply.error)};
    if (reply.error == "invalid_grant")
        return {Outcome::SignInNeeded, {}, "The provider refused the sign-in (invalid_grant); sign in again"};
    if (!reply.ok()) return failed("The sign-in server refused a new token: " + reply.error);
    if (!reply.refreshToken.empty()) m_secrets.write(key, reply.refreshToken);
    return keep(key, reply.accessToken, reply.expiresInSeconds);
}

OAuthTokens::Result OAuthTokens::signIn(const AccountRecord& account, const OAuthClient& client) {
    if (client.clientId.empty()) return failed("No client id is set for this account (Advanced)");
    const std::string redirectUri = m_transport.startRedirectListener();
    if (redirectUri.empty()) return failed("No local port could be opened for the sign-in");
    const Pkce pkce = MakePkce();
    const std::string state = RandomState();
    const OAuthEndpoints endpoints = EndpointsFor(account.oauthProvider, client);
    const OAuthTransport::Redirect redirect = m_transport.awaitRedirect(
        AuthorizationUrl(endpoints, client, redirectUri, state, pkce, account.userName.str()));
    if (!redirect.failure.empty()) return failed("The sign-in did not finish: " + redirect.failure);
    if (redirect.state != state)
        return failed("The sign-in answer belongs to another request; nothing was kept");
    if (!redirect.error.empty() || redirect.code.empty())
        return failed(refusal(redirect.error.empty() ? "no code" : redirect.error));
    const OAuthTransport::Reply http =
        m_transport.postForm(endpoints.token, CodeRequestBody(client, redirect.code, redirectUri, pkce));
    if (http.status == 0) return failed("The sign-in server did not answer: " + http.failure);
    const TokenReply reply = ReadTokenReply(http.status, http.body);
    if (!reply.ok()) return failed(refusal(reply.error));
    const std::string key = RefreshTokenKey(account);
    Result result = keep(key, reply.accessToken, reply.expiresInSeconds);
    if (reply.refreshToken.empty() || m_secrets.write(key, reply.refreshToken) != SecretStore::Outcome::Done)
        result.message = "The sign-in is not kept: the next check after this token expires asks for it again";
    return result;
}

OAuthTokens::Result OAuthTokens::keep(const std::string& key, const std::string& accessToken,
                                      std::int64_t expiresInSeconds) {
    const std::int64_t lifetime =
        expiresInSeconds > 0 ? std::min(expiresInSeconds, kLongestLifetimeSeconds) : kAssumedLifetimeSeconds;
    m_cache[key] = {accessToken, m_clock.tickMs() + static_cast<std::uint64_t>(lifetime) * 1000};
    return {Outcome::Ready, accessToken, {}};
}

}  // namespace qlt

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/OAuthClient.h"

namespace qlt {

// Proof Key for Code Exchange (RFC 7636, S256): the verifier stays here,
// the challenge goes into the authorization URL.
struct Pkce {
    std::string verifier;
    std::string challenge;
};
Pkce MakePkce();
std::string PkceChallenge(std::string_view verifier);
// 16 random bytes, base64url: ties the redirect to the request that asked for it.
std::string RandomState();

using FormFields = std::vector<std::pair<std::string, std::string>>;
// application/x-www-form-urlencoded, as a URL query takes it too.
std::string FormEncode(const FormFields& fields);

std::string AuthorizationUrl(const OAuthEndpoints& endpoints, const OAuthClient& client,
                             const std::string& redirectUri, const std::string& state, const Pkce& pkce,
                             const std::string& loginHint);
std::string CodeRequestBody(const OAuthClient& client, const std::string& code,
                            const std::string& redirectUri, const Pkce& pkce);
std::string RefreshRequestBody(const OAuthClient& client, const std::string& refreshToken);

// The token endpoint's answer (RFC 6749 5.1 and 5.2), from untrusted text.
struct TokenReply {
    std::string accessToken;
    std::string refreshToken;  // empty: the old one stays good
    std::int64_t expiresInSeconds = 0;
    std::string error;  // the provider's error code, or why the answer could not be read
    bool ok() const { return error.empty(); }
};
TokenReply ReadTokenReply(int status, std::string_view body);

}  // namespace qlt

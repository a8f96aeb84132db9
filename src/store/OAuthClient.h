#pragma once

#include <string>

#include "base/AccountRecord.h"
#include "store/Profile.h"

namespace qlt {

// What an OAuth2 account needs besides its record: the client the user
// registered with the provider and, for a custom provider, its endpoints.
// The texts are longer than the record's reserved bytes could hold, so they
// are kept in the profile under names made of the account's server, port and
// user name, like its secrets ("OAuth2/ClientId/pop.example.org:995/ann").
struct OAuthClient {
    std::string clientId;
    std::string clientSecret;           // empty where the provider requires none
    std::string authorizationEndpoint;  // read only for a custom provider
    std::string tokenEndpoint;          // read only for a custom provider

    friend bool operator==(const OAuthClient&, const OAuthClient&) = default;
};

// Where to send the user and where to fetch tokens, and the scope to ask for.
struct OAuthEndpoints {
    std::string authorization;
    std::string token;
    std::string scope;
};

// "Google", "Microsoft", "Custom"; "Unknown" for a value no version wrote.
const char* OAuthProviderName(std::uint8_t provider);

// The provider's endpoints and POP scope; a custom provider's endpoints come
// from the client, and it is asked for no scope.
OAuthEndpoints EndpointsFor(std::uint8_t provider, const OAuthClient& client);

OAuthClient LoadOAuthClient(const Profile& profile, const AccountRecord& account);
// Missing values read as empty, so saving empty texts forgets them.
bool SaveOAuthClient(Profile& profile, const AccountRecord& account, const OAuthClient& client);

}  // namespace qlt

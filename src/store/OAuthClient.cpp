#include "store/OAuthClient.h"

#include <array>

namespace qlt {

namespace {

constexpr std::array<std::string OAuthClient::*, 4> kFields = {
    &OAuthClient::clientId, &OAuthClient::clientSecret, &OAuthClient::authorizationEndpoint,
    &OAuthClient::tokenEndpoint};
constexpr std::array<const char*, 4> kFieldNames = {"ClientId", "ClientSecret", "AuthorizationEndpoint",
                                                    "TokenEndpoint"};

std::string valueName(const char* field, const AccountRecord& account) {
    return std::string("OAuth2/") + field + "/" + account.server.str() + ":" + std::to_string(account.port) +
           "/" + account.userName.str();
}

}  // namespace

const char* OAuthProviderName(std::uint8_t provider) {
    switch (provider) {
        case kOAuthGoogle:
            return "Google";
        case kOAuthMicrosoft:
            return "Microsoft";
        case kOAuthCustom:
            return "Custom";
        default:
            return "Unknown";
    }
}

OAuthEndpoints EndpointsFor(std::uint8_t provider, const OAuthClient& client) {
    switch (provider) {
        case kOAuthGoogle:
            return {"https://accounts.google.com/o/oauth2/v2/auth", "https://oauth2.googleapis.com/token",
                    "https://mail.google.com/"};
        case kOAuthMicrosoft:
            return {"https://login.microsoftonline.com/common/oauth2/v2.0/authorize",
                    "https://login.microsoftonline.com/common/oauth2/v2.0/token",
                    "https://outlook.office.com/POP.AccessAsUser.All offline_access"};
        default:
            return {client.authorizationEndpoint, client.tokenEndpoint, ""};
    }
}

OAuthClient LoadOAuthClient(const Profile& profile, const AccountRecord& account) {
    OAuthClient client;
    for (std::size_t i = 0; i < kFields.size(); ++i)
        client.*kFields[i] = profile.readText(valueName(kFieldNames[i], account)).value_or(std::string());
    return client;
}

bool SaveOAuthClient(Profile& profile, const AccountRecord& account, const OAuthClient& client) {
    bool written = true;
    for (std::size_t i = 0; i < kFields.size(); ++i)
        written = profile.writeText(valueName(kFieldNames[i], account), client.*kFields[i]) && written;
    return written;
}

}  // namespace qlt

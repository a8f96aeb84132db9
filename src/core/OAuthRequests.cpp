#include "core/OAuthRequests.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <array>

#include "base/AsciiText.h"
#include "base/Json.h"
#include "pop3/SaslOAuth.h"

namespace qlt {

namespace {

constexpr std::size_t kMaxShownError = 200;

std::string base64Url(std::string_view bytes) {
    std::string text = EncodeBase64(bytes);
    while (!text.empty() && text.back() == '=') text.pop_back();
    for (char& c : text) c = c == '+' ? '-' : c == '/' ? '_' : c;
    return text;
}

std::string randomBase64Url(std::size_t count) {
    std::string bytes(count, '\0');
    // Without randomness there is no safe sign-in; this happens only on a broken system.
    if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1) return {};
    return base64Url(bytes);
}

bool isUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::string percentEncode(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (isUnreserved(c)) {
            out += c;
        } else {
            out += '%';
            appendHexByte(out, static_cast<unsigned char>(c));
        }
    }
    return out;
}

void addSecret(FormFields& fields, const OAuthClient& client) {
    if (!client.clientSecret.empty()) fields.emplace_back("client_secret", client.clientSecret);
}

std::string textOf(const JsonFlatObject& object, std::string_view key) {
    const auto it = object.find(key);
    if (it == object.end() || it->second.isList) return {};
    const auto* text = std::get_if<std::string>(&it->second.scalar);
    return text ? *text : std::string();
}

std::int64_t numberOf(const JsonFlatObject& object, std::string_view key) {
    const auto it = object.find(key);
    if (it == object.end() || it->second.isList) return 0;
    const auto* number = std::get_if<std::int64_t>(&it->second.scalar);
    return number ? *number : 0;
}

}  // namespace

std::string PkceChallenge(std::string_view verifier) {
    std::array<unsigned char, SHA256_DIGEST_LENGTH> digest{};
    SHA256(reinterpret_cast<const unsigned char*>(verifier.data()), verifier.size(), digest.data());
    return base64Url(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

Pkce MakePkce() {
    Pkce pkce;
    pkce.verifier = randomBase64Url(32);
    pkce.challenge = PkceChallenge(pkce.verifier);
    return pkce;
}

std::string RandomState() {
    return randomBase64Url(16);
}

std::string FormEncode(const FormFields& fields) {
    std::string out;
    for (const auto& [name, value] : fields) {
        if (!out.empty()) out += '&';
        out += percentEncode(name) + "=" + percentEncode(value);
    }
    return out;
}

std::string AuthorizationUrl(const OAuthEndpoints& endpoints, const OAuthClient& client,
                             const std::string& redirectUri, const std::string& state, const Pkce& pkce,
                             const std::string& loginHint) {
    FormFields fields = {{"response_type", "code"},          {"client_id", client.clientId},
                         {"redirect_uri", redirectUri},      {"state", state},
                         {"code_challenge", pkce.challenge}, {"code_challenge_method", "S256"}};
    if (!endpoints.scope.empty()) fields.emplace_back("scope", endpoints.scope);
    if (!loginHint.empty()) fields.emplace_back("login_hint", loginHint);
    const char joint = endpoints.authorization.find('?') == std::string::npos ? '?' : '&';
    return endpoints.authorization + joint + FormEncode(fields);
}

std::string CodeRequestBody(const OAuthClient& client, const std::string& code,
                            const std::string& redirectUri, const Pkce& pkce) {
    FormFields fields = {{"grant_type", "authorization_code"},
                         {"code", code},
                         {"redirect_uri", redirectUri},
                         {"client_id", client.clientId},
                         {"code_verifier", pkce.verifier}};
    addSecret(fields, client);
    return FormEncode(fields);
}

std::string RefreshRequestBody(const OAuthClient& client, const std::string& refreshToken) {
    FormFields fields = {
        {"grant_type", "refresh_token"}, {"refresh_token", refreshToken}, {"client_id", client.clientId}};
    addSecret(fields, client);
    return FormEncode(fields);
}

TokenReply ReadTokenReply(int status, std::string_view body) {
    TokenReply reply;
    const std::optional<JsonFlatObject> object = readJsonFlatObject(body);
    if (!object) {
        reply.error = "the token endpoint answered HTTP " + std::to_string(status) + " without a token";
        return reply;
    }
    if (status != 200) {
        std::string code = textOf(*object, "error").substr(0, kMaxShownError);
        // An error code is a token of its own; anything else in it is not shown.
        std::erase_if(code, [](char c) { return !isUnreserved(c); });
        reply.error = code.empty() ? "HTTP " + std::to_string(status) : code;
        return reply;
    }
    reply.accessToken = textOf(*object, "access_token");
    reply.refreshToken = textOf(*object, "refresh_token");
    reply.expiresInSeconds = numberOf(*object, "expires_in");
    if (!IsBearerToken(reply.accessToken)) reply.error = "the token endpoint gave no usable access token";
    return reply;
}

}  // namespace qlt

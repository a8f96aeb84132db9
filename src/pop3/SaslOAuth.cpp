#include "pop3/SaslOAuth.h"

#include <openssl/evp.h>

#include <algorithm>

#include "base/AsciiText.h"

namespace qlt {

namespace {

bool isAnnounced(const std::vector<std::string>& announced, std::string_view name) {
    return std::any_of(announced.begin(), announced.end(),
                       [name](const std::string& m) { return equalsIgnoringCase(m, name); });
}

// RFC 5801's saslname: "," and "=" are escaped in the authorization identity.
std::string saslName(std::string_view userName) {
    std::string out;
    for (const char c : userName) {
        if (c == ',')
            out += "=2C";
        else if (c == '=')
            out += "=3D";
        else
            out += c;
    }
    return out;
}

bool isTokenChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '+' || c == '/';
}

}  // namespace

SaslMechanism ChooseOAuthMechanism(const std::vector<std::string>& announced) {
    if (isAnnounced(announced, "OAUTHBEARER")) return SaslMechanism::OAuthBearer;
    if (isAnnounced(announced, "XOAUTH2")) return SaslMechanism::XOAuth2;
    return SaslMechanism::None;
}

const char* MechanismName(SaslMechanism mechanism) {
    switch (mechanism) {
        case SaslMechanism::OAuthBearer:
            return "OAUTHBEARER";
        case SaslMechanism::XOAuth2:
            return "XOAUTH2";
        case SaslMechanism::None:
            break;
    }
    return "";
}

std::string OAuthResponse(SaslMechanism mechanism, std::string_view userName, std::string_view server,
                          unsigned port, std::string_view token) {
    const std::string bearer = "auth=Bearer " + std::string(token);
    if (mechanism == SaslMechanism::XOAuth2)
        return "user=" + std::string(userName) + "\x01" + bearer + "\x01\x01";
    return "n,a=" + saslName(userName) + ",\x01host=" + std::string(server) +
           "\x01port=" + std::to_string(port) + "\x01" + bearer + "\x01\x01";
}

std::string_view DummyResponse(SaslMechanism mechanism) {
    return mechanism == SaslMechanism::OAuthBearer ? "AQ==" : "";
}

bool IsBearerToken(std::string_view token) {
    const std::size_t end = token.find_last_not_of('=');
    if (end == std::string_view::npos) return false;
    return std::all_of(token.begin(), token.begin() + static_cast<std::ptrdiff_t>(end) + 1, isTokenChar);
}

std::string EncodeBase64(std::string_view bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string StrictBase64Decode(std::string_view text) {
    text = trimWhiteSpace(text);
    if (text.empty() || text.size() % 4 != 0) return {};
    std::string out(text.size() / 4 * 3, '\0');
    const int length =
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (length < 0) return {};
    // The decoder counts the padding as zero bytes.
    const std::size_t padding = text.size() - text.find_last_not_of('=') - 1;
    out.resize(static_cast<std::size_t>(length) - std::min<std::size_t>(padding, 2));
    return out;
}

}  // namespace qlt

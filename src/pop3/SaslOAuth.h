#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qlt {

// The two SASL mechanisms that carry an OAuth2 bearer token (RFC 7628's
// OAUTHBEARER and the older XOAUTH2), as the POP3 client uses them in AUTH.
enum class SaslMechanism { None, OAuthBearer, XOAuth2 };

// The mechanism to use of those CAPA's SASL line announced (any case):
// OAUTHBEARER, the standard one, before XOAUTH2; None when neither is there.
SaslMechanism ChooseOAuthMechanism(const std::vector<std::string>& announced);

const char* MechanismName(SaslMechanism mechanism);

// The client's first response, before base64: the user name, the server
// and the token in the mechanism's framing.
std::string OAuthResponse(SaslMechanism mechanism, std::string_view userName, std::string_view server,
                          unsigned port, std::string_view token);

// What answers the server's error challenge so that it sends its -ERR
// (base64 form): a lone ^A for OAUTHBEARER, an empty line for XOAUTH2.
std::string_view DummyResponse(SaslMechanism mechanism);

// RFC 6750's b64token: a token with anything else in it would break the
// framing of the response.
bool IsBearerToken(std::string_view token);

std::string EncodeBase64(std::string_view bytes);
// Empty when the text is not wholly base64 (the decoder for mail bodies
// skips what it does not know); spaces and line ends around it are ignored.
std::string StrictBase64Decode(std::string_view text);

}  // namespace qlt

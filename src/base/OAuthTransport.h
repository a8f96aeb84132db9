#pragma once

#include <string>

namespace qlt {

// The HTTP side of OAuth2 sign-in, done by the desktop: form posts to the
// provider's token endpoint and the user's sign-in in the browser with a
// redirect back to a listener on 127.0.0.1. Every wait has a time-out.
class OAuthTransport {
  public:
    struct Reply {
        int status = 0;       // HTTP status; 0 when no answer came
        std::string body;     // untrusted
        std::string failure;  // why no answer came
    };
    // What the browser brought back to the redirect: the query's code,
    // state and error (untrusted), or why nothing came.
    struct Redirect {
        std::string code;
        std::string state;
        std::string error;
        std::string failure;
    };

    virtual ~OAuthTransport() = default;

    virtual Reply postForm(const std::string& url, const std::string& body) = 0;
    // Listens on a free port of 127.0.0.1; the redirect URI to give the
    // provider, or empty when no port could be had.
    virtual std::string startRedirectListener() = 0;
    // Opens the URL in the browser and waits for the one redirect request.
    virtual Redirect awaitRedirect(const std::string& authorizationUrl) = 0;
};

}  // namespace qlt

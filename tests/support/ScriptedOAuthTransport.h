#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/OAuthTransport.h"

namespace qlt::test {

// The provider's side: replies queued in advance, requests recorded; the
// browser signs in by echoing the state of the URL it was shown.
class ScriptedOAuthTransport final : public OAuthTransport {
  public:
    Reply postForm(const std::string& url, const std::string& body) override {
        posts.push_back(url + " " + body);
        Reply r = replies.empty() ? Reply{0, {}, "no reply scripted"} : replies.front();
        if (!replies.empty()) replies.pop_front();
        return r;
    }
    std::string startRedirectListener() override { return "http://127.0.0.1:4711/"; }
    Redirect awaitRedirect(const std::string& url) override {
        shownUrl = url;
        const std::size_t at = url.find("state=") + 6;
        Redirect r = browser;
        if (r.state.empty()) r.state = url.substr(at, url.find('&', at) - at);
        return r;
    }

    std::deque<Reply> replies;
    std::vector<std::string> posts;
    std::string shownUrl;
    Redirect browser{"code-1", {}, {}, {}};
};

// A token endpoint's answer granting these tokens; no refresh token when empty.
inline OAuthTransport::Reply tokenReply(const std::string& access, const std::string& refresh,
                                        int expiresIn) {
    std::string body = R"({"access_token":")" + access + R"(","token_type":"Bearer","expires_in":)" +
                       std::to_string(expiresIn);
    if (!refresh.empty()) body += R"(,"refresh_token":")" + refresh + "\"";
    return {200, body + "}", {}};
}

}  // namespace qlt::test

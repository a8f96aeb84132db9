#pragma once

#include <set>
#include <string>

#include "base/AccountRecord.h"
#include "core/OAuthTokens.h"
#include "pop3/Pop3Client.h"
#include "store/Profile.h"

namespace qlt {

// Hands the POP3 client the access token of an account that signs in with
// OAuth2 before its login, and a fresh one once after the server refused it.
// Only a command of the user's may open the browser; a check that may not
// marks the account "sign in needed" instead.
class OAuthLogin {
  public:
    OAuthLogin(OAuthTokens& tokens, const Profile& profile) : m_tokens(tokens), m_profile(profile) {}

    // Whether the logins from now on may ask the user to sign in.
    void setInteractive(bool interactive) { m_interactive = interactive; }

    // False when no token could be had; client.m_strError says why.
    bool prepare(Pop3Client& client, const AccountRecord& account);
    // After the server refused the token: a refreshed one, if one is given.
    bool renew(Pop3Client& client, const AccountRecord& account);

    bool signInNeeded(const AccountRecord& account) const;
    // The first account still waiting for a sign-in, empty when none.
    std::string firstSignInNeeded() const { return m_needed.empty() ? std::string() : *m_needed.begin(); }

  private:
    bool give(Pop3Client& client, const AccountRecord& account, const OAuthTokens::Result& result);

    OAuthTokens& m_tokens;
    const Profile& m_profile;
    bool m_interactive = false;
    std::set<std::string> m_needed;  // account names
};

}  // namespace qlt

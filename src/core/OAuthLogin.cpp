#include "core/OAuthLogin.h"

#include "store/OAuthClient.h"

namespace qlt {

bool OAuthLogin::prepare(Pop3Client& client, const AccountRecord& account) {
    const OAuthClient settings = LoadOAuthClient(m_profile, account);
    OAuthTokens::Result result = m_tokens.accessToken(account, settings, false);
    if (result.outcome == OAuthTokens::Outcome::SignInNeeded && m_interactive)
        result = m_tokens.signIn(account, settings);
    return give(client, account, result);
}

bool OAuthLogin::renew(Pop3Client& client, const AccountRecord& account) {
    return give(client, account, m_tokens.accessToken(account, LoadOAuthClient(m_profile, account), true));
}

bool OAuthLogin::give(Pop3Client& client, const AccountRecord& account, const OAuthTokens::Result& result) {
    const std::string name = account.accountName.str();
    if (result.outcome == OAuthTokens::Outcome::SignInNeeded) m_needed.insert(name);
    if (result.outcome != OAuthTokens::Outcome::Ready) {
        client.m_strError = "ERROR: " + result.message + "\r\n";
        return false;
    }
    m_needed.erase(name);
    client.setBearerToken(result.token);
    return true;
}

bool OAuthLogin::signInNeeded(const AccountRecord& account) const {
    return m_needed.contains(account.accountName.str());
}

}  // namespace qlt

#include "core/ConnectionTrust.h"

#include <utility>

#include "pop3/CertificateCheck.h"
#include "pop3/LoopbackHost.h"
#include "store/ConnectionSecurity.h"

namespace qlt {

namespace {

// The name the user knows the account by.
std::string shownName(const AccountRecord& account) {
    return account.accountName.empty() ? account.userName.str() + "@" + account.server.str()
                                       : account.accountName.str();
}

}  // namespace

ConnectionTrust::ConnectionTrust(UiPort& ui) : ConnectionTrust(ui, resolvesToLoopbackOnly) {}

ConnectionTrust::ConnectionTrust(UiPort& ui, LoopbackTest isLoopback)
    : m_ui(ui), m_isLoopback(std::move(isLoopback)) {}

std::string PlainTextWarningText(const AccountRecord& account) {
    return "The account \"" + shownName(account) + "\" logs in to " + account.server.str() +
           "\nwithout encryption: the password and the mail can be read\n"
           "by anyone on the way.\n\n"
           "If the server offers it, choose TLS or STLS for this account.\n"
           "This warning is shown only once for the account.\n\n"
           "Log in anyway?\n";
}

TrustedLogin ConnectionTrust::connect(Pop3Client& client, AccountRecord& login) {
    TrustedLogin result;
    // The cheap test first: a name lookup only for an account still to be warned.
    if (NeedsPlainTextWarning(login, false) &&
        NeedsPlainTextWarning(login, m_isLoopback(login.server.str()))) {
        if (!warnPlainText(client, login)) return result;
        result.accountChanged = true;
    }
    result.connected = this->login(client, login);
    if (!result.connected && askToTrust(client, login)) {
        result.accountChanged = true;
        result.connected = this->login(client, login);
    }
    return result;
}

bool ConnectionTrust::login(Pop3Client& client, AccountRecord& login) {
    if (login.signIn != kSignInOAuth2) return client.Connect(login);
    if (m_oauth == nullptr) {
        client.m_strError = kNoOAuthHere;
        return false;
    }
    if (!m_oauth->prepare(client, login)) return false;
    if (client.Connect(login)) return true;
    if (!client.SignInRefused()) return false;
    // The token may have been revoked or expired early: one fresh one.
    client.Close();
    const std::string refusal = client.m_strError;
    if (!m_oauth->renew(client, login)) {
        client.m_strError = refusal + client.m_strError;
        return false;
    }
    return client.Connect(login);
}

bool ConnectionTrust::warnPlainText(Pop3Client& client, AccountRecord& login) {
    const BoxAnswer answer =
        m_ui.messageBox(kPlainTextTitle, PlainTextWarningText(login), BoxIcon::Warning, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes) {
        client.m_strError = kPlainTextDeclined;
        return false;
    }
    login.plainTextWarned = 1;
    return true;
}

bool ConnectionTrust::askToTrust(const Pop3Client& client, AccountRecord& login) {
    const CertificateCheck& check = client.certificateCheck();
    // Only a certificate that was shown and refused can be pinned.
    if (check.problem == CertificateProblem::None || check.problem == CertificateProblem::NoCertificate ||
        check.pinned)
        return false;
    std::string reason =
        "The server's certificate is not trusted: " + certificateReasonText(check, login.server.str()) + ".";
    if (HasPinnedCertificate(login)) reason += "\nIt is not the certificate trusted for this account before.";
    if (!m_ui.askTrustCertificate(shownName(login), reason, fingerprintText(check.fingerprint))) return false;
    login.pinnedCertificate = check.fingerprint;
    return true;
}

void KeepTrust(AccountRecord& stored, const AccountRecord& login) {
    stored.pinnedCertificate = login.pinnedCertificate;
    stored.plainTextWarned = login.plainTextWarned;
}

}  // namespace qlt

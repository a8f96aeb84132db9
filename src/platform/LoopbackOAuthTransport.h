#pragma once

#include <QNetworkAccessManager>
#include <QTcpServer>

#include "base/OAuthTransport.h"
#include "base/ProgramLauncher.h"

namespace qlt {

// OAuth2's HTTP side on Qt: form posts with QNetworkAccessManager, and the
// browser's redirect caught by a listener on 127.0.0.1 on a free port
// (RFC 8252). The browser is started through the program launcher
// ("xdg-open URL"). Each call waits in a local event loop up to its time-out.
class LoopbackOAuthTransport final : public OAuthTransport {
  public:
    static constexpr int kRequestTimeoutMs = 30 * 1000;
    // The user may take a while to sign in, but not for ever.
    static constexpr int kSignInTimeoutMs = 5 * 60 * 1000;
    // The one request the redirect brings: its head is small.
    static constexpr qint64 kMaxRedirectRequest = 16 * 1024;
    // How often the connections to the listener are looked at.
    static constexpr int kPollMs = 20;

    explicit LoopbackOAuthTransport(ProgramLauncher& launcher, int requestTimeoutMs = kRequestTimeoutMs,
                                    int signInTimeoutMs = kSignInTimeoutMs)
        : m_launcher(launcher), m_requestTimeoutMs(requestTimeoutMs), m_signInTimeoutMs(signInTimeoutMs) {}

    Reply postForm(const std::string& url, const std::string& body) override;
    std::string startRedirectListener() override;
    Redirect awaitRedirect(const std::string& authorizationUrl) override;

  private:
    ProgramLauncher& m_launcher;
    int m_requestTimeoutMs;
    int m_signInTimeoutMs;
    QNetworkAccessManager m_network;
    QTcpServer m_listener;
};

}  // namespace qlt

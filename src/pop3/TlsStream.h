#pragma once

#include <memory>
#include <string>

#include "base/Clock.h"
#include "pop3/ByteStream.h"
#include "pop3/CertificateCheck.h"
#include "pop3/Deadline.h"

struct ssl_st;
struct ssl_ctx_st;

namespace qlt {

// What the client trusts for one connection.
struct TlsSettings {
    // Checked against the certificate; sent as the server name (SNI) unless
    // it is a numeric address.
    std::string host;
    // Certificates (PEM) to trust instead of the system's store; empty: the system's store.
    std::string caFile;
    // A certificate trusted whatever verification says; all zero: none.
    CertificateFingerprint pinned{};
};

enum class TlsOutcome {
    Secured,
    SocketFailed,     // time-out or connection failure: lastError() says which
    HandshakeFailed,  // no TLS agreed: failure() says why
    Untrusted,        // the certificate failed verification and is not pinned
};

// TLS over another byte stream. OpenSSL works on memory buffers only; every
// byte to or from the server goes through the inner stream, so waits,
// deadlines and repainting are exactly those of the plain socket.
//
// The stream is not encrypted until secure() succeeds: connect() only opens
// the connection underneath, and STLS secures a connection that has already
// talked in clear text.
class TlsStream final : public ByteStream {
  public:
    TlsStream(std::unique_ptr<ByteStream> inner, TlsSettings settings, const Clock& clock);
    ~TlsStream() override;
    TlsStream(const TlsStream&) = delete;
    TlsStream& operator=(const TlsStream&) = delete;

    // Runs the handshake within timeoutMs (0: no limit) and judges the
    // server's certificate. On any outcome but Secured the stream is closed.
    TlsOutcome secure(int timeoutMs);

    ConnectResult connect(const std::string& host, unsigned port, int timeoutMs) override;
    long send(std::string_view data, int timeoutMs) override;
    long receive(char* buffer, std::size_t capacity, int timeoutMs) override;
    void close() override;
    bool isOpen() const override { return m_inner && m_inner->isOpen(); }
    int lastError() const override { return m_error; }

    const CertificateCheck& certificate() const { return m_certificate; }
    const std::string& failure() const { return m_failure; }

    // A close_notify gets at most this long to leave; the server is not waited for.
    static constexpr int kCloseNotifyMs = 500;

  private:
    enum class Input { Data, Closed, Failed };

    bool setUp();
    bool checkCertificate();
    // Repeats one OpenSSL call until it completes, feeding it from the inner
    // stream and sending what it produced. Returns its result, 0 when the
    // server closed the connection, -1 on failure with m_error set.
    template <class Call>
    int drive(Call call, const Deadline& deadline);
    bool flushOutput(const Deadline& deadline);
    Input fillInput(const Deadline& deadline);
    bool remainingMs(const Deadline& deadline, int& ms);
    bool tlsFailure(const char* fallback);
    void release();

    std::unique_ptr<ByteStream> m_inner;
    TlsSettings m_settings;
    const Clock& m_clock;
    ssl_ctx_st* m_context = nullptr;
    ssl_st* m_ssl = nullptr;
    bool m_secured = false;
    int m_error = 0;
    std::string m_failure;
    CertificateCheck m_certificate;
};

}  // namespace qlt

#include "pop3/TlsStream.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <algorithm>
#include <array>
#include <climits>

#include "pop3/SocketErrors.h"

namespace qlt {

namespace {

// TLS records are at most 16 KiB plus their framing.
constexpr std::size_t kInputChunk = 17 * 1024;

bool isNumericAddress(const std::string& host) {
    std::array<unsigned char, 16> address{};
    return inet_pton(AF_INET, host.c_str(), address.data()) == 1 ||
           inet_pton(AF_INET6, host.c_str(), address.data()) == 1;
}

struct X509Deleter {
    void operator()(X509* certificate) const { X509_free(certificate); }
};

}  // namespace

TlsStream::TlsStream(std::unique_ptr<ByteStream> inner, TlsSettings settings, const Clock& clock)
    : m_inner(std::move(inner)), m_settings(std::move(settings)), m_clock(clock) {}

TlsStream::~TlsStream() {
    close();
}

ConnectResult TlsStream::connect(const std::string& host, unsigned port, int timeoutMs) {
    release();
    const ConnectResult result = m_inner->connect(host, port, timeoutMs);
    m_error = m_inner->lastError();
    return result;
}

bool TlsStream::tlsFailure(const char* fallback) {
    const unsigned long code = ERR_peek_last_error();
    const char* reason = code != 0 ? ERR_reason_error_string(code) : nullptr;
    m_failure = reason != nullptr ? reason : fallback;
    ERR_clear_error();
    m_error = kSockConnectionAborted;
    return false;
}

bool TlsStream::setUp() {
    m_context = SSL_CTX_new(TLS_client_method());
    if (m_context == nullptr) return tlsFailure("no TLS context");
    SSL_CTX_set_min_proto_version(m_context, TLS1_2_VERSION);
    // Verification is judged after the handshake, so that a refused
    // certificate can still be shown to the user with its fingerprint.
    SSL_CTX_set_verify(m_context, SSL_VERIFY_NONE, nullptr);
    const bool trustLoaded =
        m_settings.caFile.empty()
            ? SSL_CTX_set_default_verify_paths(m_context) == 1
            : SSL_CTX_load_verify_locations(m_context, m_settings.caFile.c_str(), nullptr) == 1;
    if (!trustLoaded) {
        ERR_clear_error();
        m_failure = "the trusted certificates could not be read from \"" + m_settings.caFile + "\"";
        m_error = kSockConnectionAborted;
        return false;
    }
    m_ssl = SSL_new(m_context);
    BIO* input = BIO_new(BIO_s_mem());
    BIO* output = BIO_new(BIO_s_mem());
    if (m_ssl == nullptr || input == nullptr || output == nullptr) {
        BIO_free(input);
        BIO_free(output);
        return tlsFailure("out of memory");
    }
    // An empty input buffer means "wait for the server", not end of stream.
    BIO_set_mem_eof_return(input, -1);
    SSL_set_bio(m_ssl, input, output);
    const char* host = m_settings.host.c_str();
    const bool named = isNumericAddress(m_settings.host)
                           ? X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), host) == 1
                           : SSL_set_tlsext_host_name(m_ssl, host) == 1 && SSL_set1_host(m_ssl, host) == 1;
    if (!named) return tlsFailure("the server name cannot be checked");
    SSL_set_connect_state(m_ssl);
    return true;
}

TlsOutcome TlsStream::secure(int timeoutMs) {
    release();
    m_failure.clear();
    m_certificate = {};
    const Deadline deadline(m_clock, timeoutMs);
    if (!isOpen()) {
        m_error = kSockNotSocket;
        return TlsOutcome::SocketFailed;
    }
    TlsOutcome outcome = TlsOutcome::Secured;
    if (!setUp()) {
        outcome = TlsOutcome::HandshakeFailed;
    } else if (const int result = drive([this] { return SSL_connect(m_ssl); }, deadline); result <= 0) {
        if (result == 0) tlsFailure("the server closed the connection");
        outcome = m_failure.empty() ? TlsOutcome::SocketFailed : TlsOutcome::HandshakeFailed;
    } else if (!checkCertificate()) {
        outcome = TlsOutcome::Untrusted;
    }
    m_secured = outcome == TlsOutcome::Secured;
    if (!m_secured) close();
    return outcome;
}

bool TlsStream::checkCertificate() {
    const std::unique_ptr<X509, X509Deleter> certificate(SSL_get1_peer_certificate(m_ssl));
    if (!certificate) {
        m_certificate.problem = CertificateProblem::NoCertificate;
        return false;
    }
    unsigned int length = 0;
    X509_digest(certificate.get(), EVP_sha256(), m_certificate.fingerprint.data(), &length);
    const long verifyResult = SSL_get_verify_result(m_ssl);
    m_certificate.problem = classifyVerifyResult(verifyResult);
    if (m_certificate.problem == CertificateProblem::None) return true;
    m_certificate.detail = X509_verify_cert_error_string(verifyResult);
    m_certificate.pinned =
        m_certificate.fingerprint == m_settings.pinned && m_settings.pinned != CertificateFingerprint{};
    return m_certificate.pinned;
}

template <class Call>
int TlsStream::drive(Call call, const Deadline& deadline) {
    for (;;) {
        ERR_clear_error();
        const int result = call();
        const int status = result > 0 ? SSL_ERROR_NONE : SSL_get_error(m_ssl, result);
        // What the call produced goes out first: the server may be waiting for it.
        if (!flushOutput(deadline)) return -1;
        if (status == SSL_ERROR_NONE) return result;
        if (status == SSL_ERROR_ZERO_RETURN) return 0;
        if (status != SSL_ERROR_WANT_READ) {
            tlsFailure("TLS protocol error");
            return -1;
        }
        switch (fillInput(deadline)) {
            case Input::Data:
                break;
            case Input::Closed:
                return 0;
            case Input::Failed:
                return -1;
        }
    }
}

bool TlsStream::remainingMs(const Deadline& deadline, int& ms) {
    // 0 asks the inner stream for no bound.
    ms = deadline.bounded() ? deadline.leftMs() : 0;
    if (!deadline.bounded() || ms > 0) return true;
    m_error = kSockTimedOut;
    return false;
}

bool TlsStream::flushOutput(const Deadline& deadline) {
    BIO* output = SSL_get_wbio(m_ssl);
    char* pending = nullptr;
    const long size = BIO_get_mem_data(output, &pending);
    if (size <= 0) return true;
    int ms = 0;
    if (!remainingMs(deadline, ms)) return false;
    if (m_inner->send(std::string_view(pending, static_cast<std::size_t>(size)), ms) < 0) {
        m_error = m_inner->lastError();
        return false;
    }
    (void)BIO_reset(output);
    return true;
}

TlsStream::Input TlsStream::fillInput(const Deadline& deadline) {
    int ms = 0;
    if (!remainingMs(deadline, ms)) return Input::Failed;
    std::array<char, kInputChunk> chunk;
    const long received = m_inner->receive(chunk.data(), chunk.size(), ms);
    if (received < 0) {
        m_error = m_inner->lastError();
        return Input::Failed;
    }
    if (received == 0) return Input::Closed;
    BIO_write(SSL_get_rbio(m_ssl), chunk.data(), static_cast<int>(received));
    return Input::Data;
}

long TlsStream::send(std::string_view data, int timeoutMs) {
    if (!m_secured) {
        m_error = kSockNotConnected;
        return -1;
    }
    const Deadline deadline(m_clock, timeoutMs);
    std::size_t sent = 0;
    while (sent < data.size()) {
        const int piece = static_cast<int>(std::min<std::size_t>(data.size() - sent, INT_MAX));
        const int result = drive([&] { return SSL_write(m_ssl, data.data() + sent, piece); }, deadline);
        if (result <= 0) {
            if (result == 0) m_error = kSockConnectionAborted;
            return -1;
        }
        sent += static_cast<std::size_t>(result);
    }
    m_error = 0;
    return static_cast<long>(sent);
}

long TlsStream::receive(char* buffer, std::size_t capacity, int timeoutMs) {
    if (!m_secured) {
        m_error = kSockNotConnected;
        return -1;
    }
    const Deadline deadline(m_clock, timeoutMs);
    const int wanted = static_cast<int>(std::min<std::size_t>(capacity, INT_MAX));
    const int result = drive([&] { return SSL_read(m_ssl, buffer, wanted); }, deadline);
    if (result < 0) return -1;
    m_error = 0;
    return result;
}

void TlsStream::close() {
    if (m_secured && m_inner && m_inner->isOpen()) {
        // Tells the server the session ended on purpose; nobody waits for its answer.
        SSL_shutdown(m_ssl);
        flushOutput(Deadline(m_clock, kCloseNotifyMs));
    }
    release();
    if (m_inner) m_inner->close();
}

void TlsStream::release() {
    m_secured = false;
    SSL_free(m_ssl);
    SSL_CTX_free(m_context);
    m_ssl = nullptr;
    m_context = nullptr;
}

}  // namespace qlt

#include "pop3/CSocketX.h"

#include <array>
#include <cstring>

#include "pop3/SocketErrors.h"
#include "pop3/WireLog.h"

namespace qlt {

ConnectResult CSocketX::Connect(const std::string& host, unsigned port, int timeoutMs) {
    Close();
    m_stream = m_factory();
    if (!m_stream) {
        m_lastError = kSockNoBuffers;
        return ConnectResult::NoSocket;
    }
    const ConnectResult result = m_stream->connect(host, port, timeoutMs);
    if (result != ConnectResult::Connected) m_lastError = m_stream->lastError();
    return result;
}

bool CSocketX::ready() {
    if (IsOpen()) return true;
    m_lastError = kSockNotSocket;
    return false;
}

long CSocketX::SendText(std::string_view text, int timeoutMs) {
    return SendSecret(text, text, timeoutMs);
}

long CSocketX::SendSecret(std::string_view text, std::string_view shown, int timeoutMs) {
    text = text.substr(0, text.find('\0'));
    if (!ready()) return -1;
    WireLog::clientSent(shown.substr(0, shown.find('\0')));
    if (timeoutMs > 0) StartTimer(timeoutMs);
    const long sent = m_stream->send(text, m_nTimerMs);
    if (timeoutMs > 0) StopTimer();
    if (sent < 0) m_lastError = m_stream->lastError();
    return sent;
}

long CSocketX::ReceiveChunk(std::string& text, int timeoutMs) {
    const long received = ReceiveBytes(text, timeoutMs);
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return received;
}

long CSocketX::ReceiveBytes(std::string& bytes, int timeoutMs) {
    bytes.clear();
    if (!ready()) return -1;
    std::array<char, kReceiveBufferSize> receiveBuffer;
    if (timeoutMs > 0) StartTimer(timeoutMs);
    const long received = m_stream->receive(receiveBuffer.data(), receiveBuffer.size(), m_nTimerMs);
    if (timeoutMs > 0) StopTimer();
    if (received < 0) {
        m_lastError = m_stream->lastError();
        return received;
    }
    bytes.assign(receiveBuffer.data(), static_cast<std::size_t>(received));
    WireLog::serverSent(bytes);
    return received;
}

TlsHandshake CSocketX::StartTls(const TlsSettings& settings, int timeoutMs) {
    if (!ready()) return {};
    auto tls = std::make_unique<TlsStream>(std::move(m_stream), settings, m_clock);
    if (timeoutMs > 0) StartTimer(timeoutMs);
    const TlsOutcome outcome = tls->secure(m_nTimerMs);
    if (timeoutMs > 0) StopTimer();
    TlsHandshake result{outcome, tls->certificate(), tls->failure()};
    if (outcome != TlsOutcome::Secured) m_lastError = tls->lastError();
    m_stream = std::move(tls);
    return result;
}

void CSocketX::Close() {
    if (m_stream) m_stream->close();
    m_stream.reset();
}

}  // namespace qlt

#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/Clock.h"
#include "pop3/ByteStream.h"
#include "pop3/TlsStream.h"

namespace qlt {

struct TlsHandshake {
    TlsOutcome outcome = TlsOutcome::SocketFailed;
    CertificateCheck certificate;
    std::string failure;  // why no TLS was agreed (HandshakeFailed)
};

// The one connection of the POP3 client. A receive takes at most 4096 bytes.
class CSocketX {
  public:
    using StreamFactory = std::function<std::unique_ptr<ByteStream>()>;

    static constexpr std::size_t kReceiveBufferSize = 4096;

    // The clock bounds the handshake of a secure connection.
    CSocketX(StreamFactory factory, const Clock& clock) : m_factory(std::move(factory)), m_clock(clock) {}

    // Where the next Connect gets its stream; a client inside a larger
    // object (the mail checker's) can so be put on another kind of stream.
    void useStreams(StreamFactory factory) { m_factory = std::move(factory); }

    // Opens a new stream (closing any open one) and connects it; timeoutMs 0
    // waits as long as the system lets it.
    ConnectResult Connect(const std::string& host, unsigned port, int timeoutMs);

    // Sends text up to its first NUL; returns the bytes sent or -1. A
    // time-out of 0 means none.
    long SendText(std::string_view text, int timeoutMs);
    // SendText for a line that carries a secret: the wire log gets `shown`
    // in its place.
    long SendSecret(std::string_view text, std::string_view shown, int timeoutMs);

    // One receive; text is what arrived, up to the
    // first NUL. Returns the count (0: the peer closed) or -1. A time-out of 0
    // means none.
    long ReceiveChunk(std::string& text, int timeoutMs);
    // The same receive, keeping every byte that came, NULs included.
    long ReceiveBytes(std::string& bytes, int timeoutMs);

    // Encrypts the open connection: at once for POP3S, after the server
    // agreed for STLS. Anything but Secured leaves the connection closed and
    // GetLastError() set. A time-out of 0 means none.
    TlsHandshake StartTls(const TlsSettings& settings, int timeoutMs);

    // Bound the next socket call: a call that outlives the bound fails with
    // socket error 10060 and nothing else is cancelled.
    void StartTimer(int ms) { m_nTimerMs = ms > 0 ? ms : 0; }
    void StopTimer() { m_nTimerMs = 0; }

    void Close();
    bool IsOpen() const { return m_stream && m_stream->isOpen(); }
    // The socket error number of the last failed call.
    int GetLastError() const { return m_lastError; }

  private:
    bool ready();

    StreamFactory m_factory;
    const Clock& m_clock;
    std::unique_ptr<ByteStream> m_stream;
    int m_nTimerMs = 0;
    int m_lastError = 0;
};

}  // namespace qlt

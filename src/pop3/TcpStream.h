#pragma once

#include <sys/socket.h>

#include <vector>

#include "base/Clock.h"
#include "base/UiPort.h"
#include "pop3/ByteStream.h"
#include "pop3/Deadline.h"

namespace qlt {

struct SocketAddress {
    int family = 0;
    sockaddr_storage address{};
    socklen_t length = 0;
};

// Plain TCP on a non-blocking POSIX socket. A call that has to wait polls in
// short slices and lets the window repaint between them, so a slow server
// never freezes the screen; the call's own deadline ends only that call.
class TcpStream final : public ByteStream {
  public:
    TcpStream(UiPort& ui, const Clock& clock) : m_ui(ui), m_clock(clock) {}
    ~TcpStream() override;
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;

    ConnectResult connect(const std::string& host, unsigned port, int timeoutMs) override;
    long send(std::string_view data, int timeoutMs) override;
    long receive(char* buffer, std::size_t capacity, int timeoutMs) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    int lastError() const override { return m_error; }

    static constexpr int kSliceMs = 25;
    // A host may resolve to several addresses, the first of them dead (an
    // IPv6 address without a route, say): each next one is tried this long
    // after the one before, while the earlier tries go on (RFC 8305).
    static constexpr int kNextAttemptMs = 250;

    // Connects to whichever of the addresses answers first, within the
    // time-out; what connect does once the host name is resolved.
    ConnectResult connectAny(const std::vector<SocketAddress>& addresses, int timeoutMs);

  private:
    // Waits until the socket is ready for events; false with m_error set on
    // time-out or a socket failure.
    bool waitFor(short events, const Deadline& deadline);
    // Starts a non-blocking connect; the socket, or with m_error set -1
    // (refused at once) or kNoSocket (no socket could be made).
    static constexpr int kNoSocket = -2;
    int startAttempt(const SocketAddress& address, bool& connected);
    // Waits a slice for one of the attempts to end; the socket that
    // connected, or -1. Failed attempts leave the list.
    int finishedAttempt(std::vector<int>& attempts, int waitMs);
    bool fail(int error);

    UiPort& m_ui;
    const Clock& m_clock;
    int m_fd = -1;
    int m_error = 0;
};

}  // namespace qlt

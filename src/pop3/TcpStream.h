#pragma once

#include <chrono>
#include <optional>

#include "base/UiPort.h"
#include "pop3/ByteStream.h"

struct addrinfo;

namespace qlt {

// Plain TCP on a non-blocking POSIX socket. A call that has to wait polls in
// short slices and lets the window repaint between them, so a slow server
// never freezes the screen; the call's own deadline ends only that call.
class TcpStream final : public ByteStream {
  public:
    explicit TcpStream(UiPort& ui) : m_ui(ui) {}
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

  private:
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;

    static Deadline deadlineAfter(int timeoutMs);
    // Waits until the socket is ready for events; false with m_error set on
    // time-out or a socket failure.
    bool waitFor(short events, const Deadline& deadline);
    ConnectResult connectTo(const addrinfo& address, const Deadline& deadline);
    bool fail(int error);

    UiPort& m_ui;
    int m_fd = -1;
    int m_error = 0;
};

}  // namespace qlt

#pragma once

#include <string>
#include <string_view>

#include "base/Clock.h"
#include "base/UiPort.h"
#include "pop3/TcpStream.h"

namespace qlt::test {

// A plain TCP stream that keeps what the client sent, to count commands.
class RecordingStream final : public ByteStream {
  public:
    RecordingStream(UiPort& ui, const Clock& clock, std::string& sent, int& writes)
        : m_tcp(ui, clock), m_sent(sent), m_writes(writes) {}
    ConnectResult connect(const std::string& host, unsigned port, int timeoutMs) override {
        return m_tcp.connect(host, port, timeoutMs);
    }
    long send(std::string_view data, int timeoutMs) override {
        m_sent.append(data);
        ++m_writes;
        return m_tcp.send(data, timeoutMs);
    }
    long receive(char* buffer, std::size_t capacity, int timeoutMs) override {
        return m_tcp.receive(buffer, capacity, timeoutMs);
    }
    void close() override { m_tcp.close(); }
    bool isOpen() const override { return m_tcp.isOpen(); }
    int lastError() const override { return m_tcp.lastError(); }

  private:
    TcpStream m_tcp;
    std::string& m_sent;
    int& m_writes;
};

}  // namespace qlt::test

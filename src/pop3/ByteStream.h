#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qlt {

enum class ConnectResult { Connected, NoSocket, Failed };

// A connected byte stream with a deadline on every call. The POP3 code talks
// only to this, so an encrypted stream can take the plain socket's place.
//
// Time-outs are in milliseconds; 0 means wait without limit. Failures report
// a socket error number in the Winsock numbering (see SocketErrors.h), which
// lastError() keeps until the next call.
class ByteStream {
  public:
    virtual ~ByteStream() = default;

    virtual ConnectResult connect(const std::string& host, unsigned port, int timeoutMs) = 0;
    // Sends all of data; returns its length, or -1 when the call failed or timed out.
    virtual long send(std::string_view data, int timeoutMs) = 0;
    // One receive of at most capacity bytes; returns the count, 0 when the
    // peer closed the connection, -1 on failure or time-out.
    virtual long receive(char* buffer, std::size_t capacity, int timeoutMs) = 0;
    // Safe to call on a closed stream.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual int lastError() const = 0;
};

}  // namespace qlt

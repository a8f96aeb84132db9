#include "pop3/TcpStream.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "pop3/SocketErrors.h"

namespace qlt {

namespace {

struct AddrInfoDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

int pendingSocketError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
}

}  // namespace

TcpStream::~TcpStream() {
    close();
}

bool TcpStream::fail(int error) {
    m_error = error;
    return false;
}

bool TcpStream::waitFor(short events, const Deadline& deadline) {
    if (m_fd < 0) return fail(kSockNotSocket);
    for (;;) {
        pollfd entry{m_fd, events, 0};
        const int ready = poll(&entry, 1, deadline.leftMs(kSliceMs));
        if (ready > 0) {
            if ((entry.revents & POLLNVAL) != 0) return fail(kSockNotSocket);
            // An error or hang-up is reported by the next socket call itself.
            return true;
        }
        if (ready < 0 && errno != EINTR) return fail(socketErrorFromErrno(errno));
        if (deadline.passed()) return fail(kSockTimedOut);
        m_ui.pumpPaint();
    }
}

ConnectResult TcpStream::connect(const std::string& host, unsigned port, int timeoutMs) {
    close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    const int gai = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (gai != 0) {
        m_error = socketErrorFromResolver(gai);
        return ConnectResult::Failed;
    }
    const std::unique_ptr<addrinfo, AddrInfoDeleter> list(found);
    std::vector<SocketAddress> addresses;
    for (const addrinfo* a = list.get(); a != nullptr; a = a->ai_next) {
        SocketAddress address;
        address.family = a->ai_family;
        address.length = std::min<socklen_t>(a->ai_addrlen, sizeof address.address);
        std::memcpy(&address.address, a->ai_addr, address.length);
        addresses.push_back(address);
    }
    return connectAny(addresses, timeoutMs);
}

ConnectResult TcpStream::connectAny(const std::vector<SocketAddress>& addresses, int timeoutMs) {
    close();
    const Deadline deadline(m_clock, timeoutMs);
    std::vector<int> attempts;
    bool anySocket = false;
    std::size_t next = 0;
    std::uint64_t nextStart = m_clock.tickMs();
    const auto won = [&](int fd) {
        for (const int other : attempts) ::close(other);
        m_fd = fd;
        m_error = 0;
        return ConnectResult::Connected;
    };
    for (;;) {
        const std::uint64_t now = m_clock.tickMs();
        if (next < addresses.size() && (attempts.empty() || now >= nextStart)) {
            bool connected = false;
            const int fd = startAttempt(addresses[next++], connected);
            nextStart = now + kNextAttemptMs;
            anySocket = anySocket || fd != kNoSocket;
            if (connected) return won(fd);
            if (fd >= 0) attempts.push_back(fd);
            continue;
        }
        if (attempts.empty()) return anySocket ? ConnectResult::Failed : ConnectResult::NoSocket;
        if (deadline.passed()) {
            for (const int fd : attempts) ::close(fd);
            m_error = kSockTimedOut;
            return ConnectResult::Failed;
        }
        int waitMs = deadline.leftMs(kSliceMs);
        if (next < addresses.size())
            waitMs = static_cast<int>(std::min<std::uint64_t>(nextStart > now ? nextStart - now : 0, waitMs));
        if (const int fd = finishedAttempt(attempts, waitMs); fd >= 0) return won(fd);
        m_ui.pumpPaint();
    }
}

int TcpStream::startAttempt(const SocketAddress& address, bool& connected) {
    const int fd = socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) {
        m_error = socketErrorFromErrno(errno);
        return kNoSocket;
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address.address), address.length) == 0;
    if (connected || errno == EINPROGRESS) return fd;
    m_error = socketErrorFromErrno(errno);
    ::close(fd);
    return -1;
}

int TcpStream::finishedAttempt(std::vector<int>& attempts, int waitMs) {
    std::vector<pollfd> entries;
    for (const int fd : attempts) entries.push_back({fd, POLLOUT, 0});
    if (poll(entries.data(), entries.size(), waitMs) <= 0) return -1;
    int winner = -1;
    for (const pollfd& entry : entries) {
        if (entry.revents == 0) continue;
        const int error = pendingSocketError(entry.fd);
        std::erase(attempts, entry.fd);
        if (error == 0 && winner < 0) {
            winner = entry.fd;
        } else {
            if (error != 0) m_error = socketErrorFromErrno(error);
            ::close(entry.fd);
        }
    }
    return winner;
}

long TcpStream::send(std::string_view data, int timeoutMs) {
    const Deadline deadline(m_clock, timeoutMs);
    std::size_t sent = 0;
    while (sent < data.size()) {
        if (!waitFor(POLLOUT, deadline)) return -1;
        const ssize_t n = ::send(m_fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
            m_error = socketErrorFromErrno(errno);
            return -1;
        }
        sent += static_cast<std::size_t>(n);
    }
    m_error = 0;
    return static_cast<long>(sent);
}

long TcpStream::receive(char* buffer, std::size_t capacity, int timeoutMs) {
    const Deadline deadline(m_clock, timeoutMs);
    for (;;) {
        if (!waitFor(POLLIN, deadline)) return -1;
        const ssize_t n = ::recv(m_fd, buffer, capacity, 0);
        if (n >= 0) {
            m_error = 0;
            return static_cast<long>(n);
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            m_error = socketErrorFromErrno(errno);
            return -1;
        }
    }
}

void TcpStream::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

}  // namespace qlt

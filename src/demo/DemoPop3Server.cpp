#include "demo/DemoPop3Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "demo/Pop3Session.h"

namespace qlt::demo {

namespace {

constexpr std::size_t kReceiveChunk = 512;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

std::string systemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

DemoPop3Server::DemoPop3Server(std::vector<DemoMessage> messages)
    : DemoPop3Server(std::move(messages), Limits{}) {}

DemoPop3Server::DemoPop3Server(std::vector<DemoMessage> messages, Limits limits)
    : m_limits(limits), m_messages(std::move(messages)) {}

DemoPop3Server::~DemoPop3Server() {
    stop();
}

bool DemoPop3Server::start() {
    if (m_thread.joinable()) return true;
    if (pipe2(m_wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = systemError("pipe");
        return false;
    }
    m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listenFd < 0 || bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(m_listenFd, 4) != 0 ||
        getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        m_error = systemError("cannot listen on 127.0.0.1");
        closeFd(m_listenFd);
        closeFd(m_wakeFds[0]);
        closeFd(m_wakeFds[1]);
        return false;
    }
    m_port = ntohs(address.sin_port);
    m_stopping = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void DemoPop3Server::stop() {
    if (m_thread.joinable()) {
        m_stopping = true;
        const char wake = 1;
        // The pipe is non-blocking and read by nobody: one byte, or a full
        // pipe, wakes the thread either way.
        [[maybe_unused]] const auto written = ::write(m_wakeFds[1], &wake, 1);
        m_thread.join();
    }
    closeFd(m_listenFd);
    closeFd(m_wakeFds[0]);
    closeFd(m_wakeFds[1]);
}

std::vector<DemoMessage> DemoPop3Server::messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

DemoPop3Server::Wait DemoPop3Server::waitFor(int fd, short events, int timeoutMs) const {
    pollfd fds[2] = {{fd, events, 0}, {m_wakeFds[0], POLLIN, 0}};
    for (;;) {
        if (m_stopping) return Wait::Stopped;
        const int n = ::poll(fds, 2, timeoutMs);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || fds[1].revents != 0 || m_stopping) return Wait::Stopped;
        return n == 0 ? Wait::TimedOut : Wait::Ready;
    }
}

void DemoPop3Server::run() {
    while (!m_stopping) {
        if (waitFor(m_listenFd, POLLIN, -1) != Wait::Ready) return;
        const int clientFd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (clientFd < 0) continue;
        serve(clientFd);
        ::close(clientFd);
    }
}

void DemoPop3Server::serve(int clientFd) {
    Pop3Session session(messages());
    if (!sendAll(clientFd, Pop3Session::greeting())) return;
    std::string buffer;
    std::string line;
    for (std::size_t n = 0; n < m_limits.maxCommandsPerSession && !session.ended(); ++n) {
        const Read read = readLine(clientFd, buffer, line);
        if (read == Read::TooLong) sendAll(clientFd, "-ERR command line too long\r\n");
        if (read != Read::Line) return;
        const std::string answer = session.reply(line);
        // Carried out before the client hears "+OK", so that whoever reads
        // the mailbox after a QUIT sees its deletions. A session that ends
        // any other way changes nothing.
        if (auto remaining = session.committedMaildrop()) {
            std::lock_guard lock(m_mutex);
            m_messages = std::move(*remaining);
        }
        if (!sendAll(clientFd, answer)) return;
    }
}

DemoPop3Server::Read DemoPop3Server::readLine(int fd, std::string& buffer, std::string& line) const {
    for (;;) {
        if (const std::size_t end = buffer.find('\n'); end != std::string::npos) {
            if (end + 1 > Pop3Session::kMaxCommandLine) return Read::TooLong;
            line.assign(buffer, 0, end > 0 && buffer[end - 1] == '\r' ? end - 1 : end);
            buffer.erase(0, end + 1);
            return Read::Line;
        }
        if (buffer.size() >= Pop3Session::kMaxCommandLine) return Read::TooLong;
        if (waitFor(fd, POLLIN, m_limits.idleTimeoutMs) != Wait::Ready) return Read::Closed;
        char chunk[kReceiveChunk];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
        if (got <= 0) return Read::Closed;
        buffer.append(chunk, static_cast<std::size_t>(got));
    }
}

bool DemoPop3Server::sendAll(int fd, const std::string& bytes) const {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (waitFor(fd, POLLOUT, m_limits.sendTimeoutMs) != Wait::Ready) return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace qlt::demo

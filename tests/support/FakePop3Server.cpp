#include "support/FakePop3Server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace qlt::test {

namespace {

using SteadyClock = std::chrono::steady_clock;

int listenOnLoopback(unsigned& port, bool listening) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("fake server: no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || (listening && listen(fd, 4) != 0) ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("fake server: cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return fd;
}

int msLeft(SteadyClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

FakePop3Server::FakePop3Server() {
    m_listenFd = listenOnLoopback(m_port, true);
}

FakePop3Server::~FakePop3Server() {
    finish();
    if (m_listenFd >= 0) ::close(m_listenFd);
}

void FakePop3Server::start() {
    m_thread = std::thread([this] { play(); });
}

std::string FakePop3Server::finish() {
    if (m_thread.joinable()) m_thread.join();
    return m_failure;
}

unsigned FakePop3Server::unusedPort() {
    unsigned port = 0;
    ::close(listenOnLoopback(port, false));
    return port;
}

bool FakePop3Server::acceptClient() {
    closeClient();
    pollfd entry{m_listenFd, POLLIN, 0};
    if (poll(&entry, 1, kStepTimeoutMs) <= 0) {
        m_failure = "no client connected";
        return false;
    }
    m_clientFd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    return true;
}

void FakePop3Server::play() {
    if (!acceptClient()) return;
    for (const ScriptStep& step : m_steps) {
        if (!playStep(step)) break;
    }
    closeClient();
}

bool FakePop3Server::playStep(const ScriptStep& step) {
    switch (step.kind) {
        case ScriptStep::Send:
            if (::send(m_clientFd, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL) !=
                static_cast<ssize_t>(step.bytes.size())) {
                m_failure = "could not send \"" + printable(step.bytes) + "\"";
                return false;
            }
            return true;
        case ScriptStep::Expect: {
            const std::size_t before = m_received.size();
            const bool complete = readExactly(step.bytes.size());
            const std::string got = m_received.substr(before);
            if (complete && got == step.bytes) return true;
            m_failure = "expected \"" + printable(step.bytes) + "\", got \"" + printable(got) + "\"";
            return false;
        }
        case ScriptStep::Delay:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.ms));
            return true;
        case ScriptStep::Hang: {
            const auto deadline = SteadyClock::now() + std::chrono::milliseconds(step.ms);
            char buffer[512];
            pollfd entry{m_clientFd, POLLIN, 0};
            while (poll(&entry, 1, msLeft(deadline)) > 0) {
                const ssize_t n = recv(m_clientFd, buffer, sizeof buffer, 0);
                if (n <= 0) return true;
                m_received.append(buffer, static_cast<std::size_t>(n));
            }
            return true;
        }
        case ScriptStep::Close:
            closeClient();
            return true;
        case ScriptStep::Reset: {
            const linger abortive{1, 0};
            if (m_clientFd >= 0) setsockopt(m_clientFd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
            closeClient();
            return true;
        }
        case ScriptStep::Trickle:
            trickleBytes(step.bytes, step.ms);
            return true;
        case ScriptStep::Flood:
            floodBytes(step.bytes, step.total);
            return true;
        case ScriptStep::Accept:
            return acceptClient();
        case ScriptStep::Run:
            if (step.action()) return true;
            m_failure = "the scripted action failed";
            return false;
    }
    return false;
}

bool FakePop3Server::readExactly(std::size_t count) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kStepTimeoutMs);
    std::size_t got = 0;
    char buffer[512];
    while (got < count) {
        pollfd entry{m_clientFd, POLLIN, 0};
        if (poll(&entry, 1, msLeft(deadline)) <= 0) return false;
        const ssize_t n = recv(m_clientFd, buffer, std::min(sizeof buffer, count - got), 0);
        if (n <= 0) return false;
        m_received.append(buffer, static_cast<std::size_t>(n));
        got += static_cast<std::size_t>(n);
    }
    return true;
}

void FakePop3Server::trickleBytes(const std::string& bytes, int everyMs) {
    for (const char byte : bytes) {
        if (!sendWithin(&byte, 1, kStepTimeoutMs)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
    }
}

void FakePop3Server::floodBytes(const std::string& pattern, std::size_t totalBytes) {
    constexpr std::size_t kBlock = 64 * 1024;
    if (pattern.empty()) return;
    std::string block;
    while (block.size() < kBlock) block += pattern;
    for (std::size_t sent = 0; sent < totalBytes;) {
        const std::size_t size = std::min(kBlock, totalBytes - sent);
        if (!sendWithin(block.data(), size, kStepTimeoutMs)) return;
        sent += size;
    }
}

// False when the client hung up or took nothing for timeoutMs.
bool FakePop3Server::sendWithin(const char* data, std::size_t size, int timeoutMs) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    while (size > 0) {
        pollfd entry{m_clientFd, POLLOUT, 0};
        if (poll(&entry, 1, msLeft(deadline)) <= 0) return false;
        const ssize_t n = ::send(m_clientFd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void FakePop3Server::closeClient() {
    if (m_clientFd >= 0) ::close(m_clientFd);
    m_clientFd = -1;
}

}  // namespace qlt::test

#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "demo/DemoMessages.h"

namespace qlt::demo {

// A POP3 server for the demo mailbox on 127.0.0.1 and a free port, run by
// a helper thread of its own. It shares nothing with the program but its own
// copy of the messages: a QUIT after deletions changes that copy only, and a
// new server starts from the messages it was given again. One client is
// served at a time; others wait in the listen queue.
//
// Every wait is bounded: a client that says nothing for idleTimeoutMs, or
// does not take a reply within sendTimeoutMs, is dropped, and stop() (also
// run by the destructor) wakes the thread from any wait at once.
class DemoPop3Server {
  public:
    struct Limits {
        int idleTimeoutMs = 10 * 60 * 1000;  // RFC 1939's autologout time
        int sendTimeoutMs = 30 * 1000;
        std::size_t maxCommandsPerSession = 100000;
    };

    explicit DemoPop3Server(std::vector<DemoMessage> messages);
    DemoPop3Server(std::vector<DemoMessage> messages, Limits limits);
    ~DemoPop3Server();
    DemoPop3Server(const DemoPop3Server&) = delete;
    DemoPop3Server& operator=(const DemoPop3Server&) = delete;

    // Listens and starts the thread; false (with error() set) when no socket
    // could be had. Starting a running server does nothing.
    bool start();
    // Ends the session in progress, without carrying out its deletions, and
    // joins the thread.
    void stop();

    unsigned port() const { return m_port; }
    const std::string& error() const { return m_error; }

    // The server's copy of the mailbox as the last QUIT left it.
    std::vector<DemoMessage> messages() const;

  private:
    enum class Wait { Ready, Stopped, TimedOut };

    void run();
    void serve(int clientFd);
    // Waits until fd is ready for events or the server is stopped.
    Wait waitFor(int fd, short events, int timeoutMs) const;
    bool sendAll(int fd, const std::string& bytes) const;
    // Reads until buffer holds a whole line; false when the client went away,
    // stayed silent too long, or sent a line longer than POP3 allows.
    enum class Read { Line, Closed, TooLong };
    Read readLine(int fd, std::string& buffer, std::string& line) const;

    Limits m_limits;
    mutable std::mutex m_mutex;
    std::vector<DemoMessage> m_messages;  // guarded by m_mutex
    int m_listenFd = -1;
    int m_wakeFds[2] = {-1, -1};
    unsigned m_port = 0;
    std::string m_error;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

}  // namespace qlt::demo

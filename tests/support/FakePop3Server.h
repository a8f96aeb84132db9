#pragma once

#include <string>
#include <thread>

#include "support/Pop3Script.h"

namespace qlt::test {

// A POP3 server that plays one scripted dialogue with one client, on its own
// thread on 127.0.0.1 and a free port. The script checks every byte the
// client sends and can split, delay, withhold or cut off what it sends back.
// Every wait is bounded, so a client that goes astray fails the test instead
// of hanging it.
//
//   FakePop3Server server;
//   server.send("+OK ready\r\n").expect("user ann\r\n").send("+OK\r\n").close();
//   server.start();
//   ... run the client against server.port() ...
//   EXPECT_EQ(server.finish(), "");
class FakePop3Server : public Pop3Script<FakePop3Server> {
  public:
    static constexpr int kStepTimeoutMs = 5000;

    FakePop3Server();
    ~FakePop3Server();
    FakePop3Server(const FakePop3Server&) = delete;
    FakePop3Server& operator=(const FakePop3Server&) = delete;

    unsigned port() const { return m_port; }

    void start();
    // Waits for the play to end; returns "" when every step played as
    // scripted, otherwise what went wrong.
    std::string finish();
    // Every byte the client sent (read after finish).
    const std::string& received() const { return m_received; }

    // A port on 127.0.0.1 that nothing listens on.
    static unsigned unusedPort();

  private:
    void play();
    bool acceptClient();
    bool playStep(const ScriptStep& step);
    bool readExactly(std::size_t count);
    void trickleBytes(const std::string& bytes, int everyMs);
    void floodBytes(const std::string& pattern, std::size_t totalBytes);
    bool sendWithin(const char* data, std::size_t size, int timeoutMs);
    void closeClient();

    int m_listenFd = -1;
    int m_clientFd = -1;
    unsigned m_port = 0;
    std::thread m_thread;
    std::string m_received;
    std::string m_failure;
};

}  // namespace qlt::test

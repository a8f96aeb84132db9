#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

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
class FakePop3Server {
  public:
    static constexpr int kStepTimeoutMs = 5000;
    static constexpr int kSplitPauseMs = 100;

    FakePop3Server();
    ~FakePop3Server();
    FakePop3Server(const FakePop3Server&) = delete;
    FakePop3Server& operator=(const FakePop3Server&) = delete;

    unsigned port() const { return m_port; }

    // Script steps, played in order once a client connects.
    FakePop3Server& send(std::string bytes);
    // Sends bytes in pieces cut at the given offsets, pausing between them so
    // that each piece reaches the client as a receive of its own.
    FakePop3Server& sendSplit(const std::string& bytes, const std::vector<std::size_t>& cuts);
    // Reads exactly these bytes from the client; anything else ends the play.
    FakePop3Server& expect(std::string bytes);
    FakePop3Server& delay(int ms);
    // Keeps the connection open and silent for ms, or until the client closes.
    FakePop3Server& hang(int ms);
    FakePop3Server& close();
    // Closes with SO_LINGER 0, so that the client sees the connection reset.
    FakePop3Server& reset();
    // Sends one byte every everyMs. Stops quietly when the client hangs up:
    // a hostile server does not care whether it was heard.
    FakePop3Server& trickle(std::string bytes, int everyMs);
    // Sends totalBytes of the pattern repeated, in large blocks, as fast as the
    // client takes them. Stops quietly when the client hangs up or takes
    // nothing for kStepTimeoutMs.
    FakePop3Server& flood(std::string pattern, std::size_t totalBytes);
    // Closes the connection in hand and waits for the client to connect
    // again; the steps after it play on the new connection.
    FakePop3Server& acceptNext();
    // Runs an action on the server's thread at this point of the dialogue,
    // while the client waits for the next reply; false ends the play.
    FakePop3Server& run(std::function<bool()> action);
    // The greeting and a login as user/password, both accepted.
    FakePop3Server& greetAndLogin(const std::string& user, const std::string& password);
    // A CAPA refused, as by a server that does not know the command: the
    // client goes on one command at a time.
    FakePop3Server& withoutCapa();
    // A CAPA answered with these lines, each ending in CRLF.
    FakePop3Server& capa(const std::string& capabilities);

    void start();
    // Waits for the play to end; returns "" when every step played as
    // scripted, otherwise what went wrong.
    std::string finish();
    // Every byte the client sent (read after finish).
    const std::string& received() const { return m_received; }

    // A port on 127.0.0.1 that nothing listens on.
    static unsigned unusedPort();

  private:
    struct Step {
        enum Kind { Send, Expect, Delay, Hang, Close, Reset, Trickle, Flood, Accept, Run } kind;
        std::string bytes;
        int ms = 0;
        std::size_t total = 0;
        std::function<bool()> action = {};
    };

    void play();
    bool acceptClient();
    bool playStep(const Step& step);
    bool readExactly(std::size_t count);
    void trickleBytes(const std::string& bytes, int everyMs);
    void floodBytes(const std::string& pattern, std::size_t totalBytes);
    bool sendWithin(const char* data, std::size_t size, int timeoutMs);
    void closeClient();

    std::vector<Step> m_steps;
    int m_listenFd = -1;
    int m_clientFd = -1;
    unsigned m_port = 0;
    std::thread m_thread;
    std::string m_received;
    std::string m_failure;
};

}  // namespace qlt::test

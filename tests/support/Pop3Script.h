#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace qlt::test {

// One step of a scripted POP3 server's side of a dialogue.
struct ScriptStep {
    enum Kind { Send, Expect, Delay, Hang, Close, Reset, Trickle, Flood, Accept, Run } kind;
    std::string bytes = {};
    int ms = 0;
    std::size_t total = 0;
    std::function<bool()> action = {};
};

// The script of a fake POP3 server, written as a transcript; Server plays it
// (over a real socket, or in memory on a fake clock).
template <class Server>
class Pop3Script {
  public:
    static constexpr int kSplitPauseMs = 100;

    Server& send(std::string bytes) { return add({ScriptStep::Send, std::move(bytes)}); }
    // Sends bytes in pieces cut at the given offsets, pausing between them so
    // that each piece reaches the client as a receive of its own.
    Server& sendSplit(const std::string& bytes, const std::vector<std::size_t>& cuts) {
        std::size_t from = 0;
        for (const std::size_t cut : cuts) {
            send(bytes.substr(from, cut - from));
            delay(kSplitPauseMs);
            from = cut;
        }
        return send(bytes.substr(from));
    }
    // Reads exactly these bytes from the client; anything else ends the play.
    Server& expect(std::string bytes) { return add({ScriptStep::Expect, std::move(bytes)}); }
    Server& delay(int ms) { return add({ScriptStep::Delay, {}, ms}); }
    // Keeps the connection open and silent for ms, or until the client closes.
    Server& hang(int ms) { return add({ScriptStep::Hang, {}, ms}); }
    Server& close() { return add({ScriptStep::Close}); }
    // Closes so that the client sees the connection reset.
    Server& reset() { return add({ScriptStep::Reset}); }
    // Sends one byte every everyMs. Stops quietly when the client hangs up:
    // a hostile server does not care whether it was heard.
    Server& trickle(std::string bytes, int everyMs) {
        return add({ScriptStep::Trickle, std::move(bytes), everyMs});
    }
    // Sends totalBytes of the pattern repeated, as fast as the client takes
    // them. Stops quietly when the client hangs up.
    Server& flood(std::string pattern, std::size_t totalBytes) {
        return add({ScriptStep::Flood, std::move(pattern), 0, totalBytes});
    }
    // Closes the connection in hand and waits for the client to connect
    // again; the steps after it play on the new connection.
    Server& acceptNext() { return add({ScriptStep::Accept}); }
    // Runs an action at this point of the dialogue, while the client waits
    // for the next reply; false ends the play.
    Server& run(std::function<bool()> action) { return add({ScriptStep::Run, {}, 0, 0, std::move(action)}); }
    // The greeting and a login as user/password, both accepted.
    Server& greetAndLogin(const std::string& user, const std::string& password) {
        return send("+OK POP3 ready\r\n")
            .expect("user " + user + "\r\n")
            .send("+OK\r\n")
            .expect("pass " + password + "\r\n")
            .send("+OK logged in\r\n");
    }
    // A CAPA refused, as by a server that does not know the command: the
    // client goes on one command at a time.
    Server& withoutCapa() { return expect("capa\r\n").send("-ERR unknown command\r\n"); }
    // A CAPA answered with these lines, each ending in CRLF.
    Server& capa(const std::string& capabilities) {
        return expect("capa\r\n").send("+OK capability list follows\r\n" + capabilities + ".\r\n");
    }

  protected:
    std::vector<ScriptStep> m_steps;

  private:
    Server& add(ScriptStep step) {
        m_steps.push_back(std::move(step));
        return static_cast<Server&>(*this);
    }
};

// Shows CR and LF in a failure message.
inline std::string printable(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace qlt::test

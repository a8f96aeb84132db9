#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "FakeClock.h"
#include "Pop3Script.h"
#include "pop3/ByteStream.h"
#include "pop3/SocketErrors.h"

namespace qlt::test {

// A POP3 server that plays its script in memory, on a stepping FakeClock:
// the client's receives get what the script sends, its writes are checked
// against what the script expects, and a pause or a silence moves the clock
// on instead of being waited out. A receive that would outlast its time-out
// fails with the time-out after the clock moved that far.
//
// A connect consumes an acceptNext() if the play waits at one; otherwise the
// play goes on where it stood. Consecutive sends reach the client as one
// receive; a delay between them splits it.
class ScriptedServer : public Pop3Script<ScriptedServer> {
  public:
    explicit ScriptedServer(FakeClock& clock) : m_clock(clock) {}

    // Receives return at most this many bytes.
    void limitReceives(std::size_t bytes) { m_receiveLimit = bytes; }

    // Plays what is left as if the client had gone; returns "" when every
    // step played as scripted, otherwise what went wrong.
    std::string finish() {
        m_clientOpen = false;
        m_finishing = true;
        playAhead();
        return m_failure;
    }
    // Every byte the client sent.
    const std::string& received() const { return m_received; }
    int connections() const { return m_connections; }

    // The client's side, for ScriptedStream.
    void clientConnected() {
        if (atStep(ScriptStep::Accept)) {
            m_outgoing.clear();
            nextStep();
        }
        ++m_connections;
        m_clientOpen = true;
        m_peerClosed = m_peerReset = false;
        m_input.clear();
        playAhead();
    }
    long clientSent(std::string_view data, int& error) {
        if (m_peerReset) return fail(kSockConnectionReset, error);
        m_received.append(data);
        if (!m_peerClosed) m_input.append(data);
        playAhead();
        return static_cast<long>(data.size());
    }
    long clientReceive(char* buffer, std::size_t capacity, int timeoutMs, int& error) {
        capacity = std::min(capacity, m_receiveLimit);
        for (;;) {
            playAhead();
            if (!m_outgoing.empty()) return hand(buffer, capacity);
            if (m_peerReset) return fail(kSockConnectionReset, error);
            if (m_peerClosed || playEnded()) return 0;
            const ScriptStep& step = m_steps[m_next];
            if (step.kind == ScriptStep::Flood) {
                floodInto(step, capacity);
                continue;
            }
            const bool paced = step.kind == ScriptStep::Delay || step.kind == ScriptStep::Hang ||
                               step.kind == ScriptStep::Trickle;
            // Waiting for the client, the server says nothing more.
            const int silenceMs = paced ? step.ms - m_waitedMs : -1;
            if (silenceMs < 0 || (timeoutMs > 0 && timeoutMs < silenceMs)) {
                if (timeoutMs <= 0) m_failure = "the client waited without a time-out for a silent server";
                m_clock.advance(static_cast<std::uint64_t>(std::max(timeoutMs, 0)));
                if (paced) m_waitedMs += timeoutMs;
                return fail(kSockTimedOut, error);
            }
            m_clock.advance(static_cast<std::uint64_t>(silenceMs));
            endSilence(step);
        }
    }
    void clientClosed() {
        m_clientOpen = false;
        playAhead();
    }

  private:
    bool atStep(ScriptStep::Kind kind) const {
        return m_next < m_steps.size() && m_steps[m_next].kind == kind;
    }

    static long fail(int code, int& error) {
        error = code;
        return -1;
    }

    long hand(char* buffer, std::size_t capacity) {
        const std::size_t n = std::min(capacity, m_outgoing.size());
        std::memcpy(buffer, m_outgoing.data(), n);
        m_outgoing.erase(0, n);
        return static_cast<long>(n);
    }

    // A silence ran its course: a trickle sends its next byte, a pause ends.
    void endSilence(const ScriptStep& step) {
        m_waitedMs = 0;
        if (step.kind == ScriptStep::Trickle) m_outgoing += step.bytes[m_offset++];
        if (step.kind != ScriptStep::Trickle || m_offset == step.bytes.size()) nextStep();
    }

    void floodInto(const ScriptStep& step, std::size_t capacity) {
        const std::size_t n = std::min(capacity, step.total - m_offset);
        const std::size_t at = m_offset % step.bytes.size();
        std::string repeated = step.bytes;
        while (repeated.size() < at + n) repeated += repeated;
        m_outgoing.append(repeated, at, n);
        m_offset += n;
        if (m_offset == step.total) nextStep();
    }

    void nextStep() {
        ++m_next;
        m_offset = 0;
        m_waitedMs = 0;
    }

    // Plays every step that needs neither the client nor the clock.
    void playAhead() {
        while (!playEnded() && playable(m_steps[m_next])) {
        }
    }

    // With the play ended the server closes the connection.
    bool playEnded() const { return m_next == m_steps.size() || !m_failure.empty(); }

    // Plays the step if it can be played now; false when it has to wait.
    bool playable(const ScriptStep& step) {
        switch (step.kind) {
            case ScriptStep::Send:
                m_outgoing += step.bytes;
                break;
            case ScriptStep::Expect:
                if (!expected(step.bytes)) return false;
                break;
            case ScriptStep::Delay:
                if (!m_clientOpen) break;
                return false;
            case ScriptStep::Hang:
            case ScriptStep::Trickle:
            case ScriptStep::Flood:
                // A hostile server stops when the client hangs up.
                if (!m_clientOpen || m_peerClosed || (step.kind != ScriptStep::Hang && step.bytes.empty()))
                    break;
                return false;
            case ScriptStep::Close:
                m_peerClosed = true;
                break;
            case ScriptStep::Reset:
                m_peerReset = true;
                break;
            case ScriptStep::Accept:
                m_peerClosed = true;
                if (!m_clientOpen && m_failure.empty() && m_finishing) m_failure = "no client connected";
                return false;
            case ScriptStep::Run:
                if (!step.action()) m_failure = "the scripted action failed";
                break;
        }
        nextStep();
        return true;
    }

    bool expected(const std::string& bytes) {
        const std::size_t n = std::min(bytes.size(), m_input.size());
        if (bytes.compare(0, n, m_input, 0, n) != 0 || (n < bytes.size() && !m_clientOpen)) {
            m_failure = "expected \"" + printable(bytes) + "\", got \"" +
                        printable(m_input.substr(0, bytes.size())) + "\"";
            return false;
        }
        if (n < bytes.size()) return false;
        m_input.erase(0, n);
        return true;
    }

    FakeClock& m_clock;
    std::size_t m_receiveLimit = static_cast<std::size_t>(-1);
    std::size_t m_next = 0;
    std::size_t m_offset = 0;  // into the current trickle or flood
    int m_waitedMs = 0;        // of the current silence, by receives that timed out
    int m_connections = 0;
    bool m_clientOpen = false;
    bool m_peerClosed = false;
    bool m_peerReset = false;
    bool m_finishing = false;
    std::string m_input;     // sent by the client, not yet expected
    std::string m_outgoing;  // sent by the script, not yet received
    std::string m_received;
    std::string m_failure;
};

// The client's end of a connection to a ScriptedServer.
class ScriptedStream final : public ByteStream {
  public:
    explicit ScriptedStream(ScriptedServer& server) : m_server(server) {}

    ConnectResult connect(const std::string&, unsigned, int) override {
        m_server.clientConnected();
        m_open = true;
        return ConnectResult::Connected;
    }
    long send(std::string_view data, int) override {
        return m_open ? m_server.clientSent(data, m_error) : closedCall();
    }
    long receive(char* buffer, std::size_t capacity, int timeoutMs) override {
        return m_open ? m_server.clientReceive(buffer, capacity, timeoutMs, m_error) : closedCall();
    }
    void close() override {
        if (m_open) m_server.clientClosed();
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    int lastError() const override { return m_error; }

  private:
    long closedCall() {
        m_error = kSockNotSocket;
        return -1;
    }

    ScriptedServer& m_server;
    bool m_open = false;
    int m_error = 0;
};

}  // namespace qlt::test

#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "base/AccountRecord.h"
#include "base/ProcessState.h"
#include "pop3/Pop3Client.h"
#include "support/FakeClock.h"
#include "support/FakePop3Server.h"
#include "support/ScriptedServer.h"
#include "support/ScriptedUiPort.h"

namespace qlt::test {

inline AccountRecord testAccount(unsigned port, std::uint16_t timeoutSeconds) {
    AccountRecord a;
    a.server = "127.0.0.1";
    a.port = port;
    a.userName = "ann";
    a.password = "s3cret";
    a.timeout = timeoutSeconds;
    return a;
}

// A client, a server playing its script in memory on a stepping clock, and
// a front end that records what it is told.
class Pop3Fixture : public ::testing::Test {
  protected:
    void TearDown() override { resetProcessState(); }

    AccountRecord account(std::uint16_t timeoutSeconds = 2) const { return testAccount(110, timeoutSeconds); }

    // Plays the greeting and login, then whatever the test adds.
    ScriptedServer& loggedInScript() { return server.greetAndLogin("ann", "s3cret"); }

    void connectAndLogIn(std::uint16_t timeoutSeconds = 2) {
        ASSERT_TRUE(client.Connect(account(timeoutSeconds))) << client.m_strError;
    }

    // Milliseconds on the clock since `since`, a tick read before.
    std::uint64_t elapsedMs(std::uint64_t since) const { return clock.tickMs() - since; }

    ScriptedUiPort ui;
    FakeClock clock;
    ScriptedServer server{clock};
    Pop3Client client{ui, clock, [this] { return std::make_unique<ScriptedStream>(server); }};
};

// The same over a real socket to a scripted server on 127.0.0.1, for what
// only a real connection shows: resolving, refusals, real time-outs.
class LoopbackPop3Fixture : public ::testing::Test {
  protected:
    AccountRecord account(std::uint16_t timeoutSeconds = 2) const {
        return testAccount(server.port(), timeoutSeconds);
    }

    ScriptedUiPort ui;
    FakeClock clock{FakeClock::Ticks::Real};
    FakePop3Server server;
    Pop3Client client{ui, clock};
};

}  // namespace qlt::test

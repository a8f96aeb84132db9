#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "base/AccountRecord.h"
#include "base/Clock.h"
#include "base/ScanFlags.h"
#include "pop3/Pop3Client.h"
#include "support/FakePop3Server.h"
#include "support/ScriptedUiPort.h"

namespace qlt::test {

// Each tick read moves time on by a fixed step, so rates come out exact.
class SteppingClock : public Clock {
  public:
    static constexpr std::uint64_t kStepMs = 10;
    std::uint64_t tickMs() const override { return m_now += kStepMs; }
    void sleepMs(unsigned ms) override { m_now += ms; }
    SystemTime utcNow() const override { return {}; }

  private:
    mutable std::uint64_t m_now = 1000;
};

// A client, a scripted server and a front end that records what it is told.
class Pop3Fixture : public ::testing::Test {
  protected:
    void TearDown() override { abortRequested = 0; }

    AccountRecord account(std::uint16_t timeoutSeconds = 2) const {
        AccountRecord a;
        a.server = "127.0.0.1";
        a.port = server.port();
        a.userName = "ann";
        a.password = "s3cret";
        a.timeout = timeoutSeconds;
        return a;
    }

    // Plays the greeting and login, then whatever the test adds.
    FakePop3Server& loggedInScript() { return server.greetAndLogin("ann", "s3cret"); }

    void connectAndLogIn(std::uint16_t timeoutSeconds = 2) {
        server.start();
        ASSERT_TRUE(client.Connect(account(timeoutSeconds))) << client.m_strError;
    }

    static long elapsedMs(std::chrono::steady_clock::time_point since) {
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
                .count());
    }

    ScriptedUiPort ui;
    SteppingClock clock;
    Pop3Client client{ui, clock};
    FakePop3Server server;
};

}  // namespace qlt::test

#pragma once

#include <cstdint>
#include <vector>

#include "base/Clock.h"

namespace qlt::test {

// The engine's clock in tests. Pauses are recorded, never slept. Its ticks
// either follow the real clock, for dialogues over real sockets, or stand
// still until something moves them: advance(), a pause, and stepMs on every
// read, so that rates come out exact.
class FakeClock final : public Clock {
  public:
    enum class Ticks { Real, Stepping };

    explicit FakeClock(Ticks ticks = Ticks::Stepping, std::uint64_t stepMs = 10)
        : m_ticks(ticks), m_stepMs(stepMs) {}

    std::uint64_t tickMs() const override {
        return m_ticks == Ticks::Real ? m_real.tickMs() : m_now += m_stepMs;
    }
    void sleepMs(unsigned ms) override {
        sleeps.push_back(ms);
        m_now += ms;
    }
    SystemTime utcNow() const override { return now; }

    // Moves stepping ticks on, as if ms went by.
    void advance(std::uint64_t ms) { m_now += ms; }

    std::vector<unsigned> sleeps;
    SystemTime now{2026, 3, 2, 3, 10, 30, 15, 0};

  private:
    Ticks m_ticks;
    std::uint64_t m_stepMs;
    mutable std::uint64_t m_now = 1000;
    SystemClock m_real;
};

}  // namespace qlt::test

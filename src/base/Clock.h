#pragma once

#include <cstdint>

#include "base/SystemTime.h"

namespace qlt {

// Time as the engine sees it. The fixed pauses of the commands (the 1000 ms
// before a reconnect, the 3000 ms after STOP) go through sleepMs, so tests can
// check that a pause was asked for without waiting for it.
class Clock {
  public:
    virtual ~Clock() = default;

    // Milliseconds from an arbitrary start; only differences mean anything.
    virtual std::uint64_t tickMs() const = 0;
    virtual void sleepMs(unsigned ms) = 0;
    virtual SystemTime utcNow() const = 0;
};

// The real clock: steady ticks, a real sleep, the system's UTC time.
class SystemClock final : public Clock {
  public:
    std::uint64_t tickMs() const override;
    void sleepMs(unsigned ms) override;
    SystemTime utcNow() const override;
};

}  // namespace qlt

#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Clock.h"

namespace qlt {

// How long a reply may take. It fails when nothing arrives for one time-out,
// or when less than kMinBytesPerTimeout arrives within any time-out: a link
// that trickles is as good as dead, while one that keeps sending is never cut
// off however long its reply. A time-out of 0 sets no bound.
class ReplyPace {
  public:
    static constexpr std::size_t kMinBytesPerTimeout = 1024;

    ReplyPace(const Clock& clock, int timeoutMs);

    // The wait for the next receive: 0 for no bound, -1 once the reply has
    // failed its pace. A receive that times out before the wait is over is
    // simply followed by the next one.
    int nextWaitMs();
    void arrived(std::size_t bytes);

  private:
    const Clock& m_clock;
    std::uint64_t m_timeout;
    std::uint64_t m_lastArrival;
    std::uint64_t m_windowEnd;
    std::size_t m_windowBytes = 0;
};

}  // namespace qlt

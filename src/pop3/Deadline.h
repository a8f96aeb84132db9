#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

#include "base/Clock.h"

namespace qlt {

// The end of one socket call's time-out on the engine's clock. A time-out of
// 0 or less sets none. Only the arithmetic is the clock's: waits on a real
// socket still poll in real time, for at most what is left.
class Deadline {
  public:
    Deadline(const Clock& clock, int timeoutMs)
        : m_clock(clock), m_bounded(timeoutMs > 0), m_end(m_bounded ? clock.tickMs() + timeoutMs : 0) {}

    bool bounded() const { return m_bounded; }
    bool passed() const { return m_bounded && m_clock.tickMs() >= m_end; }
    // Milliseconds left, at most capMs; capMs when there is no bound.
    int leftMs(int capMs = INT_MAX) const {
        if (!m_bounded) return capMs;
        const std::uint64_t now = m_clock.tickMs();
        return now >= m_end ? 0 : static_cast<int>(std::min<std::uint64_t>(m_end - now, capMs));
    }

  private:
    const Clock& m_clock;
    bool m_bounded;
    std::uint64_t m_end;
};

}  // namespace qlt

#include "pop3/ReplyPace.h"

#include <algorithm>

namespace qlt {

ReplyPace::ReplyPace(const Clock& clock, int timeoutMs)
    : m_clock(clock),
      m_timeout(static_cast<std::uint64_t>(std::max(timeoutMs, 0))),
      m_lastArrival(clock.tickMs()),
      m_windowEnd(m_lastArrival + m_timeout) {}

int ReplyPace::nextWaitMs() {
    if (m_timeout == 0) return 0;
    const std::uint64_t now = m_clock.tickMs();
    if (now >= m_windowEnd) {
        if (m_windowBytes < kMinBytesPerTimeout) return -1;
        m_windowBytes = 0;
        m_windowEnd = now + m_timeout;
    }
    const std::uint64_t silenceEnd = m_lastArrival + m_timeout;
    if (now >= silenceEnd) return -1;
    return static_cast<int>(std::max<std::uint64_t>(std::min(silenceEnd, m_windowEnd) - now, 1));
}

void ReplyPace::arrived(std::size_t bytes) {
    m_lastArrival = m_clock.tickMs();
    m_windowBytes += bytes;
}

}  // namespace qlt

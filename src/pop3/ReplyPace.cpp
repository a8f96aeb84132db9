#include "pop3/ReplyPace.h"

#include <algorithm>

namespace qlt {

ReplyPace::ReplyPace(int timeoutMs)
    : m_timeout(std::max(timeoutMs, 0)),
      m_lastArrival(Clock::now()),
      m_windowEnd(m_lastArrival + m_timeout) {}

int ReplyPace::nextWaitMs() {
    if (m_timeout.count() == 0) return 0;
    const Clock::time_point now = Clock::now();
    if (now >= m_windowEnd) {
        if (m_windowBytes < kMinBytesPerTimeout) return -1;
        m_windowBytes = 0;
        m_windowEnd = now + m_timeout;
    }
    const Clock::time_point silenceEnd = m_lastArrival + m_timeout;
    if (now >= silenceEnd) return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::min(silenceEnd, m_windowEnd) - now);
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 1));
}

void ReplyPace::arrived(std::size_t bytes) {
    m_lastArrival = Clock::now();
    m_windowBytes += bytes;
}

}  // namespace qlt

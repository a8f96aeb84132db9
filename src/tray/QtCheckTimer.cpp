#include "tray/QtCheckTimer.h"

#include <limits>

namespace qlt::tray {

QtCheckTimer::QtCheckTimer(QObject* parent) : QObject(parent) {
    // The period runs to hours; a coarse timer may be late by several seconds.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (onTick) onTick();
    });
}

void QtCheckTimer::start(std::uint32_t periodMs) {
    constexpr auto kLongest = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
    m_timer.start(periodOverrideMs > 0 ? periodOverrideMs : static_cast<int>(std::min(periodMs, kLongest)));
}

void QtCheckTimer::stop() {
    m_timer.stop();
}

void QtCheckTimer::postCheck() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onPostedCheck) onPostedCheck();
        },
        Qt::QueuedConnection);
}

}  // namespace qlt::tray

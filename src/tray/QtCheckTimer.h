#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "core/BackgroundCheck.h"

namespace qlt::tray {

// The background check's timer on the window's event loop. Posted checks run
// from the loop too, so a check never starts inside the tick that asked for it.
class QtCheckTimer final : public QObject, public TimerPort {
    Q_OBJECT

  public:
    explicit QtCheckTimer(QObject* parent = nullptr);

    void start(std::uint32_t periodMs) override;
    void stop() override;
    void postCheck() override;

    bool isActive() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }

    std::function<void()> onTick;
    std::function<void()> onPostedCheck;
    // Tests: the period of every start in place of the one asked for, so that
    // a background check comes within moments. 0 keeps the asked one.
    int periodOverrideMs = 0;

  private:
    QTimer m_timer;
};

}  // namespace qlt::tray

#pragma once

#include <cstdint>
#include <string>

#include "base/NetworkState.h"
#include "core/MailChecker.h"
#include "core/NewMailNotice.h"
#include "store/Formatting.h"

namespace qlt {

// The countdown shows nine steps; 9 is the idle picture.
inline constexpr int kCountdownSteps = 9;
inline constexpr int kCountdownIdle = 9;

// The interval the Setup page accepts, in minutes, and what replaces a value
// outside it.
inline constexpr std::int32_t kMinCheckMinutes = 2;
inline constexpr std::int32_t kMaxCheckMinutes = 2880;
inline constexpr std::int32_t kDefaultCheckMinutes = 15;

// NewMsgNotify bits.
inline constexpr std::uint8_t kNotifyNotice = 1;
inline constexpr std::uint8_t kNotifySound = 2;
inline constexpr std::uint8_t kNotifyWindow = 4;

// The interval itself when it lies in the accepted range, else the default.
std::int32_t CheckedMinutes(std::int32_t minutes);

// The timer ticks eight times per interval, so the countdown moves in
// eighths; the extra millisecond keeps a tick from landing on a whole second.
std::uint32_t CheckTimerPeriodMs(std::int32_t minutes2Scan);

// The step after `step` while counting: 0..8 round and round.
int NextCountdownStep(int step);

// The recurring timer of the window, as the desktop gives it.
class TimerPort {
  public:
    virtual ~TimerPort() = default;
    // (Re)starts the periodic tick; every tick calls BackgroundCheck::onCheckTick.
    virtual void start(std::uint32_t periodMs) = 0;
    virtual void stop() = 0;
    // Has BackgroundCheck::runBackgroundCheck called later from the event
    // loop, never from inside the tick that asked for it.
    virtual void postCheck() = 0;
};

// What the background check shows in the window and the tray.
class WindowPort {
  public:
    virtual ~WindowPort() = default;
    // Out of the tray when hidden there, shown normally, brought to the front.
    virtual void raise() = 0;
    virtual void showCountdown(int step) = 0;
    virtual void showNewMailNotice(const std::string& title, const std::string& text) = 0;
};

struct BackgroundDesk {
    TimerPort& timer;
    WindowPort& window;
    SoundPlayer& sound;
    NetworkState& network;
};

// The recurring background check: the timer with its countdown, the test of
// the connection, the scan it starts and the new-mail notification. It fills
// the mail checker's timer hooks, so the scan's own restarts reach it.
class BackgroundCheck {
  public:
    BackgroundCheck(MailChecker& checker, const BackgroundDesk& desk);
    ~BackgroundCheck();
    BackgroundCheck(const BackgroundCheck&) = delete;
    BackgroundCheck& operator=(const BackgroundCheck&) = delete;

    // Right after the window is on screen: the start-up scan when it is
    // asked for, then the timer when the recurring check is on.
    void startUp();

    void StartCheckTimer();
    // With reset the countdown shows idle; without it keeps its step.
    void StopCheckTimer(bool reset);

    // A timer tick; true when it posted a background check.
    bool onCheckTick();
    // The posted request. A scan that runs already (the request was handled
    // from inside its message pump) is left alone.
    void runBackgroundCheck();

    int countdownStep() const { return m_step; }
    bool timerRunning() const { return m_running; }

  private:
    bool mayCheck() const;
    void notifyNewMail(const NewMailNotice& notice);
    void setStep(int step);

    MailChecker& m_checker;
    BackgroundDesk m_desk;
    int m_step = kCountdownIdle;
    bool m_running = false;
};

}  // namespace qlt

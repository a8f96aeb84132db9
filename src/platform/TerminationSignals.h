#pragma once

#include <QObject>
#include <array>
#include <csignal>
#include <memory>

class QSocketNotifier;

namespace qlt {

// SIGTERM, SIGINT and SIGHUP as a Qt signal on the event loop, so that the
// program can save before it ends. The handler only writes the signal's
// number into a socket pair, which is all a handler may safely do; the loop
// reads it from the other end. The handlers belong to the process, so one
// object at a time; its end gives the signals back their earlier handlers.
class TerminationSignals final : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // false when the socket pair could not be made: the signals then keep
    // their earlier handlers.
    bool isListening() const { return m_notifier != nullptr; }

  signals:
    void received(int signalNumber);

  private:
    void readPending();

    std::array<int, 2> m_pair{-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::array<struct sigaction, 3> m_previous{};
};

}  // namespace qlt

#pragma once

#include <QObject>
#include <QPointer>

#include "platform/TerminationSignals.h"

class QSessionManager;

namespace qlt::ui {
class MainWindow;
}

namespace qlt::app {

// How long the program runs: as long as its window, hidden in the tray or
// not. It ends when the window ends (Exit, CLOSE, Escape, the close box),
// which saves by itself, or on SIGTERM, SIGINT or SIGHUP, which save here
// first; the end of the desktop session saves too. Made before the window,
// so that a signal during the start waits for the loop instead of killing
// the program unsaved.
class ProgramLifetime final : public QObject {
    Q_OBJECT

  public:
    explicit ProgramLifetime(QObject* parent = nullptr);
    ~ProgramLifetime() override;
    ProgramLifetime(const ProgramLifetime&) = delete;
    ProgramLifetime& operator=(const ProgramLifetime&) = delete;

    // From here on the program lives as long as `window`.
    void watch(ui::MainWindow& window);

  private:
    void onWindowFinished();
    void onTerminationSignal();
    void onCommitData(QSessionManager& manager);
    void onAboutToQuit();
    void save();

    TerminationSignals m_signals;
    QPointer<ui::MainWindow> m_window;
    bool m_saved = false;
    bool m_quitOnLastWindowClosed = true;
};

}  // namespace qlt::app

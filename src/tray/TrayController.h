#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <string>

#include "base/NetworkState.h"
#include "core/BackgroundCheck.h"
#include "core/MailChecker.h"
#include "core/TrayStatus.h"
#include "platform/NoticeService.h"
#include "store/Formatting.h"
#include "tray/CSystemTray.h"
#include "tray/QtCheckTimer.h"

class QWidget;

namespace qlt::controls {
class CCountdownLamp;
}

namespace qlt::tray {

// What the main window needs of the background check and the tray: the
// timer and its countdown lamp, the tray icon with its menu, hiding into the
// tray when the window is minimised and coming back from it, the new-mail
// notice. It watches the window for minimising by itself.
class TrayController final : public QObject, private WindowPort {
    Q_OBJECT

  public:
    TrayController(MailChecker& checker, QWidget& window, controls::CCountdownLamp* lamp, SoundPlayer& sound,
                   NetworkState& network, QObject* parent = nullptr);
    ~TrayController() override;

    // The start-up request, after the window is on screen: the start-up scan,
    // the timer, the tip.
    void startUp();

    // What UiPort::setTrayTip and UiPort::setTrayIcon ask for.
    void setTrayTip(const std::string& tip);
    void setTrayIcon(int iconId);
    // The icon of an overall risk kind (1..4, 5 scanning).
    void setTrayRisk(int kind);

    // "Hide": minimising hides the window into the tray where there is one.
    void hideToTray();
    // "Show", the double click, and new mail with the window bit.
    void showFromTray();
    // A single click on the icon: the window comes forward unless it is in
    // front already, then it goes into the tray.
    void toggleWindow();
    // "Scan Now": shown, then a scan unless one runs.
    void scanNow();

    CSystemTray& tray() { return m_tray; }
    NoticeService& notices() { return *m_notices; }
    BackgroundCheck& check() { return m_check; }
    QtCheckTimer& timer() { return m_timer; }

  signals:
    // "Exit" in the tray menu: the window closes as by its own Exit.
    void exitRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void raise() override { showFromTray(); }
    void showCountdown(int step) override;
    void showNewMailNotice(const std::string& title, const std::string& text) override;
    void intoTray();
    // The icon with the latest tip and picture; false where there is no tray.
    bool createTray();
    // Without a tray at start: asks again now and then, for a while, and
    // makes the icon once a tray host is there.
    void watchForTray();
    void lookForTray();

    MailChecker& m_checker;
    QWidget& m_window;
    QPointer<controls::CCountdownLamp> m_lamp;
    CSystemTray m_tray;
    // What the icon shows, kept for an icon made after the start.
    QString m_tip = QStringLiteral("Quillgate");
    int m_iconId = kTrayIconProgram;
    QTimer m_trayWatch;
    int m_trayPolls = 0;
    // The desktop's notices, with the tray's balloon where none answers.
    std::unique_ptr<NoticeService> m_notices;
    QtCheckTimer m_timer;
    BackgroundCheck m_check;
};

}  // namespace qlt::tray

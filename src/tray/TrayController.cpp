#include "tray/TrayController.h"

#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include "controls/CCountdownLamp.h"
#include "core/TrayStatus.h"
#include "platform/DesktopNotices.h"

namespace qlt::tray {

namespace {
// A tray host that starts with the session comes within moments of Quillgate;
// after five minutes the desktop has none, and the window keeps to the task bar.
constexpr int kTrayWatchMs = 2000;
constexpr int kTrayWatchPolls = 150;
}  // namespace

TrayController::TrayController(MailChecker& checker, QWidget& window, controls::CCountdownLamp* lamp,
                               SoundPlayer& sound, NetworkState& network, QObject* parent)
    : QObject(parent),
      m_checker(checker),
      m_window(window),
      m_lamp(lamp),
      m_notices(std::make_unique<DesktopNotices>()),
      m_check(checker, BackgroundDesk{m_timer, *this, sound, network}) {
    m_timer.onTick = [this] { m_check.onCheckTick(); };
    m_timer.onPostedCheck = [this] { m_check.runBackgroundCheck(); };
    if (!createTray()) watchForTray();
    connect(&m_tray, &CSystemTray::showRequested, this, &TrayController::showFromTray);
    connect(&m_tray, &CSystemTray::toggleRequested, this, &TrayController::toggleWindow);
    connect(&m_tray, &CSystemTray::scanNowRequested, this, &TrayController::scanNow);
    connect(&m_tray, &CSystemTray::exitRequested, this, &TrayController::exitRequested);
    connect(m_notices.get(), &NoticeService::activated, this, &TrayController::showFromTray);
    connect(m_notices.get(), &NoticeService::unanswered, &m_tray, &CSystemTray::showNotice);
    m_window.installEventFilter(this);
    showCountdown(kCountdownIdle);
}

TrayController::~TrayController() {
    m_window.removeEventFilter(this);
}

void TrayController::startUp() {
    m_check.startUp();
    setTrayTip(m_checker.trayTip());
}

void TrayController::setTrayTip(const std::string& tip) {
    m_tip = QString::fromStdString(tip);
    m_tray.setTip(m_tip);
}

void TrayController::setTrayIcon(int iconId) {
    m_iconId = iconId;
    m_tray.setIconById(iconId);
}

void TrayController::setTrayRisk(int kind) {
    setTrayIcon(TrayIconFor(kind));
}

bool TrayController::createTray() {
    if (!m_tray.create(m_tip, m_iconId)) return false;
    m_tray.setDefaultItem(CSystemTray::kShowItem);
    return true;
}

// Qt finds a tray host that starts later only by asking again: the X11 tray
// selection is looked up afresh each time. (A StatusNotifierItem host alone,
// as on Wayland, is not: Qt keeps its first answer from the bus for the whole
// run, so there the icon comes with the next start.)
void TrayController::watchForTray() {
    m_trayWatch.setInterval(kTrayWatchMs);
    connect(&m_trayWatch, &QTimer::timeout, this, &TrayController::lookForTray);
    m_trayWatch.start();
}

void TrayController::lookForTray() {
    if (++m_trayPolls >= kTrayWatchPolls) m_trayWatch.stop();
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !createTray()) return;
    m_trayWatch.stop();
    // Where the window sits minimised in the task bar, it goes where it would
    // have gone with the tray there from the start.
    intoTray();
}

void TrayController::hideToTray() {
    m_window.showMinimized();
}

void TrayController::showFromTray() {
    m_tray.hide();
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

void TrayController::toggleWindow() {
    if (m_window.isVisible() && !m_window.isMinimized() && m_window.isActiveWindow())
        hideToTray();
    else
        showFromTray();
}

void TrayController::scanNow() {
    showFromTray();
    m_checker.startScan(ScanStart::Tray);
}

bool TrayController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::WindowStateChange && m_window.isMinimized()) {
        // Hiding a window inside its own state change confuses some window
        // managers; the loop's next turn is soon enough.
        QTimer::singleShot(0, this, &TrayController::intoTray);
    }
    return QObject::eventFilter(watched, event);
}

void TrayController::intoTray() {
    if (!m_window.isMinimized()) return;
    setTrayRisk(m_checker.overallRisk());
    // Without a tray the window stays minimised in the task bar: hidden, it
    // could never be brought back.
    if (!m_tray.isEnabled()) return;
    m_tray.show();
    m_window.hide();
}

void TrayController::showCountdown(int step) {
    if (m_lamp) m_lamp->setFrame(static_cast<unsigned>(step));
}

void TrayController::showNewMailNotice(const std::string& title, const std::string& text) {
    m_notices->show(QString::fromStdString(title), QString::fromStdString(text));
}

}  // namespace qlt::tray

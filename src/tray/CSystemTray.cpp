#include "tray/CSystemTray.h"

#include <QSystemTrayIcon>

#include "core/TrayStatus.h"
#include "tray/TrayIconArt.h"

namespace qlt::tray {

namespace {
constexpr int kNoticeShowMs = 10000;
}

CSystemTray::CSystemTray(QObject* parent) : QObject(parent) {
    connect(m_menu.addAction(QStringLiteral("Show")), &QAction::triggered, this, &CSystemTray::showRequested);
    connect(m_menu.addAction(QStringLiteral("Scan Now")), &QAction::triggered, this,
            &CSystemTray::scanNowRequested);
    connect(m_menu.addAction(QStringLiteral("Exit")), &QAction::triggered, this, &CSystemTray::exitRequested);
}

CSystemTray::~CSystemTray() {
    remove();
}

bool CSystemTray::create(const QString& tip, int iconId) {
    remove();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    m_icon = std::make_unique<QSystemTrayIcon>(this);
    m_icon->setContextMenu(&m_menu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
    m_bEnabled = true;
    m_bHidden = true;
    setIconById(iconId);
    setTip(tip);
    return true;
}

void CSystemTray::remove() {
    if (!m_bEnabled) return;
    m_icon->hide();
    m_icon.reset();
    m_bEnabled = false;
    m_bHidden = true;
}

void CSystemTray::hide() {
    if (!m_bEnabled || m_bHidden) return;
    m_icon->hide();
    m_bHidden = true;
}

void CSystemTray::show() {
    if (!m_bEnabled || !m_bHidden) return;
    m_icon->show();
    m_bHidden = false;
}

void CSystemTray::setIconById(int iconId) {
    if (!m_bEnabled) return;
    m_nIconId = iconId;
    m_icon->setIcon(trayIcon(iconId));
}

void CSystemTray::setTip(const QString& tip) {
    if (!m_bEnabled) return;
    m_strTip = tip.left(static_cast<qsizetype>(kTrayTipMaxLength));
    m_icon->setToolTip(m_strTip);
}

void CSystemTray::setDefaultItem(int position) {
    if (position == m_nDefaultItem) return;
    const auto items = m_menu.actions();
    if (position < 0 || position >= items.size()) return;
    m_nDefaultItem = position;
    m_menu.setDefaultAction(items.at(position));
}

QAction* CSystemTray::defaultItem() const {
    return m_menu.defaultAction();
}

void CSystemTray::showNotice(const QString& title, const QString& text) {
    if (!m_bEnabled || m_bHidden) return;
    m_icon->showMessage(title, text, trayIcon(m_nIconId), kNoticeShowMs);
}

void CSystemTray::onActivated(int reason) {
    // StatusNotifierItem hosts report a single left click, XEmbed trays a
    // press before the double click: either way the window comes or goes.
    if (reason == QSystemTrayIcon::Trigger) emit toggleRequested();
    if (reason == QSystemTrayIcon::DoubleClick && defaultItem() != nullptr) defaultItem()->trigger();
}

}  // namespace qlt::tray

#pragma once

#include <QMenu>
#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QSystemTrayIcon;

namespace qlt::tray {

// The program's icon in the notification area, with its menu "Show", "Scan
// Now", "Exit". Without a tray on the desktop the object stays disabled and
// every call does nothing, so callers need not ask first.
class CSystemTray : public QObject {
    Q_OBJECT

  public:
    // Menu items by position.
    enum MenuItem { kShowItem = 0, kScanNowItem = 1, kExitItem = 2 };

    explicit CSystemTray(QObject* parent = nullptr);
    ~CSystemTray() override;

    // Makes the icon (not shown yet); false, and disabled, where the desktop
    // has no tray.
    bool create(const QString& tip, int iconId);
    void remove();
    void hide();
    void show();
    void setIconById(int iconId);
    // Cut to the tip's 63 characters.
    void setTip(const QString& tip);
    void setDefaultItem(int position);
    // A desktop notification from the icon; nothing while it is hidden.
    void showNotice(const QString& title, const QString& text);

    bool isEnabled() const { return m_bEnabled; }
    bool isHidden() const { return m_bHidden; }
    int iconId() const { return m_nIconId; }
    QString tip() const { return m_strTip; }
    QMenu& menu() { return m_menu; }
    QAction* defaultItem() const;

  signals:
    void showRequested();
    // A single left click on the icon.
    void toggleRequested();
    void scanNowRequested();
    void exitRequested();

  private:
    void onActivated(int reason);

    QMenu m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_bEnabled = false;
    bool m_bHidden = true;
    int m_nIconId = 0;
    int m_nDefaultItem = -1;
    QString m_strTip;
};

}  // namespace qlt::tray

#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace qlt::test {

// A desktop notification service of our own (org.freedesktop.Notifications)
// on a connection of its own to the session bus, so that what the program
// sends travels through the bus daemon. It records every notice and plays
// the user's click on one.
class TestNotificationServer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    struct Notice {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        uint id = 0;
    };

    explicit TestNotificationServer(QStringList capabilities);
    ~TestNotificationServer() override;

    // Takes the service's name on the bus; false when the bus or the name is not to be had.
    bool start();
    // As a click on the notice: ActionInvoked(id, action) to every listener,
    // after ActivationToken(id, token) when a token is given.
    void invoke(uint id, const QString& action, const QString& activationToken = {});

    std::vector<Notice> notices;

    // The notice drawn as a desktop's bubble would show it, for the manual.
    QImage picture(const Notice& notice) const;

  public slots:
    QStringList GetCapabilities();
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);

  private:
    QStringList m_capabilities;
    QDBusConnection m_bus;
    uint m_nextId = 1;
};

}  // namespace qlt::test

#pragma once

#include <QDBusConnection>

#include "platform/NoticeService.h"

namespace qlt {

// Notices through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). A new notice replaces
// the one shown before. A service that is not there, fails the call or does
// not answer within a few seconds makes the notice unanswered. Where the
// service hands over an activation token with the click, the window's raise
// in answer to `activated` carries it (Wayland).
class DesktopNotices final : public NoticeService {
    Q_OBJECT

  public:
    explicit DesktopNotices(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                            QObject* parent = nullptr);

    void show(const QString& summary, const QString& body) override;

  private slots:
    void onActionInvoked(uint id, const QString& action);
    void onActivationToken(uint id, const QString& token);

  private:
    void notify(const QString& summary, const QString& body, bool markup);
    // Calls `method` and hands its reply to `answered`; an error or no reply
    // in time makes the notice unanswered.
    template <class Reply, class Answered>
    void callService(const QString& method, const QVariantList& arguments, const QString& summary,
                     const QString& body, Answered answered);

    QDBusConnection m_bus;
    uint m_lastId = 0;
    // The token of the latest notice's click, until the action that follows it.
    QString m_strActivationToken;
};

}  // namespace qlt

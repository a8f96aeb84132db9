#include "TestNotificationServer.h"

#include <QDBusMessage>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace qlt::test {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kConnectionName = QStringLiteral("qlt-test-notification-server");
}  // namespace

TestNotificationServer::TestNotificationServer(QStringList capabilities)
    : m_capabilities(std::move(capabilities)),
      m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)) {}

TestNotificationServer::~TestNotificationServer() {
    m_bus.unregisterObject(kPath);
    m_bus.unregisterService(kService);
    QDBusConnection::disconnectFromBus(kConnectionName);
}

bool TestNotificationServer::start() {
    return m_bus.isConnected() && m_bus.registerService(kService) &&
           m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots);
}

void TestNotificationServer::invoke(uint id, const QString& action, const QString& activationToken) {
    if (!activationToken.isEmpty()) {
        QDBusMessage token = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActivationToken"));
        token << id << activationToken;
        m_bus.send(token);
    }
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
    signal << id << action;
    m_bus.send(signal);
}

QStringList TestNotificationServer::GetCapabilities() {
    return m_capabilities;
}

uint TestNotificationServer::Notify(const QString& appName, uint replacesId, const QString& appIcon,
                                    const QString& summary, const QString& body, const QStringList& actions,
                                    const QVariantMap& hints, int /*expireTimeout*/) {
    const uint id = replacesId != 0 ? replacesId : m_nextId++;
    notices.push_back({appName, replacesId, appIcon, summary, body, actions, hints, id});
    return id;
}

QImage TestNotificationServer::picture(const Notice& notice) const {
    QFrame bubble;
    bubble.setFrameShape(QFrame::Box);
    bubble.setStyleSheet("QFrame { background: #2e3436; color: #eeeeec; } QLabel { border: none; }");
    auto* layout = new QVBoxLayout(&bubble);
    auto* summary = new QLabel("<b>" + notice.summary.toHtmlEscaped() + "</b>");
    auto* body = new QLabel(notice.body);
    body->setWordWrap(true);
    body->setTextFormat(m_capabilities.contains("body-markup") ? Qt::RichText : Qt::PlainText);
    if (body->textFormat() == Qt::RichText) body->setText(QString(notice.body).replace('\n', "<br>"));
    auto* from = new QLabel(notice.appName);
    from->setStyleSheet("color: #babdb6;");
    for (QLabel* label : {from, summary, body}) layout->addWidget(label);
    bubble.setFixedWidth(420);
    bubble.adjustSize();
    return bubble.grab().toImage();
}

}  // namespace qlt::test

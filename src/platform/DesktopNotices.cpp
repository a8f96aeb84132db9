#include "platform/DesktopNotices.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <utility>
#include "store/BuiltInTexts.h"

namespace qlt {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = kService;
const QString kDefaultAction = QStringLiteral("default");
// The name of the program's desktop file: the service finds the icon and
// the program's own notice settings by it.
const QString kDesktopEntry = QStringLiteral(QLT_APP_ID);
// A service started on demand by the bus needs a moment for its first notice.
constexpr int kReplyTimeoutMs = 5000;
constexpr int kServerDecidesExpiry = -1;
constexpr const char* kActivationTokenVariable = "XDG_ACTIVATION_TOKEN";

}  // namespace

DesktopNotices::DesktopNotices(const QDBusConnection& bus, QObject* parent)
    : NoticeService(parent), m_bus(bus) {
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(QString(), kPath, kInterface, QStringLiteral("ActivationToken"), this,
                  SLOT(onActivationToken(uint, QString)));
}

template <class Reply, class Answered>
void DesktopNotices::callService(const QString& method, const QVariantList& arguments, const QString& summary,
                                 const QString& body, Answered answered) {
    if (!m_bus.isConnected()) {
        // A call on a connection that never reached a bus never finishes.
        QMetaObject::invokeMethod(
            this, [this, summary, body] { emit unanswered(summary, body); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, summary, body, answered](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<Reply> reply = *finished;
                if (reply.isError())
                    emit unanswered(summary, body);
                else
                    answered(reply.value());
            });
}

void DesktopNotices::show(const QString& summary, const QString& body) {
    // Where the service reads markup, a sender such as "Ann <ann@example.org>"
    // would otherwise lose its address as an unknown tag.
    callService<QStringList>(QStringLiteral("GetCapabilities"), {}, summary, body,
                             [this, summary, body](const QStringList& capabilities) {
                                 notify(summary, body, capabilities.contains(QStringLiteral("body-markup")));
                             });
}

void DesktopNotices::notify(const QString& summary, const QString& body, bool markup) {
    const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry},
                            {QStringLiteral("category"), QStringLiteral("email.arrived")}};
    const QVariantList arguments{QString::fromLatin1(kProgramName),
                                 m_lastId,
                                 kDesktopEntry,
                                 summary,
                                 markup ? body.toHtmlEscaped() : body,
                                 QStringList{kDefaultAction, QStringLiteral("Show Quillgate")},
                                 hints,
                                 kServerDecidesExpiry};
    callService<uint>(QStringLiteral("Notify"), arguments, summary, body, [this](uint id) {
        m_lastId = id;
        m_strActivationToken.clear();
    });
}

void DesktopNotices::onActivationToken(uint id, const QString& token) {
    if (id == m_lastId && id != 0) m_strActivationToken = token;
}

void DesktopNotices::onActionInvoked(uint id, const QString& action) {
    if (id != m_lastId || id == 0 || action != kDefaultAction) return;
    // A Wayland compositor lets a window take the focus only with the token
    // the service got for the user's click; Qt hands this variable over when
    // the window asks to be activated, which the receivers do at once.
    const QString token = std::exchange(m_strActivationToken, QString());
    if (!token.isEmpty()) qputenv(kActivationTokenVariable, token.toUtf8());
    emit activated();
    // Not for the programs started later.
    if (!token.isEmpty()) qunsetenv(kActivationTokenVariable);
}

}  // namespace qlt

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <memory>

namespace qlt::test {

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kConnectionName = QStringLiteral("qlt-test-tray-host");

// The StatusNotifierItem watcher of a tray host, as far as Qt asks for it:
// the name on the bus says there is a tray, and icons register with it.
class TestTrayWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)

  public:
    bool isHostRegistered() const { return true; }

  public slots:
    void RegisterStatusNotifierItem(const QString& service) { items << service; }

  public:
    QStringList items;
};

// With QLT_TEST_TRAY_HOST set (with-wayland.sh sets it on its private bus),
// a tray host is on the bus before the first test asks for one: Qt asks once
// per run and keeps the answer. Qt's questions block until answered, so the
// watcher answers from a thread of its own.
class TrayHostEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QLT_TEST_TRAY_HOST")) return;
        ASSERT_NE(QCoreApplication::instance(), nullptr) << "the application's environment comes first";
        m_watcher = std::make_unique<TestTrayWatcher>();
        m_watcher->moveToThread(&m_thread);
        m_thread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName);
        ASSERT_TRUE(
            bus.registerObject(kWatcherPath, m_watcher.get(),
                               QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(bus.registerService(kWatcher)) << "another tray host owns the watcher's name";
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(kConnectionName);
        m_thread.quit();
        m_thread.wait();
        if (m_watcher) {
            EXPECT_FALSE(m_watcher->items.isEmpty()) << "no icon came to the tray host";
        }
        m_watcher.reset();
    }

  private:
    QThread m_thread;
    std::unique_ptr<TestTrayWatcher> m_watcher;
};

[[maybe_unused]] ::testing::Environment* const kTrayHostEnvironment =
    ::testing::AddGlobalTestEnvironment(new TrayHostEnvironment);

}  // namespace

}  // namespace qlt::test

#include "TestTrayHost.moc"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include "TestNotificationServer.h"
#include "WindowRig.h"
#include "core/BackgroundCheck.h"
#include "platform/DesktopNotices.h"
#include "tray/TrayController.h"

namespace qlt::test {
namespace {

const QStringList kMarkup{"actions", "body", "body-markup"};
constexpr int kWaitMs = 10000;

tray::TrayController& trayOf(WindowRig& rig) {
    return rig.part<tray::TrayController>("trayController");
}

// A background check that finds the demo's welcome message and an X-rated one.
void checkNewMail(WindowRig& rig, std::int32_t redact) {
    ASSERT_TRUE(rig.addDemoAccount({"demo-01-welcome", "demo-07-hot-singles"}));
    Settings& settings = rig.checker().settings();
    settings.newMsgNotify = kNotifyNotice;
    settings.redactNotices = redact;
    trayOf(rig).check().runBackgroundCheck();
}

// Into the tray where there is one, else minimised.
void hideWindow(WindowRig& rig) {
    rig.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.window.get()));
    rig.part<QAction>("menuHide").trigger();
    const bool intoTray = QSystemTrayIcon::isSystemTrayAvailable();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return intoTray ? !rig.window->isVisible() : rig.window->isMinimized(); }, kWaitMs));
}

// The tray's own balloon with this title, when one is on screen.
const QWidget* trayBalloon(const QString& title) {
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || !widget->inherits("QBalloonTip")) continue;
        for (const QLabel* label : widget->findChildren<QLabel*>())
            if (label->text() == title) return widget;
    }
    return nullptr;
}

// scripts/notice-picture.sh asks for the first redacted notice as a picture.
void keepPictureWhenAsked(const TestNotificationServer& service, const TestNotificationServer::Notice& notice,
                          std::int32_t redact) {
    const QString file = qEnvironmentVariable("QLT_NOTICE_PICTURE");
    if (file.isEmpty() || redact == 0 || QFile::exists(file)) return;
    EXPECT_TRUE(service.picture(notice).save(file)) << file.toStdString();
}

// The real window with a notification service of our own on a private session
// bus (with-notices.sh runs these under dbus-run-session), so that the user's
// own desktop never sees them.
class NoticesOnAPrivateBus : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QLT_PRIVATE_SESSION_BUS"))
            GTEST_SKIP() << "needs a private session bus: tests/gui/with-notices.sh gives it one";
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    }
};

TEST_F(NoticesOnAPrivateBus, TheServiceGetsTheNoticeWithRatedMailHiddenUnlessSwitchedOff) {
    const QString welcome =
        "Quillgate Demo <welcome@quillgate.example>: Welcome to the Quillgate demo mailbox\n";
    const struct {
        const char* name;
        std::int32_t redact;
        QStringList capabilities;
        QString body;
    } rows[] = {
        {"hidden, service reads markup", 1, kMarkup,
         welcome.toHtmlEscaped() + "1 message hidden (X-rated)\nHighest risk: Red"},
        {"switched off", 0, kMarkup,
         (welcome + "Late Night Chat <hello@latenight-cams.example>: Hot singles in your area are waiting\n")
                 .toHtmlEscaped() +
             "Highest risk: Red"},
        {"hidden, plain text service",
         1,
         {"actions", "body"},
         welcome + "1 message hidden (X-rated)\nHighest risk: Red"},
    };
    for (const auto& row : rows) {
        TestNotificationServer service(row.capabilities);
        ASSERT_TRUE(service.start()) << row.name;
        WindowRig rig;
        checkNewMail(rig, row.redact);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !service.notices.empty(); }, kWaitMs)) << row.name;
        const auto& notice = service.notices.front();
        EXPECT_EQ(notice.appName, "Quillgate") << row.name;
        EXPECT_EQ(notice.summary, "2 new messages for demo@example.org") << row.name;
        EXPECT_EQ(notice.body, row.body) << row.name;
        EXPECT_EQ(notice.actions, (QStringList{"default", "Show Quillgate"})) << row.name;
        EXPECT_EQ(notice.hints.value("desktop-entry"), "org.tamsworth.Quillgate") << row.name;
        EXPECT_EQ(notice.hints.value("category"), "email.arrived") << row.name;
        keepPictureWhenAsked(service, notice, row.redact);
    }
}

TEST_F(NoticesOnAPrivateBus, ItsDefaultActionBringsTheWindowBack) {
    if (onWayland()) GTEST_SKIP() << kNoMinimisedStateOnWayland;
    TestNotificationServer service(kMarkup);
    ASSERT_TRUE(service.start());
    WindowRig rig;
    hideWindow(rig);
    checkNewMail(rig, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.notices.empty(); }, kWaitMs));
    EXPECT_FALSE(rig.window->isVisible() && !rig.window->isMinimized()) << "no notice setting raises it";

    QSignalSpy activated(&trayOf(rig).notices(), &NoticeService::activated);
    const uint id = service.notices.front().id;
    service.invoke(id + 1, "default");  // another program's notice
    service.invoke(id, "dismissed");
    service.invoke(id, "default");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return rig.window->isVisible() && !rig.window->isMinimized(); }, kWaitMs));
    EXPECT_EQ(activated.count(), 1) << "the signals arrive in order: the first two were let pass";
}

TEST_F(NoticesOnAPrivateBus, WithNoServiceOnTheBusTheTrayShowsTheNotice) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << kNoTray;
    if (onWayland())
        GTEST_SKIP() << "a StatusNotifierItem tray shows its messages through the notification service, "
                        "and none answers here: Wayland has no balloon of its own";
    WindowRig rig;
    hideWindow(rig);
    ASSERT_FALSE(trayOf(rig).tray().isHidden());
    checkNewMail(rig, 1);
    EXPECT_TRUE(QTest::qWaitFor([] { return trayBalloon("2 new messages for demo@example.org") != nullptr; },
                                kWaitMs));
}

TEST_F(NoticesOnAPrivateBus, TheClicksActivationTokenIsSetOnlyWhileTheWindowIsRaised) {
    TestNotificationServer service(kMarkup);
    ASSERT_TRUE(service.start());
    DesktopNotices notices;
    QByteArrayList tokens;
    QObject::connect(&notices, &NoticeService::activated, [&] { tokens << qgetenv("XDG_ACTIVATION_TOKEN"); });
    notices.show("1 new message", "Bob: Lunch");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.notices.empty(); }, kWaitMs));
    const uint id = service.notices.front().id;
    service.invoke(id + 1, "default", "another-programs-token");
    service.invoke(id, "default");
    service.invoke(id, "default", "token-of-the-click");
    ASSERT_TRUE(QTest::qWaitFor([&] { return tokens.size() == 2; }, kWaitMs));
    EXPECT_EQ(tokens, (QByteArrayList{"", "token-of-the-click"}));
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN")) << "left for the programs started later";
}

TEST(DesktopNotices, WithoutASessionBusEveryNoticeIsUnanswered) {
    const QString name = QStringLiteral("qlt-no-bus");
    DesktopNotices notices(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/qlt-no-bus"), name));
    QSignalSpy unanswered(&notices, &NoticeService::unanswered);
    notices.show("3 new messages", "Bob: Lunch");
    ASSERT_TRUE(QTest::qWaitFor([&] { return unanswered.count() == 1; }, kWaitMs));
    EXPECT_EQ(unanswered.at(0), (QVariantList{"3 new messages", "Bob: Lunch"}));
    QDBusConnection::disconnectFromBus(name);
}

}  // namespace
}  // namespace qlt::test

#include <gtest/gtest.h>

#include <QAction>
#include <QProcess>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include "GuiTestSupport.h"
#include "WindowRig.h"
#include "controls/CCountdownLamp.h"
#include "core/TrayStatus.h"
#include "tray/TrayController.h"
#include "tray/TrayIconArt.h"
#include "ui/MainWindow.h"

namespace qlt::tray {
namespace {

// The real window with the tray it makes for itself.
class TrayTest : public ::testing::Test {
  protected:
    void hideFromTheMenu() { rig.part<QAction>("menuHide").trigger(); }
    // What the tray host reports of a click on the icon.
    void click(QSystemTrayIcon::ActivationReason reason) {
        emit controller.tray().findChild<QSystemTrayIcon*>()->activated(reason);
    }

    test::WindowRig rig;
    ui::MainWindow& window = *rig.window;
    TrayController& controller = rig.part<TrayController>("trayController");
    controls::CCountdownLamp& lamp = rig.part<controls::CCountdownLamp>("countdownLamp");
};

TEST(TrayIconArt, EveryIconIsDrawnAtEachSizeAndTheRiskIconsDiffer) {
    for (const int size : {16, 22, 32, 48}) {
        std::vector<QImage> risk;
        for (int id = kTrayIconProgram; id <= kTrayIconScanning; ++id) {
            const QImage image = renderTrayIcon(id, size);
            EXPECT_EQ(image.size(), QSize(size, size)) << id;
            EXPECT_TRUE(test::hasInk(image)) << id << " at " << size;
            if (id >= 187 && id <= 190) risk.push_back(image);
        }
        for (std::size_t a = 0; a < risk.size(); ++a)
            for (std::size_t b = a + 1; b < risk.size(); ++b)
                EXPECT_NE(risk[a], risk[b]) << "levels " << a << " and " << b << " at " << size;
        EXPECT_NE(renderTrayIcon(kTrayIconScanning, size), renderTrayIcon(kTrayIconProgram, size));
        EXPECT_EQ(renderTrayIcon(0, size), renderTrayIcon(kTrayIconProgram, size)) << "unknown ids";
    }
    EXPECT_FALSE(trayIcon(190).availableSizes().isEmpty());
}

TEST(CSystemTrayMenu, OffersShowScanNowExitWithShowAsTheDefault) {
    CSystemTray tray;
    QStringList texts;
    for (const QAction* action : tray.menu().actions()) texts << action->text();
    EXPECT_EQ(texts, (QStringList{"Show", "Scan Now", "Exit"}));
    tray.setDefaultItem(CSystemTray::kShowItem);
    ASSERT_NE(tray.defaultItem(), nullptr);
    EXPECT_EQ(tray.defaultItem()->text(), QStringLiteral("Show"));

    QSignalSpy shown(&tray, &CSystemTray::showRequested);
    QSignalSpy scan(&tray, &CSystemTray::scanNowRequested);
    QSignalSpy exit(&tray, &CSystemTray::exitRequested);
    tray.menu().actions().at(CSystemTray::kScanNowItem)->trigger();
    tray.menu().actions().at(CSystemTray::kExitItem)->trigger();
    tray.defaultItem()->trigger();
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(scan.count(), 1);
    EXPECT_EQ(exit.count(), 1);
}

TEST_F(TrayTest, WithoutATrayMinimisingKeepsTheWindowInTheTaskBar) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "a tray is available here";
    EXPECT_FALSE(controller.tray().isEnabled());
    controller.setTrayTip("ignored");
    controller.setTrayRisk(4);
    EXPECT_TRUE(controller.tray().tip().isEmpty()) << "a disabled tray takes nothing";
    window.show();
    hideFromTheMenu();
    QTest::qWait(50);
    EXPECT_TRUE(window.isVisible()) << "hidden without a tray, the window could never come back";
    if (test::onWayland()) GTEST_SKIP() << test::kNoMinimisedStateOnWayland;
    EXPECT_TRUE(window.isMinimized());
    controller.showFromTray();
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(TrayTest, TheCountdownLampFollowsTheTimer) {
    EXPECT_EQ(lamp.frame(), controls::kCountdownIdleFrame);
    rig.checker().settings().minutes2Scan = 2;
    rig.checker().StartCheckTimer();
    EXPECT_EQ(lamp.frame(), 1);
    EXPECT_TRUE(controller.timer().isActive());
    EXPECT_EQ(controller.timer().interval(), 15001);
    controller.check().onCheckTick();
    EXPECT_EQ(lamp.frame(), 2);
    rig.checker().StopCheckTimer(false);
    EXPECT_EQ(lamp.frame(), 2);
    EXPECT_FALSE(controller.timer().isActive());
    rig.checker().StopCheckTimer(true);
    EXPECT_EQ(lamp.frame(), controls::kCountdownIdleFrame);
}

TEST(QtCheckTimer, TicksPeriodicallyAndRunsPostedChecksFromTheLoop) {
    QtCheckTimer timer;
    int ticks = 0;
    int checks = 0;
    timer.onTick = [&] { ++ticks; };
    timer.onPostedCheck = [&] { ++checks; };
    timer.start(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    timer.stop();
    timer.postCheck();
    EXPECT_EQ(checks, 0) << "never from inside the caller";
    EXPECT_TRUE(QTest::qWaitFor([&] { return checks == 1; }, 5000));
}

TEST_F(TrayTest, MinimisingHidesIntoTheTrayAndShowBringsTheWindowBack) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << test::kNoTray;
    CSystemTray& tray = controller.tray();
    ASSERT_TRUE(tray.isEnabled());
    EXPECT_TRUE(tray.isHidden()) << "hidden while the window is visible";
    EXPECT_EQ(tray.iconId(), kTrayIconProgram);
    EXPECT_EQ(tray.tip(), QStringLiteral("Quillgate"));
    EXPECT_EQ(tray.defaultItem()->text(), QStringLiteral("Show"));
    controller.setTrayTip(std::string(80, 'x'));
    EXPECT_EQ(tray.tip().size(), 63);

    window.show();
    hideFromTheMenu();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    EXPECT_FALSE(tray.isHidden());
    EXPECT_EQ(tray.iconId(), TrayIconFor(rig.checker().overallRisk()));

    tray.defaultItem()->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(tray.isHidden());
    controller.setTrayRisk(4);
    EXPECT_EQ(tray.iconId(), 190);
}

TEST_F(TrayTest, ASingleClickBringsTheWindowForwardOrHidesItAndADoubleClickShowsIt) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << test::kNoTray;
    const auto shown = [&] { return window.isVisible() && !window.isMinimized(); };
    window.show();
    hideFromTheMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));

    click(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(QTest::qWaitFor(shown, 5000)) << "hidden: it comes back";
    EXPECT_TRUE(controller.tray().isHidden());
    if (test::onWayland())
        GTEST_SKIP() << "a Wayland client cannot activate its own window, and a compositor without a "
                        "keyboard makes none active: which window is in front cannot be seen here";

    // Without a window manager a window mapped again gets no focus by itself.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    click(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << "behind another window: it comes forward";
    EXPECT_TRUE(shown());

    click(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000)) << "in front: into the tray";
    EXPECT_FALSE(controller.tray().isHidden());

    click(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(shown());
    click(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(shown()) << "the double click only shows";
}

TEST_F(TrayTest, NewMailFoundFromTheTrayBringsTheWindowBackWhenAsked) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << test::kNoTray;
    ASSERT_TRUE(rig.addDemoAccount({"demo-01-welcome"}));
    window.show();
    hideFromTheMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    rig.checker().settings().newMsgNotify = kNotifyWindow;
    controller.check().runBackgroundCheck();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible() && !window.isMinimized(); }, 5000));
    EXPECT_TRUE(controller.tray().isHidden());
}

// with-tray.sh --late-host names the tray host in QLT_LATE_TRAY_HOST and
// starts none itself.
TEST(LateTrayHost, AHostStartingAfterTheWindowGetsTheIconAndTheMinimisedWindow) {
    const QString host = qEnvironmentVariable("QLT_LATE_TRAY_HOST");
    if (host.isEmpty())
        GTEST_SKIP() << "needs a tray host to start later: tests/gui/with-tray.sh --late-host";
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "a tray host is there already";
    test::WindowRig rig;
    ui::MainWindow& window = *rig.window;
    CSystemTray& tray = rig.part<TrayController>("trayController").tray();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    rig.part<QAction>("menuHide").trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMinimized(); }, 5000));
    EXPECT_TRUE(window.isVisible()) << "no tray yet: it stays in the task bar";
    rig.part<TrayController>("trayController").setTrayTip("QLT - mail checked No Record - 0 Messages ");

    QStringList arguments = QProcess::splitCommand(host);
    QProcess hostProcess;
    hostProcess.start(arguments.takeFirst(), arguments);
    ASSERT_TRUE(hostProcess.waitForStarted(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tray.isEnabled(); }, 20000));
    EXPECT_EQ(tray.tip(), QStringLiteral("QLT - mail checked No Record - 0 Messages "));
    EXPECT_EQ(tray.defaultItem()->text(), QStringLiteral("Show"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000))
        << "minimised, it goes into the tray";
    EXPECT_FALSE(tray.isHidden());
    tray.defaultItem()->trigger();
    EXPECT_TRUE(window.isVisible());
    hostProcess.terminate();
    if (!hostProcess.waitForFinished(5000)) hostProcess.kill();
}

}  // namespace
}  // namespace qlt::tray

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <memory>

#include "WindowRig.h"
#include "app/ProgramLifetime.h"
#include "controls/CFaceButton.h"
#include "controls/CFlatCheck.h"
#include "tray/TrayController.h"
#include "ui/MainWindow.h"
#include "ui/MessageViewModel.h"
#include "ui/QtMessageBoxes.h"

namespace qlt::test {
namespace {

using ui::MainWindow;
namespace command = ui::command;

constexpr int kStillRunning = 101;
constexpr int kTimedOut = 102;

// Runs the loop the program runs on, QApplication::exec(), until the program
// ends it (its exit code), `reached` has held for a few turns (kStillRunning:
// a quit already under way would have ended the loop first), or 20 s pass.
int runProgram(const std::function<bool()>& reached = [] { return false; }) {
    int turnsReached = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        turnsReached = reached() ? turnsReached + 1 : 0;
        if (turnsReached > 2) QCoreApplication::exit(kStillRunning);
    });
    poll.start(5);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(kTimedOut); });
    deadline.start(20000);
    return QApplication::exec();
}

// The real window under the lifetime the program gives it, on screen, with
// the program's own message boxes.
struct ProgramRig {
    ProgramRig() {
        lifetime.watch(window);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // "Check messages when program starts" on the Options page; the page
    // does not save it, the program's end does.
    void changeAnOption() {
        window.showTab(command::kTabOptions);
        QTest::mouseClick(&rig.part<controls::CFlatCheck>("scanOnStartup"), Qt::LeftButton);
        ASSERT_EQ(rig.checker().settings().scanOnStartup, 1);
    }

    tray::TrayController& trayController() { return rig.part<tray::TrayController>("trayController"); }
    tray::CSystemTray& tray() { return trayController().tray(); }
    QTableView& messageView() { return rig.part<QTableView>("messageView"); }
    ui::MessageViewModel& messageModel() { return rig.part<ui::MessageViewModel>("messageModel"); }

    app::ProgramLifetime lifetime;
    ui::QtMessageBoxes boxes;
    WindowRig rig{boxes};
    MainWindow& window = *rig.window;
};

class HiddenInTheTray : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << kNoTray;
        program = std::make_unique<ProgramRig>();
        program->rig.part<QAction>("menuHide").trigger();
        ASSERT_EQ(runProgram([&] { return !window().isVisible(); }), kStillRunning);
    }

    MainWindow& window() { return program->window; }

    std::unique_ptr<ProgramRig> program;
};

TEST(ProgramLifetime, EveryWayOutEndsTheProgramAndKeepsAChangedOption) {
    using End = std::function<void(MainWindow&)>;
    const std::vector<std::pair<const char*, End>> endings = {
        {"File > Exit", [](MainWindow& w) { child<QAction>(w, "menuExit").trigger(); }},
        {"CLOSE",
         [](MainWindow& w) {
             QTest::mouseClick(&child<controls::CFaceButton>(w, "closeButton"), Qt::LeftButton);
         }},
        {"Escape", [](MainWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"the close box", [](MainWindow& w) { w.close(); }},
        {"tray Exit",
         [](MainWindow& w) {
             child<tray::TrayController>(w, "trayController")
                 .tray()
                 .menu()
                 .actions()
                 .at(tray::CSystemTray::kExitItem)
                 ->trigger();
         }},
        {"SIGTERM", [](MainWindow&) { std::raise(SIGTERM); }},
        {"SIGINT", [](MainWindow&) { std::raise(SIGINT); }},
        {"SIGHUP", [](MainWindow&) { std::raise(SIGHUP); }},
    };
    for (const auto& [name, end] : endings) {
        ProgramRig program;
        program.changeAnOption();
        QTimer::singleShot(0, &program.window, [&] { end(program.window); });
        EXPECT_EQ(runProgram(), 0) << name;
        EXPECT_EQ(program.rig.profile.readInt("ScanOnStartup"), 1) << name << " ended the program unsaved";
    }
}

TEST(ProgramLifetime, SigtermInADeletesUndoWaitDeletesAtOnceAndEnds) {
    ProgramRig program;
    ASSERT_TRUE(program.rig.addDemoAccount());
    MailChecker& checker = program.rig.checker();
    checker.onScanButton();
    const std::size_t before = program.rig.demoMessageCount();
    ASSERT_EQ(checker.messages().count(), before);
    Settings& settings = checker.settings();
    settings.noDeleteWarning = 1;
    // A wait the signal did not end would outlast runProgram's limit.
    settings.undoTime = kMaxUndoSeconds;
    checker.untagAll();
    checker.toggleRowState(0);
    QTimer::singleShot(0, &program.window, [&] {
        // Handled by the wait's own message pump.
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        checker.deleteTagged();
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(program.rig.demoMessageCount(), before - 1) << "QUIT went out before the program ended";
}

TEST_F(HiddenInTheTray, ABackgroundCheckRunsAndShowBringsTheWindowBackWithTheNewList) {
    ASSERT_TRUE(program->rig.addDemoAccount());
    Settings& settings = program->rig.checker().settings();
    settings.rescanRecurring = 1;
    settings.newMsgNotify = 0;  // no sound, and the window stays in the tray
    ASSERT_EQ(program->messageModel().rowCount(), 0);
    // What the Options page does when the recurring check is switched on.
    program->trayController().timer().periodOverrideMs = 5;
    program->rig.checker().StartCheckTimer();
    const int messages = static_cast<int>(program->rig.demoMessageCount());
    EXPECT_EQ(runProgram([&] {
                  return !program->rig.checker().scanRunning() &&
                         program->messageModel().rowCount() == messages;
              }),
              kStillRunning);
    EXPECT_FALSE(window().isVisible());

    program->tray().defaultItem()->trigger();  // "Show"
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(program->tray().isHidden());
    EXPECT_TRUE(program->messageView().isVisible());
    EXPECT_EQ(program->messageModel().rowCount(), messages);
}

// A real box, without a window to stand on while the window is hidden:
// closing it must not count as the program's last window closing.
TEST_F(HiddenInTheTray, AMessageBoxAnsweredLeavesTheProgramRunning) {
    bool answered = false;
    QTimer::singleShot(0, &window(), [&] {
        window().messageBox("QLT Notice", "Shown while hidden.\n", BoxIcon::Information, BoxButtons::Ok);
        answered = true;
    });
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    answer.start(5);
    EXPECT_EQ(runProgram([&] { return answered; }), kStillRunning);
    EXPECT_FALSE(window().isVisible());
}

// The built program itself, ended as a desktop session or a service manager
// ends it: what it holds in memory reaches its settings file.
TEST(ProgramLifetime, TheProgramSavesWhenItGetsSigterm) {
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QString::fromUtf8(QLT_QUILLGATE_PATH), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    // The first start writes the settings as the window opens, after the
    // program has taken over SIGTERM; removed, only a save can bring them back.
    const QString settings = home.filePath("config/Tamsworth/quillgt.conf");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(settings); }, 20000));
    ASSERT_TRUE(QFile::remove(settings));

    program.terminate();
    const bool ended = program.waitForFinished(20000);
    if (!ended) program.kill();
    ASSERT_TRUE(ended);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "killed by the signal, unsaved";
    EXPECT_EQ(program.exitCode(), 0);
    QFile saved(settings);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("Accounts="));
}

}  // namespace
}  // namespace qlt::test

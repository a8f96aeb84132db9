#include <gtest/gtest.h>

#include <fstream>

#include "base/ProcessState.h"
#include "core/BackgroundCheck.h"
#include "support/CheckerRig.h"
#include "support/FakeNetwork.h"
#include "support/FakePop3Server.h"
#include "support/RecordingSoundPlayer.h"

namespace qlt::test {
namespace {

constexpr const char* kTop = "+OK\r\nFrom: ann@example.org\r\nSubject: Hello\r\n\r\nbody line\r\n.\r\n";

// The dialogue of a mailbox holding one message the list does not know yet.
void scriptOneNewMessage(FakePop3Server& server, const std::string& uid = "uid-ann-1",
                         bool splitTop = false) {
    server.greetAndLogin("ann", "pw")
        .expect("stat\r\n")
        .send("+OK 1 120\r\n")
        .withoutCapa()
        .expect("list 1\r\n")
        .send("+OK 1 120\r\n")
        .expect("uidl 1\r\n")
        .send("+OK 1 " + uid + "\r\n")
        .expect("top 1 1024\r\n");
    // Two receives make the reader pump the messages between them.
    if (splitTop)
        server.sendSplit(kTop, {12});
    else
        server.send(kTop);
    server.expect("quit\r\n").send("+OK\r\n");
}

class FakeTimer final : public TimerPort {
  public:
    void start(std::uint32_t periodMs) override { log.push_back("start " + std::to_string(periodMs)); }
    void stop() override { log.emplace_back("stop"); }
    void postCheck() override { ++posts; }
    std::vector<std::string> log;
    int posts = 0;
};

class FakeWindow final : public WindowPort {
  public:
    void raise() override { ++raises; }
    void showCountdown(int step) override { steps.push_back(step); }
    void showNewMailNotice(const std::string& title, const std::string& text) override {
        notices.push_back(title + " | " + text);
    }
    int raises = 0;
    std::vector<int> steps;
    std::vector<std::string> notices;
};

class BackgroundCheckTest : public ::testing::Test {
  protected:
    void TearDown() override { resetProcessState(); }

    // Ticks until the timer posts a check; 0 when none came within `limit`.
    int ticksToCheck(int limit = 20) {
        for (int tick = 1; tick <= limit; ++tick)
            if (check.onCheckTick()) return tick;
        return 0;
    }

    // One account on `server`, current, with a sound file that exists.
    void addAccountWithSound(const FakePop3Server& server) {
        checker.accounts().MakeAccountCurrent(rig.addAccount(server.port(), "ann", "pw"));
        std::ofstream(soundPath) << "RIFF";
        checker.settings().soundFile = soundPath;
    }

    CheckerRig rig;
    MailChecker& checker = rig.checker;
    FakeTimer timer;
    FakeWindow window;
    RecordingSoundPlayer sound;
    FakeNetwork network;
    BackgroundCheck check{checker, BackgroundDesk{timer, window, sound, network}};
    std::string soundPath = rig.folder.file("ding.wav");
};

TEST(CheckTimerPeriod, IsAnEighthOfTheIntervalPlusOneAndOutOfRangeCountsAsFifteenMinutes) {
    const struct {
        const char* name;
        std::int32_t minutes;
        std::uint32_t periodMs;
    } rows[] = {
        {"default", 15, 112501},
        {"smallest", 2, 15001},
        {"largest", 2880, 21600001},
        {"one minute", 1, 112501},
        {"zero", 0, 112501},
        {"negative", -4, 112501},
        {"past the largest", 2881, 112501},
    };
    for (const auto& row : rows) EXPECT_EQ(CheckTimerPeriodMs(row.minutes), row.periodMs) << row.name;
}

TEST_F(BackgroundCheckTest, FirstCheckComesEightTicksAfterTheStartAndNineAfterACheck) {
    check.StartCheckTimer();
    EXPECT_EQ(timer.log, std::vector<std::string>{"start 112501"});
    EXPECT_EQ(check.countdownStep(), 1);
    EXPECT_EQ(ticksToCheck(), 8);
    EXPECT_EQ(timer.posts, 1);
    EXPECT_EQ(check.countdownStep(), 0);

    // Without an account the scan only asks for one; the countdown restarts all the same.
    check.runBackgroundCheck();
    EXPECT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(check.countdownStep(), kCountdownIdle);
    EXPECT_EQ(window.steps.back(), kCountdownIdle);
    EXPECT_EQ(ticksToCheck(), 9);
    EXPECT_EQ(ticksToCheck(), 9) << "with no check in between the cycle is nine ticks";
}

TEST_F(BackgroundCheckTest, StopKeepsTheStepUnlessReset) {
    check.StartCheckTimer();
    check.onCheckTick();
    check.StopCheckTimer(false);
    EXPECT_EQ(check.countdownStep(), 2);
    EXPECT_FALSE(check.timerRunning());
    check.StopCheckTimer(true);
    EXPECT_EQ(check.countdownStep(), kCountdownIdle);
    EXPECT_EQ(timer.log, (std::vector<std::string>{"start 112501", "stop", "stop"}));
}

TEST_F(BackgroundCheckTest, ATickAtTheEndOfAnIntervalIsSkippedWhenNotConnected) {
    const struct {
        const char* name;
        std::int32_t scanIfConnected;
        bool connected;
        bool posts;
    } rows[] = {
        {"condition off, offline", 0, false, true},
        {"condition on, offline", 1, false, false},
        {"condition on, online", 1, true, true},
    };
    for (const auto& row : rows) {
        checker.settings().scanIfConnected = row.scanIfConnected;
        network.connected = row.connected;
        check.StartCheckTimer();
        const int before = timer.posts;
        EXPECT_EQ(ticksToCheck(8), row.posts ? 8 : 0) << row.name;
        EXPECT_EQ(timer.posts - before, row.posts ? 1 : 0) << row.name;
        if (!row.posts) {
            network.connected = true;
            EXPECT_EQ(ticksToCheck(9), 9) << row.name << ": the next chance is a full cycle later";
        }
    }
}

TEST_F(BackgroundCheckTest, WhileAScanRunsTicksPostNothingAndARequestStartsNoSecondScan) {
    FakePop3Server server;
    scriptOneNewMessage(server, "uid-ann-1", true);
    server.start();
    addAccountWithSound(server);
    checker.settings().rescanRecurring = 1;
    check.StartCheckTimer();
    for (int i = 0; i < 7; ++i) check.onCheckTick();  // one tick before the end of the interval

    std::vector<bool> tickPosted;
    rig.ui.onPumpMessages = [&] {
        if (!tickPosted.empty()) return;
        tickPosted.push_back(check.onCheckTick());
        check.runBackgroundCheck();  // a request handled from inside the scan's pump
    };
    ASSERT_TRUE(checker.startScan(ScanStart::Menu));

    EXPECT_EQ(server.finish(), "") << "a second scan would have spoken to the server";
    EXPECT_EQ(tickPosted, std::vector<bool>{false});
    EXPECT_EQ(timer.posts, 0);
    EXPECT_TRUE(sound.played.empty()) << "the menu scan notifies nothing";
    EXPECT_EQ(window.raises, 0);
}

TEST_F(BackgroundCheckTest, NewMailPlaysTheSoundAndRaisesTheWindowAndTheTimerRestarts) {
    FakePop3Server server;
    scriptOneNewMessage(server);
    server.start();
    addAccountWithSound(server);
    checker.settings().rescanRecurring = 1;
    checker.settings().newMsgNotify = 7;
    check.StartCheckTimer();

    check.runBackgroundCheck();

    EXPECT_EQ(server.finish(), "");
    ASSERT_TRUE(checker.newMailFound());
    EXPECT_EQ(sound.played, std::vector<std::string>{soundPath});
    EXPECT_EQ(window.raises, 1);
    ASSERT_EQ(checker.messages().count(), 1u);
    ASSERT_EQ(window.notices.size(), 1u);
    EXPECT_EQ(window.notices[0],
              "1 new message for ann@example.org | ann@example.org: Hello\nHighest risk: Orange");
    // The scan stops the timer and starts it again; the countdown then waits a full cycle.
    EXPECT_EQ(timer.log, (std::vector<std::string>{"start 112501", "stop", "stop", "start 112501"}));
    EXPECT_EQ(check.countdownStep(), kCountdownIdle);
    EXPECT_FALSE(checker.scanBusy());
    EXPECT_EQ(rig.ui.buttonLog.front(), "Scan face Pressed");
}

TEST_F(BackgroundCheckTest, NotificationFollowsTheBitsAndNothingHappensWithoutNewMail) {
    const struct {
        const char* name;
        std::uint8_t bits;
        bool hasMail;
        std::size_t sounds;
        int raises;
        std::size_t notices;
    } rows[] = {
        {"default bits, new mail", 6, true, 1, 1, 0},
        {"sound only", 2, true, 1, 0, 0},
        {"window only", 4, true, 0, 1, 0},
        {"notice only", 1, true, 0, 0, 1},
        {"every bit, mailbox empty", 7, false, 0, 0, 0},
    };
    for (const auto& row : rows) {
        FakePop3Server server;
        if (row.hasMail)
            scriptOneNewMessage(server);
        else
            server.greetAndLogin("ann", "pw").expect("stat\r\n").send("+OK 0 0\r\n");
        server.start();
        CheckerRig fresh;
        FakeWindow rowWindow;
        RecordingSoundPlayer rowSound;
        BackgroundCheck rowCheck{fresh.checker, BackgroundDesk{timer, rowWindow, rowSound, network}};
        fresh.checker.accounts().MakeAccountCurrent(fresh.addAccount(server.port(), "ann", "pw"));
        std::ofstream(soundPath) << "RIFF";
        fresh.checker.settings().soundFile = soundPath;
        fresh.checker.settings().newMsgNotify = row.bits;

        rowCheck.runBackgroundCheck();

        EXPECT_EQ(server.finish(), "") << row.name;
        EXPECT_EQ(rowSound.played.size(), row.sounds) << row.name;
        EXPECT_EQ(rowWindow.raises, row.raises) << row.name;
        EXPECT_EQ(rowWindow.notices.size(), row.notices) << row.name;
    }
}

TEST_F(BackgroundCheckTest, AMissingSoundFilePlaysNothing) {
    checker.settings().soundFile = rig.folder.file("gone.wav");
    FakePop3Server server;
    scriptOneNewMessage(server);
    server.start();
    checker.accounts().MakeAccountCurrent(rig.addAccount(server.port(), "ann", "pw"));
    check.runBackgroundCheck();
    EXPECT_EQ(server.finish(), "");
    EXPECT_TRUE(sound.played.empty());
    EXPECT_EQ(window.raises, 1);
}

TEST_F(BackgroundCheckTest, StartUpStartsTheTimerOnlyWhenRecurring) {
    check.startUp();
    EXPECT_TRUE(timer.log.empty());
    EXPECT_EQ(window.steps, std::vector<int>{kCountdownIdle});
    checker.settings().rescanRecurring = 1;
    check.startUp();
    EXPECT_EQ(timer.log, std::vector<std::string>{"start 112501"});
    EXPECT_EQ(check.countdownStep(), 1);
    EXPECT_TRUE(rig.ui.boxes.empty()) << "no start-up scan was asked for";
}

}  // namespace
}  // namespace qlt::test

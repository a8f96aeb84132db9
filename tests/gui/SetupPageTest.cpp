#include <gtest/gtest.h>

#include <QLineEdit>
#include <fstream>

#include "controls/CFlatCheck.h"
#include "controls/CNamedBitmapButton.h"
#include "support/CheckerRig.h"
#include "support/RecordingSoundPlayer.h"
#include "ui/SetupPage.h"

namespace qlt::ui {
namespace {

class SetupPageTest : public ::testing::Test {
  protected:
    // The page as the main window shows it.
    SetupPage& show() {
        page = std::make_unique<SetupPage>(rig.checker, rig.ui, sound);
        page->show();
        return *page;
    }
    template <class T = controls::CFlatCheck>
    T& child(const char* name) {
        auto* found = page->findChild<T*>(QLatin1String(name));
        if (found == nullptr) throw std::runtime_error(name);
        return *found;
    }
    bool enabled(const char* name) { return child<QWidget>(name).isEnabled(); }
    bool on(const char* name) { return child(name).isOn(); }
    Settings& settings() { return rig.checker.settings(); }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : rig.ui.boxes) texts.push_back(box.title + ": " + box.text);
        return texts;
    }

    test::CheckerRig rig;
    test::RecordingSoundPlayer sound;
    std::unique_ptr<SetupPage> page;
};

constexpr const char* kMinimumBox = "Quillgate: The smallest time interval for\nQuillgate scan is 2 minutes";

TEST_F(SetupPageTest, DependentEnablingFollowsCheckMessagesEveryThenNotifyThenPlaySound) {
    const char* const always[] = {"scanOnStartup", "rescanDel", "rescanRecurring", "minutes", "minut"};
    const struct {
        const char* name;
        std::int32_t recurring;
        std::uint8_t bits;
        bool dialUpAndNotify, soundAndWindow, soundFileControls;
    } rows[] = {
        {"recurring off, every bit set", 0, 7, false, false, false},
        {"recurring on, notify off", 1, 6, true, false, false},
        {"recurring on, notify on, sound off", 1, 5, true, true, false},
        {"recurring on, every bit set", 1, 7, true, true, true},
    };
    for (const auto& row : rows) {
        settings().rescanRecurring = row.recurring;
        settings().scanIfConnected = 1;
        settings().newMsgNotify = row.bits;
        show();
        for (const char* name : always) EXPECT_TRUE(enabled(name)) << row.name << ": " << name;
        EXPECT_EQ(on("notify"), (row.bits & 1) != 0) << row.name << ": shown whatever its enabling";
        EXPECT_TRUE(on("scanIfConnected")) << row.name;
        for (const char* name : {"scanIfConnected", "notify"})
            EXPECT_EQ(enabled(name), row.dialUpAndNotify) << row.name << ": " << name;
        for (const char* name : {"playSound", "showWindow"})
            EXPECT_EQ(enabled(name), row.soundAndWindow) << row.name << ": " << name;
        for (const char* name : {"soundFile", "finds", "tests"})
            EXPECT_EQ(enabled(name), row.soundFileControls) << row.name << ": " << name;
    }
}

TEST_F(SetupPageTest, ClickingTogglesStoresSettingsAndReEnables) {
    settings().rescanRecurring = 0;
    settings().newMsgNotify = 0;
    show();
    child("rescanRecurring").click();
    EXPECT_EQ(settings().rescanRecurring, 1);
    EXPECT_EQ(rig.timerCalls, std::vector<std::string>{"start"});
    EXPECT_TRUE(enabled("notify"));
    EXPECT_FALSE(enabled("playSound"));
    child("notify").click();
    child("playSound").click();
    child("showWindow").click();
    EXPECT_EQ(settings().newMsgNotify, 7);
    EXPECT_TRUE(enabled("tests"));
    child("playSound").click();
    EXPECT_EQ(settings().newMsgNotify, 5);
    EXPECT_FALSE(enabled("finds"));
    child("scanOnStartup").click();
    child("rescanDel").click();
    EXPECT_EQ(settings().scanOnStartup, 1);
    EXPECT_EQ(settings().rescanDel, 0);

    child("rescanRecurring").click();
    EXPECT_EQ(settings().rescanRecurring, 0);
    EXPECT_EQ(rig.timerCalls, (std::vector<std::string>{"start", "stop reset"}));
    EXPECT_FALSE(enabled("notify"));
    EXPECT_TRUE(rig.ui.boxes.empty());
}

TEST_F(SetupPageTest, AnIntervalOutsideTwoTo2880BecomesFifteenWithTheMessage) {
    const struct {
        const char* name;
        std::int32_t stored;
        std::int32_t after;
        bool message;
    } rows[] = {
        {"one", 1, 15, true},           {"smallest", 2, 2, false},
        {"largest", 2880, 2880, false}, {"past the largest", 2881, 15, true},
        {"negative", -3, 15, true},
    };
    for (const auto& row : rows) {
        rig.ui.boxes.clear();
        settings().minutes2Scan = row.stored;
        show();
        EXPECT_EQ(settings().minutes2Scan, row.after) << row.name;
        EXPECT_EQ(child<QLineEdit>("minutes").text(), QString::number(row.after)) << row.name;
        EXPECT_EQ(boxTexts(),
                  row.message ? std::vector<std::string>{kMinimumBox} : std::vector<std::string>{})
            << row.name;
    }
}

TEST_F(SetupPageTest, MinutSetsTheIntervalAndSwitchesTheRecurringCheckOn) {
    settings().rescanRecurring = 0;
    show();
    child<QLineEdit>("minutes").setText(QStringLiteral("30"));
    EXPECT_EQ(settings().minutes2Scan, 15) << "typing alone changes nothing";
    child<controls::CNamedBitmapButton>("minut").click();
    EXPECT_EQ(settings().minutes2Scan, 30);
    EXPECT_EQ(rig.timerCalls, (std::vector<std::string>{"stop", "start"}));
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"QLT Timer Set: Check for new messages will run every 30 minutes."});
    EXPECT_EQ(rig.ui.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(settings().rescanRecurring, 1);
    EXPECT_TRUE(on("rescanRecurring"));
    EXPECT_TRUE(enabled("scanIfConnected"));

    rig.ui.boxes.clear();
    child<QLineEdit>("minutes").setText(QStringLiteral("1"));
    child<controls::CNamedBitmapButton>("minut").click();
    EXPECT_EQ(settings().minutes2Scan, 15);
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{kMinimumBox,
                                        "QLT Timer Set: Check for new messages will run every 15 minutes."}));

    rig.ui.boxes.clear();
    child<QLineEdit>("minutes").clear();
    child<controls::CNamedBitmapButton>("minut").click();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Quillgate: Please enter a positive integer."});
    EXPECT_EQ(settings().minutes2Scan, 15);
}

TEST_F(SetupPageTest, FindsStoresTheChosenPathAndShowsItsNameAndTestsPlaysTheStoredPath) {
    test::TempFolder folder{"qlt-setup"};
    const std::string chosen = folder.file("bell.wav");
    std::ofstream(chosen) << "RIFF";
    settings().rescanRecurring = 1;
    settings().newMsgNotify = 7;
    settings().soundFile = "/usr/share/sounds/old.wav";
    show();
    EXPECT_EQ(child<QLineEdit>("soundFile").text(), QStringLiteral("old.wav"));

    rig.ui.queueFile(chosen);
    child<controls::CNamedBitmapButton>("finds").click();
    ASSERT_EQ(rig.ui.fileRequests.size(), 1u);
    const FileRequest& request = rig.ui.fileRequests[0];
    EXPECT_EQ(request.title, "Select Notification Sound");
    EXPECT_EQ(request.filter, "Wave Files (*.wav)|*.wav|All Files (*.*)|*.*||");
    EXPECT_EQ(request.suggestedName, "/usr/share/sounds/old.wav");
    EXPECT_TRUE(request.mustExist);
    EXPECT_EQ(settings().soundFile, chosen);
    EXPECT_EQ(child<QLineEdit>("soundFile").text(), QStringLiteral("bell.wav"));

    child<controls::CNamedBitmapButton>("tests").click();
    EXPECT_EQ(sound.played, std::vector<std::string>{chosen});

    child<controls::CNamedBitmapButton>("finds").click();  // cancelled: nothing changes
    EXPECT_EQ(settings().soundFile, chosen);
    settings().soundFile = folder.file("gone.wav");
    child<controls::CNamedBitmapButton>("tests").click();
    EXPECT_EQ(sound.played.size(), 1u) << "a missing file plays nothing";
}

}  // namespace
}  // namespace qlt::ui

#include <gtest/gtest.h>

#include <QLabel>
#include <QTableView>
#include <QTest>

#include "WindowRig.h"
#include "controls/CTabButton.h"
#include "ui/MainWindow.h"

namespace qlt::test {
namespace {

namespace command = ui::command;

constexpr char kNote[] =
    "No account yet. Open the Accounts page to add one, or start `quillgate --demo` to try a sample mailbox.";

QLabel& note(ui::MainWindow& window) {
    return child<QLabel>(window, "firstRunNote");
}

// Shows the window and waits for its start-up request to pick the page.
void open(ui::MainWindow& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.selectedTab() != 0; }, 2000));
}

TEST(FirstRun, WithoutAccountTheListSaysHowToStartAndTheAccountsPageIsUp) {
    WindowRig rig;
    ui::MainWindow& window = *rig.window;
    open(window);
    EXPECT_EQ(window.selectedTab(), command::kTabAccounts);
    EXPECT_TRUE(rig.part<controls::CTabButton>("accountsTab").isSelected());
    EXPECT_TRUE(note(window).isVisible());
    EXPECT_EQ(note(window).text(), kNote);
    EXPECT_EQ(note(window).parentWidget(), rig.part<QTableView>("messageView").viewport());

    // The host requests the Add and Delete steps end with.
    rig.addAccount(110, "ann", "pw");
    rig.checker().UpdateCommandState();
    EXPECT_FALSE(note(window).isVisible());
    EXPECT_EQ(window.selectedTab(), command::kTabAccounts) << "the page stays where the user is";
    ASSERT_TRUE(rig.checker().RemoveAccount(0));
    rig.checker().UpdateCommandState();
    EXPECT_TRUE(note(window).isVisible());
}

TEST(FirstRun, WithAnAccountInTheProfileTheWindowStartsAsUsual) {
    WindowRig rig;
    rig.addAccount(110, "ann", "pw");
    ASSERT_TRUE(rig.checker().SaveAccounts());
    ui::MainWindow window(
        {rig.clock, rig.profile, rig.launcher, rig.mailto, rig.chooser, rig.boxes, rig.files()});
    ASSERT_EQ(window.checker().GetAccountCount(), 1);
    open(window);
    EXPECT_EQ(window.selectedTab(), command::kTabPreview);
    EXPECT_FALSE(note(window).isVisible());
}

}  // namespace
}  // namespace qlt::test

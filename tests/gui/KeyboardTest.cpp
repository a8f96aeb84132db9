#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "WindowRig.h"
#include "base/ProcessState.h"
#include "controls/CTabButton.h"
#include "ui/MainWindow.h"

namespace qlt::test {
namespace {

namespace command = ui::command;

// The window's own painted controls and the signal each one's command hangs on.
const struct {
    const char* name;
    const char* signal;
} kControls[] = {
    {"viewToggle", SIGNAL(clicked(bool))},    {"previewTab", SIGNAL(command(int))},
    {"headersTab", SIGNAL(command(int))},     {"detailsTab", SIGNAL(command(int))},
    {"optionsTab", SIGNAL(command(int))},     {"accountsTab", SIGNAL(command(int))},
    {"showAllToggle", SIGNAL(clicked(bool))}, {"analyzeButton", SIGNAL(clicked(bool))},
    {"dumpButton", SIGNAL(clicked(bool))},    {"rescanToggle", SIGNAL(clicked(bool))},
    {"scanAllToggle", SIGNAL(clicked(bool))}, {"scanButton", SIGNAL(clicked(bool))},
    {"deleteButton", SIGNAL(clicked(bool))},  {"getMailButton", SIGNAL(clicked(bool))},
    {"progressBar", SIGNAL(clicked())},       {"closeButton", SIGNAL(clicked(bool))},
};

QString spokenName(QWidget& widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&widget);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE_WITH_TIMEOUT(window.selectedTab(), command::kTabPreview, 2000);
    }
    void TearDown() override { resetProcessState(); }

    QWidget& control(const char* name) { return rig.part<QWidget>(name); }

    // A key as the user types it: to whatever has the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : &window, static_cast<Qt::Key>(key), modifiers);
    }

    // Tab until `target` has the focus; false when a whole round of the window missed it.
    bool tabTo(QWidget& target) {
        for (int i = 0; i < 200 && !target.hasFocus(); ++i) press(Qt::Key_Tab);
        return target.hasFocus();
    }

    void enableAll() {
        for (const auto& row : kControls) control(row.name).setEnabled(true);
    }

    WindowRig rig;
    ui::MainWindow& window = *rig.window;
};

TEST_F(KeyboardTest, PageKeysCycleThroughTheTabsInTheirOrder) {
    const std::vector<int> forward = {command::kTabHeaders, command::kTabDetails, command::kTabOptions,
                                      command::kTabAccounts, command::kTabPreview};
    const std::vector<int> backward(forward.rbegin() + 1, forward.rend());
    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool ahead;
    } rows[] = {
        {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, true},
        {"Ctrl+PgDown", Qt::Key_PageDown, Qt::ControlModifier, true},
        {"Ctrl+Shift+Tab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, false},
        {"Ctrl+PgUp", Qt::Key_PageUp, Qt::ControlModifier, false},
    };
    for (const auto& row : rows) {
        std::vector<int> expected = row.ahead ? forward : backward;
        if (!row.ahead) expected.push_back(command::kTabPreview);
        std::vector<int> shown;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            press(row.key, row.modifiers);
            shown.push_back(window.selectedTab());
        }
        EXPECT_EQ(shown, expected) << row.name;
    }
}

TEST_F(KeyboardTest, EachMnemonicSelectsItsTab) {
    const struct {
        const char* name;
        Qt::Key letter;
        int tabId;
    } rows[] = {
        {"headersTab", Qt::Key_E, command::kTabHeaders}, {"detailsTab", Qt::Key_D, command::kTabDetails},
        {"optionsTab", Qt::Key_O, command::kTabOptions}, {"accountsTab", Qt::Key_A, command::kTabAccounts},
        {"previewTab", Qt::Key_P, command::kTabPreview},
    };
    for (const auto& row : rows) {
        press(row.letter, Qt::AltModifier);
        EXPECT_EQ(window.selectedTab(), row.tabId) << row.name;
        EXPECT_TRUE(rig.part<controls::CTabButton>(row.name).isSelected()) << row.name;
    }
}

TEST_F(KeyboardTest, SpaceAndEnterActAsAClick) {
    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"Space", Qt::Key_Space, Qt::NoModifier},
                {"Return", Qt::Key_Return, Qt::NoModifier},
                {"Enter", Qt::Key_Enter, Qt::KeypadModifier}};
    for (const auto& row : kControls) {
        QWidget& widget = control(row.name);
        QSignalSpy commands(&widget, row.signal);
        for (const auto& key : keys) {
            // A command may grey its own button (DELETE with nothing tagged); a tab acts only when it is
            // not the one shown.
            widget.setEnabled(true);
            if (auto* tab = qobject_cast<controls::CTabButton*>(&widget))
                window.showTab(tab->commandId() == command::kTabPreview ? command::kTabHeaders
                                                                        : command::kTabPreview);
            QTest::keyClick(&widget, static_cast<Qt::Key>(key.key), key.modifiers);
            EXPECT_EQ(commands.count(), &key - keys + 1) << row.name << " " << key.name;
        }
    }
    EXPECT_EQ(window.selectedTab(), command::kTabAccounts) << "the last tab's command switched the page";
}

TEST_F(KeyboardTest, FocusMarkIsDrawnUnderKeyboardFocusOnly) {
    enableAll();
    QWidget& clicked = control("rescanToggle");
    const QImage plain = clicked.grab().toImage();
    clicked.setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(clicked.hasFocus());
    EXPECT_EQ(clicked.grab().toImage(), plain) << "no mark before the keyboard moved the focus";

    for (const auto& row : kControls) {
        QWidget& widget = control(row.name);
        ASSERT_TRUE(tabTo(widget)) << row.name << " is not reached by Tab";
        const QImage focused = widget.grab().toImage();
        widget.clearFocus();
        EXPECT_NE(focused, widget.grab().toImage()) << row.name;
    }
}

TEST_F(KeyboardTest, ErrorDetailsOpenFromF1AndTheMenu) {
    QAction& item = rig.part<QAction>("menuErrorDetails");
    EXPECT_FALSE(item.isEnabled()) << "greyed with nothing to show";
    const struct {
        const char* name;
        std::function<void()> open;
    } rows[] = {
        {"F1", [&] { press(Qt::Key_F1); }},
        {"Message > Error Details", [&] { item.trigger(); }},
    };
    for (const auto& row : rows) {
        rig.checker().client().m_strError = "Could not connect to server";
        rig.checker().UpdateCommandState();
        ASSERT_TRUE(item.isEnabled()) << row.name;
        const std::size_t before = rig.boxes.boxes.size();
        row.open();
        ASSERT_EQ(rig.boxes.boxes.size(), before + 1) << row.name;
        EXPECT_EQ(rig.boxes.boxes.back().title, "QLT Error Details") << row.name;
        EXPECT_EQ(rig.boxes.boxes.back().text, "Could not connect to server") << row.name;
        EXPECT_FALSE(item.isEnabled()) << row.name << ": shown details are gone";
    }
}

TEST_F(KeyboardTest, PaintedControlsHaveSpokenNames) {
    int painted = 0;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!QByteArray(widget->metaObject()->className()).startsWith("qlt::controls::")) continue;
        ++painted;
        EXPECT_FALSE(spokenName(*widget).isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    }
    EXPECT_GT(painted, 30);

    const struct {
        const char* name;
        const char* spoken;
    } rows[] = {{"scanButton", "Scan"},
                {"getMailButton", "Get Mail"},
                {"showAllToggle", "Show All"},
                {"xRatedLamp", "X-rated risk"},
                {"previewTab", "Preview"}};
    for (const auto& row : rows) EXPECT_EQ(spokenName(control(row.name)), row.spoken) << row.name;

    window.setButtonText(CommandButton::Scan, "STOP");
    EXPECT_EQ(spokenName(control("scanButton")), "Stop");
}

}  // namespace
}  // namespace qlt::test

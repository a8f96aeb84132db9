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
#include "controls/CTextProgress.h"
#include "ui/MainWindow.h"

namespace qlt::test {
namespace {

namespace command = ui::command;

// The window's own painted controls, in Tab order.
constexpr const char* kControls[] = {"viewToggle",   "previewTab",    "headersTab",    "detailsTab",
                                     "optionsTab",   "accountsTab",   "showAllToggle", "analyzeButton",
                                     "dumpButton",   "rescanToggle",  "scanAllToggle", "scanButton",
                                     "deleteButton", "getMailButton", "progressBar",   "closeButton"};

// The signal the window hangs the control's command on, as for a click.
const char* commandSignal(QWidget& widget) {
    if (qobject_cast<controls::CTabButton*>(&widget)) return SIGNAL(command(int));
    if (qobject_cast<controls::CTextProgress*>(&widget)) return SIGNAL(clicked());
    return SIGNAL(clicked(bool));
}

QString spokenName(QWidget& widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&widget);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        // Keys go to the active window only, and a headless Wayland
        // compositor has no seat that would make one active.
        if (onWayland() && QTest::qWaitForWindowExposed(&window) && !window.isActiveWindow())
            GTEST_SKIP() << "the Wayland compositor made no window active, so no key reaches one";
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override { resetProcessState(); }

    QWidget& control(const char* name) { return rig.part<QWidget>(name); }

    // A key as the user types it: to whatever has the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : &window, static_cast<Qt::Key>(key), modifiers);
    }

    WindowRig rig;
    ui::MainWindow& window = *rig.window;
};

TEST_F(KeyboardTest, PageKeysCycleThroughTheTabsInTheirOrder) {
    const std::vector<int> ahead = {command::kTabHeaders, command::kTabDetails, command::kTabOptions,
                                    command::kTabAccounts, command::kTabPreview};
    std::vector<int> back(ahead.rbegin() + 1, ahead.rend());
    back.push_back(command::kTabPreview);
    const struct {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        const std::vector<int>& shown;
    } rows[] = {{"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, ahead},
                {"Ctrl+PgDown", Qt::Key_PageDown, Qt::ControlModifier, ahead},
                {"Ctrl+Shift+Tab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, back},
                {"Ctrl+PgUp", Qt::Key_PageUp, Qt::ControlModifier, back}};
    for (const auto& row : rows) {
        window.showTab(command::kTabPreview);  // a first run opens on Accounts
        std::vector<int> shown;
        for (std::size_t i = 0; i < row.shown.size(); ++i) {
            press(row.key, row.modifiers);
            shown.push_back(window.selectedTab());
        }
        EXPECT_EQ(shown, row.shown) << row.name;
    }
}

TEST_F(KeyboardTest, EachMnemonicSelectsItsTab) {
    const std::pair<Qt::Key, int> rows[] = {{Qt::Key_E, command::kTabHeaders},
                                            {Qt::Key_D, command::kTabDetails},
                                            {Qt::Key_O, command::kTabOptions},
                                            {Qt::Key_A, command::kTabAccounts},
                                            {Qt::Key_P, command::kTabPreview}};
    for (const auto& [letter, tabId] : rows) {
        press(letter, Qt::AltModifier);
        EXPECT_EQ(window.selectedTab(), tabId) << "Alt+" << QKeySequence(letter).toString().toStdString();
    }
}

TEST_F(KeyboardTest, SpaceAndEnterActAsAClick) {
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Space, Qt::NoModifier},
                                                          {Qt::Key_Return, Qt::NoModifier},
                                                          {Qt::Key_Enter, Qt::KeypadModifier}};
    for (const char* name : kControls) {
        QWidget& widget = control(name);
        QSignalSpy commands(&widget, commandSignal(widget));
        for (int pressed = 1; const auto& [key, modifiers] : keys) {
            // A command may grey its own button (DELETE with nothing tagged); a tab acts only when it is
            // not the one shown.
            widget.setEnabled(true);
            if (auto* tab = qobject_cast<controls::CTabButton*>(&widget))
                window.showTab(tab->commandId() == command::kTabPreview ? command::kTabHeaders
                                                                        : command::kTabPreview);
            QTest::keyClick(&widget, static_cast<Qt::Key>(key), modifiers);
            EXPECT_EQ(commands.count(), pressed++) << name << " key " << key;
        }
    }
    EXPECT_EQ(window.selectedTab(), command::kTabAccounts) << "the last tab's command switched the page";
}

TEST_F(KeyboardTest, FocusMarkIsDrawnUnderKeyboardFocusOnly) {
    for (const char* name : kControls) control(name).setEnabled(true);
    QWidget& clicked = control("rescanToggle");
    const QImage plain = clicked.grab().toImage();
    clicked.setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(clicked.hasFocus());
    EXPECT_EQ(clicked.grab().toImage(), plain) << "no mark before the keyboard moved the focus";

    for (const char* name : kControls) {
        QWidget& widget = control(name);
        for (int i = 0; i < 200 && !widget.hasFocus(); ++i) press(Qt::Key_Tab);
        ASSERT_TRUE(widget.hasFocus()) << name << " is not reached by Tab";
        const QImage focused = widget.grab().toImage();
        widget.clearFocus();
        EXPECT_NE(focused, widget.grab().toImage()) << name;
    }
}

TEST_F(KeyboardTest, ErrorDetailsOpenFromF1AndTheMenu) {
    QAction& item = rig.part<QAction>("menuErrorDetails");
    EXPECT_FALSE(item.isEnabled()) << "greyed with nothing to show";
    const std::function<void()> ways[] = {[&] { press(Qt::Key_F1); }, [&] { item.trigger(); }};
    for (const auto& open : ways) {
        rig.checker().client().m_strError = "Could not connect to server";
        rig.checker().UpdateCommandState();
        ASSERT_TRUE(item.isEnabled());
        rig.boxes.boxes.clear();
        open();
        ASSERT_EQ(rig.boxes.boxes.size(), 1u) << "way " << &open - ways;
        EXPECT_EQ(rig.boxes.boxes[0].title, "QLT Error Details");
        EXPECT_EQ(rig.boxes.boxes[0].text, "Could not connect to server");
        EXPECT_FALSE(item.isEnabled()) << "the details shown are gone";
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
    EXPECT_GT(painted, 30) << "the pages' controls count too";

    const std::pair<const char*, QString> rows[] = {{"scanButton", "Scan"},
                                                    {"getMailButton", "Get Mail"},
                                                    {"showAllToggle", "Show All"},
                                                    {"xRatedLamp", "X-rated risk"},
                                                    {"previewTab", "Preview"}};
    for (const auto& [name, spoken] : rows) EXPECT_EQ(spokenName(control(name)), spoken) << name;
    window.setButtonText(CommandButton::Scan, "STOP");
    EXPECT_EQ(spokenName(control("scanButton")), "Stop");

    QAccessibleInterface* rescan = QAccessible::queryAccessibleInterface(&control("rescanToggle"));
    EXPECT_EQ(rescan->role(), QAccessible::CheckBox);
    EXPECT_FALSE(rescan->state().checked);
    QTest::keyClick(&control("rescanToggle"), Qt::Key_Space);
    EXPECT_TRUE(rescan->state().checked) << "the window set the toggle on";
}

}  // namespace
}  // namespace qlt::test

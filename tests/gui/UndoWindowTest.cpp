#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

#include "WindowRig.h"
#include "base/ProcessState.h"
#include "controls/CFaceButton.h"
#include "controls/CTextProgress.h"
#include "ui/DeletedMailDialog.h"
#include "ui/MainWindow.h"

namespace qlt::test {
namespace {

// The real window over the demo mailbox, scanned, with its first message
// tagged by hand and an undo time of five seconds.
class UndoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.addDemoAccount());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(&button("scanButton"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return rig.checker().messages().count() == rig.demoMessageCount(); }, 10000));
        Settings& s = rig.checker().settings();
        s.noDeleteWarning = 1;
        s.noShowDeleteConfirmed = 1;
        s.rescanDel = 0;
        s.undoTime = 5;
        rig.checker().untagAll();
        rig.checker().toggleRowState(0);
    }
    void TearDown() override { resetProcessState(); }

    controls::CFaceButton& button(const char* name) { return rig.part<controls::CFaceButton>(name); }
    QString caption() { return rig.part<controls::CTextProgress>("progressBar").caption(); }

    // Clicks DELETE and, once the wait pumps the window's events, records
    // what the window shows and does `act`.
    void deleteAndInTheWait(const std::function<void()>& act) {
        QTimer::singleShot(0, &window, [this, act] {
            scanTextInWait = button("scanButton").text();
            captionInWait = caption();
            act();
        });
        QTest::mouseClick(&button("deleteButton"), Qt::LeftButton);
    }

    WindowRig rig;
    ui::MainWindow& window = *rig.window;
    QString scanTextInWait;
    QString captionInWait;
};

TEST_F(UndoWindowTest, ScanReadsUndoInTheWaitAndItOrCtrlZUndoes) {
    const struct {
        const char* name;
        std::function<void()> undo;
        bool needsActiveWindow;
    } rows[] = {
        {"the UNDO button", [this] { QTest::mouseClick(&button("scanButton"), Qt::LeftButton); }, false},
        {"Ctrl+Z", [this] { QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); }, true},
    };
    for (const auto& row : rows) {
        // A shortcut reaches only the active window, and a headless Wayland
        // compositor makes none active.
        if (row.needsActiveWindow && !window.isActiveWindow())
            GTEST_SKIP() << "the compositor made no window active, so Ctrl+Z reaches none";
        if (rig.checker().view().taggedCount() == 0) rig.checker().toggleRowState(0);
        deleteAndInTheWait(row.undo);

        EXPECT_EQ(scanTextInWait, "UNDO") << row.name;
        EXPECT_EQ(captionInWait, "Deleted 1 messages. UNDO (5 s)") << row.name;
        // The server's mailbox as the list: nothing was deleted.
        EXPECT_EQ(rig.checker().messages().count(), rig.demoMessageCount()) << row.name;
        EXPECT_EQ(caption(), "Delete undone.") << row.name;
        EXPECT_EQ(button("scanButton").text(), "SCAN") << row.name;
    }
}

TEST_F(UndoWindowTest, ClosingTheWindowInTheWaitDeletesAndThenCloses) {
    const std::size_t before = rig.demoMessageCount();
    deleteAndInTheWait([this] { window.close(); });
    EXPECT_EQ(rig.demoMessageCount(), before - 1) << "the server deleted it";
    EXPECT_EQ(rig.checker().messages().count(), before - 1);
    EXPECT_FALSE(window.isVisible());
}

TEST(DeletedMailDialog, SortsByAnyColumnAndFiltersOnEveryColumn) {
    DeletionRecord a;
    a.time = "2026-03-01T08:00:00Z";
    a.account = "Work";
    a.from = "Deals <foe@spam.example>";
    a.subject = "Buy now";
    DeletionRecord b = a;
    b.time = "2026-03-02T08:00:00Z";
    b.from = "Ann <ann@example.org>";
    b.subject = "Lunch";
    b.taggedByHand = true;
    ui::DeletedMailDialog dialog({a, b});
    auto& list = child<QTableView>(dialog, "deletedList");
    const QAbstractItemModel* shown = list.model();
    ASSERT_EQ(shown->rowCount(), 2);
    EXPECT_EQ(shown->index(0, ui::DeletedMailDialog::kSubject).data().toString(), "Lunch") << "newest first";
    EXPECT_EQ(shown->index(0, ui::DeletedMailDialog::kWhy).data().toString(), "tagged by hand");

    list.sortByColumn(ui::DeletedMailDialog::kFrom, Qt::AscendingOrder);
    EXPECT_EQ(shown->index(0, ui::DeletedMailDialog::kFrom).data().toString(), "Ann <ann@example.org>");

    child<QLineEdit>(dialog, "filter").setText("SPAM.example");
    ASSERT_EQ(shown->rowCount(), 1);
    EXPECT_EQ(shown->index(0, ui::DeletedMailDialog::kSubject).data().toString(), "Buy now");
    child<QLineEdit>(dialog, "filter").setText("by the rule");
    EXPECT_EQ(shown->rowCount(), 1) << "the why column is searched too";
}

TEST(DeletedMailMenu, ToolsHoldsSetupThenDeletedMail) {
    WindowRig rig;
    const auto tools = rig.part<QAction>("menuSetup").associatedObjects();
    ASSERT_FALSE(tools.isEmpty());
    const auto* menu = qobject_cast<const QMenu*>(tools.first());
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1]->objectName(), "menuDeletedMail");
    EXPECT_EQ(items[1]->text(), QStringLiteral("&Deleted Mail\u2026"));
}

}  // namespace
}  // namespace qlt::test

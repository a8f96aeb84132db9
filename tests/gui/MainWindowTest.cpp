#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <array>
#include <memory>

#include "WindowRig.h"
#include "base/ProcessState.h"
#include "controls/BitmapArt.h"
#include "controls/CBitmapLamp.h"
#include "controls/CFaceButton.h"
#include "controls/CFlatCheck.h"
#include "controls/CNamedBitmapButton.h"
#include "controls/CTabButton.h"
#include "controls/CTextProgress.h"
#include "core/AccountView.h"
#include "support/FakePop3Server.h"
#include "ui/AccountViewModel.h"
#include "ui/MainWindow.h"
#include "ui/MessageViewModel.h"

namespace qlt::test {
namespace {

using ui::MainWindow;
namespace command = ui::command;

constexpr std::array kContextItems = {"contextBlackList", "contextWhiteList", "contextRemove",
                                      "contextTagAll", "contextUntagAll"};

class MainWindowTest : public ::testing::Test {
  protected:
    void TearDown() override { resetProcessState(); }

    void addDemoAccount() { ASSERT_TRUE(rig.addDemoAccount()); }

    // An account whose first TOP reply comes in two pieces: the scan runs
    // the message pump between them, where a click gets through.
    void addSlowTopAccount() {
        const char* top = "+OK\r\nFrom: ann@example.org\r\nSubject: Hello\r\n\r\nbody line\r\n.\r\n";
        fake.greetAndLogin("ann", "pw")
            .expect("stat\r\n")
            .send("+OK 2 300\r\n")
            .withoutCapa()
            .expect("list 1\r\n")
            .send("+OK 1 100\r\n")
            .expect("uidl 1\r\n")
            .send("+OK 1 uid-one\r\n")
            .expect("top 1 1024\r\n")
            .sendSplit(top, {20});
        fake.start();
        rig.checker().accounts().MakeAccountCurrent(rig.addAccount(fake.port(), "ann", "pw"));
    }

    std::size_t demoMessageCount() const { return rig.demoMessageCount(); }

    template <class T>
    T& part(const char* name) {
        return rig.part<T>(name);
    }
    controls::CFaceButton& button(const char* name) { return part<controls::CFaceButton>(name); }
    QTableView& list(const char* name) { return part<QTableView>(name); }
    QLabel& text(const char* name) { return part<QLabel>(name); }
    QAction& action(const char* name) { return part<QAction>(name); }
    ui::MessageViewModel& messageModel() { return part<ui::MessageViewModel>("messageModel"); }
    ui::AccountViewModel& accountModel() { return part<ui::AccountViewModel>("accountModel"); }
    controls::CTabButton& tab(const char* name) { return part<controls::CTabButton>(name); }

    void clickScan() { QTest::mouseClick(&button("scanButton"), Qt::LeftButton); }

    void clickCell(const char* listName, int row, int column) {
        QTableView& view = list(listName);
        const QRect cell = view.visualRect(view.model()->index(row, column));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    }

    FakePop3Server fake;
    WindowRig rig;
    MainWindow& window = *rig.window;
};

TEST_F(MainWindowTest, OpensWithCaptionControlsAndTooltips) {
    rig.addAccount(110, "ann", "pw");  // without one the first run opens the Accounts page
    window.show();
    EXPECT_EQ(window.windowTitle(), "Quillgate 1.72");
    EXPECT_TRUE(list("messageView").isVisible());
    EXPECT_FALSE(list("accountView").isVisible());
    EXPECT_FALSE(list("accountView").isEnabled());
    const std::vector<std::pair<const char*, QString>> tabs = {{"previewTab", "Preview"},
                                                               {"headersTab", "Headers"},
                                                               {"detailsTab", "Details"},
                                                               {"accountsTab", "Accounts"},
                                                               {"optionsTab", "Options"}};
    for (const auto& [name, caption] : tabs) EXPECT_EQ(tab(name).caption(), caption);
    EXPECT_LT(tab("optionsTab").x(), tab("accountsTab").x());
    EXPECT_EQ(button("scanButton").toolTip(), "Scan email messages\non remote-server [Step 1]");
    EXPECT_EQ(part<controls::CTextProgress>("progressBar").toolTip(), "Scan progress indicator.");
    EXPECT_EQ(part<controls::CNamedBitmapButton>("viewToggle").faces().up, "ACTU");
    EXPECT_EQ(messageModel().headerData(kColumnSender, Qt::Horizontal, Qt::ToolTipRole).toString(),
              "Sender status - friend or foe.\nRight click to add to\nwhite or black list.");
    EXPECT_EQ(accountModel().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Account");
    // The start-up request shows the Preview page once the window is up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.selectedTab() == command::kTabPreview; }, 2000));
    EXPECT_TRUE(tab("previewTab").isSelected());
}

TEST_F(MainWindowTest, GripChangesOnlyTheWidthBetweenTheLimits) {
    window.show();
    const QSize initial = window.size();
    ASSERT_GT(window.maximumWidthByGrip(), initial.width());
    window.resize(initial.width() + 5000, initial.height() + 300);
    EXPECT_EQ(window.width(), window.maximumWidthByGrip());
    EXPECT_EQ(window.height(), initial.height());
    window.resize(100, 100);
    EXPECT_EQ(window.size(), initial);
}

TEST_F(MainWindowTest, WithoutAccountMessageCommandsAreGreyAndCountsSayNoAccount) {
    rig.checker().UpdateCommandState();
    for (const char* name : {"deleteButton", "getMailButton", "analyzeButton", "dumpButton"})
        EXPECT_FALSE(button(name).isEnabled()) << name;
    EXPECT_TRUE(button("scanButton").isEnabled());
    EXPECT_FALSE(action("menuDelete").isEnabled());
    EXPECT_EQ(text("countText").text(), "No Account");
    EXPECT_TRUE(part<QWidget>("headerLine").isHidden());
    window.prepareContextMenu();
    for (const char* name : kContextItems) EXPECT_FALSE(action(name).isEnabled()) << name;
}

TEST_F(MainWindowTest, ScanButtonFillsTheListFromTheDemoMailbox) {
    addDemoAccount();
    window.show();
    clickScan();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return messageModel().rowCount() == static_cast<int>(demoMessageCount()); }, 10000));

    EXPECT_EQ(button("scanButton").text(), "SCAN");
    EXPECT_EQ(button("scanButton").look(), controls::bitmap::kFaceNormal);
    EXPECT_TRUE(button("deleteButton").isEnabled());
    EXPECT_TRUE(part<controls::CFlatCheck>("showAllToggle").isEnabled());
    EXPECT_EQ(text("accountNameText").text(), "demo@example.org");
    EXPECT_EQ(text("statusText").text(), "Completed");
    EXPECT_EQ(text("messageCountText").text(), QString::number(demoMessageCount()));
    EXPECT_NE(part<controls::CBitmapLamp>("virusLamp").bitmapId(), controls::bitmap::kLampNoLevel);
    EXPECT_TRUE(text("countText").text().endsWith("Messages "));

    // Every row carries its envelope and risk pictures; the texts are the engine's.
    const auto* model = &messageModel();
    const MessageView& view = rig.checker().view();
    for (int row = 0; row < model->rowCount(); ++row) {
        const auto r = static_cast<std::size_t>(row);
        EXPECT_EQ(model->iconIndex(row, kColumnState), static_cast<int>(view.state(r)));
        EXPECT_FALSE(model->data(model->index(row, kColumnState), Qt::DecorationRole).isNull());
        EXPECT_FALSE(model->data(model->index(row, kColumnSpam), Qt::DecorationRole).isNull());
        EXPECT_TRUE(model->data(model->index(row, kColumnFrom), Qt::DecorationRole).isNull());
        EXPECT_EQ(model->data(model->index(row, kColumnSubject), Qt::DisplayRole).toString().toStdString(),
                  view.cellText(r, kColumnSubject));
    }
    EXPECT_EQ(model->data(model->index(0, kColumnSize), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignRight,
              Qt::AlignRight);
}

TEST_F(MainWindowTest, EnvelopeClickTogglesTheTagAndTheDeleteCount) {
    addDemoAccount();
    window.show();
    clickScan();
    ASSERT_TRUE(QTest::qWaitFor([&] { return messageModel().rowCount() > 0; }, 10000));
    rig.checker().untagAll();
    EXPECT_FALSE(text("positionText").text().contains("Delete"));

    clickCell("messageView", 1, kColumnState);
    EXPECT_EQ(rig.checker().view().state(1), RowState::Delete);
    EXPECT_EQ(rig.checker().currentRow(), 1);
    EXPECT_EQ(text("positionText").text(), "Pos: 2  Delete: 1");
    // A click elsewhere on the row only selects it.
    clickCell("messageView", 0, kColumnSubject);
    EXPECT_EQ(rig.checker().view().state(0), RowState::Deliver);
    EXPECT_EQ(text("positionText").text(), "Pos: 1  Delete: 1");

    window.prepareContextMenu();
    for (const char* name : kContextItems) EXPECT_TRUE(action(name).isEnabled()) << name;
}

TEST_F(MainWindowTest, StopDuringTheScanEndsItIncomplete) {
    addSlowTopAccount();
    window.show();
    // STOP arrives through the scan's own message pump.
    QTimer::singleShot(0, &window, [this] {
        EXPECT_EQ(button("scanButton").text(), "STOP");
        EXPECT_EQ(button("scanButton").look(), controls::bitmap::kFaceActive);
        EXPECT_FALSE(button("closeButton").isEnabled());
        clickScan();
    });
    clickScan();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.checker().scanRunning(); }, 10000));
    EXPECT_EQ(rig.clock.sleeps, std::vector<unsigned>{3000});
    EXPECT_EQ(rig.checker().GetAccount(1)->status, kStatusScanIncomplete);
    EXPECT_LT(rig.checker().messages().count(), 2u);  // the server holds two
    EXPECT_EQ(button("scanButton").text(), "SCAN");
    EXPECT_EQ(button("scanButton").look(), controls::bitmap::kFaceNormal);
    EXPECT_TRUE(button("closeButton").isEnabled());
}

TEST_F(MainWindowTest, ProgressBarClickShowsTheErrorDetails) {
    window.show();
    rig.checker().client().m_strError = "Server said no.\n";
    QTest::mouseClick(&part<controls::CTextProgress>("progressBar"), Qt::LeftButton);
    ASSERT_EQ(rig.boxes.boxes.size(), 1u);
    EXPECT_EQ(rig.boxes.boxes[0].title, "QLT Error Details");
    EXPECT_EQ(rig.boxes.boxes[0].text, "Server said no.\n");
    EXPECT_EQ(rig.boxes.parents, std::vector<QWidget*>{&window});
    EXPECT_TRUE(rig.checker().client().m_strError.empty());
}

TEST_F(MainWindowTest, BoxesStandOverTheWindowOnlyWhileItIsOnScreen) {
    action("menuContents").trigger();  // no manual shipped
    window.show();
    action("menuContents").trigger();
    EXPECT_EQ(rig.boxes.titles(), (std::vector<std::string>{"Quillgate", "Quillgate"}));
    EXPECT_EQ(rig.boxes.parents, (std::vector<QWidget*>{nullptr, &window}));
    // The certificate question is a Yes/No box; No keeps the certificate out.
    rig.boxes.queueAnswer(BoxAnswer::No);
    EXPECT_FALSE(window.askTrustCertificate("ann", "Expired.", "AB:CD"));
    EXPECT_TRUE(window.askTrustCertificate("ann", "Expired.", "AB:CD"));
    EXPECT_EQ(rig.boxes.boxes.back().buttons, BoxButtons::YesNo);
}

TEST_F(MainWindowTest, EscapeSavesTheStoreAndClosesLikeClose) {
    rig.checker().accounts().MakeAccountCurrent(rig.addAccount(110, "ann", "pw"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(rig.profile.readBinary(kAccountsValueName).has_value());
}

TEST_F(MainWindowTest, CloseBoxIsRefusedWhileAScanIsOnTheStack) {
    addSlowTopAccount();
    window.show();
    bool stillShown = false;
    QTimer::singleShot(0, &window, [&] {
        window.close();
        stillShown = window.isVisible();
        clickScan();  // STOP, so the test ends soon
    });
    clickScan();
    EXPECT_TRUE(stillShown);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, ViewToggleSwapsTheListsAndTabsSwitchPages) {
    rig.checker().accounts().MakeAccountCurrent(rig.addAccount(110, "ann", "pw"));
    rig.addAccount(110, "bob", "pw");
    window.show();
    window.toggleView();
    EXPECT_TRUE(window.accountViewShown());
    EXPECT_TRUE(list("accountView").isVisible());
    EXPECT_FALSE(list("messageView").isVisible());
    EXPECT_EQ(part<controls::CNamedBitmapButton>("viewToggle").faces().up, "ACBU");
    EXPECT_EQ(accountModel().rowCount(), 2);

    clickCell("accountView", 1, 1);
    EXPECT_EQ(rig.checker().accounts().currentAccountNumber, 2);
    EXPECT_EQ(accountModel().stateImage(1), static_cast<int>(AccountState::Current));
    clickCell("accountView", 0, 0);
    EXPECT_EQ(accountModel().stateImage(0), static_cast<int>(AccountState::Inactive));
    EXPECT_FALSE(accountModel().data(accountModel().index(0, 0), Qt::DecorationRole).isNull());

    window.toggleView();
    EXPECT_TRUE(list("messageView").isVisible());
    EXPECT_EQ(part<controls::CNamedBitmapButton>("viewToggle").faces().up, "ACTU");

    auto* page = new QLabel("accounts page");
    int refreshed = 0;
    window.setPage(ui::Page::Accounts, page, [&] { ++refreshed; });
    window.showTab(command::kTabAccounts);
    EXPECT_EQ(window.selectedTab(), command::kTabAccounts);
    EXPECT_TRUE(tab("accountsTab").isSelected());
    EXPECT_FALSE(tab("previewTab").isSelected());
    EXPECT_TRUE(page->isVisible());
    rig.checker().RefillAccountList();
    EXPECT_EQ(refreshed, 1);
}

// Counts its paints.
class PaintCounter final : public QWidget {
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class EventCounter final : public QObject {
  public:
    int events = 0;

  protected:
    void customEvent(QEvent*) override { ++events; }
};

TEST_F(MainWindowTest, PaintPumpRepaintsButRunsNothingElse) {
    PaintCounter widget;
    widget.resize(40, 40);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QCoreApplication::processEvents();
    const int before = widget.paints;
    EventCounter other;
    QCoreApplication::postEvent(&other, new QEvent(QEvent::User));
    bool timerRan = false;
    QTimer::singleShot(0, &other, [&] { timerRan = true; });

    widget.update();
    window.pumpPaint();
    EXPECT_GT(widget.paints, before);
    EXPECT_EQ(other.events, 0);
    EXPECT_FALSE(timerRan);

    window.pumpMessages();
    EXPECT_EQ(other.events, 1);
    EXPECT_TRUE(timerRan);
}

}  // namespace
}  // namespace qlt::test

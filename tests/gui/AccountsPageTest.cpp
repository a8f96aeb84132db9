#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/CFlatButton.h"
#include "controls/CFlatCheck.h"
#include "core/AccountsPageSteps.h"
#include "gui/PageTestSupport.h"
#include "support/CheckerEntries.h"
#include "support/CheckerRig.h"
#include "support/FakePop3Server.h"
#include "support/ScopedTimeZone.h"
#include "ui/AccountsPage.h"
#include "ui/AddAccountDialog.h"

namespace qlt::ui {
namespace {

using test::child;

class AccountsPageTest : public ::testing::Test {
  protected:
    // Accounts 1..count, the given one current, as a load leaves them.
    void seedAccounts(int count, int current) {
        for (int n = 1; n <= count; ++n) rig.addAccount(110, "user" + std::to_string(n), "pw");
        rig.checker.accounts().MakeAccountCurrent(current);
        page.refreshPage();
    }

    QLineEdit& edit(const char* name) { return child<QLineEdit>(page, name); }
    controls::CFlatCheck& toggle(const char* name) { return child<controls::CFlatCheck>(page, name); }
    QComboBox& accountChoice() { return child<QComboBox>(page, "account"); }
    QString strip(const char* name) { return child<QLabel>(page, name).text(); }
    void click(const char* name) { child<controls::CFlatButton>(page, name).click(); }

    void chooseInList(int position) {
        accountChoice().setCurrentIndex(position);
        emit accountChoice().activated(position);
    }

    AccountRecord stored(int n) const { return *rig.checker.GetAccount(n); }
    const AccountStore& accounts() const { return rig.checker.accounts(); }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : rig.ui.boxes) texts.push_back(box.text);
        return texts;
    }

    test::CheckerRig rig;
    AccountsPage page{rig.checker, rig.ui};
};

void fillNewAccount(AddAccountDialog& dialog, const QString& password, bool remember) {
    child<QLineEdit>(dialog, "email").setText(QStringLiteral("@example.org"));
    child<QLineEdit>(dialog, "server").setText(QStringLiteral("127.0.0.1"));
    child<QLineEdit>(dialog, "user").setText(QStringLiteral("jane"));
    child<QLineEdit>(dialog, "password").setText(password);
    child<QCheckBox>(dialog, "rememberPassword").setChecked(remember);
}

void pressOk(QDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

TEST_F(AccountsPageTest, DeletingTheOnlyAccountLeavesAClearedPageWithAddPortAndScanAll) {
    seedAccounts(1, 1);
    ASSERT_TRUE(edit("user").isEnabled());

    click("delete");

    EXPECT_EQ(rig.checker.GetAccountCount(), 0);
    EXPECT_EQ(accounts().currentAccountNumber, AccountStore::kNoCurrentAccount);
    EXPECT_EQ(accountChoice().count(), 0);
    for (const char* name : {"user", "server", "password"}) {
        EXPECT_TRUE(edit(name).text().isEmpty()) << name;
        EXPECT_FALSE(edit(name).isEnabled()) << name;
    }
    EXPECT_EQ(edit("timeout").text(), "0");
    EXPECT_FALSE(edit("timeout").isEnabled());
    EXPECT_FALSE(accountChoice().isEnabled());
    EXPECT_FALSE(toggle("rememberPassword").isEnabled());
    EXPECT_FALSE(toggle("authRequired").isEnabled());
    EXPECT_FALSE(child<controls::CFlatButton>(page, "delete").isEnabled());
    EXPECT_FALSE(child<controls::CFlatButton>(page, "update").isEnabled());
    EXPECT_TRUE(child<controls::CFlatButton>(page, "add").isEnabled());
    EXPECT_TRUE(edit("port").isEnabled());
    EXPECT_TRUE(toggle("scanAllInclude").isEnabled());
    EXPECT_TRUE(rig.profile.contains("Accounts")) << "the emptied store is saved";
    EXPECT_TRUE(rig.ui.boxes.empty()) << "no confirmation is asked";
}

TEST(AccountsPage, DeletingAnyAccountMakesTheLastOneCurrent) {
    const struct {
        const char* name;
        int current;
        int deleted;  // list position
    } rows[] = {
        {"first, current", 1, 0},
        {"middle, first current", 1, 1},
        {"last, middle current", 2, 3},
    };
    for (const auto& row : rows) {
        test::CheckerRig rig;
        AccountsPage page(rig.checker, rig.ui);
        for (int n = 1; n <= 4; ++n) rig.addAccount(110, "user" + std::to_string(n), "pw");
        rig.checker.accounts().MakeAccountCurrent(row.current);
        page.refreshPage();
        auto& choice = child<QComboBox>(page, "account");
        choice.setCurrentIndex(row.deleted);

        child<controls::CFlatButton>(page, "delete").click();

        ASSERT_EQ(rig.checker.GetAccountCount(), 3) << row.name;
        EXPECT_EQ(rig.checker.accounts().currentAccountNumber, 3) << row.name;
        EXPECT_EQ(rig.checker.GetAccount(3)->isCurrent, 1u) << row.name;
        EXPECT_EQ(choice.currentIndex(), 2) << row.name;
        EXPECT_EQ(child<QLineEdit>(page, "user").text().toStdString(),
                  rig.checker.GetAccount(3)->userName.str())
            << row.name;
        EXPECT_EQ(rig.checker.accounts().currentAccount.userName, rig.checker.GetAccount(3)->userName)
            << row.name;
    }
}

TEST_F(AccountsPageTest, DeletedAccountsMessagesGoAndLaterOnesFollowTheirAccount) {
    seedAccounts(3, 1);
    for (std::uint8_t account = 1; account <= 3; ++account)
        rig.checker.messages().append(test::checkerEntry(account, 1, "of user" + std::to_string(account)));
    accountChoice().setCurrentIndex(1);

    click("delete");

    ASSERT_EQ(rig.checker.messages().count(), 2u);
    EXPECT_EQ(rig.checker.messages().at(0).accountIndex, 1);
    EXPECT_EQ(rig.checker.messages().at(1).accountIndex, 2);
    EXPECT_EQ(rig.checker.messages().at(1).subject, "of user3");
    EXPECT_EQ(stored(2).userName, "user3");
    EXPECT_EQ(stored(2).accountNumber, 2) << "the number a new scan gives its messages";
}

TEST_F(AccountsPageTest, UpdateCorrectsPortAndTimeoutAndStoresThem) {
    const struct {
        const char* name;
        QString port;
        QString timeout;
        std::uint32_t storedPort;
        std::uint16_t storedTimeout;
    } rows[] = {
        {"port 0", "0", "45", 110, 45},
        {"port past 65535", "65536", "45", 110, 45},
        {"time-out 0", "995", "0", 995, 60},
        {"time-out 301", "995", "301", 995, 60},
        {"limits kept", "65535", "300", 65535, 300},
    };
    seedAccounts(2, 2);
    for (const auto& row : rows) {
        rig.ui.boxes.clear();
        edit("port").setText(row.port);
        edit("timeout").setText(row.timeout);
        click("update");

        ASSERT_EQ(rig.ui.boxes.size(), 1u) << row.name;
        EXPECT_EQ(rig.ui.boxes[0].title, "QLT Update Complete") << row.name;
        EXPECT_EQ(rig.ui.boxes[0].text, "Account information has been updated.") << row.name;
        EXPECT_EQ(rig.ui.boxes[0].icon, BoxIcon::Information) << row.name;
        EXPECT_EQ(stored(2).port, row.storedPort) << row.name;
        EXPECT_EQ(stored(2).timeout, row.storedTimeout) << row.name;
        EXPECT_EQ(accounts().currentAccount.port, row.storedPort) << row.name;
        EXPECT_EQ(edit("port").text(), QString::number(row.storedPort)) << row.name;
        EXPECT_EQ(stored(2).accountName, "user2@example.org") << row.name;
    }
    EXPECT_EQ(stored(1).port, 110u) << "only the shown account changes";
}

TEST(AccountsPage, UpdateRefusalsLeaveTheStoreAlone) {
    const struct {
        const char* name;
        const char* field;
        QString text;
        bool remember;
        std::vector<std::string> messages;
    } rows[] = {
        {"no user", "user", QString(), true, {"Please Enter Account User Name"}},
        {"no password, not remembered", "password", QString(), false, {"Please Enter Password"}},
        {"no server", "server", QString(), true, {"Please Enter POP3 Server Address"}},
        {"user past its field",
         "user",
         QString(54, QLatin1Char('u')),
         true,
         {"The User Name is too long: it can hold at most 53 characters."}},
        {"empty port", "port", QString(), true, {"Please enter a positive integer."}},
    };
    for (const auto& row : rows) {
        test::CheckerRig rig;
        AccountsPage page(rig.checker, rig.ui);
        rig.addAccount(110, "ann", "pw");
        AccountRecord before = *rig.checker.GetAccount(1);
        before.rememberPassword = row.remember ? 1 : 0;
        rig.checker.ReplaceAccount(1, before);
        rig.checker.accounts().MakeAccountCurrent(1);
        before.isCurrent = 1;
        page.refreshPage();
        ASSERT_EQ(child<controls::CFlatCheck>(page, "rememberPassword").isOn(), row.remember) << row.name;
        child<QLineEdit>(page, row.field).setText(row.text);

        child<controls::CFlatButton>(page, "update").click();

        std::vector<std::string> shown;
        for (const auto& box : rig.ui.boxes) shown.push_back(box.text);
        EXPECT_EQ(shown, row.messages) << row.name;
        EXPECT_EQ(*rig.checker.GetAccount(1), before) << row.name;
        EXPECT_FALSE(rig.profile.contains("Accounts")) << row.name;
    }
}

TEST_F(AccountsPageTest, UpdateWithAnInvalidServerNameShowsBothWarnings) {
    seedAccounts(1, 1);
    edit("server").setText(QStringLiteral("pop(example).org"));
    click("update");
    ASSERT_EQ(rig.ui.boxes.size(), 2u);
    EXPECT_NE(rig.ui.boxes[0].text.find('('), std::string::npos) << rig.ui.boxes[0].text;
    EXPECT_EQ(rig.ui.boxes[1].text, "Please Enter VALID POP3 Server Address");
    EXPECT_EQ(stored(1).server, "127.0.0.1");
}

TEST_F(AccountsPageTest, ChoosingAnotherAccountDiscardsUnsavedEdits) {
    seedAccounts(2, 1);
    edit("server").setText(QStringLiteral("edited.example.org"));
    toggle("authRequired").click();
    EXPECT_TRUE(toggle("authRequired").isOn());
    EXPECT_EQ(accounts().currentAccount.authRequired, 0u) << "a toggle reaches nothing before Update";

    chooseInList(1);
    EXPECT_EQ(accounts().currentAccountNumber, 2);
    EXPECT_EQ(edit("user").text(), "user2");
    EXPECT_EQ(stored(1).isCurrent, 0u);
    EXPECT_EQ(stored(2).isCurrent, 1u);
    EXPECT_FALSE(rig.profile.contains("Accounts")) << "choosing does not save";
    const auto& parts = rig.ui.refreshes;
    EXPECT_NE(std::find(parts.begin(), parts.end(), ViewPart::MessageView), parts.end());
    EXPECT_NE(std::find(parts.begin(), parts.end(), ViewPart::AccountView), parts.end());
    EXPECT_TRUE(rig.ui.sawProgress(kProgressClear));

    chooseInList(0);
    EXPECT_EQ(edit("server").text(), "127.0.0.1");
    EXPECT_FALSE(toggle("authRequired").isOn());
    EXPECT_EQ(stored(1).server, "127.0.0.1");
}

TEST_F(AccountsPageTest, ChosenAccountWithABadStoredPortWorksOn110) {
    seedAccounts(2, 1);
    AccountRecord second = stored(2);
    second.port = 0;
    rig.checker.ReplaceAccount(2, second);
    chooseInList(1);
    EXPECT_EQ(accounts().currentAccount.port, 110u);
    EXPECT_EQ(edit("port").text(), "110");
}

TEST_F(AccountsPageTest, StripsShowCountStatusAndLastScan) {
    const test::ScopedTimeZone utc("UTC");
    const struct {
        const char* name;
        std::int32_t count;
        std::uint8_t status;
        SystemTime scanned;
        QString countLine;
        QString scanLine;
    } rows[] = {
        {"one message",
         1,
         kStatusCompleted,
         {2024, 5, 0, 7, 8, 9, 10, 0},
         "1 Message ",
         "Last Scanned: 2024-05-07 08:09:10    Status: Completed"},
        {"two messages",
         2,
         kStatusNoNewMessages,
         {},
         "2 Messages ",
         "Last Scanned: No Record    Status: No New Messages"},
        {"largest shown",
         9998,
         6,
         {1999, 12, 0, 31, 23, 0, 0, 0},
         "9998 Messages ",
         "Last Scanned: No Record    Status: Unknown"},
        {"too many",
         9999,
         255,
         {2024, 5, 0, 0, 8, 9, 10, 0},
         "",
         "Last Scanned: No Record    Status: Unknown"},
        {"none", 0, kStatusUpdateNeeded, {}, "", "Last Scanned: No Record    Status: Update Needed"},
    };
    seedAccounts(1, 1);
    for (const auto& row : rows) {
        AccountRecord& current = rig.checker.accounts().currentAccount;
        current.messageCount = row.count;
        current.status = row.status;
        current.lastScanned = row.scanned;
        page.refreshPage();
        EXPECT_EQ(strip("messageCount"), row.countLine) << row.name;
        EXPECT_EQ(strip("lastScanned"), row.scanLine) << row.name;
    }
}

TEST_F(AccountsPageTest, AddCorrectsTheNumbersAndMakesTheNewAccountCurrent) {
    seedAccounts(2, 1);
    test::answerNextDialog<AddAccountDialog>([](AddAccountDialog& dialog) {
        fillNewAccount(dialog, QStringLiteral("pw"), true);
        child<QLineEdit>(dialog, "port").setText(QStringLiteral("0"));
        child<QLineEdit>(dialog, "timeout").setText(QStringLiteral("301"));
        pressOk(dialog);
    });

    click("add");

    ASSERT_EQ(rig.checker.GetAccountCount(), 3);
    const AccountRecord added = stored(3);
    EXPECT_EQ(added.port, 110u);
    EXPECT_EQ(added.timeout, 30);
    EXPECT_EQ(added.accountName, "@example.org");
    EXPECT_EQ(added.isCurrent, 1u);
    EXPECT_EQ(added.scanAllInclude, 1);
    EXPECT_EQ(added.selectedRow, -1);
    EXPECT_EQ(added.accountNumber, 3);
    EXPECT_EQ(stored(1).isCurrent, 0u);
    EXPECT_EQ(accounts().currentAccountNumber, 3);
    EXPECT_EQ(accountChoice().currentIndex(), 2);
    EXPECT_EQ(accountChoice().currentText(), "@example.org");
    EXPECT_EQ(strip("lastScanned"), "Last Scanned: No Record    Status: Update Needed");
    EXPECT_TRUE(rig.profile.contains("Accounts"));
}

TEST_F(AccountsPageTest, CancelledAddChangesNothing) {
    seedAccounts(1, 1);
    test::answerNextDialog<AddAccountDialog>([](AddAccountDialog& dialog) { dialog.reject(); });
    click("add");
    EXPECT_EQ(rig.checker.GetAccountCount(), 1);
    EXPECT_EQ(accounts().currentAccountNumber, 1);
}

TEST_F(AccountsPageTest, AddOnAFullStoreIsRefusedBeforeTheDialog) {
    seedAccounts(kMaxAccounts, 1);
    click("add");  // no dialog may open: it would wait for an answer
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text, AccountLimitMessage());
    EXPECT_EQ(rig.checker.GetAccountCount(), kMaxAccounts);
}

TEST_F(AccountsPageTest, AddingToAnEmptyStoreEnablesThePage) {
    page.refreshPage();
    ASSERT_FALSE(edit("user").isEnabled());
    test::answerNextDialog<AddAccountDialog>([](AddAccountDialog& dialog) {
        fillNewAccount(dialog, QStringLiteral("pw"), true);
        pressOk(dialog);
    });
    click("add");
    EXPECT_TRUE(edit("user").isEnabled());
    EXPECT_TRUE(child<controls::CFlatButton>(page, "delete").isEnabled());
    EXPECT_EQ(edit("user").text(), "jane");
    EXPECT_EQ(accounts().currentAccountNumber, 1);
}

TEST(AccountsPage, PasswordNotRememberedIsNotStoredAndTheNextScanAsksForIt) {
    for (const QString& typed : {QString(), QStringLiteral("typed-pw")}) {
        const std::string name = typed.isEmpty() ? "nothing typed" : "password typed";
        test::FakePop3Server server;
        server.greetAndLogin("jane", "asked-pw").expect("stat\r\n").send("+OK 0 0\r\n");
        server.start();
        test::CheckerRig rig;
        AccountsPage page(rig.checker, rig.ui);
        const QString port = QString::number(server.port());
        test::answerNextDialog<AddAccountDialog>([typed, port](AddAccountDialog& dialog) {
            fillNewAccount(dialog, typed, false);
            child<QLineEdit>(dialog, "port").setText(port);
            pressOk(dialog);
        });
        child<controls::CFlatButton>(page, "add").click();
        ASSERT_EQ(rig.checker.GetAccountCount(), 1) << name;
        EXPECT_TRUE(rig.checker.GetAccount(1)->password.empty()) << name;
        EXPECT_EQ(rig.checker.GetAccount(1)->rememberPassword, 0u) << name;
        rig.ui.queuePassword(Credentials{"jane", "asked-pw"});

        rig.checker.onScanButton();

        EXPECT_EQ(server.finish(), "") << name;
        EXPECT_EQ(rig.ui.passwordRequests, std::vector<std::string>{"jane"}) << name;
        EXPECT_TRUE(rig.checker.GetAccount(1)->password.empty()) << name;
    }
}

TEST_F(AccountsPageTest, AccountEditsWaitForARunningScan) {
    seedAccounts(2, 1);
    AccountRecord first = stored(1);
    first.port = test::FakePop3Server::unusedPort();
    rig.checker.ReplaceAccount(1, first);
    rig.checker.accounts().currentAccount = first;
    bool clicked = false;
    // The clicks arrive while the scan waits on its connection.
    rig.ui.onProgress = [&](int, long) {
        if (clicked || !rig.checker.scanRunning()) return;
        clicked = true;
        click("delete");
        click("update");
        chooseInList(1);
    };

    rig.checker.onScanButton();

    ASSERT_TRUE(clicked);
    EXPECT_EQ(rig.checker.GetAccountCount(), 2);
    EXPECT_EQ(accounts().currentAccountNumber, 1);
    const auto titles = rig.ui.titles();
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "QLT Scan In Progress"), 3);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "QLT Update Complete"), 0);
}

TEST_F(AccountsPageTest, SecurityChoiceIsStoredAndReadBack) {
    seedAccounts(1, 1);
    auto& security = child<QComboBox>(page, "security");
    EXPECT_EQ(security.currentText(), "None");
    security.setCurrentIndex(security.findText(QStringLiteral("STLS")));
    click("update");
    EXPECT_EQ(stored(1).security, kSecurityStls);
    EXPECT_EQ(stored(1).port, 110u) << "STLS keeps the plain port";

    // Through the stored form, as the next start reads it.
    MailChecker next{DeskServices{rig.ui, rig.clock, rig.profile, rig.window, rig.launcher, rig.mailto},
                     rig.files()};
    next.load();
    ASSERT_EQ(next.GetAccountCount(), 1);
    EXPECT_EQ(next.GetAccount(1)->security, kSecurityStls);
    AccountsPage reloaded(next, rig.ui);
    reloaded.refreshPage();
    EXPECT_EQ(child<QComboBox>(reloaded, "security").currentText(), "STLS");
}

TEST_F(AccountsPageTest, PickingTlsOnThePageProposesItsPort) {
    seedAccounts(1, 1);
    auto& security = child<QComboBox>(page, "security");
    const int tls = security.findText(QStringLiteral("TLS"));
    security.setCurrentIndex(tls);
    emit security.activated(tls);
    EXPECT_EQ(edit("port").text(), "995");
    click("update");
    EXPECT_EQ(stored(1).security, kSecurityTls);
    EXPECT_EQ(stored(1).port, 995u);
}

TEST(AddAccountDialogSecurity, TlsProposesPort995AndOtherChoicesGiveItBack) {
    test::ScriptedUiPort ui;
    AddAccountDialog dialog(ui);
    auto& security = child<QComboBox>(dialog, "security");
    auto& port = child<QLineEdit>(dialog, "port");
    const auto pick = [&security](const char* name) {
        const int index = security.findText(QLatin1String(name));
        security.setCurrentIndex(index);
        emit security.activated(index);
    };
    EXPECT_EQ(security.currentText(), "None");

    pick("TLS");
    EXPECT_EQ(port.text(), "995");
    pick("STLS");
    EXPECT_EQ(port.text(), "110");
    pick("TLS");
    pick("None");
    EXPECT_EQ(port.text(), "110");
    port.setText(QStringLiteral("2110"));
    pick("TLS");
    EXPECT_EQ(port.text(), "2110") << "a port the user typed stays";

    port.setText(QStringLiteral("995"));
    fillNewAccount(dialog, QStringLiteral("pw"), true);
    pressOk(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.newRecord().security, kSecurityTls);
    EXPECT_EQ(dialog.newRecord().port, 995u);
}

}  // namespace
}  // namespace qlt::ui

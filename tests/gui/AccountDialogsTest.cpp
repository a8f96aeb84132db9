#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "support/ScriptedUiPort.h"
#include "ui/AboutDialog.h"
#include "ui/AddAccountDialog.h"
#include "ui/EnterPasswordDialog.h"

namespace qlt::ui {
namespace {

QLineEdit& edit(QDialog& dialog, const char* name) {
    auto* found = dialog.findChild<QLineEdit*>(QLatin1String(name));
    if (found == nullptr) throw std::runtime_error(name);
    return *found;
}

QCheckBox& check(QDialog& dialog, const char* name) {
    auto* found = dialog.findChild<QCheckBox*>(QLatin1String(name));
    if (found == nullptr) throw std::runtime_error(name);
    return *found;
}

void pressOk(QDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

void fillValidAccount(AddAccountDialog& dialog) {
    edit(dialog, "email").setText(QStringLiteral("@example.org"));
    edit(dialog, "server").setText(QStringLiteral("pop.example.org"));
    edit(dialog, "user").setText(QStringLiteral("jane"));
    edit(dialog, "password").setText(QStringLiteral("secret"));
}

TEST(AddAccountDialog, OpensWithItsInitialValues) {
    test::ScriptedUiPort ui;
    AddAccountDialog dialog(ui);
    EXPECT_EQ(dialog.windowTitle(), "Add Account");
    EXPECT_EQ(edit(dialog, "port").text(), "110");
    EXPECT_EQ(edit(dialog, "timeout").text(), "30");
    EXPECT_TRUE(check(dialog, "rememberPassword").isChecked());
    EXPECT_FALSE(check(dialog, "authRequired").isChecked());
    EXPECT_EQ(edit(dialog, "password").echoMode(), QLineEdit::Password);
    EXPECT_TRUE(edit(dialog, "email").text().isEmpty());
}

TEST(AddAccountDialog, OkCorrectsPortAndTimeoutIntoTheFieldsAndRecord) {
    test::ScriptedUiPort ui;
    AddAccountDialog dialog(ui);
    fillValidAccount(dialog);
    edit(dialog, "port").setText(QStringLiteral("0"));
    edit(dialog, "timeout").setText(QStringLiteral("301"));
    check(dialog, "authRequired").setChecked(true);
    pressOk(dialog);

    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(edit(dialog, "port").text(), "110");
    EXPECT_EQ(edit(dialog, "timeout").text(), "30");
    const AccountRecord record = dialog.newRecord();
    EXPECT_EQ(record.port, 110u);
    EXPECT_EQ(record.timeout, 30);
    EXPECT_EQ(record.accountName, "@example.org");
    EXPECT_EQ(record.password, "secret");
    EXPECT_EQ(record.authRequired, 1u);
}

TEST(AddAccountDialog, PasswordNotRememberedIsNotStored) {
    test::ScriptedUiPort ui;
    AddAccountDialog dialog(ui);
    fillValidAccount(dialog);
    check(dialog, "rememberPassword").setChecked(false);
    pressOk(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.newRecord().password.empty());
    EXPECT_EQ(dialog.newRecord().rememberPassword, 0u);
}

TEST(AddAccountDialog, RefusalKeepsTheDialogOpen) {
    const struct {
        const char* name;
        const char* field;
        QString text;
        std::string message;
    } rows[] = {
        {"no user", "user", QString(), "Please Enter Account User Name"},
        {"server past its field", "server", QString(60, QLatin1Char('s')),
         "The POP3 Server Address is too long: it can hold at most 59 characters."},
        {"empty port", "port", QString(), "Please enter a positive integer."},
        {"time-out past 32 bits", "timeout", QStringLiteral("99999999999"), "Please enter an integer."},
    };
    for (const auto& row : rows) {
        test::ScriptedUiPort ui;
        AddAccountDialog dialog(ui);
        fillValidAccount(dialog);
        edit(dialog, row.field).setText(row.text);
        pressOk(dialog);
        EXPECT_NE(dialog.result(), QDialog::Accepted) << row.name;
        ASSERT_EQ(ui.boxes.size(), 1u) << row.name;
        EXPECT_EQ(ui.boxes[0].text, row.message) << row.name;
    }
}

TEST(AddAccountDialog, PortFieldTakesDigitsOnly) {
    test::ScriptedUiPort ui;
    AddAccountDialog dialog(ui);
    QLineEdit& port = edit(dialog, "port");
    port.clear();
    port.insert(QStringLiteral("-1"));
    port.insert(QStringLiteral("x"));
    port.insert(QStringLiteral("995"));
    EXPECT_EQ(port.text(), "995");
}

TEST(EnterPasswordDialog, PrefilledUserAndClearPasswordChecked) {
    test::ScriptedUiPort ui;
    EnterPasswordDialog dialog(QStringLiteral("jane"), ui);
    EXPECT_EQ(dialog.windowTitle(), "Enter Password");
    EXPECT_EQ(edit(dialog, "userName").text(), "jane");
    EXPECT_EQ(edit(dialog, "password").echoMode(), QLineEdit::Normal);

    pressOk(dialog);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Please Enter Password");

    edit(dialog, "password").setText(QStringLiteral("pw"));
    pressOk(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    AccountRecord current;
    applyEnteredPassword(dialog.userName(), dialog.password(), current);
    EXPECT_EQ(current.userName, "jane");
    EXPECT_EQ(current.password, "pw");
}

TEST(EnterPasswordDialog, EmptyUserAskedFirst) {
    test::ScriptedUiPort ui;
    EnterPasswordDialog dialog(QString(), ui);
    pressOk(dialog);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Please Enter Account User Name");
}

TEST(AboutDialog, NameAndBuildLines) {
    AboutDialog about(QLT_VERSION);
    EXPECT_EQ(about.windowTitle(), "About Quillgate");
    EXPECT_EQ(about.productLine(), "Quillgate 1.72 ");
    EXPECT_EQ(about.buildLine(), QStringLiteral("Build: ") + QStringLiteral(QLT_VERSION));
    EXPECT_EQ(AboutDialog("").buildLine(), "Build: ");
    EXPECT_EQ(AboutDialog(std::string(100, '7')).buildLine(),
              QStringLiteral("Build: ") + QString(63, QLatin1Char('7')));
}

QComboBox& combo(QDialog& dialog, const char* name) {
    auto* found = dialog.findChild<QComboBox*>(QLatin1String(name));
    if (found == nullptr) throw std::runtime_error(name);
    return *found;
}

struct OAuthEntryRow {
    const char* name;
    int provider;
    const char* clientId;
    const char* tokenUrl;
    const char* message;  // empty: accepted
};

TEST(AddAccountDialog, OAuth2NeedsNoPasswordButAClientAndForCustomItsAddresses) {
    const OAuthEntryRow rows[] = {
        {"Google with a client", kOAuthGoogle, "id.apps", "", ""},
        {"no client id", kOAuthMicrosoft, "", "", "Please Enter the Client ID"},
        {"custom without addresses", kOAuthCustom, "id", "", "Please Enter the Authorization and Token URLs"},
        {"custom with addresses", kOAuthCustom, "id", "https://idp.example/token", ""},
    };
    for (const auto& row : rows) {
        test::ScriptedUiPort ui;
        AddAccountDialog dialog(ui);
        fillValidAccount(dialog);
        edit(dialog, "password").clear();
        combo(dialog, "signIn").setCurrentIndex(kSignInOAuth2);
        combo(dialog, "provider").setCurrentIndex(row.provider);
        EXPECT_FALSE(edit(dialog, "password").isEnabled()) << row.name;
        EXPECT_EQ(edit(dialog, "tokenUrl").isEnabled(), row.provider == kOAuthCustom) << row.name;
        edit(dialog, "clientId").setText(QString::fromLatin1(row.clientId));
        edit(dialog, "authorizationUrl").setText(QStringLiteral("https://idp.example/authorize"));
        edit(dialog, "tokenUrl").setText(QString::fromLatin1(row.tokenUrl));
        pressOk(dialog);
        if (*row.message != '\0') {
            ASSERT_EQ(ui.boxes.size(), 1u) << row.name;
            EXPECT_EQ(ui.boxes[0].text, row.message) << row.name;
            EXPECT_NE(dialog.result(), QDialog::Accepted) << row.name;
            continue;
        }
        ASSERT_EQ(dialog.result(), QDialog::Accepted) << row.name;
        const AccountRecord record = dialog.newRecord();
        EXPECT_EQ(record.signIn, kSignInOAuth2) << row.name;
        EXPECT_EQ(record.oauthProvider, row.provider) << row.name;
        EXPECT_TRUE(record.password.empty()) << row.name;
        EXPECT_EQ(dialog.input().oauth.clientId, row.clientId) << row.name;
    }
}

}  // namespace
}  // namespace qlt::ui

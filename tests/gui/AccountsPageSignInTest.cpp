// The Accounts page of the real window with accounts of either sign-in: Add,
// Update with a new server and port, Delete, each read back from the profile.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "WindowRig.h"
#include "controls/CFlatButton.h"
#include "controls/CFlatCheck.h"
#include "store/AccountPersistence.h"
#include "store/OAuthClient.h"
#include "store/Settings.h"
#include "ui/AccountsPage.h"
#include "ui/AddAccountDialog.h"

namespace qlt {
namespace {

using test::child;

constexpr char kUpdated[] = "Account information has been updated.";

struct SignInRow {
    const char* name;
    std::uint8_t signIn;
    std::uint8_t provider;
    const char* typedOnPage;  // the password text when Update is clicked
    const char* message;      // the one box Update shows
};

const OAuthClient kClient{"id.apps.example", "shh", "https://idp.example/authorize",
                          "https://idp.example/token"};

std::vector<AccountRecord> storedAccounts(const Profile& profile) {
    return DecodeAccounts(profile.readBinary(kAccountsValueName).value_or(Bytes{}))
        .value_or(std::vector<AccountRecord>{});
}

void addThroughDialog(ui::AccountsPage& page, const SignInRow& row) {
    test::answerNextDialog<ui::AddAccountDialog>([row](ui::AddAccountDialog& dialog) {
        child<QLineEdit>(dialog, "email").setText(QStringLiteral("@example.org"));
        child<QLineEdit>(dialog, "server").setText(QStringLiteral("127.0.0.1"));
        child<QLineEdit>(dialog, "user").setText(QStringLiteral("jane"));
        child<QLineEdit>(dialog, "password").setText(QStringLiteral("pw"));
        child<QComboBox>(dialog, "signIn").setCurrentIndex(row.signIn);
        child<QComboBox>(dialog, "provider").setCurrentIndex(row.provider);
        child<QLineEdit>(dialog, "clientId").setText(QString::fromStdString(kClient.clientId));
        child<QLineEdit>(dialog, "clientSecret").setText(QString::fromStdString(kClient.clientSecret));
        child<QLineEdit>(dialog, "authorizationUrl")
            .setText(QString::fromStdString(kClient.authorizationEndpoint));
        child<QLineEdit>(dialog, "tokenUrl").setText(QString::fromStdString(kClient.tokenEndpoint));
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    child<controls::CFlatButton>(page, "add").click();
}

TEST(AccountsPageSignIn, OAuth2AccountsNeedNoPasswordAndKeepTheirSignInThroughUpdateAndDelete) {
    const SignInRow rows[] = {
        {"OAuth2 with Google", kSignInOAuth2, kOAuthGoogle, "", kUpdated},
        {"OAuth2 with a custom provider", kSignInOAuth2, kOAuthCustom, "", kUpdated},
        {"password kept", kSignInPassword, kOAuthGoogle, "pw", kUpdated},
        {"password emptied", kSignInPassword, kOAuthGoogle, "", "Please Enter Password"},
    };
    for (const auto& row : rows) {
        test::WindowRig rig;
        auto& page = *rig.window->findChild<ui::AccountsPage*>();
        addThroughDialog(page, row);
        const std::vector<AccountRecord> added = storedAccounts(rig.profile);
        ASSERT_EQ(added.size(), 1u) << row.name;
        const bool oauth = row.signIn == kSignInOAuth2;
        auto& password = child<QLineEdit>(page, "password");
        EXPECT_EQ(password.isEnabled(), !oauth) << row.name;
        EXPECT_EQ(password.placeholderText(), oauth ? "Signs in with OAuth2" : "") << row.name;
        EXPECT_EQ(child<controls::CFlatCheck>(page, "rememberPassword").isEnabled(), !oauth) << row.name;

        child<QLineEdit>(page, "server").setText(QStringLiteral("pop.example.org"));
        child<QLineEdit>(page, "port").setText(QStringLiteral("995"));
        password.setText(QString::fromLatin1(row.typedOnPage));
        child<controls::CFlatButton>(page, "update").click();

        ASSERT_EQ(rig.boxes.boxes.size(), 1u) << row.name;
        EXPECT_EQ(rig.boxes.boxes[0].text, row.message) << row.name;
        const AccountRecord updated = storedAccounts(rig.profile).at(0);
        const bool saved = row.message == kUpdated;
        EXPECT_EQ(updated.server, saved ? "pop.example.org" : "127.0.0.1") << row.name;
        EXPECT_EQ(updated.port, saved ? 995u : 110u) << row.name;
        EXPECT_EQ(updated.signIn, row.signIn) << row.name;
        EXPECT_EQ(updated.oauthProvider, row.provider) << row.name;
        EXPECT_EQ(LoadOAuthClient(rig.profile, updated), oauth ? kClient : OAuthClient{}) << row.name;
        EXPECT_EQ(LoadOAuthClient(rig.profile, added[0]), OAuthClient{}) << row.name << ": moved, not copied";

        child<controls::CFlatButton>(page, "delete").click();
        EXPECT_TRUE(storedAccounts(rig.profile).empty()) << row.name;
        EXPECT_EQ(LoadOAuthClient(rig.profile, updated), OAuthClient{}) << row.name << ": forgotten";
    }
}

}  // namespace
}  // namespace qlt

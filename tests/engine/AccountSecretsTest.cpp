#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "store/InMemoryProfile.h"
#include "support/InMemorySecretStore.h"
#include "support/SampleAccounts.h"
#include "support/SecretsRig.h"

namespace qlt {
namespace {

using Outcome = SecretStore::Outcome;
using test::sampleAccount;
using test::sampleStore;

std::string keyOf(int n) {
    return PasswordKey(sampleAccount(n));
}

class AccountSecretsTest : public ::testing::Test {
  protected:
    InMemoryProfile profile;
    test::InMemorySecretStore keyring;
    test::SecretsRig rig{profile, keyring};
};

// What start-up does with passwords the stored records hold, by the
// keyring's answer: moved (the record cleared) only after a confirmed write.
TEST_F(AccountSecretsTest, StoredPasswordsMoveAtStartOnlyWhenTheKeyringTookThem) {
    const struct {
        std::optional<Outcome> answer;
        bool moved;
    } cases[] = {{std::nullopt, true}, {Outcome::NoKeyring, false}, {Outcome::Refused, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer ? static_cast<int>(*c.answer) : -1);
        InMemoryProfile stored;
        test::InMemorySecretStore secrets;
        secrets.answer = c.answer;
        test::SecretsRig start(stored, secrets);
        start.storeAccounts(sampleStore(2));
        MailChecker& checker = start.start();
        for (int n = 1; n <= 2; ++n) {
            EXPECT_EQ(start.stored()[n - 1].password.empty(), c.moved) << n;
            EXPECT_EQ(checker.GetAccount(n)->password, "secret" + std::to_string(n)) << "kept in memory";
            EXPECT_EQ(secrets.secrets.contains(keyOf(n)), c.moved);
        }
        EXPECT_EQ(checker.accounts().currentAccount.password, "secret2");
        EXPECT_TRUE(start.ui.boxes.empty()) << "a password already in the record is no news";
    }
}

// Edits of account 1 and what the keyring then holds under which name.
TEST_F(AccountSecretsTest, TheEntryFollowsTheAccountsEdits) {
    const struct {
        const char* edit;
        std::function<void(MailChecker&)> apply;
        std::map<std::string, std::string> held;
        const char* recordPassword;
    } cases[] = {
        {"new server",
         [](MailChecker& c) {
             AccountRecord r = *c.GetAccount(1);
             r.server = "pop.elsewhere.org";
             c.ReplaceAccount(1, r);
         },
         {{"password/pop.elsewhere.org:996/user1", "secret1"}, {keyOf(2), "secret2"}},
         ""},
        {"new password",
         [](MailChecker& c) {
             AccountRecord r = *c.GetAccount(1);
             r.password = "changed";
             c.ReplaceAccount(1, r);
         },
         {{keyOf(1), "changed"}, {keyOf(2), "secret2"}},
         ""},
        {"remember off",
         [](MailChecker& c) {
             AccountRecord r = *c.GetAccount(1);
             r.rememberPassword = 0;
             c.ReplaceAccount(1, r);
         },
         {{keyOf(2), "secret2"}},
         "secret1"},
        {"removed", [](MailChecker& c) { c.RemoveAccount(0); }, {{keyOf(2), "secret2"}}, ""},
        {"signs in with OAuth2 now",
         [](MailChecker& c) {
             AccountRecord r = *c.GetAccount(1);
             r.signIn = kSignInOAuth2;
             r.password = "";
             c.ReplaceAccount(1, r);
         },
         {{keyOf(2), "secret2"}},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit);
        InMemoryProfile stored;
        test::InMemorySecretStore secrets;
        test::SecretsRig start(stored, secrets);
        start.storeAccounts(sampleStore(2));
        MailChecker& checker = start.start();
        c.apply(checker);
        ASSERT_TRUE(checker.SaveAccounts());
        EXPECT_EQ(secrets.secrets, c.held);
        EXPECT_EQ(start.stored()[0].password, c.recordPassword) << "remember off keeps what Update stores";
    }
}

TEST_F(AccountSecretsTest, ARemovedOAuth2AccountTakesItsSignInAlong) {
    AccountStore store = sampleStore(2);
    for (int n = 1; n <= 2; ++n) {
        AccountRecord r = *store.GetAccount(n);
        r.signIn = kSignInOAuth2;
        r.password = "";
        store.ReplaceAccount(n, r);
        keyring.secrets[RefreshTokenKey(r)] = "token" + std::to_string(n);
    }
    rig.storeAccounts(store);
    MailChecker& checker = rig.start();
    checker.RemoveAccount(0);
    ASSERT_TRUE(checker.SaveAccounts());
    EXPECT_EQ(keyring.secrets,
              (std::map<std::string, std::string>{{RefreshTokenKey(*store.GetAccount(2)), "token2"}}));
}

TEST_F(AccountSecretsTest, WithoutAKeyringANewPasswordGoesToTheRecordAfterTellingOnce) {
    rig.storeAccounts(sampleStore(1));
    keyring.answer = Outcome::NoKeyring;
    MailChecker& checker = rig.start();
    for (const char* password : {"first", "second"}) {
        AccountRecord r = *checker.GetAccount(1);
        r.password = password;
        checker.ReplaceAccount(1, r);
        ASSERT_TRUE(checker.SaveAccounts());
        EXPECT_EQ(rig.stored()[0].password, password);
    }
    ASSERT_EQ(rig.ui.boxes.size(), 1u) << "once a run";
    EXPECT_NE(rig.ui.boxes[0].text.find(profile.location()), std::string::npos) << rig.ui.boxes[0].text;
}

TEST_F(AccountSecretsTest, TwoAccountsOfOneNameWithDifferentPasswordsStayInTheirRecords) {
    AccountStore store = sampleStore(2);
    AccountRecord twin = *store.GetAccount(1);
    twin.password = "other";
    store.ReplaceAccount(2, twin);
    rig.storeAccounts(store);
    rig.start();
    EXPECT_TRUE(keyring.secrets.empty());
    EXPECT_EQ(rig.stored()[0].password, "secret1");
    EXPECT_EQ(rig.stored()[1].password, "other");
}

TEST_F(AccountSecretsTest, AKeyringLockedAtStartIsAskedAgainBeforeTheScanAsksTheUser) {
    AccountStore store = sampleStore(2);
    AccountRecord current = *store.GetAccount(2);
    current.password = "";
    current.server = "127.0.0.1";
    current.port = 1;  // nothing listens: the login fails at once
    store.ReplaceAccount(2, current);
    rig.storeAccounts(store);
    keyring.secrets[PasswordKey(current)] = "unlocked";
    keyring.answer = Outcome::Refused;
    MailChecker& checker = rig.start();
    ASSERT_EQ(checker.accounts().currentAccount.password, "");
    keyring.answer.reset();
    checker.runScan();
    EXPECT_TRUE(rig.ui.passwordRequests.empty());
    EXPECT_EQ(checker.GetAccount(2)->password, "unlocked");
}

}  // namespace
}  // namespace qlt

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTemporaryDir>
#include <memory>

#include "platform/KeyringSecrets.h"
#include "platform/QSettingsProfile.h"
#include "support/SampleAccounts.h"
#include "support/SecretsRig.h"

namespace qlt {
namespace {

using Outcome = SecretStore::Outcome;

// Runs on a private session bus with a keyring daemon of its own
// (with-keyring.sh); elsewhere it skips, and the script fails a skip.
class KeyringOnAPrivateBus : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QLT_KEYRING_BUS"))
            GTEST_SKIP() << "needs the keyring daemon of tests/platform/with-keyring.sh";
    }
    QString profileFile() const { return m_dir.filePath("quillgt.conf"); }

    int m_argc = 1;
    char m_name[16] = "qlt-tests";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app{m_argc, m_argv};
    QTemporaryDir m_dir;
    // A service name of each test's own, so no test sees another's entries.
    KeyringSecrets keyring{QStringLiteral("org.tamsworth.Quillgate.test.") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name()};
};

// Locks the keyring's default collection: writes are then refused (no
// prompt can answer on the private bus) or time out.
bool lockDefaultCollection() {
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.secrets", "/org/freedesktop/secrets",
                                                       "org.freedesktop.Secret.Service", "Lock");
    call << QVariant::fromValue(
        QList<QDBusObjectPath>{QDBusObjectPath("/org/freedesktop/secrets/aliases/default")});
    return QDBusConnection::sessionBus().call(call).type() == QDBusMessage::ReplyMessage;
}

TEST_F(KeyringOnAPrivateBus, ASecretComesBackUntilRemoved) {
    const std::string key = SecretKey(SecretKind::Password, "pop.example.org", 995, "ann");
    EXPECT_EQ(keyring.read(key).outcome, Outcome::NotFound);
    const struct { const char* secret; } cases[] = {{"pa55 word"}, {"\xc3\xa9t\xc3\xa9 \xe2\x82\xac"}};
    for (const auto& c : cases) {
        ASSERT_EQ(keyring.write(key, c.secret), Outcome::Done);
        const auto found = keyring.read(key);
        EXPECT_EQ(found.outcome, Outcome::Done);
        EXPECT_EQ(found.secret, c.secret);
    }
    EXPECT_EQ(keyring.read(SecretKey(SecretKind::Password, "pop.example.org", 110, "ann")).outcome,
              Outcome::NotFound)
        << "another port is another name";
    EXPECT_EQ(keyring.remove(key), Outcome::Done);
    EXPECT_EQ(keyring.read(key).outcome, Outcome::NotFound);
}

TEST_F(KeyringOnAPrivateBus, StoredPasswordsMoveAtStartAndComeBackNextStart) {
    {
        QSettingsProfile profile(profileFile());
        test::SecretsRig first(profile, keyring);
        first.storeAccounts(test::sampleStore(2));
        first.start();
        for (const AccountRecord& r : first.stored()) EXPECT_TRUE(r.password.empty()) << r.userName.str();
        EXPECT_EQ(keyring.read(PasswordKey(test::sampleAccount(1))).secret, "secret1");
    }
    QSettingsProfile profile(profileFile());
    test::SecretsRig next(profile, keyring);
    MailChecker& checker = next.start();
    EXPECT_EQ(checker.GetAccount(1)->password, "secret1");
    EXPECT_EQ(checker.accounts().currentAccount.password, "secret2");
    EXPECT_TRUE(next.ui.boxes.empty());
}

TEST_F(KeyringOnAPrivateBus, ALockedKeyringLeavesThePasswordsInTheRecords) {
    ASSERT_TRUE(lockDefaultCollection());
    EXPECT_NE(keyring.write("password/pop.example.org:110/bo", "x"), Outcome::Done);
    QSettingsProfile profile(profileFile());
    test::SecretsRig rig(profile, keyring);
    rig.storeAccounts(test::sampleStore(2));
    MailChecker& checker = rig.start();
    EXPECT_EQ(rig.stored()[0].password, "secret1");
    EXPECT_EQ(rig.stored()[1].password, "secret2");
    EXPECT_EQ(checker.GetAccount(1)->password, "secret1");
}

// The command line's case: no session bus at all.
TEST(KeyringWithoutABus, NoKeyringAnswersAndANewPasswordStaysInTheRecordAfterTellingOnce) {
    if (!qEnvironmentVariableIsSet("QLT_KEYRING_NO_BUS"))
        GTEST_SKIP() << "needs a process without a session bus (tests/platform/with-keyring.sh)";
    int argc = 1;
    char name[] = "qlt-tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    KeyringSecrets keyring;
    EXPECT_EQ(keyring.read("password/pop.example.org:110/bo").outcome, Outcome::NoKeyring);
    QTemporaryDir dir;
    QSettingsProfile profile(dir.filePath("quillgt.conf"));
    test::SecretsRig rig(profile, keyring);
    rig.storeAccounts(test::sampleStore(1));
    MailChecker& checker = rig.start();
    AccountRecord changed = *checker.GetAccount(1);
    changed.password = "new one";
    checker.ReplaceAccount(1, changed);
    ASSERT_TRUE(checker.SaveAccounts());
    EXPECT_EQ(rig.stored()[0].password, "new one");
    EXPECT_EQ(rig.ui.titles(), std::vector<std::string>{"QLT Password Storage"});
}

}  // namespace
}  // namespace qlt

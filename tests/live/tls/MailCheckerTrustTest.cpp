#include <gtest/gtest.h>

#include "LiveTlsInstance.h"
#include "base/ProcessState.h"
#include "pop3/CertificateCheck.h"
#include "store/ConnectionSecurity.h"
#include "support/CheckerRig.h"

namespace qlt::test {
namespace {

constexpr const char* kUnknownIssuer =
    "The server's certificate is not trusted: it was issued by an unknown authority.";

// The mail checker against the POP3S listener, without the test CA: the
// certificate is refused until the user trusts it.
class MailCheckerTrustTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(portIn("pop3s-port"), 0u) << "no ssl Dovecot instance in " << instanceDir();
        const int n = rig.addAccount(portIn("pop3s-port"), "ann", "qlt-live-pw");
        AccountRecord a = *rig.checker.GetAccount(n);
        a.security = kSecurityTls;
        a.accountName = "Ann secure";
        rig.checker.ReplaceAccount(n, a);
        rig.checker.accounts().MakeAccountCurrent(n);
    }
    void TearDown() override { resetProcessState(); }

    AccountRecord scan() {
        rig.checker.onScanButton();
        return *rig.checker.GetAccount(1);
    }

    // The account as the saved store holds it.
    AccountRecord saved() {
        CheckerRig other;
        other.profile = rig.profile;
        other.checker.load();
        return other.checker.GetAccount(1).value_or(AccountRecord{});
    }

    CheckerRig rig;
};

TEST_F(MailCheckerTrustTest, TrustingPinsTheCertificateSavesItAndTheNextScanAsksNothing) {
    rig.ui.queueTrust(true);
    const AccountRecord first = scan();

    ASSERT_EQ(rig.ui.trustRequests.size(), 1u);
    EXPECT_EQ(rig.ui.trustRequests[0].accountName, "Ann secure");
    EXPECT_EQ(rig.ui.trustRequests[0].reason, kUnknownIssuer);
    EXPECT_EQ(rig.ui.trustRequests[0].fingerprint, fingerprintText(fingerprintOf("good")));
    EXPECT_EQ(first.pinnedCertificate, fingerprintOf("good"));
    EXPECT_EQ(first.status, kStatusCompleted) << rig.checker.client().m_strError;
    EXPECT_EQ(first.messageCount, 3);
    EXPECT_EQ(saved().pinnedCertificate, fingerprintOf("good"));
    // A secure account is never warned about clear text.
    EXPECT_EQ(first.plainTextWarned, 0);

    const AccountRecord second = scan();
    EXPECT_EQ(rig.ui.trustRequests.size(), 1u);
    EXPECT_EQ(second.messageCount, 3);
    EXPECT_NE(second.status, kStatusConnectionFailed) << rig.checker.client().m_strError;
}

TEST_F(MailCheckerTrustTest, RefusingLeavesTheAccountUnpinnedAndUnreached) {
    const AccountRecord after = scan();

    EXPECT_EQ(rig.ui.trustRequests.size(), 1u);
    EXPECT_FALSE(HasPinnedCertificate(after));
    EXPECT_EQ(after.status, kStatusConnectionFailed);
    EXPECT_FALSE(HasPinnedCertificate(saved()));
    EXPECT_EQ(rig.checker.client().m_strError.rfind("ERROR: The server's certificate is not trusted", 0), 0u);
}

TEST_F(MailCheckerTrustTest, AChangedCertificateAsksAgainAndARefusalKeepsTheOldPin) {
    AccountRecord a = *rig.checker.GetAccount(1);
    a.pinnedCertificate = fingerprintOf("selfsigned");
    rig.checker.ReplaceAccount(1, a);
    rig.checker.accounts().MakeAccountCurrent(1);

    const AccountRecord after = scan();

    ASSERT_EQ(rig.ui.trustRequests.size(), 1u);
    EXPECT_EQ(rig.ui.trustRequests[0].reason,
              std::string(kUnknownIssuer) + "\nIt is not the certificate trusted for this account before.");
    EXPECT_EQ(after.pinnedCertificate, fingerprintOf("selfsigned"));
    EXPECT_EQ(after.status, kStatusConnectionFailed);
}

}  // namespace
}  // namespace qlt::test

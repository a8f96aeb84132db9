#include <gtest/gtest.h>

#include <string>

#include "LiveTlsInstance.h"
#include "base/AccountRecord.h"
#include "base/Clock.h"
#include "base/ProcessState.h"
#include "pop3/Pop3Client.h"
#include "store/ConnectionSecurity.h"
#include "support/ScriptedUiPort.h"

namespace qlt::test {
namespace {

class LiveTlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(instanceDir().empty()) << "QLT_LIVE_TLS_DIR is not set: run through ctest";
        ASSERT_NE(portIn("pop3s-port"), 0u) << "no ssl Dovecot instance in " << instanceDir();
    }
    void TearDown() override {
        client.Close();
        resetProcessState();
    }

    AccountRecord account(std::uint8_t security, const std::string& server = "127.0.0.1") const {
        AccountRecord a;
        a.server = server;
        a.port = portIn(security == kSecurityTls ? "pop3s-port" : "port");
        a.userName = "ann";
        a.password = "qlt-live-pw";
        a.timeout = 10;
        a.security = security;
        return a;
    }

    void trustTestCa() { client.setCaFile(certificatePath("ca")); }

    ScriptedUiPort ui;
    SystemClock clock;
    Pop3Client client{ui, clock};
};

TEST_F(LiveTlsTest, ImplicitTlsLogsInAndReadsStatAndTop) {
    trustTestCa();
    ASSERT_TRUE(client.Connect(account(kSecurityTls))) << client.m_strError;
    EXPECT_EQ(client.certificateCheck().problem, CertificateProblem::None);
    EXPECT_EQ(client.certificateCheck().fingerprint, fingerprintOf("good"));
    ASSERT_TRUE(client.QueryStat()) << client.m_strError;
    EXPECT_EQ(client.m_nMessages, 3);
    // STOP reaches the TOP reader over TLS as over a plain socket.
    abortRequested = 1;
    ASSERT_TRUE(client.Top(1, 4)) << client.m_strError;
    EXPECT_EQ(client.m_strReply.rfind("Return-Path: <lena@example.org>\r\n", 0), 0u) << client.m_strReply;
    EXPECT_TRUE(client.m_strReply.ends_with("\r\n..A line that starts with a dot.\r\n")) << client.m_strReply;
    EXPECT_EQ(ui.progressEvents.back(), (std::pair<int, long>{6, 1}));
    EXPECT_TRUE(client.Quit()) << client.m_strError;
}

TEST_F(LiveTlsTest, StlsLogsInByHostName) {
    trustTestCa();
    ASSERT_TRUE(client.Connect(account(kSecurityStls, "localhost"))) << client.m_strError;
    EXPECT_EQ(client.m_strCommand, "pass qlt-live-pw\r\n");
    ASSERT_TRUE(client.QueryStat()) << client.m_strError;
    EXPECT_EQ(client.m_nMessages, 3);
    EXPECT_EQ(ui.progressEvents, (std::vector<std::pair<int, long>>{{20, 0}, {21, 0}, {22, 0}}));
    EXPECT_TRUE(client.Quit()) << client.m_strError;
}

struct Refusal {
    const char* name;
    const char* server;
    bool caGiven;
    const char* certificate;
    CertificateProblem problem;
    const char* reason;
};

class CertificateRefusalTest : public LiveTlsTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(CertificateRefusalTest, NamesTheReasonAndFingerprintAndAPinLetsItIn) {
    const Refusal& r = GetParam();
    if (r.caGiven) trustTestCa();
    for (const std::uint8_t security : {kSecurityTls, kSecurityStls}) {
        SCOPED_TRACE(SecurityName(security));
        AccountRecord a = account(security, r.server);
        EXPECT_FALSE(client.Connect(a));
        const CertificateFingerprint expected = fingerprintOf(r.certificate);
        EXPECT_EQ(client.m_strError,
                  std::string("ERROR: The server's certificate is not trusted: ") + r.reason +
                      "\r\nCertificate SHA-256 fingerprint: " + fingerprintText(expected) + "\r\n");
        EXPECT_EQ(client.certificateCheck().problem, r.problem);
        EXPECT_EQ(client.certificateCheck().fingerprint, expected);
        EXPECT_FALSE(client.m_socket.IsOpen());

        a.pinnedCertificate = client.certificateCheck().fingerprint;
        ASSERT_TRUE(client.Connect(a)) << client.m_strError;
        EXPECT_TRUE(client.certificateCheck().pinned);
        ASSERT_TRUE(client.QueryStat()) << client.m_strError;
        EXPECT_EQ(client.m_nMessages, 3);
        EXPECT_TRUE(client.Quit());
        client.Close();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Certificates, CertificateRefusalTest,
    ::testing::Values(Refusal{"UnknownIssuerWithoutTheCa", "127.0.0.1", false, "good",
                              CertificateProblem::UnknownIssuer, "it was issued by an unknown authority"},
                      Refusal{"NameMismatch", "127.0.0.2", true, "other", CertificateProblem::NameMismatch,
                              "it was issued for another name than \"127.0.0.2\""},
                      Refusal{"Expired", "127.0.0.3", true, "expired", CertificateProblem::Expired,
                              "it has expired"},
                      Refusal{"SelfSigned", "127.0.0.4", true, "selfsigned", CertificateProblem::SelfSigned,
                              "it is self-signed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LiveTlsTest, AChangedCertificateIsRefusedDespiteTheOldPin) {
    trustTestCa();
    AccountRecord a = account(kSecurityTls, "127.0.0.2");
    a.pinnedCertificate = fingerprintOf("selfsigned");
    EXPECT_FALSE(client.Connect(a));
    EXPECT_EQ(client.certificateCheck().problem, CertificateProblem::NameMismatch);
    EXPECT_FALSE(client.certificateCheck().pinned);
    EXPECT_TRUE(
        client.m_strError.ends_with("\r\nIt is not the certificate trusted for this account before\r\n"))
        << client.m_strError;
}

TEST_F(LiveTlsTest, AnUnreadableCaFileFailsTheHandshake) {
    client.setCaFile((instanceDir() / "tls" / "missing.pem").string());
    EXPECT_FALSE(client.Connect(account(kSecurityTls)));
    EXPECT_EQ(
        client.m_strError.rfind("ERROR: No secure connection could be agreed with the server (the trusted "
                                "certificates could not be read from \"",
                                0),
        0u)
        << client.m_strError;
}

}  // namespace
}  // namespace qlt::test

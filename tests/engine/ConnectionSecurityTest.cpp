#include <gtest/gtest.h>

#include <numeric>

#include "store/AccountRecordCodec.h"
#include "store/ConnectionSecurity.h"
#include "support/SampleAccounts.h"

namespace qlt {
namespace {

Bytes storedForm(const AccountRecord& record) {
    Bytes out;
    appendAccountRecord(record, out);
    return out;
}

AccountRecord readBack(const Bytes& stored) {
    return readAccountRecord(std::span<const std::uint8_t>(stored).first<kAccountRecordSize>());
}

CertificateFingerprint countingFingerprint() {
    CertificateFingerprint f{};
    std::iota(f.begin(), f.end(), std::uint8_t{0xA0});
    return f;
}

TEST(ConnectionSecurityRecord, SecurityPinAndWarningSitInTheFormerReservedBytes) {
    AccountRecord r = test::sampleAccount(2);
    r.security = kSecurityStls;
    r.pinnedCertificate = countingFingerprint();
    r.plainTextWarned = 1;
    const Bytes b = storedForm(r);
    ASSERT_EQ(b.size(), kAccountRecordSize);
    EXPECT_EQ(b[256], 2);
    for (std::size_t i = 0; i < 32; ++i) EXPECT_EQ(b[257 + i], 0xA0 + i) << "fingerprint byte " << i;
    EXPECT_EQ(b[289], 1);
    for (std::size_t i = 290; i < 320; ++i) EXPECT_EQ(b[i], 0) << "reserved byte " << i;
    // The neighbours did not move.
    EXPECT_EQ(b[255], 0);  // end of the account name
    EXPECT_EQ(b[320], r.timeout & 0xFF);
    EXPECT_EQ(readBack(b), r);
}

TEST(ConnectionSecurityRecord, AStoreWrittenBeforeTheSettingReadsAsPlainWithNothingPinned) {
    Bytes old = storedForm(test::sampleAccount(4));
    std::fill(old.begin() + 256, old.begin() + 320, 0);
    const AccountRecord r = readBack(old);
    EXPECT_EQ(r.security, kSecurityNone);
    EXPECT_FALSE(HasPinnedCertificate(r));
    EXPECT_EQ(r.plainTextWarned, 0);
    EXPECT_EQ(r, test::sampleAccount(4));
}

TEST(ConnectionSecurity, NamesParsingAndProposedPorts) {
    EXPECT_STREQ(SecurityName(kSecurityNone), "None");
    EXPECT_STREQ(SecurityName(kSecurityTls), "TLS");
    EXPECT_STREQ(SecurityName(kSecurityStls), "STLS");
    EXPECT_STREQ(SecurityName(7), "Unknown");
    EXPECT_EQ(ParseSecurity("none"), kSecurityNone);
    EXPECT_EQ(ParseSecurity("TLS"), kSecurityTls);
    EXPECT_EQ(ParseSecurity("Stls"), kSecurityStls);
    EXPECT_EQ(ParseSecurity("starttls"), std::nullopt);
    EXPECT_EQ(ParseSecurity(""), std::nullopt);
    EXPECT_EQ(DefaultPortFor(kSecurityTls), 995u);
    EXPECT_EQ(DefaultPortFor(kSecurityStls), 110u);
    EXPECT_EQ(DefaultPortFor(kSecurityNone), 110u);
}

struct WarningCase {
    const char* name;
    std::uint8_t security;
    std::uint8_t warned;
    bool loopback;
    bool expected;
};

class PlainTextWarningTest : public ::testing::TestWithParam<WarningCase> {};

TEST_P(PlainTextWarningTest, FollowsTheRule) {
    AccountRecord a = test::sampleAccount(1);
    a.security = GetParam().security;
    a.plainTextWarned = GetParam().warned;
    EXPECT_EQ(NeedsPlainTextWarning(a, GetParam().loopback), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, PlainTextWarningTest,
    ::testing::Values(WarningCase{"PlainToARemoteServerWarns", kSecurityNone, 0, false, true},
                      WarningCase{"OnlyOncePerAccount", kSecurityNone, 1, false, false},
                      WarningCase{"LoopbackIsNeverWarned", kSecurityNone, 0, true, false},
                      WarningCase{"TlsNeverWarns", kSecurityTls, 0, false, false},
                      WarningCase{"StlsNeverWarns", kSecurityStls, 0, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qlt

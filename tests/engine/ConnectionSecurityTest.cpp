#include <gtest/gtest.h>

#include "store/ConnectionSecurity.h"
#include "support/SampleAccounts.h"

namespace qlt {
namespace {

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

TEST(ConnectionSecurity, PickedSecurityMovesOnlyTheOtherChoicesUsualPort) {
    const struct {
        const char* name;
        std::uint8_t security;
        std::uint32_t port;
        std::uint32_t shown;
    } rows[] = {
        {"TLS over 110", kSecurityTls, 110, 995},
        {"STLS over 995", kSecurityStls, 995, 110},
        {"None over 995", kSecurityNone, 995, 110},
        {"TLS keeps 995", kSecurityTls, 995, 995},
        {"STLS keeps 110", kSecurityStls, 110, 110},
        {"typed port stays", kSecurityTls, 2110, 2110},
        {"zero stays for the correction", kSecurityTls, 0, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PortForSecurityChoice(row.security, row.port), row.shown) << row.name;
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

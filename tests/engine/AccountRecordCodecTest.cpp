#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <sstream>

#include "store/AccountPersistence.h"
#include "store/AccountRecordCodec.h"
#include "store/ConnectionSecurity.h"
#include "support/SampleAccounts.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

Bytes storedForm(const AccountRecord& record) {
    Bytes out;
    appendAccountRecord(record, out);
    return out;
}

std::uint32_t le(const Bytes& b, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = width; i-- > 0;) v = (v << 8) | b[at + i];
    return v;
}

std::string textAt(const Bytes& b, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(&b[at]));
}

AccountRecord readBack(const Bytes& stored) {
    return readAccountRecord(std::span<const std::uint8_t>(stored).first<kAccountRecordSize>());
}

TEST(AccountRecordCodec, FieldsSitAtTheirOffsetsLittleEndian) {
    AccountRecord r = test::sampleAccount(3);
    r.mailboxSize = -1;
    r.selectedRow = -1;
    const Bytes b = storedForm(r);
    ASSERT_EQ(b.size(), kAccountRecordSize);
    EXPECT_EQ(textAt(b, 0), "pop3.example.org");
    EXPECT_EQ(le(b, 60, 4), 998u);
    EXPECT_EQ(textAt(b, 64), "user3");
    EXPECT_EQ(b[118], kStatusCompleted);
    EXPECT_EQ(b[119], 1);
    EXPECT_EQ(le(b, 120, 4), 30u);
    EXPECT_EQ(le(b, 124, 4), 0xFFFFFFFFu);
    EXPECT_EQ(textAt(b, 128), "secret3");
    EXPECT_EQ(le(b, 172, 2), 0xFFFFu);
    EXPECT_EQ(b[174], 3);
    EXPECT_EQ(b[175], 0);
    const std::uint32_t time[] = {2024, 3, 5, 3, 13, 45, 30, 250};
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(le(b, 176 + 2 * i, 2), time[i]) << "time word " << i;
    EXPECT_EQ(textAt(b, 192), "@mail3.example.org");
    for (std::size_t i = 256; i < 320; ++i) EXPECT_EQ(b[i], 0) << "reserved byte " << i;
    EXPECT_EQ(le(b, 320, 2), 33u);
    EXPECT_EQ(le(b, 322, 2), 2003u);
    EXPECT_EQ(le(b, 324, 4), 1u);
    EXPECT_EQ(le(b, 328, 4), 0u);
    EXPECT_EQ(le(b, 332, 4), 1u);
}

TEST(AccountRecordCodec, TextFieldsAreZeroPaddedToTheirWidth) {
    AccountRecord r;
    r.server = "ab";
    const Bytes b = storedForm(r);
    for (std::size_t i = 2; i < 60; ++i) EXPECT_EQ(b[i], 0) << "server byte " << i;
}

TEST(AccountRecordCodec, RoundTripKeepsEveryField) {
    const AccountRecord r = test::sampleAccount(7);
    EXPECT_EQ(readBack(storedForm(r)), r);
}

TEST(AccountRecordCodec, UnterminatedTextIsReadOnlyUpToItsWidth) {
    Bytes b = storedForm(AccountRecord{});
    std::fill(b.begin(), b.begin() + 60, 'S');         // server, no zero byte
    std::fill(b.begin() + 64, b.begin() + 118, 'U');   // user name
    std::fill(b.begin() + 128, b.begin() + 172, 'P');  // password
    std::fill(b.begin() + 192, b.begin() + 320, 'N');  // account name runs into reserved
    const AccountRecord r = readBack(b);
    EXPECT_EQ(r.server.str(), std::string(59, 'S'));
    EXPECT_EQ(r.userName.str(), std::string(53, 'U'));
    EXPECT_EQ(r.password.str(), std::string(43, 'P'));
    EXPECT_EQ(r.accountName.str(), std::string(63, 'N'));
    EXPECT_EQ(r.port, 0u);
    EXPECT_EQ(r.timeout, 0u);
}

TEST(AccountRecordCodec, ReservedBytesAreIgnoredWhenRead) {
    const AccountRecord r = test::sampleAccount(1);
    Bytes b = storedForm(r);
    std::fill(b.begin() + 292, b.begin() + 320, 0xEE);
    EXPECT_EQ(readBack(b), r);
    EXPECT_EQ(storedForm(readBack(b)), storedForm(r));
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

TEST(SignInRecord, MethodAndProviderSitBesideTheSecurityFieldsAndOlderStoresReadAsPassword) {
    AccountRecord r = test::sampleAccount(3);
    r.security = kSecurityTls;
    r.signIn = kSignInOAuth2;
    r.oauthProvider = kOAuthCustom;
    const Bytes b = storedForm(r);
    EXPECT_EQ(b[289], 0);
    EXPECT_EQ(b[290], kSignInOAuth2);
    EXPECT_EQ(b[291], kOAuthCustom);
    for (std::size_t i = 292; i < 320; ++i) EXPECT_EQ(b[i], 0) << "reserved byte " << i;
    EXPECT_EQ(readBack(b), r);

    Bytes old = b;
    std::fill(old.begin() + 290, old.begin() + 320, 0);
    EXPECT_EQ(readBack(old).signIn, kSignInPassword);
}

std::string hex(const Bytes& bytes) {
    std::ostringstream out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        static const char digits[] = "0123456789abcdef";
        out << digits[bytes[i] >> 4] << digits[bytes[i] & 0xF] << ((i % 32 == 31) ? "\n" : "");
    }
    return out.str();
}

std::string readFixture(const std::string& name) {
    std::ifstream in(test::dataPath(name));
    std::ostringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    while (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

// The stored value of a known store of three accounts: if this changes, every
// user's saved accounts stop loading.
TEST(AccountRecordCodec, StoredValueOfKnownStoreIsPinned) {
    std::string actual = hex(EncodeAccounts(test::sampleStore(3)));
    while (!actual.empty() && actual.back() == '\n') actual.pop_back();
    EXPECT_EQ(actual, readFixture("accounts-three.hex"));
}

}  // namespace
}  // namespace qlt

#include "store/AccountRecordCodec.h"

#include <array>

#include "store/FixedFields.h"

namespace qlt {

namespace {

// Bytes 256..319 were reserved and written as zeros, so a zero security byte
// reads as a plain connection:
//   256       security (ConnectionSecurity)
//   257..288  pinned certificate fingerprint (SHA-256, all zero: none)
//   289       plain-text warning shown (0/1)
//   290       sign-in method (SignInMethod; zero: the password)
//   291       OAuth2 provider (OAuthProvider)
//   292..319  reserved: written as zeros, ignored when read
constexpr std::size_t kReservedWidth = 28;

constexpr std::array<std::uint16_t SystemTime::*, 8> kTimeWords = {
    &SystemTime::year, &SystemTime::month,  &SystemTime::dayOfWeek, &SystemTime::day,
    &SystemTime::hour, &SystemTime::minute, &SystemTime::second,    &SystemTime::milliseconds};

// The fields in stored order, one list shared by writing and reading.
template <class Io, class Record>
void visitFields(Io& io, Record& r) {
    io.text(r.server);
    io.number(r.port);
    io.text(r.userName);
    io.number(r.status);
    io.number(r.scanAllInclude);
    io.number(r.messageCount);
    io.number(r.mailboxSize);
    io.text(r.password);
    io.number(r.selectedRow);
    io.number(r.accountNumber);
    io.number(r.scanIncomplete);
    for (const auto word : kTimeWords) io.number(r.lastScanned.*word);
    io.text(r.accountName);
    io.number(r.security);
    io.bytes(r.pinnedCertificate);
    io.number(r.plainTextWarned);
    io.number(r.signIn);
    io.number(r.oauthProvider);
    io.reserved(kReservedWidth);
    io.number(r.timeout);
    io.number(r.linkSpeed);
    io.number(r.authRequired);
    io.number(r.isCurrent);
    io.number(r.rememberPassword);
}

}  // namespace

void appendAccountRecord(const AccountRecord& record, Bytes& out) {
    FieldWriter writer(out);
    visitFields(writer, record);
}

AccountRecord readAccountRecord(std::span<const std::uint8_t, kAccountRecordSize> stored) {
    AccountRecord record;
    FieldReader reader(stored);
    visitFields(reader, record);
    return record;
}

}  // namespace qlt

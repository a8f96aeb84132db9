#include "store/AccountRecordCodec.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace qlt {

namespace {

// Bytes 256..319 were reserved and written as zeros, so a zero security byte
// reads as a plain connection:
//   256       security (ConnectionSecurity)
//   257..288  pinned certificate fingerprint (SHA-256, all zero: none)
//   289       plain-text warning shown (0/1)
//   290..319  reserved: written as zeros, ignored when read
constexpr std::size_t kReservedWidth = 30;

class RecordWriter {
  public:
    explicit RecordWriter(Bytes& out) : m_out(out) {}

    template <std::size_t N>
    void text(const BoundedText<N>& value) {
        m_out.insert(m_out.end(), value.view().begin(), value.view().end());
        m_out.insert(m_out.end(), N - value.size(), 0);
    }

    template <class T>
    void number(T value) {
        auto bits = static_cast<std::make_unsigned_t<T>>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            m_out.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits = static_cast<std::make_unsigned_t<T>>(bits >> 8);
        }
    }

    template <std::size_t N>
    void bytes(const std::array<std::uint8_t, N>& value) {
        m_out.insert(m_out.end(), value.begin(), value.end());
    }

    void reserved(std::size_t count) { m_out.insert(m_out.end(), count, 0); }

  private:
    Bytes& m_out;
};

class RecordReader {
  public:
    explicit RecordReader(std::span<const std::uint8_t, kAccountRecordSize> in) : m_in(in) {}

    template <std::size_t N>
    void text(BoundedText<N>& value) {
        const auto field = take(N);
        const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
        value = std::string_view(reinterpret_cast<const char*>(field.data()),
                                 static_cast<std::size_t>(end - field.begin()));
    }

    template <class T>
    void number(T& value) {
        const auto field = take(sizeof(T));
        std::make_unsigned_t<T> bits = 0;
        for (std::size_t i = sizeof(T); i-- > 0;) {
            bits = static_cast<std::make_unsigned_t<T>>((bits << 8) | field[i]);
        }
        value = static_cast<T>(bits);
    }

    template <std::size_t N>
    void bytes(std::array<std::uint8_t, N>& value) {
        const auto field = take(N);
        std::copy(field.begin(), field.end(), value.begin());
    }

    void reserved(std::size_t count) { take(count); }

  private:
    std::span<const std::uint8_t> take(std::size_t count) {
        const auto field = m_in.subspan(m_pos, count);
        m_pos += count;
        return field;
    }

    std::span<const std::uint8_t, kAccountRecordSize> m_in;
    std::size_t m_pos = 0;
};

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
    io.reserved(kReservedWidth);
    io.number(r.timeout);
    io.number(r.linkSpeed);
    io.number(r.authRequired);
    io.number(r.isCurrent);
    io.number(r.rememberPassword);
}

}  // namespace

void appendAccountRecord(const AccountRecord& record, Bytes& out) {
    RecordWriter writer(out);
    visitFields(writer, record);
}

AccountRecord readAccountRecord(std::span<const std::uint8_t, kAccountRecordSize> stored) {
    AccountRecord record;
    RecordReader reader(stored);
    visitFields(reader, record);
    return record;
}

}  // namespace qlt

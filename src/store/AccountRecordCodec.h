#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/AccountRecord.h"
#include "store/Codec.h"

namespace qlt {

// The stored form of one account: 336 bytes, integers little-endian, texts
// zero-terminated inside their field, the rest of each field zero. Byte 256
// holds the connection security, 257..288 the pinned certificate fingerprint,
// 289 the plain-text warning flag; 290..319 stay zero.
inline constexpr std::size_t kAccountRecordSize = 336;

// Appends the 336-byte stored form of the record to out.
void appendAccountRecord(const AccountRecord& record, Bytes& out);

// Reads one record from exactly 336 stored bytes. A text field without a zero
// byte ends at its width; the bytes still reserved are ignored.
AccountRecord readAccountRecord(std::span<const std::uint8_t, kAccountRecordSize> stored);

}  // namespace qlt

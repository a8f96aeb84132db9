#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "store/AccountRecord.h"
#include "store/Codec.h"

namespace qlt {

// The stored form of one account: 336 bytes, integers little-endian, texts
// zero-terminated inside their field, the rest of each field zero.
inline constexpr std::size_t kAccountRecordSize = 336;

// Appends the 336-byte stored form of the record to out.
void appendAccountRecord(const AccountRecord& record, Bytes& out);

// Reads one record from exactly 336 stored bytes. A text field without a zero
// byte ends at its width; the reserved bytes are ignored.
AccountRecord readAccountRecord(std::span<const std::uint8_t, kAccountRecordSize> stored);

}  // namespace qlt

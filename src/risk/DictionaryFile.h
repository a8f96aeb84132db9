#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/KeywordRecord.h"
#include "store/Codec.h"

namespace qlt {

// The keyword dictionary data file: the 40-byte records one after another,
// compressed and scrambled as all stored data is. The first record carries
// the signature.
inline constexpr std::size_t kMaxDictionaryFileSize = 65535;

// The record that opens every data file.
KeywordRecord dictionarySignatureRecord();
bool hasDictionarySignature(const KeywordRecord& first);

Bytes encodeDictionaryRecords(std::span<const KeywordRecord> records);

// The records of a stored file (a trailing piece shorter than a record is
// ignored), or nothing when the stored block is unreadable.
std::optional<std::vector<KeywordRecord>> decodeDictionaryRecords(std::span<const std::uint8_t> stored);

}  // namespace qlt

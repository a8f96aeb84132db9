#include "risk/DictionaryFile.h"

#include "store/BuiltInTexts.h"

namespace qlt {

namespace {

// The signature record never matches a message.
constexpr std::uint32_t kSignatureId = 0xF00000;
constexpr std::uint8_t kWhereNowhere = 0;

}  // namespace

KeywordRecord dictionarySignatureRecord() {
    return KeywordRecord::make(kSignatureId, dictionarySignature(), 0, 0, kWhereNowhere);
}

bool hasDictionarySignature(const KeywordRecord& first) {
    return first.textView().substr(0, kSignatureLength) == dictionarySignature();
}

Bytes encodeDictionaryRecords(std::span<const KeywordRecord> records) {
    Bytes plain(records.size() * KeywordRecord::kSize);
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].writeTo(std::span<std::uint8_t, KeywordRecord::kSize>(
            plain.data() + i * KeywordRecord::kSize, KeywordRecord::kSize));
    return encodeStored(plain);
}

std::optional<std::vector<KeywordRecord>> decodeDictionaryRecords(std::span<const std::uint8_t> stored) {
    const auto plain = decodeStored(stored);
    if (!plain) return std::nullopt;
    std::vector<KeywordRecord> records;
    records.reserve(plain->size() / KeywordRecord::kSize);
    for (std::size_t at = 0; at + KeywordRecord::kSize <= plain->size(); at += KeywordRecord::kSize)
        records.push_back(KeywordRecord::readFrom(
            std::span<const std::uint8_t, KeywordRecord::kSize>(plain->data() + at, KeywordRecord::kSize)));
    return records;
}

}  // namespace qlt

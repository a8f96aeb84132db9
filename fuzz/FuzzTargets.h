#pragma once

#include <cstddef>
#include <cstdint>

namespace qlt::fuzz {

// One function per fuzz program: it feeds the bytes to the engine as the
// program would receive them and returns 0. The libFuzzer programs call them,
// and so does the replay test, so a found crash is replayed on the same path.
int fuzzAccountStore(const std::uint8_t* data, std::size_t size);
int fuzzDecodeBase64(const std::uint8_t* data, std::size_t size);
int fuzzDecompress(const std::uint8_t* data, std::size_t size);
int fuzzDictionaryFile(const std::uint8_t* data, std::size_t size);
int fuzzFillAndRate(const std::uint8_t* data, std::size_t size);
int fuzzHeaderFields(const std::uint8_t* data, std::size_t size);
int fuzzHtmlToText(const std::uint8_t* data, std::size_t size);
int fuzzMultipart(const std::uint8_t* data, std::size_t size);
int fuzzReplyParsing(const std::uint8_t* data, std::size_t size);
int fuzzScanDialogue(const std::uint8_t* data, std::size_t size);
int fuzzSenderList(const std::uint8_t* data, std::size_t size);
int fuzzUnescapeLinks(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
    const char* program;  // the libFuzzer program and its seed folder under fuzz/seeds
    int (*run)(const std::uint8_t*, std::size_t);
    bool messageSeeds;  // also seeded with the message fixtures
};

inline constexpr FuzzTarget kFuzzTargets[] = {
    {"AccountStoreFuzz", fuzzAccountStore, false}, {"DecodeBase64Fuzz", fuzzDecodeBase64, true},
    {"DecompressFuzz", fuzzDecompress, false},     {"DictionaryFileFuzz", fuzzDictionaryFile, false},
    {"FillAndRateFuzz", fuzzFillAndRate, true},    {"HeaderFieldsFuzz", fuzzHeaderFields, true},
    {"HtmlToTextFuzz", fuzzHtmlToText, true},      {"MultipartFuzz", fuzzMultipart, true},
    {"ReplyParsingFuzz", fuzzReplyParsing, false}, {"ScanDialogueFuzz", fuzzScanDialogue, false},
    {"SenderListFuzz", fuzzSenderList, false},     {"UnescapeLinksFuzz", fuzzUnescapeLinks, true},
};

}  // namespace qlt::fuzz

#include "risk/BuiltInTexts.h"

#include "risk/Enciphered.h"

namespace qlt {

namespace {

constexpr auto kDictionaryFile = encipher("qltdict.dat");
constexpr auto kSignature = encipher("QLTKeywords1.0");
constexpr auto kSizeError = encipher("Bad dict size");
constexpr auto kSignatureError = encipher("Bad dictionary");

static_assert(kDictionaryFile.bytes.size() <= 11);
static_assert(kSignature.bytes.size() <= kSignatureLength);
static_assert(kSizeError.bytes.size() <= 14 && kSignatureError.bytes.size() <= 14);

}  // namespace

std::string dictionaryFileName() {
    return kDictionaryFile.text();
}

std::string dictionarySignature() {
    return kSignature.text();
}

std::string dictionarySizeError() {
    return kSizeError.text();
}

std::string dictionarySignatureError() {
    return kSignatureError.text();
}

}  // namespace qlt

#include "store/BuiltInTexts.h"

#include "store/Enciphered.h"

namespace qlt {

namespace {

constexpr auto kDictionaryFile = encipher("qltdict.dat");
constexpr auto kSignature = encipher("QLTKeywords1.0");
constexpr auto kSizeError = encipher("Bad dict size");
constexpr auto kSignatureError = encipher("Bad dictionary");
constexpr auto kSenderListFile = encipher("qltsnd.dat");
constexpr auto kSenderSizeError = encipher("Sender list too large");
constexpr auto kSenderRecordError = encipher("Bad record in sender list");

static_assert(kDictionaryFile.bytes.size() <= 11);
static_assert(kSignature.bytes.size() <= kSignatureLength);
static_assert(kSizeError.bytes.size() <= 14 && kSignatureError.bytes.size() <= 14);
static_assert(kSenderListFile.bytes.size() <= 10);
static_assert(kSenderSizeError.bytes.size() <= 23 && kSenderRecordError.bytes.size() <= 25);

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

std::string senderListFileName() {
    return kSenderListFile.text();
}

std::string senderListSizeError() {
    return kSenderSizeError.text();
}

std::string senderListRecordError() {
    return kSenderRecordError.text();
}

}  // namespace qlt

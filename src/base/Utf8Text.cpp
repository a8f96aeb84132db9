#include "base/Utf8Text.h"

namespace qlt {

namespace {

// What a lead byte allows: the sequence's length and the range of its second
// byte, whose narrower ranges rule out overlong forms, surrogates and code
// points past U+10FFFF. Length 0: no lead byte.
struct Lead {
    std::size_t length;
    unsigned char secondMin;
    unsigned char secondMax;
};

Lead leadOf(unsigned char b) {
    if (b < 0x80) return {1, 0, 0};
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// The length of the well-formed sequence at the start of text; 0 when none is.
std::size_t sequenceLength(std::string_view text) {
    const Lead lead = leadOf(static_cast<unsigned char>(text[0]));
    if (lead.length == 0 || text.size() < lead.length) return 0;
    if (lead.length == 1) return 1;
    const auto second = static_cast<unsigned char>(text[1]);
    if (second < lead.secondMin || second > lead.secondMax) return 0;
    for (std::size_t i = 2; i < lead.length; ++i)
        if (!isContinuation(static_cast<unsigned char>(text[i]))) return 0;
    return lead.length;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string displayUtf8(std::string_view bytes) {
    if (!isValidUtf8(bytes)) return latin1ToUtf8(bytes);
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    return std::string(bytes);
}

}  // namespace qlt

#include "content/BodyDecoding.h"

#include <array>
#include <cstdint>

#include "content/TextScan.h"

namespace qlt {
namespace {

using text::npos;

constexpr int kNotInAlphabet = -1;
constexpr int kPad = -2;

constexpr std::array<int, 256> makeSextets() {
    std::array<int, 256> table{};
    for (int& v : table) v = kNotInAlphabet;
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
    table[static_cast<unsigned char>('=')] = kPad;
    return table;
}

constexpr std::array<int, 256> kSextets = makeSextets();

// Appends the bytes that `count` sextets (2 to 4) of `bits` hold.
void flushGroup(std::string& out, std::uint32_t bits, int count) {
    bits <<= 6 * (4 - count);
    out.push_back(static_cast<char>((bits >> 16) & 0xFF));
    if (count >= 3) out.push_back(static_cast<char>((bits >> 8) & 0xFF));
    if (count == 4) out.push_back(static_cast<char>(bits & 0xFF));
}

// Link text from "://" on: every %xx becomes its byte; NUL ends it.
std::string unescapeLink(std::string_view link) {
    std::string out;
    out.reserve(link.size());
    for (std::size_t i = 0; i < link.size(); ++i) {
        const int byte = link[i] == '%' ? text::hexByteAt(link, i + 1) : -1;
        if (byte < 0) {
            out.push_back(link[i]);
            continue;
        }
        if (byte == 0) break;
        out.push_back(static_cast<char>(byte));
        i += 2;
    }
    return out;
}

}  // namespace

std::string DecodeBase64(std::string_view encoded) {
    std::string out;
    out.reserve(encoded.size() / 4 * 3 + 3);
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : encoded) {
        const int v = kSextets[static_cast<unsigned char>(c)];
        if (v == kNotInAlphabet) continue;
        if (v == kPad) {
            // A pad in the first two places cannot end a group; it is dropped
            // with what came before it in the group.
            if (count >= 2) flushGroup(out, bits, count);
            bits = 0;
            count = 0;
            continue;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        if (++count == 4) {
            flushGroup(out, bits, 4);
            bits = 0;
            count = 0;
        }
    }
    if (count >= 2) flushGroup(out, bits, count);
    out.resize(std::min(out.size(), out.find('\0')));
    return out;
}

bool UnescapeLinks(std::string& text) {
    bool escaped = false;
    std::string result;
    result.reserve(text.size());
    const std::string_view in = text;
    std::size_t s = 0;
    for (;;) {
        const std::size_t b = in.find("://", s);
        if (b == npos || b == 0) {
            result.append(in.substr(s));
            break;
        }
        result.append(in.substr(s, b - s));
        const std::size_t end = in.find_first_of("\n\r\t ", b + 1);
        if (end == npos) {
            result.append(in.substr(b));
            break;
        }
        const std::string_view link = in.substr(b, end - b);
        if (link.find('%') == npos) {
            result.append(link);
        } else {
            result.append(unescapeLink(link));
            escaped = true;
        }
        s = end;
    }
    if (!result.empty()) text = std::move(result);
    return escaped;
}

}  // namespace qlt

#pragma once

#include <string>
#include <string_view>

namespace qlt::cli {

// A JSON string of single-byte text: each byte is the code point of the same
// value (Latin-1); quote, backslash, CR, LF and tab get their short escapes,
// other control bytes \u00XX.
inline void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        switch (b) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    out += "\\u00";
                    out.push_back(kHex[b >> 4]);
                    out.push_back(kHex[b & 0xF]);
                } else if (b < 0x80) {
                    out.push_back(ch);
                } else {
                    out.push_back(static_cast<char>(0xC0 | (b >> 6)));
                    out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
                }
        }
    }
    out.push_back('"');
}

}  // namespace qlt::cli

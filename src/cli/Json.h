#pragma once

#include <string>
#include <string_view>

#include "base/Utf8Text.h"

namespace qlt::cli {

// A JSON string of an entry's bytes, read as the window reads them (UTF-8
// when valid, else Latin-1); quote, backslash, CR, LF and tab get their short
// escapes, other control bytes \u00XX.
inline void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (const char ch : displayUtf8(text)) {
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
                } else {
                    out.push_back(ch);
                }
        }
    }
    out.push_back('"');
}

}  // namespace qlt::cli

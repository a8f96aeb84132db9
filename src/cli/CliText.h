#pragma once

#include <string>
#include <string_view>

namespace qlt::cli {

// Text for one line of output: each run of control bytes (tabs, line breaks)
// becomes one space, and none is left at either end.
inline std::string oneLine(std::string_view text) {
    std::string line;
    bool gap = false;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            gap = true;
            continue;
        }
        if (gap && !line.empty()) line.push_back(' ');
        gap = false;
        line.push_back(c);
    }
    return line;
}

}  // namespace qlt::cli

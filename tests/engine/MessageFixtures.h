#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace qlt::test {

// A message file as a TOP reply gives it: every LF not preceded by CR becomes CR LF.
inline std::string asTopReply(const std::string& raw) {
    std::string out;
    out.reserve(raw.size() + raw.size() / 16);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) out.push_back('\r');
        out.push_back(raw[i]);
    }
    return out;
}

// A message file as a TOP reply gives it; empty when the file is missing.
inline std::string readAsTopReply(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    return asTopReply(buf.str());
}

inline std::string readMessage(const std::string& name) {
    return readAsTopReply(dataPath("messages/" + name));
}

inline std::vector<std::string> messageFixtureNames() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dataPath("messages")))
        if (e.is_regular_file()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace qlt::test

#include "demo/DemoMessages.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qlt::demo {

namespace {

namespace fs = std::filesystem;

// An id the client's 31-character field keeps whole, in the characters POP3
// allows (0x21 to 0x7E).
constexpr std::size_t kMaxUidlLength = 31;

std::string uidlFor(const fs::path& file) {
    std::string id = "demo-" + file.stem().string();
    std::replace_if(
        id.begin(), id.end(), [](char c) { return c < 0x21 || c > 0x7E; }, '_');
    return id.substr(0, kMaxUidlLength);
}

std::optional<std::string> readSmallFile(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || size > kMaxDemoMessageSize) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (bytes.size() > kMaxDemoMessageSize) return std::nullopt;
    return bytes;
}

}  // namespace

std::string withCrlfLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    if (!out.empty() && !out.ends_with("\r\n")) out += "\r\n";
    return out;
}

std::optional<std::vector<DemoMessage>> loadDemoMessages(const std::string& folder) {
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".eml" && it->is_regular_file(error)) files.push_back(it->path());
        if (files.size() > kMaxDemoMessages) break;
    }
    if (error) return std::nullopt;
    std::sort(files.begin(), files.end());
    if (files.size() > kMaxDemoMessages) files.resize(kMaxDemoMessages);

    std::vector<DemoMessage> messages;
    for (const auto& file : files) {
        if (auto bytes = readSmallFile(file)) messages.push_back({uidlFor(file), withCrlfLines(*bytes)});
    }
    return messages;
}

}  // namespace qlt::demo

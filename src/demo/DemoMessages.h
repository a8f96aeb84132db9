#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlt::demo {

// One message as the demo server keeps it: the whole text with CRLF line
// ends (no dot-stuffing, no terminator) and its unique id.
struct DemoMessage {
    std::string uidl;
    std::string text;

    friend bool operator==(const DemoMessage&, const DemoMessage&) = default;
};

// Files larger than this are not served: a demo message is a few lines.
inline constexpr std::size_t kMaxDemoMessageSize = 64 * 1024;
inline constexpr std::size_t kMaxDemoMessages = 200;

// The text with every line ending in CRLF (bare LF and bare CR become CRLF)
// and a line break after the last line.
std::string withCrlfLines(std::string_view text);

// The "*.eml" files of a folder in name order, each as a message whose id is
// "demo-" and the file's name without ".eml". Files too large are skipped;
// nothing when the folder cannot be read.
std::optional<std::vector<DemoMessage>> loadDemoMessages(const std::string& folder);

}  // namespace qlt::demo

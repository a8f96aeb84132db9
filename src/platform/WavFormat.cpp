#include "platform/WavFormat.h"

#include <algorithm>
#include <string_view>

namespace qlt {

namespace {

constexpr std::size_t kRiffHeader = 12;
constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kMinFormat = 16;
constexpr int kMaxChunks = 64;

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

bool tagIs(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag) {
    return std::equal(tag.begin(), tag.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::optional<std::uint64_t> wavDurationMs(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
    if (head.size() < kRiffHeader || !tagIs(head, 0, "RIFF") || !tagIs(head, 8, "WAVE")) return std::nullopt;
    std::uint32_t bytesPerSecond = 0;
    std::uint64_t at = kRiffHeader;
    for (int chunk = 0; chunk < kMaxChunks && at + kChunkHeader <= head.size(); ++chunk) {
        const std::uint32_t size = le32(head, at + 4);
        const std::uint64_t body = at + kChunkHeader;
        if (tagIs(head, at, "fmt ")) {
            if (size < kMinFormat || body + kMinFormat > head.size()) return std::nullopt;
            bytesPerSecond = le32(head, body + 8);
        } else if (tagIs(head, at, "data")) {
            if (bytesPerSecond == 0 || body > fileSize) return std::nullopt;
            const std::uint64_t present = std::min<std::uint64_t>(size, fileSize - body);
            return present * 1000 / bytesPerSecond;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1U);
    }
    return std::nullopt;
}

}  // namespace qlt

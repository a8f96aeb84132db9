#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qlt {

using Bytes = std::vector<std::uint8_t>;

// LZRW1 compression of the stored data (the account store value and the
// keyword dictionary). The compressed bytes are part of the stored format:
// the same input always gives the same block.
class Codec {
  public:
    // A block is the 4-byte header (flag 0 = compressed, 1 = stored) and the
    // groups; the compressor falls back to the stored form when the data does
    // not shrink.
    static Bytes compress(std::span<const std::uint8_t> input);

    // The plain bytes, or nothing when the block is unreadable: shorter than
    // its header, an unknown flag, a truncated item, a copy reaching before
    // the start of the output, or more than 8 x the block's size of output.
    static std::optional<Bytes> decompress(std::span<const std::uint8_t> block);
};

// The byte-wise scrambling step; applying it twice restores the data. Byte i
// is XORed with (kScrambleStart + 1 + i) mod 256.
inline constexpr std::uint8_t kScrambleStart = 0x5A;
void scramble(std::span<std::uint8_t> data);

// compress + scramble, and its reverse.
Bytes encodeStored(std::span<const std::uint8_t> plain);
std::optional<Bytes> decodeStored(std::span<const std::uint8_t> stored);

}  // namespace qlt

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/Codec.h"

namespace qlt {

// A built-in text kept only in scrambled form in the program: the compiler
// scrambles the literal, so the plain text never appears in the binary, and
// text() unscrambles a copy with the stored-data step on each call.
template <std::size_t N>
struct EncipheredText {
    std::array<std::uint8_t, N> bytes{};

    std::string text() const {
        std::array<std::uint8_t, N> copy = bytes;
        scramble(copy);
        return std::string(copy.begin(), copy.end());
    }
};

// Same key sequence as scramble(): byte i is XORed with (start + 1 + i) mod 256.
template <std::size_t N>
consteval EncipheredText<N - 1> encipher(const char (&plain)[N]) {
    EncipheredText<N - 1> out;
    std::uint8_t key = kScrambleStart;
    for (std::size_t i = 0; i + 1 < N; ++i) {
        key = static_cast<std::uint8_t>(key + 1);
        out.bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(plain[i]) ^ key);
    }
    return out;
}

}  // namespace qlt

// Any block may be handed to the decompressor (a damaged profile, a replaced
// dictionary). Compressing the input and back must also give it unchanged.
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "store/Codec.h"

int qlt::fuzz::fuzzDecompress(const std::uint8_t* data, std::size_t size) {
    using qlt::Codec;
    const std::span<const std::uint8_t> input(data, size);
    (void)Codec::decompress(input);
    const auto back = Codec::decompress(Codec::compress(input));
    if (!back || !std::equal(back->begin(), back->end(), input.begin(), input.end())) std::abort();
    return 0;
}

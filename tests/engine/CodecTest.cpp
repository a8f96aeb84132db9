#include <gtest/gtest.h>

#include <random>
#include <string_view>

#include "store/Codec.h"

namespace qlt {
namespace {

Bytes repeated(std::size_t n, std::uint8_t b) {
    return Bytes(n, b);
}

Bytes randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(gen());
    return out;
}

Bytes textLike(std::size_t n) {
    static const std::string words[] = {
        "From: ", "alice@example.org", "\r\n", "Subject: ", "hello ", "world ", "the ", "quick ", "brown ",
        "fox "};
    Bytes out;
    std::mt19937 gen(7);
    while (out.size() < n) {
        const auto& w = words[gen() % std::size(words)];
        out.insert(out.end(), w.begin(), w.end());
    }
    out.resize(n);
    return out;
}

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes storedFormOf(const Bytes& input) {
    Bytes block{1, 0, 0, 0};
    block.insert(block.end(), input.begin(), input.end());
    return block;
}

// 44 bytes whose compressed block, with the control word reserved after its
// sixteenth item, grows past 44 only with the last item.
const Bytes kOutgrownAtTheEnd = bytesOf("aaaaaaaccccbcbacaccbbaccbbabbcaabbbcaacacccc");

TEST(Codec, KnownInputsGiveTheirPinnedBlocks) {
    struct Row {
        const char* name;
        Bytes input;
        Bytes block;
    };
    const Row rows[] = {
        {"empty input is the stored form", {}, {1, 0, 0, 0}},
        // Header, control word, literal, copy(16, 1), five copy(16, 16), three literals.
        {"hundred equal bytes", repeated(100, 'A'), {0,    0,    0,    0,    0x7E, 0x00, 'A',  0x0F,
                                                     0x01, 0x0F, 0x10, 0x0F, 0x10, 0x0F, 0x10, 0x0F,
                                                     0x10, 0x0F, 0x10, 'A',  'A',  'A'}},
        {"outgrown only by the last item is the stored form", kOutgrownAtTheEnd,
         storedFormOf(kOutgrownAtTheEnd)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Codec::compress(row.input), row.block) << row.name;
        EXPECT_EQ(Codec::decompress(row.block), row.input) << row.name;
    }
}

// Earlier versions wrote the compressed form of such input; it still reads.
TEST(Codec, ACompressedBlockOneItemPastItsInputStillReads) {
    const Bytes block = {0,   0,   0,   0,   0x0A, 0x60, 'a',  0x05, 0x01, 'c',  0x02, 0x01, 'b',  'c', 'b',
                         'a', 'c', 'a', 'c', 'c',  'b',  0x02, 0x07, 0x03, 0x05, 'b',  0x00, 0x00, 'b', 'c',
                         'a', 'a', 'b', 'b', 'b',  'c',  'a',  'a',  'c',  'a',  'c',  'c',  'c',  'c'};
    ASSERT_EQ(block.size(), kOutgrownAtTheEnd.size());
    EXPECT_EQ(Codec::decompress(block), kOutgrownAtTheEnd);
}

TEST(Codec, IncompressibleInputFallsBackToStoredForm) {
    const Bytes input = randomBytes(5000, 1);
    const Bytes block = Codec::compress(input);
    ASSERT_EQ(block.size(), input.size() + 4);
    EXPECT_EQ(block[0], 1);
    EXPECT_EQ(Codec::decompress(block), input);
}

TEST(Codec, RoundTripsInputsOfManyShapes) {
    struct Row {
        const char* name;
        Bytes input;
    };
    const Row rows[] = {
        {"one byte", Bytes{42}},
        {"fifteen equal bytes", repeated(15, 'x')},
        {"sixteen equal bytes", repeated(16, 'x')},
        {"exactly one full group", repeated(17 * 16, 'y')},
        {"text 255", textLike(255)},
        {"text 256", textLike(256)},
        {"text 64k", textLike(65536)},
        {"random 300", randomBytes(300, 2)},
        {"zeros 10000", repeated(10000, 0)},
    };
    for (const auto& row : rows) {
        const Bytes block = Codec::compress(row.input);
        EXPECT_LE(block.size(), row.input.size() + 36) << row.name;
        EXPECT_EQ(Codec::decompress(block), row.input) << row.name;
    }
}

TEST(Codec, RejectsCorruptBlocks) {
    struct Row {
        const char* name;
        Bytes block;
    };
    const Row rows[] = {
        {"shorter than header", Bytes{0, 0, 0}},
        {"unknown flag", Bytes{7, 0, 0, 0, 'a'}},
        {"copy before start", Bytes{0, 0, 0, 0, 0x01, 0x00, 0x0F, 0x01}},
        {"truncated copy item", Bytes{0, 0, 0, 0, 0x02, 0x00, 'a', 0x0F}},
        {"truncated control word", Bytes{0, 0, 0, 0, 0x00}},
        {"offset zero", Bytes{0, 0, 0, 0, 0x02, 0x00, 'a', 0x0F, 0x00}},
    };
    for (const auto& row : rows) EXPECT_FALSE(Codec::decompress(row.block).has_value()) << row.name;
}

// A control word whose group has no items (the block ends right after it)
// adds nothing; reading on would go past the block.
TEST(Codec, BlockEndingAfterAControlWordKeepsWhatCameBefore) {
    const Bytes afterGroups{0,   0,   0,   0,   0x00, 0x00, 'a', 'b', 'c', 'd', 'e',  'f',
                            'g', 'h', 'i', 'j', 'k',  'l',  'm', 'n', 'o', 'p', 0x04, 0x3C};
    EXPECT_EQ(Codec::decompress(afterGroups),
              (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o', 'p'}));
    EXPECT_EQ(Codec::decompress(Bytes{0, 0, 0, 0, 0x04, 0x3C}), Bytes{});
}

TEST(Scramble, IsItsOwnInverseAndDependsOnPosition) {
    for (std::size_t n : {0u, 1u, 255u, 256u, 257u, 1000u}) {
        const Bytes original = randomBytes(n, static_cast<unsigned>(n));
        Bytes data = original;
        scramble(data);
        if (n > 0) {
            EXPECT_NE(data, original) << n;
        }
        scramble(data);
        EXPECT_EQ(data, original) << n;
    }
    Bytes same(2, 'Q');
    scramble(same);
    EXPECT_NE(same[0], same[1]);
    EXPECT_EQ(same[0], 'Q' ^ static_cast<std::uint8_t>(kScrambleStart + 1));
}

TEST(StoredForm, EncodeThenDecodeRestores) {
    const Bytes plain = textLike(3000);
    EXPECT_EQ(decodeStored(encodeStored(plain)), plain);
}

}  // namespace
}  // namespace qlt

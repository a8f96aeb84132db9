#include <gtest/gtest.h>

#include <random>

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

TEST(Codec, HundredEqualBytesGiveTheKnownBlock) {
    const Bytes block = Codec::compress(repeated(100, 'A'));
    // Header, control word, literal, copy(16, 1), five copy(16, 16), three literals.
    const Bytes expected = {0,    0,    0,    0,    0x7E, 0x00, 'A',  0x0F, 0x01, 0x0F, 0x10,
                            0x0F, 0x10, 0x0F, 0x10, 0x0F, 0x10, 0x0F, 0x10, 'A',  'A',  'A'};
    EXPECT_EQ(block, expected);
    EXPECT_EQ(Codec::decompress(block), repeated(100, 'A'));
}

TEST(Codec, EmptyInputIsTheStoredForm) {
    const Bytes block = Codec::compress({});
    EXPECT_EQ(block, (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(Codec::decompress(block), Bytes{});
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

#include <gtest/gtest.h>

#include <array>

#include "base/KeywordRecord.h"

namespace qlt {
namespace {

using Raw = std::array<std::uint8_t, KeywordRecord::kSize>;

TEST(KeywordRecord, WritesTheStoredLayoutFieldByField) {
    const KeywordRecord r = KeywordRecord::make(0x00F80102, "cash", 2, 1, kWhereSubject);
    Raw raw{};
    r.writeTo(raw);
    Raw expected{};
    expected[0] = 0x02;
    expected[1] = 0x01;
    expected[2] = 0xF8;
    expected[3] = 0x00;
    expected[4] = 'c';
    expected[5] = 'a';
    expected[6] = 's';
    expected[7] = 'h';
    expected[36] = 4;
    expected[37] = 2;
    expected[38] = 1;
    expected[39] = 4;
    EXPECT_EQ(raw, expected);
    EXPECT_EQ(KeywordRecord::readFrom(raw), r);
}

TEST(KeywordRecord, TextIsCutToThirtyOneCharactersAndZeroFilled) {
    const KeywordRecord r = KeywordRecord::make(1, std::string(40, 'x'), 1, 1, 1);
    EXPECT_EQ(r.textView(), std::string(31, 'x'));
    EXPECT_EQ(r.length, 31);
    EXPECT_EQ(r.text[31], '\0');
}

TEST(KeywordRecord, TextFieldWithoutTerminatorEndsAtItsLastByte) {
    Raw raw{};
    for (std::size_t i = 4; i < 36; ++i) raw[i] = 'y';
    EXPECT_EQ(KeywordRecord::readFrom(raw).textView(), std::string(32, 'y'));
}

TEST(KeywordRecord, TextEndsAtAnEmbeddedNul) {
    const KeywordRecord r = KeywordRecord::make(1, std::string_view("ab\0cd", 5), 1, 1, 1);
    EXPECT_EQ(r.textView(), "ab");
    EXPECT_EQ(r.length, 2);
}

}  // namespace
}  // namespace qlt

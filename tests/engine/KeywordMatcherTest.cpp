#include <gtest/gtest.h>

#include <string>

#include "risk/KeywordMatcher.h"

namespace qlt {
namespace {

// A needle is found wherever it lies in a long text, across the places where
// the text is split for the search too.
TEST(KeywordMatcher, FindsANeedleAtEveryPositionOfALongText) {
    KeywordMatcher matcher;
    const std::size_t longKey = matcher.add("Needle-Of-Twenty-Six-Bytes");
    const std::size_t shortKey = matcher.add("nee");
    matcher.add("unused");
    matcher.finish();
    const std::string needle = "needle-of-twenty-six-bytes";
    std::vector<std::uint8_t> hits;
    for (std::size_t length : {100u, 1024u, 1031u}) {
        for (std::size_t at = 0; at + needle.size() <= length; ++at) {
            std::string text(length, 'q');
            text.replace(at, needle.size(), needle);
            matcher.findAll(text, hits);
            ASSERT_TRUE(KeywordMatcher::hit(hits, longKey)) << "length " << length << " at " << at;
            ASSERT_TRUE(KeywordMatcher::hit(hits, shortKey)) << "length " << length << " at " << at;
            ASSERT_EQ(hits[2], 0) << "length " << length << " at " << at;
        }
    }
}

TEST(KeywordMatcher, EqualNeedlesShareAKeyAndEmptyNeverMatches) {
    KeywordMatcher matcher;
    const std::size_t a = matcher.add("Cash");
    EXPECT_EQ(matcher.add("CASH"), a);
    EXPECT_EQ(matcher.add(""), KeywordMatcher::kNever);
    matcher.finish();
    std::vector<std::uint8_t> hits;
    matcher.findAll("cash", hits);
    EXPECT_TRUE(KeywordMatcher::hit(hits, a));
    EXPECT_FALSE(KeywordMatcher::hit(hits, KeywordMatcher::kNever));
    EXPECT_EQ(matcher.keyCount(), 1u);
}

}  // namespace
}  // namespace qlt

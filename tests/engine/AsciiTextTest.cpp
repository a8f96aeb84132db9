#include <gtest/gtest.h>

#include <string>

#include "base/AsciiText.h"

namespace qlt {
namespace {

struct TwoTexts {
    const char* name;
    std::string haystack;
    std::string needle;
    bool expected;
};

TEST(AsciiText, ContainsNoCase) {
    const TwoTexts rows[] = {
        {"exact", "cash", "cash", true},
        {"letters ignore case", "Get CASH now", "cash", true},
        {"needle case ignored too", "get cash now", "CaSh", true},
        {"at the start", "cash now", "cash", true},
        {"at the end", "free cash", "cash", true},
        {"absent", "free money", "cash", false},
        {"empty needle", "text", "", false},
        {"empty haystack", "", "x", false},
        {"needle longer", "cas", "cash", false},
        {"partial at the end", "free cas", "cash", false},
        {"other bytes compared as they are", "caf\xC9", "caf\xE9", false},
        {"digits and marks", "100% FREE", "100% free", true},
        {"embedded nul is a byte", std::string("a\0cash", 6), "cash", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(containsNoCase(row.haystack, row.needle), row.expected) << row.name;
}

TEST(AsciiText, EqualsIgnoringCase) {
    const TwoTexts rows[] = {
        {"letters ignore case", "PIPELINING", "pipelining", true},
        {"longer", "STLS", "stls2", false},
        {"shorter", "tl", "tls", false},
        {"other bytes compared as they are", "caf\xC9", "caf\xE9", false},
        {"both empty", "", "", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(equalsIgnoringCase(row.haystack, row.needle), row.expected) << row.name;
}

TEST(AsciiText, TrimWhiteSpaceTakesOnlyAsciiBlanksFromBothEnds) {
    EXPECT_EQ(trimWhiteSpace(" \t\r\n\v\f a b \r\n"), "a b");
    EXPECT_EQ(trimWhiteSpace("\xA0x\xA0"), "\xA0x\xA0");
    EXPECT_EQ(trimWhiteSpace(" \t "), "");
}

}  // namespace
}  // namespace qlt

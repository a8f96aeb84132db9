#include <gtest/gtest.h>

#include <string>

#include "TwoTextRows.h"
#include "base/AsciiText.h"

namespace qlt {
namespace {

using test::TwoTexts;

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
    test::expectAnswers(rows, containsNoCase);
}

TEST(AsciiText, EqualsIgnoringCase) {
    const TwoTexts rows[] = {
        {"letters ignore case", "PIPELINING", "pipelining", true},
        {"longer", "STLS", "stls2", false},
        {"shorter", "tl", "tls", false},
        {"other bytes compared as they are", "caf\xC9", "caf\xE9", false},
        {"both empty", "", "", true},
    };
    test::expectAnswers(rows, equalsIgnoringCase);
}

TEST(AsciiText, TrimWhiteSpaceTakesOnlyAsciiBlanksFromBothEnds) {
    EXPECT_EQ(trimWhiteSpace(" \t\r\n\v\f a b \r\n"), "a b");
    EXPECT_EQ(trimWhiteSpace("\xA0x\xA0"), "\xA0x\xA0");
    EXPECT_EQ(trimWhiteSpace(" \t "), "");
}

}  // namespace
}  // namespace qlt

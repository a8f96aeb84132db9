#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace qlt::test {

// A row of a table that asks a yes-or-no question of two texts.
struct TwoTexts {
    const char* name;
    std::string haystack;
    std::string needle;
    bool expected;
};

template <typename Question>
void expectAnswers(std::span<const TwoTexts> rows, Question question) {
    for (const auto& row : rows) EXPECT_EQ(question(row.haystack, row.needle), row.expected) << row.name;
}

}  // namespace qlt::test

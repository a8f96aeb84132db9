#include <gtest/gtest.h>

#include <string>

#include "base/Utf8Text.h"

namespace qlt {
namespace {

TEST(Utf8Text, ValidUtf8StaysAndAnythingElseIsReadAsLatin1) {
    const struct {
        const char* name;
        std::string bytes;
        std::string shown;
    } rows[] = {
        {"ASCII", "Lunch at 12", "Lunch at 12"},
        {"two, three and four bytes", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
         "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"Latin-1", "Caf\xE9", "Caf\xC3\xA9"},
        {"overlong form", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
        {"sequence cut short", "Caf\xC3", "Caf\xC3\x83"},
        {"leading byte order mark", "\xEF\xBB\xBFHi", "Hi"},
    };
    for (const auto& row : rows) EXPECT_EQ(displayUtf8(row.bytes), row.shown) << row.name;
}

}  // namespace
}  // namespace qlt

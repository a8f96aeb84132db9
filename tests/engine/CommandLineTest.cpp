#include <gtest/gtest.h>

#include "base/CommandLine.h"

namespace qlt {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLine, Split) {
    struct Row {
        const char* name;
        std::string line;
        Words words;
    };
    const Row rows[] = {
        {"blanks and tabs", "  mailer \t-compose  x ", {"mailer", "-compose", "x"}},
        {"quoted path", "\"/opt/my mail/mailer\" -x", {"/opt/my mail/mailer", "-x"}},
        {"escapes in quotes", R"("a\"b" "\$HOME" "\`x\`" "c\\d")", {"a\"b", "$HOME", "`x`", "c\\d"}},
        {"other backslashes kept", R"("C:\Mail\x.exe" a\b)", {"C:\\Mail\\x.exe", "a\\b"}},
        {"quotes inside a word", "--to=\"a b\"c", {"--to=a bc"}},
        {"empty quoted word", "prog \"\"", {"prog", ""}},
        {"nothing", "  ", {}},
    };
    for (const auto& row : rows) {
        const auto words = splitCommandLine(row.line);
        ASSERT_TRUE(words.has_value()) << row.name;
        EXPECT_EQ(*words, row.words) << row.name;
    }
    EXPECT_FALSE(splitCommandLine("\"open").has_value());
    EXPECT_FALSE(splitCommandLine("prog \"a\\\"").has_value()) << "an escaped quote does not close";
}

TEST(CommandLine, JoinReadsBack) {
    const Words samples[] = {
        {"mailer", "-compose"},
        {"/opt/my mail/mailer", ""},
        {"a\"b", "$HOME", "`x`", "c\\d", "tab\there", "semi;colon"},
    };
    for (const Words& words : samples) EXPECT_EQ(splitCommandLine(joinCommandLine(words)), words);
    EXPECT_EQ(joinCommandLine({"mailer", "-compose"}), "mailer -compose");
    EXPECT_EQ(joinCommandLine({"/opt/my mail/m", "$X"}), R"("/opt/my mail/m" "\$X")");
}

}  // namespace
}  // namespace qlt

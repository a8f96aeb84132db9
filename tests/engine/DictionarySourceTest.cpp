#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "risk/DictionaryFile.h"
#include "risk/DictionarySource.h"
#include "store/BuiltInTexts.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DictionarySource, ParsesRecordsCommentsAndQuotedTexts) {
    std::string error;
    const auto records = parseDictionarySource(
        "# comment\n"
        "\n"
        "0x010001  virus  3  text     .scr\r\n"
        "17\tspam\t1\tsubject\tact now  \n"
        "0x030001  xrated 1  text     \" sex \"\n"
        "0x040001  foul   2  headers  a \"quoted\" word",
        error);
    ASSERT_TRUE(records) << error;
    const std::vector<KeywordRecord> expected = {
        KeywordRecord::make(0x010001, ".scr", 1, 3, kWhereText),
        KeywordRecord::make(17, "act now", 2, 1, kWhereSubject),
        KeywordRecord::make(0x030001, " sex ", 3, 1, kWhereText),
        KeywordRecord::make(0x040001, "a \"quoted\" word", 4, 2, kWhereHeaders),
    };
    EXPECT_EQ(*records, expected);
}

TEST(DictionarySource, RefusesBadLinesNamingThem) {
    struct Row {
        const char* name;
        std::string line;
        std::string error;
    } rows[] = {
        {"id zero", "0 spam 1 text x", "line 2: the id must be a number from 1 to 0xEFFFFF"},
        {"id reserved", "0xF80001 spam 1 text x", "line 2: the id must be a number from 1 to 0xEFFFFF"},
        {"id not a number", "12a spam 1 text x", "line 2: the id must be a number from 1 to 0xEFFFFF"},
        {"id used twice", "5 spam 1 text y", "line 2: the id is used twice"},
        {"unknown category", "6 junk 1 text x", "line 2: unknown category (virus, spam, xrated, foul, user)"},
        {"level 0", "6 spam 0 text x", "line 2: the level must be 1, 2 or 3"},
        {"level 4", "6 spam 4 text x", "line 2: the level must be 1, 2 or 3"},
        {"unknown place", "6 spam 1 body x", "line 2: unknown place (text, headers, from, subject)"},
        {"no text", "6 spam 1 text", "line 2: the text must have 1 to 31 characters"},
        {"empty quotes", "6 spam 1 text \"\"", "line 2: the text must have 1 to 31 characters"},
        {"text too long", "6 spam 1 text " + std::string(32, 'x'),
         "line 2: the text must have 1 to 31 characters"},
    };
    for (const auto& row : rows) {
        std::string error;
        EXPECT_FALSE(parseDictionarySource("5 spam 1 text x\n" + row.line + "\n", error)) << row.name;
        EXPECT_EQ(error, row.error) << row.name;
    }
}

TEST(DictionarySource, BuiltFileStartsWithTheSignatureAndKeepsSourceOrder) {
    std::string error;
    const auto file = buildDictionaryFile("9 spam 2 text b\n3 spam 1 subject a\n", error);
    ASSERT_TRUE(file) << error;
    const auto records = decodeDictionaryRecords(*file);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 3u);
    EXPECT_TRUE(hasDictionarySignature(records->at(0)));
    EXPECT_EQ(records->at(1).id, 9u);
    EXPECT_EQ(records->at(2).id, 3u);
}

TEST(DictionarySource, RefusesASourceTooBigForTheDataFile) {
    // Texts that do not compress: the file would pass the size limit.
    std::string source;
    unsigned seed = 1;
    for (int id = 1; id <= 2000; ++id) {
        std::string text;
        for (int i = 0; i < 31; ++i) {
            seed = seed * 1103515245u + 12345u;
            text.push_back(static_cast<char>('!' + (seed >> 16) % 90));
        }
        if (text.front() == '"') text.front() = 'q';
        source += std::to_string(id) + " spam 1 text " + text + "\n";
    }
    std::string error;
    EXPECT_FALSE(buildDictionaryFile(source, error));
    EXPECT_NE(error.find("more than 65535"), std::string::npos) << error;
}

TEST(DictionarySource, ShippedDataFileIsBuiltFromItsSource) {
    std::string error;
    const auto built = buildDictionaryFile(readFile(test::resPath("dictionary/keywords.txt")), error);
    ASSERT_TRUE(built) << error;
    EXPECT_GE(built->size(), 1000u);
    const std::string shipped = readFile(test::resPath(dictionaryFileName()));
    EXPECT_TRUE(shipped == std::string(built->begin(), built->end()))
        << "res/dictionary/keywords.txt changed: rebuild with cmake --build --preset dev --target dictionary";
}

TEST(DictionarySource, ShippedSourceCoversEveryCategory) {
    std::string error;
    const auto records = parseDictionarySource(readFile(test::resPath("dictionary/keywords.txt")), error);
    ASSERT_TRUE(records) << error;
    EXPECT_GE(records->size(), 300u);
    std::array<int, 5> perCategory{};
    for (const auto& r : *records) ++perCategory[r.category - 1];
    for (int c = 0; c < 4; ++c) EXPECT_GE(perCategory[c], 40) << "category " << c + 1;
}

}  // namespace
}  // namespace qlt

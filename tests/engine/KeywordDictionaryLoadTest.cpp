#include <gtest/gtest.h>

#include <unistd.h>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "risk/DictionaryFile.h"
#include "risk/KeywordDictionary.h"
#include "risk/UserStringFile.h"
#include "store/BuiltInTexts.h"
#include "support/ScriptedUiPort.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

namespace fs = std::filesystem;

class DictionaryLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qlt-dict-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        sources = {(m_dir / "dict.dat").string(), (m_dir / "userlst.dat").string()};
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void writeUserStrings(const std::string& content) { write(sources.userStrings, content); }
    void writeDataFile(const Bytes& bytes) {
        write(sources.dataFile, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    static void write(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }

    void load() { dictionary.loadDictionary(ui, sources); }

    // A stored file of the given length holding the given records (stored
    // form, so its size is exactly what is asked for).
    static Bytes storedFileOfSize(std::size_t size, const std::vector<KeywordRecord>& records) {
        Bytes block{1, 0, 0, 0};
        for (const auto& r : records) {
            std::array<std::uint8_t, KeywordRecord::kSize> raw{};
            r.writeTo(raw);
            block.insert(block.end(), raw.begin(), raw.end());
        }
        block.resize(size, 0x20);
        scramble(block);
        return block;
    }

    KeywordDictionary::Sources sources;
    KeywordDictionary dictionary;
    test::ScriptedUiPort ui;

  private:
    fs::path m_dir;
};

std::vector<std::uint32_t> ids(const KeywordDictionary& d) {
    std::vector<std::uint32_t> out;
    for (const auto& r : d.records()) out.push_back(r.id);
    return out;
}

TEST_F(DictionaryLoad, WithNeitherFileOnlyTheBuiltInRecordAndTheSystemsErrorText) {
    load();
    ASSERT_EQ(dictionary.count(), 1u);
    const KeywordRecord& r = dictionary.at(0);
    EXPECT_EQ(r, KeywordRecord::make(0, "cash", 2, 1, kWhereSubject));
    EXPECT_EQ(r.length, 4);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, std::strerror(ENOENT));
    EXPECT_EQ(ui.boxes[0].title, "Quillgate");
    EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::Ok);
}

TEST_F(DictionaryLoad, UserStringsBecomeTwoRecordsPerLine) {
    writeUserStrings("alpha\n  beta  \r\n\n\t\ngamma");
    load();
    const std::vector<std::uint32_t> expected = {0,        0xF80001, 0xF80001, 0xF80002,
                                                 0xF80002, 0xF80005, 0xF80005};
    EXPECT_EQ(ids(dictionary), expected);
    EXPECT_EQ(dictionary.at(3).textView(), "beta");
    for (std::size_t i = 1; i < dictionary.count(); ++i) {
        const KeywordRecord& r = dictionary.at(i);
        EXPECT_EQ(r.where, i % 2 == 1 ? kWhereText : kWhereHeaders);
        EXPECT_EQ(r.category, 5);
        EXPECT_EQ(r.level, 3);
    }
}

TEST_F(DictionaryLoad, LongUserStringIsCutToTheField) {
    writeUserStrings(std::string(80, 'z') + "\n");
    load();
    ASSERT_EQ(dictionary.count(), 3u);
    EXPECT_EQ(dictionary.at(1).textView(), std::string(31, 'z'));
    EXPECT_EQ(dictionary.at(1).length, 64);  // the string's length, cut to 64, as the writer counted it
}

TEST_F(DictionaryLoad, MoreThan1024LinesLoads1025AndTellsOnce) {
    struct Row {
        const char* name;
        int lines;
        std::size_t strings;
        std::size_t boxes;
    } rows[] = {{"1024 lines", 1024, 1024, 0}, {"1025 lines", 1025, 1025, 1}, {"2000 lines", 2000, 1025, 1}};
    for (const auto& row : rows) {
        std::string content;
        for (int i = 0; i < row.lines; ++i) content += "s" + std::to_string(i) + "\n";
        writeUserStrings(content);
        ui.boxes.clear();
        load();
        EXPECT_EQ(dictionary.count(), 1 + 2 * row.strings) << row.name;
        std::size_t tooMany = 0;
        for (const auto& b : ui.boxes) tooMany += b.text == "Too many entries in USERLST.DAT";
        EXPECT_EQ(tooMany, row.boxes) << row.name;
    }
}

TEST_F(DictionaryLoad, DataFileSizeLimit) {
    const std::vector<KeywordRecord> records = {dictionarySignatureRecord(),
                                                KeywordRecord::make(77, "x", 2, 1, 1)};
    struct Row {
        const char* name;
        std::size_t size;
        bool accepted;
    } rows[] = {{"65535 bytes", 65535, true}, {"65536 bytes", 65536, false}, {"empty", 0, false}};
    for (const auto& row : rows) {
        writeDataFile(row.size == 0 ? Bytes{} : storedFileOfSize(row.size, records));
        ui.boxes.clear();
        load();
        if (row.accepted) {
            EXPECT_TRUE(ui.boxes.empty()) << row.name;
            ASSERT_GT(dictionary.count(), 3u) << row.name;
            EXPECT_EQ(dictionary.at(1), records[0]) << row.name;
            EXPECT_EQ(dictionary.at(2), records[1]) << row.name;
        } else {
            EXPECT_EQ(dictionary.count(), 1u) << row.name;
            ASSERT_EQ(ui.boxes.size(), 1u) << row.name;
            EXPECT_EQ(ui.boxes[0].text, dictionarySizeError()) << row.name;
        }
    }
}

TEST_F(DictionaryLoad, RefusedDataFilesKeepTheRecordsLoadedBefore) {
    KeywordRecord wrongCase = dictionarySignatureRecord();
    std::string text(wrongCase.textView());
    text[0] = static_cast<char>(std::tolower(text[0]));
    wrongCase.setText(text);
    Bytes truncated = {0, 0, 0, 0, 0x02, 0x00, 'A', 0x0F};  // a literal, then half a copy item
    scramble(truncated);
    Bytes badOffset = {0, 0, 0, 0, 0x01, 0x00, 0x0F, 0x05};  // copies from before the start
    scramble(badOffset);
    struct Row {
        const char* name;
        Bytes file;
    } rows[] = {
        {"signature in other letter case", encodeDictionaryRecords(std::vector<KeywordRecord>{wrongCase})},
        {"no whole record", encodeDictionaryRecords(std::vector<KeywordRecord>{})},
        {"truncated block", truncated},
        {"copy before the start", badOffset},
        {"not scrambled", Codec::compress(Bytes(400, 'Q'))},
    };
    for (const auto& row : rows) {
        writeUserStrings("one\n");
        writeDataFile(row.file);
        ui.boxes.clear();
        load();
        EXPECT_EQ(ids(dictionary), (std::vector<std::uint32_t>{0, 0xF80001, 0xF80001})) << row.name;
        ASSERT_EQ(ui.boxes.size(), 1u) << row.name;
        EXPECT_EQ(ui.boxes[0].text, dictionarySignatureError()) << row.name;
    }
}

TEST_F(DictionaryLoad, SignatureRecordStaysAndTrailingPieceIsIgnored) {
    KeywordRecord signature = dictionarySignatureRecord();
    signature.setText(dictionarySignature() + "-and-more");  // only the first 14 characters count
    Bytes plain(2 * KeywordRecord::kSize + 39, 0);
    signature.writeTo(std::span<std::uint8_t, KeywordRecord::kSize>(plain.data(), KeywordRecord::kSize));
    KeywordRecord::make(5, "word", 4, 2, 1)
        .writeTo(std::span<std::uint8_t, KeywordRecord::kSize>(plain.data() + KeywordRecord::kSize,
                                                               KeywordRecord::kSize));
    writeDataFile(encodeStored(plain));
    load();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(ids(dictionary), (std::vector<std::uint32_t>{0, signature.id, 5}));
}

TEST_F(DictionaryLoad, ClearEmptiesTheTable) {
    load();
    dictionary.clearDictionary();
    EXPECT_EQ(dictionary.count(), 0u);
}

TEST_F(DictionaryLoad, ShippedDictionaryLoadsWithItsSignature) {
    sources.dataFile = test::resPath(dictionaryFileName());
    load();
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_GT(dictionary.count(), 301u);
    EXPECT_EQ(dictionary.at(1), dictionarySignatureRecord());
}

TEST(UserStringFile, WritesOneLinePerStringAndReadsThemBack) {
    const std::string path =
        (fs::temp_directory_path() / ("qlt-userlst-" + std::to_string(getpid()))).string();
    ASSERT_TRUE(writeUserStrings(path, {"first", "second string"}));
    std::ifstream in(path, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "first\nsecond string\n");
    const auto read = readUserStrings(path);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->strings.size(), 2u);
    EXPECT_EQ(read->strings[1].text, "second string");
    EXPECT_EQ(read->strings[1].lineNumber, 2u);
    fs::remove(path);
    EXPECT_FALSE(readUserStrings(path));
}

}  // namespace
}  // namespace qlt

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "risk/SenderList.h"
#include "store/BuiltInTexts.h"
#include "support/ScriptedUiPort.h"
#include "support/TempFolder.h"

namespace qlt {
namespace {

namespace fs = std::filesystem;

// One record as the file holds it, built by hand: the kind byte, the text,
// zeros to 76 bytes.
std::string rawRecord(std::uint8_t kind, std::string_view text) {
    std::string raw(76, '\0');
    raw[0] = static_cast<char>(kind);
    raw.replace(1, text.size(), text);
    return raw;
}

std::string rawList(const std::vector<std::pair<std::uint8_t, std::string>>& records) {
    std::string raw;
    for (const auto& [kind, text] : records) raw += rawRecord(kind, text);
    return raw;
}

TEST(SenderRecord, WritesAndReadsTheSeventySixBytes) {
    SenderRecord r;
    r.kind = kSenderFoe;
    r.text = "spam@example.com";
    std::array<std::uint8_t, SenderRecord::kSize> raw{};
    raw.fill(0xAA);
    r.writeTo(raw);
    EXPECT_EQ(std::string(raw.begin(), raw.end()), rawRecord(2, "spam@example.com"));
    EXPECT_EQ(SenderRecord::readFrom(raw), r);
}

TEST(SenderRecord, TextIsCutToSeventyFourCharacters) {
    SenderRecord r;
    r.text = std::string(100, 'x');
    std::array<std::uint8_t, SenderRecord::kSize> raw{};
    r.writeTo(raw);
    EXPECT_EQ(std::string(raw.begin(), raw.end()), rawRecord(0, std::string(74, 'x')));

    // A field without its terminator is read as far as a written one can go.
    raw.fill('y');
    raw[0] = 1;
    EXPECT_EQ(SenderRecord::readFrom(raw).text, std::string(74, 'y'));
}

class SenderListFile : public ::testing::Test {
  protected:
    void writeFile(const std::string& content) const { std::ofstream(path, std::ios::binary) << content; }
    std::string readFile() const { return test::readWholeFile(path); }
    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The marks the list gives to messages of these From texts, each entry
    // starting with `before`.
    std::vector<int> marks(const std::vector<std::string>& froms, std::uint8_t before = kSenderFoe) {
        MessageList messages;
        for (const auto& from : froms) {
            MessageEntry e;
            e.from = from;
            e.senderStatus = before;
            messages.append(std::move(e));
        }
        list.applySenderList(messages);
        std::vector<int> result;
        for (std::size_t i = 0; i < messages.count(); ++i) result.push_back(messages.at(i).senderStatus);
        return result;
    }

    void expectOneBox(const std::string& text) const {
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].title, kProgramName);
        EXPECT_EQ(ui.boxes[0].text, text);
        EXPECT_EQ(ui.boxes[0].buttons, BoxButtons::Ok);
    }

    test::TempFolder m_folder{"qlt-senders"};
    const fs::path& m_dir = m_folder.path();
    std::string path = senderListPath(m_dir.string());
    test::ScriptedUiPort ui;
    SenderList list{ui, path};
};

TEST_F(SenderListFile, NameIsShortAndInTheGivenFolder) {
    EXPECT_LE(senderListFileName().size(), 10u);
    EXPECT_EQ(fs::path(path).parent_path(), m_dir);
    EXPECT_EQ(senderListPath(), "./" + senderListFileName());
    EXPECT_LE(senderListSizeError().size(), 23u);
    EXPECT_LE(senderListRecordError().size(), 25u);
}

TEST_F(SenderListFile, LaterMatchingRecordWins) {
    writeFile(rawList({{2, "spamhouse"}, {1, "friend"}}));
    EXPECT_EQ(marks({"Friend at spamhouse", "news@SPAMHOUSE.example", "someone else", "my FRIEND"}),
              (std::vector<int>{1, 2, 0, 1}));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SenderListFile, OfRecordsWithTheSameTextTheLaterDecides) {
    writeFile(rawList({{2, "Bigcorp"}, {2, "sales"}, {1, "BIGCORP"}}));
    EXPECT_EQ(marks({"news@bigcorp.example", "sales@bigcorp.example", "sales@elsewhere"}),
              (std::vector<int>{1, 1, 2}));
}

TEST_F(SenderListFile, AddingTheSameFromTwiceChangesTheFirstRecord) {
    list.addSender("Bob <bob@example.com>", kSenderFoe);
    list.addSender("  bob <BOB@example.com>\t", kSenderFriend);
    EXPECT_EQ(readFile(), rawList({{1, "Bob <bob@example.com>"}}));

    // The first of several containing records is the one changed.
    writeFile(rawList({{2, "Bigcorp sales"}, {2, "Bigcorp"}}));
    list.addSender("bigcorp", kSenderFriend);
    EXPECT_EQ(readFile(), rawList({{1, "Bigcorp sales"}, {2, "Bigcorp"}}));
}

TEST_F(SenderListFile, LongerFromContainingAListedTextIsAppended) {
    writeFile(rawList({{2, "Bigcorp"}}));
    list.addSender("Bob of Bigcorp", kSenderFoe);
    EXPECT_EQ(readFile(), rawList({{2, "Bigcorp"}, {2, "Bob of Bigcorp"}}));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SenderListFile, RecordOfUnknownKindFailsEveryLoadAndChangesNothing) {
    const std::string content = rawList({{1, "friend"}, {3, "odd"}, {2, "foe"}});
    writeFile(content);

    EXPECT_EQ(marks({"friend", "foe", "other"}, kSenderFoe), (std::vector<int>{2, 2, 2}));
    expectOneBox(senderListRecordError());

    ui.boxes.clear();
    list.addSender("new sender", kSenderFoe);
    expectOneBox(senderListRecordError());

    ui.boxes.clear();
    list.removeSender("friend");
    expectOneBox(senderListRecordError());

    EXPECT_EQ(readFile(), content);
}

TEST_F(SenderListFile, RemovingAnUnlistedTextKeepsTheContent) {
    const std::string content = rawList({{2, "spamhouse"}, {0, "noted"}, {1, "friend"}});
    writeFile(content);
    list.removeSender("stranger@example.com");
    EXPECT_EQ(readFile(), content);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SenderListFile, RemovingTakesOutTheFirstContainingRecord) {
    writeFile(rawList({{2, "spam"}, {1, "Bigcorp news"}, {2, "Bigcorp"}, {1, "friend"}}));
    list.removeSender(" BIGCORP ");
    EXPECT_EQ(readFile(), rawList({{2, "spam"}, {2, "Bigcorp"}, {1, "friend"}}));
}

TEST_F(SenderListFile, RemovingTheLastRecordLeavesAnEmptyListThatStays) {
    list.addSender("spam@example.com", kSenderFoe);
    EXPECT_EQ(marks({"spam@example.com"}, kSenderUnlisted), std::vector<int>{2});

    list.removeSender("spam@example.com");
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_EQ(marks({"spam@example.com"}, kSenderFoe), std::vector<int>{0});
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SenderListFile, EmptyFileIsAnEmptyList) {
    writeFile("");
    EXPECT_EQ(marks({"a", "b"}, kSenderFriend), (std::vector<int>{0, 0}));
    list.addSender("first", kSenderFriend);
    EXPECT_EQ(readFile(), rawRecord(1, "first"));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SenderListFile, MissingFileIsNoList) {
    EXPECT_EQ(marks({"anyone"}, kSenderFoe), std::vector<int>{2});
    list.removeSender("anyone");
    EXPECT_FALSE(fs::exists(path));
    list.addSender("anyone", kSenderFriend);
    EXPECT_EQ(readFile(), rawRecord(1, "anyone"));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SenderListFile, FilesOfSixtyFourKilobytesAreRefused) {
    struct Row {
        const char* name;
        std::size_t size;
        bool refused;
    } rows[] = {
        {"largest accepted", 65535, false},
        {"smallest refused", 65536, true},
        {"far larger", 200000, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.boxes.clear();
        // Kind-0 records of "x": they load, and mark nothing.
        std::string content;
        while (content.size() < row.size) content += rawRecord(0, "x");
        content.resize(row.size);
        writeFile(content);
        EXPECT_EQ(marks({"x"}, kSenderFoe), std::vector<int>{row.refused ? 2 : 0});
        if (row.refused) {
            expectOneBox(senderListSizeError());
            ui.boxes.clear();
            list.addSender("new", kSenderFoe);
            expectOneBox(senderListSizeError());
            EXPECT_EQ(readFile(), content);
        } else {
            EXPECT_TRUE(ui.boxes.empty());
        }
    }
}

TEST_F(SenderListFile, ListNeverGrowsIntoAFileThatWouldBeRefused) {
    std::string content;
    for (int i = 0; i < 862; ++i) content += rawRecord(2, "sender" + std::to_string(i) + "@");
    writeFile(content);
    list.addSender("one too many", kSenderFoe);
    expectOneBox(senderListSizeError());
    EXPECT_EQ(readFile(), content);

    ui.boxes.clear();
    list.addSender("sender861@", kSenderFriend);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(readFile().substr(861 * 76, 1), std::string(1, '\1'));
}

TEST_F(SenderListFile, LongFromIsCutAndStillFoundAgain) {
    const std::string from = "\"" + std::string(90, 'a') + "\" <long@example.com>";
    list.addSender(from, kSenderFoe);
    EXPECT_EQ(readFile(), rawRecord(2, from.substr(0, 74)));
    list.addSender(from, kSenderFriend);
    EXPECT_EQ(readFile(), rawRecord(1, from.substr(0, 74)));
    EXPECT_EQ(marks({from}, kSenderUnlisted), std::vector<int>{1});
}

TEST_F(SenderListFile, BlankTextsAndUnknownKindsAreNotListed) {
    list.addSender(" \t ", kSenderFoe);
    list.addSender("someone", 3);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(SenderListFile, SaveReplacesTheFileAndLeavesNoTemporaryFile) {
    writeFile(rawRecord(2, "old"));
    const fs::path keep = m_dir / "keep";
    fs::create_hard_link(path, keep);
    list.addSender("new", kSenderFriend);
    EXPECT_EQ(readFile(), rawList({{2, "old"}, {1, "new"}}));
    // The old file was not written into: it was replaced by a new one.
    EXPECT_EQ(test::readWholeFile(keep), rawRecord(2, "old"));
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"keep", senderListFileName()}));
}

TEST_F(SenderListFile, FileThatCannotBeCreatedShowsTheSystemText) {
    SenderList elsewhere(ui, senderListPath((m_dir / "missing-folder").string()));
    elsewhere.addSender("someone", kSenderFoe);
    expectOneBox(std::strerror(ENOENT));
    EXPECT_EQ(folderNames(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qlt

#include "core/PreferenceTables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/UserStringList.h"
#include "support/ScriptedUiPort.h"
#include "support/TempFolder.h"

namespace qlt {
namespace {

TEST(ThresholdTable, PositionsAndStoredValues) {
    const struct {
        const char* name;
        std::uint8_t delTag;
        int position;
        std::uint8_t stored;  // after OK without a change
    } rows[] = {
        {"zero opens as none", 0, 0, 4},
        {"red", 3, 1, 3},
        {"orange", 2, 2, 2},
        {"yellow", 1, 3, 1},
        {"four is none", 4, 0, 4},
        {"any other value", 200, 0, 4},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(thresholdPosition(row.delTag), row.position) << row.name;
        EXPECT_EQ(delTagForThreshold(row.position), row.stored) << row.name;
    }
    EXPECT_EQ(delTagForThreshold(-1), 0) << "nothing selected stores 0";
    EXPECT_EQ(delTagForThreshold(4), 0);
}

TEST(ScanBufferTable, EverySizeHasItsPlaceAndOthersNone) {
    for (int position = 0; position < static_cast<int>(kScanBufSizes.size()); ++position) {
        const auto size = scanBufForPosition(position);
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(scanBufPosition(*size), position);
    }
    EXPECT_EQ(scanBufForPosition(0), 128);
    EXPECT_EQ(scanBufForPosition(5), 4096);
    EXPECT_EQ(scanBufPosition(300), -1);
    EXPECT_EQ(scanBufForPosition(-1), std::nullopt);
    EXPECT_EQ(scanBufForPosition(6), std::nullopt);
}

TEST(IconStyleTable, PositionIsTheValue) {
    EXPECT_EQ(iconStylePosition(0), 0);
    EXPECT_EQ(iconStylePosition(4), 4);
    EXPECT_EQ(iconStylePosition(5), -1);
    EXPECT_EQ(iconStyleForPosition(2), 2);
    EXPECT_EQ(iconStyleForPosition(-1), std::nullopt);
}

TEST(EmailAppAfterOk, EmptyClearsExistingReplacesOtherKeeps) {
    test::TempFolder folder;
    const std::string program = folder.file("mailer");
    std::ofstream(program) << "#!/bin/sh\n";
    const std::string chosen = "/opt/mail/bin/client";
    EXPECT_EQ(emailAppAfterOk("", chosen), "");
    EXPECT_EQ(emailAppAfterOk("client", chosen), chosen)
        << "the bare file name shown must not lose the full path";
    EXPECT_EQ(emailAppAfterOk(program, chosen), program);
}

TEST(UserStringList, CaseBlindDuplicatesAndSortedOrder) {
    UserStringList list;
    EXPECT_TRUE(list.add("prize"));
    EXPECT_FALSE(list.add("Prize")) << "equal ignoring case";
    EXPECT_FALSE(list.add("")) << "empty";
    EXPECT_TRUE(list.add("Bargain"));
    EXPECT_TRUE(list.add(" casino ")) << "kept as typed, blanks and all";
    EXPECT_TRUE(list.add("apple"));
    EXPECT_EQ(list.entries(), (std::vector<std::string>{" casino ", "apple", "Bargain", "prize"}));

    EXPECT_FALSE(list.removeMatching("bargai"));
    EXPECT_TRUE(list.removeMatching("BARGAIN"));
    EXPECT_EQ(list.entries(), (std::vector<std::string>{" casino ", "apple", "prize"}));
}

TEST(UserStringList, LoadKeepsFileDuplicatesSortedAndSaveWritesListOrder) {
    test::TempFolder folder;
    const std::string path = folder.file("userlst.dat");
    std::ofstream(path) << "  zeta \n\nAlpha\nalpha\n\tmid\n";
    test::ScriptedUiPort ui;
    UserStringList list = loadUserStringList(path, ui);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"Alpha", "alpha", "mid", "zeta"}));
    ASSERT_TRUE(saveUserStringList(list, path));
    EXPECT_EQ(test::readWholeFile(path), "Alpha\nalpha\nmid\nzeta\n");
}

TEST(UserStringList, MissingFileIsSilentAndEmptyListWritesEmptyFile) {
    test::TempFolder folder;
    const std::string path = folder.file("userlst.dat");
    test::ScriptedUiPort ui;
    const UserStringList list = loadUserStringList(path, ui);
    EXPECT_TRUE(list.entries().empty());
    EXPECT_TRUE(ui.boxes.empty());
    ASSERT_TRUE(saveUserStringList(list, path));
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(UserStringList, TooManyLinesToldOnceAndCut) {
    test::TempFolder folder;
    const std::string path = folder.file("userlst.dat");
    {
        std::ofstream out(path);
        for (int i = 0; i < 1100; ++i) out << "s" << i << "\n";
    }
    test::ScriptedUiPort ui;
    const UserStringList list = loadUserStringList(path, ui);
    EXPECT_EQ(list.entries().size(), 1025u);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Too many entries in USERLST.DAT");
}

}  // namespace
}  // namespace qlt

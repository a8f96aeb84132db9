#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "store/Formatting.h"
#include "support/RecordingSoundPlayer.h"
#include "support/ScopedTimeZone.h"
#include "support/ScriptedUiPort.h"

namespace qlt {
namespace {

TEST(Formatting, TrimText) {
    EXPECT_EQ(TrimText(" \t\r\n\v\fa b\f\v\n\r\t "), "a b");
    EXPECT_EQ(TrimText(" \t "), "");
    EXPECT_EQ(TrimText(""), "");
}

TEST(Formatting, IsValidAccountName) {
    struct Row {
        const char* name;
        std::string text;
        bool valid;
    };
    const Row rows[] = {
        {"starts with @", "@example.org", true},
        {"inner blanks", "john smith@example.org", true},
        {"64 after trimming", "  " + std::string(64, 'a') + "  ", true},
        {"65 after trimming", std::string(65, 'a'), false},
        {"empty", "", false},
        {"all blank", "   \t", false},
        {"backslash", "a\\b", false},
        {"colon", "a:b", false},
        {"tilde", "~a", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsValidAccountName(row.text), row.valid) << row.name;
    for (char c : std::string("~`!#$%^&*()=+|\\{}[],<>?/;:")) {
        EXPECT_FALSE(IsValidAccountName(std::string("ab") + c)) << "character " << c;
    }
}

TEST(Formatting, CheckServerNameWarnsOfTheFirstOffendingCharacter) {
    struct Row {
        const char* name;
        std::string text;
        bool valid;
        std::string shown;  // empty: no box
    };
    const std::string head = "The Server Name contains illegal character\nOffending character is [ ";
    const Row rows[] = {
        {"plain host", " pop.example.org ", true, ""},
        {"empty", "  ", false, ""},
        {"inner blank", "pop server", false, head + "  ] ASCII = 32 (0x20)"},
        {"at sign", "user@pop", false, head + "@ ] ASCII = 64 (0x40)"},
        {"first of two", "a:b@c", false, head + ": ] ASCII = 58 (0x3a)"},
    };
    for (const auto& row : rows) {
        test::ScriptedUiPort ui;
        EXPECT_EQ(CheckServerName(row.text, ui), row.valid) << row.name;
        if (row.shown.empty()) {
            EXPECT_TRUE(ui.boxes.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(ui.boxes.size(), 1u) << row.name;
        EXPECT_EQ(ui.boxes[0].title, "QLT Check Server Name");
        EXPECT_EQ(ui.boxes[0].icon, BoxIcon::Warning);
        EXPECT_EQ(ui.boxes[0].text, row.shown) << row.name;
    }
}

TEST(Formatting, PluralS) {
    EXPECT_EQ(PluralS(0), "s");
    EXPECT_EQ(PluralS(1), "");
    EXPECT_EQ(PluralS(2), "s");
    EXPECT_EQ(PluralS(-1), "s");
}

TEST(Formatting, SizesAndSpeeds) {
    struct Row {
        std::int32_t n;
        const char* size;
        const char* parens;
        const char* speed;
    };
    const Row rows[] = {
        {-1, "unknown", " (empty)", ""},
        {0, "0 b", " (empty)", ""},
        {1, "1 b", " (1 b)", "1 b/s"},
        {1024, "1024 b", " (1024 b)", "1024 b/s"},
        {1025, "1.00 Kb", " (1 Kb)", "1 KB/s"},
        {1048576, "1024.00 Kb", " (1024 Kb)", "1024 KB/s"},
        {1048577, "1.00 Mb", " (1 Mb)", "1 MB/s"},
        {3 * 1048576 - 1, "3.00 Mb", " (2 Mb)", "2 MB/s"},
        {2147483647, "2048.00 Mb", " (2047 Mb)", "2047 MB/s"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FormatSize(row.n), row.size) << row.n;
        EXPECT_EQ(FormatSizeInParens(row.n), row.parens) << row.n;
        EXPECT_EQ(FormatSpeed(row.n), row.speed) << row.n;
    }
}

TEST(Formatting, TimestampPrefix) {
    std::tm t{};
    t.tm_year = 2009 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 2;
    t.tm_hour = 3;
    t.tm_min = 4;
    t.tm_sec = 5;
    EXPECT_EQ(TimestampPrefix(t), "09-01-02 03:04:05 - ");
    EXPECT_EQ(TimestampPrefix().size(), 20u);
}

TEST(Formatting, FileNamePart) {
    EXPECT_EQ(FileNamePart("C:\\Mail\\client.exe"), "client.exe");
    EXPECT_EQ(FileNamePart(" /usr/bin/mailer "), "mailer");
    EXPECT_EQ(FileNamePart("plain.wav"), "plain.wav");
    EXPECT_EQ(FileNamePart("dir\\"), "");
}

TEST(Formatting, SanitizeFileName) {
    std::string text = "Re: $5 <off> {a|b} 50% c/d\\e?f;g*h^i&j,k";
    SanitizeFileName(text);
    EXPECT_EQ(text, "Re- -5 -off- -a-b- 50- c-d-e-f-g-h-i-j-k");
}

TEST(Formatting, DoubleBackslashes) {
    struct Row {
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {"C:\\Mail\\file.txt", "C:\\\\Mail\\\\file.txt"},
        {"a\\b\\\\c\\d", "a\\\\b\\\\c\\d"},  // stops at the first doubled one
        {"ends\\", "ends\\\\"},
        {"none  ", "none"},
        {"", ""},
    };
    for (const auto& row : rows) {
        std::string text = row.in;
        DoubleBackslashes(text);
        EXPECT_EQ(text, row.out) << row.in;
    }
}

TEST(Formatting, AccountStatusName) {
    const char* names[] = {"Update Needed",   "Connection Failed", "No Messages", "Scan Incomplete",
                           "No New Messages", "Completed",         "Unknown",     "Unknown"};
    for (std::uint8_t code = 0; code < 8; ++code) EXPECT_EQ(AccountStatusName(code), names[code]);
    EXPECT_EQ(AccountStatusName(255), "Unknown");
}

TEST(Formatting, FormatLastScannedShowsLocalTimeOrNoRecord) {
    const test::ScopedTimeZone zone("QLT-2");  // two hours east of UTC
    struct Row {
        const char* name;
        SystemTime utc;
        const char* shown;
    };
    const Row rows[] = {
        {"evening crosses midnight", {2023, 12, 0, 31, 23, 30, 15, 0}, "2024-01-01 01:30:15"},
        {"never scanned", {}, "No Record"},
        {"year 1999", {1999, 5, 0, 5, 1, 2, 3, 0}, "No Record"},
        {"day 0", {2020, 5, 0, 0, 1, 2, 3, 0}, "No Record"},
        {"month 13", {2020, 13, 0, 1, 1, 2, 3, 0}, "No Record"},
        {"year 3001", {3001, 1, 0, 1, 1, 2, 3, 0}, "No Record"},
    };
    for (const auto& row : rows) {
        AccountRecord account;
        account.lastScanned = row.utc;
        EXPECT_EQ(FormatLastScanned(account), row.shown) << row.name;
    }
}

TEST(Formatting, PlaySoundFilePlaysOnlyAnExistingFile) {
    const auto dir = std::filesystem::temp_directory_path() / ("qlt-sound-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string wav = (dir / "ding.wav").string();
    std::ofstream(wav) << "RIFF";
    test::RecordingSoundPlayer player;
    EXPECT_FALSE(PlaySoundFile("", player));
    EXPECT_FALSE(PlaySoundFile((dir / "missing.wav").string(), player));
    EXPECT_FALSE(PlaySoundFile(dir.string(), player));
    EXPECT_TRUE(PlaySoundFile(wav, player));
    EXPECT_EQ(player.played, std::vector<std::string>{wav});
    EXPECT_TRUE(FileExists(dir.string()));
    EXPECT_TRUE(FileExists(wav));
    EXPECT_FALSE(FileExists((dir / "missing.wav").string()));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qlt

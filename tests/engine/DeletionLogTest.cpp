#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/DeletionLog.h"
#include "support/TempFolder.h"

namespace qlt::test {
namespace {

const SystemTime kNow{2026, 3, 1, 2, 10, 30, 15, 0};  // Monday 2 March

DeletionRecord recordAt(const std::string& time, const std::string& subject = "Hello") {
    DeletionRecord r;
    r.time = time;
    r.account = "ann@example.org";
    r.uidl = "uid-1";
    r.size = 1234;
    r.from = "Sender <s@example.net>";
    r.subject = subject;
    r.date = "Mon, 2 Mar 2026 10:00:00 +0100";
    r.levels = {0, 3, 0, 0, 0};
    r.reasons = {"", "\"cash\" in the subject", "", "", ""};
    return r;
}

std::string contentOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(DeletionLog, PruningDropsWhatIsOlderThanNinetyDaysAndWhatIsNoRecord) {
    struct Row {
        const char* name;
        std::string line;
        bool kept;
    };
    const std::vector<Row> rows = {
        {"made now", DeletionLine(recordAt("2026-03-02T10:30:15Z")), true},
        {"exactly ninety days ago", DeletionLine(recordAt("2025-12-02T10:30:15Z")), true},
        {"a second more", DeletionLine(recordAt("2025-12-02T10:30:14Z")), false},
        {"a year ago", DeletionLine(recordAt("2025-03-02T10:30:15Z")), false},
        {"a time that is no date", DeletionLine(recordAt("2026-02-30T10:30:15Z")), false},
        {"not JSON", "deleted something", false},
        {"a field missing", R"({"time":"2026-03-02T10:30:15Z","account":"a"})", false},
    };
    TempFolder folder("qlt-log");
    const std::string path = folder.file(kDeletionLogFileName);
    std::string content;
    std::string expected;
    for (const Row& row : rows) {
        content += row.line + "\n";
        if (row.kept) expected += row.line + "\n";
    }
    std::ofstream(path, std::ios::binary) << content;

    ASSERT_EQ(DeletionLog(path).prune(kNow), 0);

    EXPECT_EQ(contentOf(path), expected);
}

TEST(DeletionLog, ANewRecordReplacesTheFileWholeAsTheOwnersAlone) {
    TempFolder folder("qlt-log");
    const std::string path = folder.file(kDeletionLogFileName);
    const DeletionLog log(path);
    ASSERT_EQ(log.append({recordAt("2026-03-01T08:00:00Z", "first")}), 0);
    // A second name for the file as it is now: a write in place would show
    // through it, a new file renamed over the old one does not.
    const std::string before = folder.file("before");
    ASSERT_EQ(::link(path.c_str(), before.c_str()), 0);
    const ::mode_t oldMask = ::umask(0);

    ASSERT_EQ(log.append({recordAt("2026-03-02T08:00:00Z", "second")}), 0);

    ::umask(oldMask);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(contentOf(before), DeletionLine(recordAt("2026-03-01T08:00:00Z", "first")) + "\n");
    const std::vector<DeletionRecord> records = log.read();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].subject, "second");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++files;
    EXPECT_EQ(files, 2u) << "no new file is left behind";
}

TEST(DeletionLog, TextsSurviveTheirEscapesAndLatin1BecomesUtf8) {
    struct Row {
        const char* name;
        std::string subject;
        std::string written;  // as the line holds it
        std::string read;
    };
    const std::vector<Row> rows = {
        {"quote and backslash", "say \"hi\" \\ bye", R"("say \"hi\" \\ bye")", "say \"hi\" \\ bye"},
        {"line breaks and tab", "a\r\nb\tc", R"("a\r\nb\tc")", "a\r\nb\tc"},
        {"other control bytes", std::string("x\x01y\x7fz"), R"("x\u0001y\u007fz")",
         std::string("x\x01y\x7fz")},
        {"a Latin-1 byte", "caf\xe9", "\"caf\xc3\xa9\"", "caf\xc3\xa9"},
        {"UTF-8 kept", "caf\xc3\xa9", "\"caf\xc3\xa9\"", "caf\xc3\xa9"},
    };
    for (const Row& row : rows) {
        MessageEntry entry;
        entry.subject = row.subject;
        const std::string line = DeletionLine(MakeDeletionRecord(entry, "ann", kNow, true));
        EXPECT_NE(line.find("\"subject\":" + row.written), std::string::npos) << row.name << ": " << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << row.name;
        const auto back = ParseDeletionLine(line);
        ASSERT_TRUE(back) << row.name;
        EXPECT_EQ(back->subject, row.read) << row.name;
    }
}

TEST(DeletionLog, TheReasonsNameTheTaggerAndEachRatedCategory) {
    DeletionRecord r = recordAt("2026-03-02T10:30:15Z");
    EXPECT_EQ(DeletionReasons(r), "tagged by the rule; spam 3. Red: \"cash\" in the subject");
    r.taggedByHand = true;
    r.blackListed = true;
    r.levels = {};
    EXPECT_EQ(DeletionReasons(r), "tagged by hand; sender on the black list");
}

}  // namespace
}  // namespace qlt::test

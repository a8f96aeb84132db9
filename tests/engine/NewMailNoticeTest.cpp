#include <gtest/gtest.h>

#include <vector>

#include "core/NewMailNotice.h"

namespace qlt {
namespace {

struct NewEntry {
    const char* from;
    const char* subject;
    std::array<std::uint8_t, kRiskCategories> level;  // virus, spam, X-rated, foul language, user strings
    const char* account = "ann@example.org";
};

NewMailNotice noticeOf(const std::vector<NewEntry>& entries) {
    NewMailNotice notice;
    for (const NewEntry& e : entries) {
        MessageEntry entry;
        entry.from = e.from;
        entry.subject = e.subject;
        entry.level = e.level;
        AddToNotice(notice, entry, e.account);
    }
    return notice;
}

const NewEntry kPlain{"Bob <bob@example.net>", "Lunch", {0, 0, 0, 0, 0}};
const NewEntry kXRated{"hot@example.com", "Hot pictures", {0, 1, 2, 0, 0}};
const NewEntry kXRatedRed{"red@example.com", "Red pictures", {0, 0, 3, 0, 0}};
const NewEntry kFoul{"rude@example.com", "Rude words", {0, 0, 0, 2, 0}};

TEST(NewMailNotice, NamesTheFirstThreeAndHidesRatedMailWhenAsked) {
    const struct {
        const char* name;
        std::vector<NewEntry> entries;
        bool redact;
        std::string title;
        std::string text;
    } rows[] = {
        {"one plain message",
         {kPlain},
         true,
         "1 new message for ann@example.org",
         "Bob <bob@example.net>: Lunch\nHighest risk: Green"},
        {"an X-rated one is counted, not named",
         {kXRated},
         true,
         "1 new message for ann@example.org",
         "1 message hidden (X-rated)\nHighest risk: Orange"},
        {"two X-rated after a plain one",
         {kPlain, kXRatedRed, kXRated},
         true,
         "3 new messages for ann@example.org",
         "Bob <bob@example.net>: Lunch\n2 messages hidden (X-rated)\nHighest risk: Red"},
        {"foul language",
         {kFoul, kPlain},
         true,
         "2 new messages for ann@example.org",
         "Bob <bob@example.net>: Lunch\n1 message hidden (foul language)\nHighest risk: Orange"},
        {"both ratings count once, as X-rated",
         {{"x@example.com", "Both", {0, 0, 2, 3, 0}}},
         true,
         "1 new message for ann@example.org",
         "1 message hidden (X-rated)\nHighest risk: Red"},
        {"yellow ratings and other categories stay named",
         {{"y@example.com", "Mild", {3, 3, 1, 1, 3}}},
         true,
         "1 new message for ann@example.org",
         "y@example.com: Mild\nHighest risk: Red"},
        {"switched off, every message is named",
         {kXRatedRed, kFoul},
         false,
         "2 new messages for ann@example.org",
         "red@example.com: Red pictures\nrude@example.com: Rude words\nHighest risk: Red"},
        {"five in two accounts: three named, the rest counted",
         {kPlain, kPlain, {"c@example.com", "Third", {}, "bob@example.org"}, kXRatedRed, kPlain},
         true,
         "5 new messages in 2 accounts",
         "Bob <bob@example.net>: Lunch\nBob <bob@example.net>: Lunch\nc@example.com: Third\nand 2 more\n"
         "Highest risk: Red"},
        {"control characters and empty fields",
         {{"", "line\r\nbreak\t", {}}},
         true,
         "1 new message for ann@example.org",
         "(no sender): line  break \nHighest risk: Green"},
        {"an account without a name",
         {{"a@example.com", "Hi", {}, ""}},
         true,
         "1 new message",
         "a@example.com: Hi\nHighest risk: Green"},
    };
    for (const auto& row : rows) {
        const NewMailNotice notice = noticeOf(row.entries);
        EXPECT_EQ(notice.count, row.entries.size()) << row.name;
        EXPECT_EQ(NewMailNoticeTitle(notice), row.title) << row.name;
        EXPECT_EQ(NewMailNoticeText(notice, row.redact), row.text) << row.name;
    }
}

}  // namespace
}  // namespace qlt

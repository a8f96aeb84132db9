#include <gtest/gtest.h>

#include <array>
#include <string>

#include "base/AsciiText.h"
#include "risk/KeywordDictionary.h"
#include "risk/RiskRating.h"
#include "store/BuiltInTexts.h"
#include "support/ScriptedUiPort.h"
#include "support/TestPaths.h"

namespace qlt {
namespace {

using Levels = std::array<std::uint8_t, kRiskCategories>;
using Reasons = std::array<std::uint32_t, kRiskCategories>;

// A message that no built-in rule objects to: addressed to the account, with a sender.
MessageEntry cleanEntry() {
    MessageEntry e;
    e.to = "bob@example.org";
    e.from = "Alice <alice@example.org>";
    e.subject = "Minutes of the meeting";
    e.headers = "From: Alice <alice@example.org>\r\nTo: bob@example.org\r\nSubject: Minutes of the meeting";
    e.preview = "Here are the minutes of the last meeting.";
    return e;
}

MimePartInfo part(const char* type, int valid = 1) {
    MimePartInfo p;
    p.valid = valid;
    p.contentType = type;
    return p;
}

constexpr std::uint8_t kVirusCategory = 1, kSpamCategory = 2, kXRatedCategory = 3, kFoulCategory = 4;

struct RateRow {
    const char* name;
    std::vector<KeywordRecord> table;
    void (*shape)(MessageEntry&);
    std::string body;
    Levels levels;
    Reasons reasons;
    std::string account = "bob";
};

void rateRows(const std::vector<RateRow>& rows) {
    for (const auto& row : rows) {
        KeywordDictionary dictionary;
        dictionary.assign(row.table);
        MessageEntry e = cleanEntry();
        if (row.shape) row.shape(e);
        rateMessage(dictionary, row.body, e, row.account);
        EXPECT_EQ(e.level, row.levels) << row.name;
        EXPECT_EQ(e.levelReason, row.reasons) << row.name;
    }
}

TEST(RiskRating, BuiltInRules) {
    rateRows({
        {"clean message", {}, nullptr, "", {}, {}},
        {"not addressed to the account",
         {},
         [](MessageEntry& e) { e.to = "carol@example.org"; },
         "",
         {0, 2, 0, 0, 0},
         {0, kReasonNotAddressed, 0, 0, 0}},
        {"account name case ignored", {}, [](MessageEntry& e) { e.to = "BOB@example.org"; }, "", {}, {}},
        {"empty account name", {}, nullptr, "", {0, 2, 0, 0, 0}, {0, kReasonNotAddressed, 0, 0, 0}, ""},
        {"base64 body",
         {},
         [](MessageEntry& e) { e.isBase64 = 1; },
         "",
         {0, 3, 0, 0, 0},
         {0, kReasonBase64Body, 0, 0, 0}},
        {"disguised subject",
         {},
         [](MessageEntry& e) { e.subject = "Get $ave now"; },
         "",
         {0, 3, 0, 0, 0},
         {0, kReasonDisguisedSubject, 0, 0, 0}},
        {"disguised preview",
         {},
         [](MessageEntry& e) { e.preview = "Please cl!ck now"; },
         "",
         {0, 3, 0, 0, 0},
         {0, kReasonDisguisedPreview, 0, 0, 0}},
        {"encoded url",
         {},
         [](MessageEntry& e) { e.hasEncodedUrl = 1; },
         "",
         {0, 3, 0, 0, 0},
         {0, kReasonEncodedUrl, 0, 0, 0}},
        {"blank sender",
         {},
         [](MessageEntry& e) { e.from = " \t "; },
         "",
         {0, 3, 0, 0, 0},
         {0, kReasonNoSender, 0, 0, 0}},
        {"link",
         {},
         [](MessageEntry& e) { e.hasLink = 1; },
         "",
         {1, 3, 0, 0, 0},
         {kReasonLink, kReasonLink, 0, 0, 0}},
        {"embedded part",
         {},
         [](MessageEntry& e) { e.hasCidReference = 1; },
         "",
         {2, 3, 0, 0, 0},
         {kReasonCidReference, kReasonCidReference, 0, 0, 0}},
        {"link and embedded part",
         {},
         [](MessageEntry& e) { e.hasLink = e.hasCidReference = 1; },
         "",
         {2, 3, 0, 0, 0},
         {kReasonCidReference, kReasonLink, 0, 0, 0}},
        {"first spam rule at 3 names the reason",
         {},
         [](MessageEntry& e) {
             e.to = "x";
             e.isBase64 = 1;
             e.hasEncodedUrl = 1;
         },
         "",
         {0, 3, 0, 0, 0},
         {0, kReasonBase64Body, 0, 0, 0}},
    });
}

TEST(RiskRating, Attachments) {
    rateRows({
        {"risky part",
         {},
         [](MessageEntry& e) {
             e.isMultipart = 1;
             e.parts = {part("text/plain"), part("application/octet-stream; name=\"x.{abc}\"")};
         },
         "",
         {3, 0, 0, 0, 0},
         {kReasonRiskyAttachment, 0, 0, 0, 0}},
        {"later part lowers the level",
         {},
         [](MessageEntry& e) {
             e.isMultipart = 1;
             e.parts = {part("name=\"a.exe\""), part("name=\"b.zip\"")};
         },
         "",
         {2, 0, 0, 0, 0},
         {kReasonRiskyAttachment, 0, 0, 0, 0}},
        {"assignment overrides a keyword's red",
         {KeywordRecord::make(9, "run me", kVirusCategory, 3, kWhereText)},
         [](MessageEntry& e) {
             e.isMultipart = 1;
             e.parts = {part("name=\"b.zip\"")};
         },
         "please run me",
         {2, 0, 0, 0, 0},
         {kReasonRiskyAttachment, 0, 0, 0, 0}},
        {"harmless part keeps the keyword",
         {KeywordRecord::make(9, "run me", kVirusCategory, 3, kWhereText)},
         [](MessageEntry& e) {
             e.isMultipart = 1;
             e.parts = {part("image/png")};
         },
         "please run me",
         {3, 0, 0, 0, 0},
         {9, 0, 0, 0, 0}},
        {"walk stops at an invalid part",
         {},
         [](MessageEntry& e) {
             e.isMultipart = 1;
             e.parts = {part("text/plain"), part("name=\"a.exe\"", 0), part("name=\"b.exe\"")};
         },
         "",
         {},
         {}},
        {"longer extension than the list's",
         {},
         [](MessageEntry& e) {
             e.isMultipart = 1;
             e.parts = {part("text/plain"), part("application/octet-stream; name=\"notes.docx\"")};
         },
         "",
         {},
         {}},
        {"parts ignored unless multipart",
         {},
         [](MessageEntry& e) { e.parts = {part("name=\"a.exe\"")}; },
         "",
         {},
         {}},
    });
}

TEST(RiskRating, KeywordPlacesAndLevels) {
    const KeywordRecord spamText = KeywordRecord::make(21, "free money", kSpamCategory, 2, kWhereText);
    rateRows({
        {"built-in cash in the subject, any case",
         {KeywordDictionary::builtInRecord()},
         [](MessageEntry& e) { e.subject = "CaSh for you"; },
         "",
         {0, 1, 0, 0, 0},
         {}},
        {"non-virus text record searches the preview",
         {spamText},
         [](MessageEntry& e) { e.preview = "Get FREE MONEY today"; },
         "free money",
         {0, 2, 0, 0, 0},
         {0, 21, 0, 0, 0}},
        {"non-virus text record ignores the body", {spamText}, nullptr, "free money", {}, {}},
        {"virus text record searches the body",
         {KeywordRecord::make(22, "enable macros", kVirusCategory, 3, kWhereText)},
         [](MessageEntry& e) { e.preview = "enable macros please"; },
         "Please ENABLE MACROS.",
         {3, 0, 0, 0, 0},
         {22, 0, 0, 0, 0}},
        {"preview of 8 is not searched",
         {spamText},
         [](MessageEntry& e) { e.preview = "free mon"; },
         "",
         {},
         {}},
        {"short preview: the header block instead",
         {spamText},
         [](MessageEntry& e) {
             e.preview = "hi";
             e.headers = "Subject: free money";
         },
         "",
         {0, 2, 0, 0, 0},
         {0, 21, 0, 0, 0}},
        {"headers record",
         {KeywordRecord::make(23, "X-Spam-Flag: YES", kSpamCategory, 3, kWhereHeaders)},
         [](MessageEntry& e) { e.headers = "x-spam-flag: yes"; },
         "",
         {0, 3, 0, 0, 0},
         {0, 23, 0, 0, 0}},
        {"from record",
         {KeywordRecord::make(24, "casino", kSpamCategory, 3, kWhereFrom)},
         [](MessageEntry& e) { e.from = "Lucky Casino <x@y>"; },
         "",
         {0, 3, 0, 0, 0},
         {0, 24, 0, 0, 0}},
        {"from record ignores the subject",
         {KeywordRecord::make(24, "casino", kSpamCategory, 3, kWhereFrom)},
         [](MessageEntry& e) { e.subject = "casino"; },
         "",
         {},
         {}},
        {"unknown place never matches",
         {KeywordRecord::make(25, "meeting", kFoulCategory, 3, 5)},
         nullptr,
         "meeting",
         {},
         {}},
        {"equal level: the first record names the reason",
         {KeywordRecord::make(31, "minutes", kXRatedCategory, 2, kWhereText),
          KeywordRecord::make(32, "meeting", kXRatedCategory, 2, kWhereText)},
         nullptr,
         "",
         {0, 0, 2, 0, 0},
         {0, 0, 31, 0, 0}},
        {"higher level later wins",
         {KeywordRecord::make(31, "minutes", kXRatedCategory, 1, kWhereText),
          KeywordRecord::make(32, "meeting", kXRatedCategory, 3, kWhereText)},
         nullptr,
         "",
         {0, 0, 3, 0, 0},
         {0, 0, 32, 0, 0}},
        {"user string in the preview",
         {KeywordRecord::make(0xF80001, "minutes", 5, 3, kWhereText)},
         nullptr,
         "",
         {0, 0, 0, 0, 3},
         {0, 0, 0, 0, 0xF80001}},
        {"keyword at the preview's start and end",
         {KeywordRecord::make(41, "here", kFoulCategory, 1, kWhereText),
          KeywordRecord::make(42, "meeting.", kFoulCategory, 2, kWhereText)},
         nullptr,
         "",
         {0, 0, 0, 2, 0},
         {0, 0, 0, 42, 0}},
        {"keyword cut by the body's end",
         {KeywordRecord::make(43, "macros", kVirusCategory, 3, kWhereText)},
         nullptr,
         "enable macro",
         {},
         {}},
        {"body's last byte",
         {KeywordRecord::make(43, "macros", kVirusCategory, 3, kWhereText)},
         nullptr,
         "enable macros",
         {3, 0, 0, 0, 0},
         {43, 0, 0, 0, 0}},
        {"extension after a short name part",
         {KeywordRecord::make(44, ".exe", kVirusCategory, 3, kWhereText)},
         nullptr,
         "name=\"photo.jpg.exe\"",
         {3, 0, 0, 0, 0},
         {44, 0, 0, 0, 0}},
        {"extension record over a longer extension",
         {KeywordRecord::make(44, ".js", kVirusCategory, 3, kWhereText)},
         nullptr,
         "data.json",
         {},
         {}},
        {"extension after a long name",
         {KeywordRecord::make(44, ".exe", kVirusCategory, 3, kWhereText)},
         nullptr,
         "holiday-photos.exe",
         {},
         {}},
        {"extension outside the text place is a plain text",
         {KeywordRecord::make(45, ".exe", kVirusCategory, 3, kWhereSubject)},
         [](MessageEntry& e) { e.subject = "see holiday-photos.exe"; },
         "",
         {3, 0, 0, 0, 0},
         {45, 0, 0, 0, 0}},
        {"non-virus extension record searches the preview",
         {KeywordRecord::make(46, ".xxx", kXRatedCategory, 2, kWhereText)},
         [](MessageEntry& e) { e.preview = "visit hot.pics.xxx now"; },
         "",
         {0, 0, 2, 0, 0},
         {0, 0, 46, 0, 0}},
    });
}

TEST(RiskRating, RateTextUsesOnlyMessageTextRecords) {
    KeywordDictionary dictionary;
    dictionary.assign({KeywordRecord::make(51, "subject only", kSpamCategory, 3, kWhereSubject),
                       KeywordRecord::make(52, ".exe", kVirusCategory, 2, kWhereText),
                       KeywordRecord::make(53, "Bad Word", kFoulCategory, 3, kWhereText),
                       KeywordRecord::make(54, "headers only", kSpamCategory, 3, kWhereHeaders)});
    MessageEntry e;
    rateText(dictionary, "subject only; headers only; setup.exe; a BAD WORD", e);
    EXPECT_EQ(e.level, (Levels{2, 0, 0, 3, 0}));  // no "." rule in a whole message
    EXPECT_EQ(e.levelReason, (Reasons{52, 0, 0, 53, 0}));

    MessageEntry untouched;
    rateText(KeywordDictionary(), "Bad Word setup.exe", untouched);
    EXPECT_EQ(untouched, MessageEntry());
}

// The keyword search must agree with a plain search for each keyword, for
// overlapping keywords, keywords that are suffixes of others, and long texts.
TEST(RiskRating, KeywordSearchAgreesWithPlainSearch) {
    const std::vector<std::string> words = {"ab",  "abab", "bab", "b",    "aab",
                                            "bba", "abba", "Ba",  "aaaa", "cab"};
    std::vector<KeywordRecord> table;
    for (std::size_t i = 0; i < words.size(); ++i)
        table.push_back(KeywordRecord::make(static_cast<std::uint32_t>(100 + i), words[i],
                                            static_cast<std::uint8_t>(1 + i % 4), 1, kWhereHeaders));
    unsigned seed = 12345;
    for (int round = 0; round < 500; ++round) {
        std::string text;
        // Long texts are searched in several stretches side by side.
        const int length = static_cast<int>(round < 400 ? seed % 12 : seed % 1500);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text.push_back("abAB c"[(seed >> 16) % 6]);
        }
        seed = seed * 1103515245u + 12345u;
        for (const auto& record : table) {
            KeywordDictionary one;
            one.assign({record});
            MessageEntry e = cleanEntry();
            e.headers = text;
            rateMessage(one, "", e, "bob");
            EXPECT_EQ(e.level[record.category - 1] == 1, containsNoCase(text, record.textView()))
                << "text '" << text << "' keyword '" << record.textView() << "'";
        }
        KeywordDictionary all;
        all.assign(table);
        MessageEntry together = cleanEntry();
        together.headers = text;
        rateMessage(all, "", together, "bob");
        MessageEntry expected = cleanEntry();
        expected.headers = text;
        for (const auto& record : table)
            if (containsNoCase(text, record.textView())) applyRecord(record, expected);
        EXPECT_EQ(together.levelReason, expected.levelReason) << "text '" << text << "'";
    }
}

class ShippedDictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        dictionary.loadDictionary(ui, {test::resPath(dictionaryFileName()), ""});
        ASSERT_TRUE(ui.boxes.empty());
    }
    Levels rate(void (*shape)(MessageEntry&), const std::string& body = "") {
        MessageEntry e = cleanEntry();
        shape(e);
        rateMessage(dictionary, body, e, "bob");
        return e.level;
    }
    test::ScriptedUiPort ui;
    KeywordDictionary dictionary;
};

TEST_F(ShippedDictionary, RatesObviousSamples) {
    EXPECT_EQ(rate([](MessageEntry&) {}), (Levels{}));
    EXPECT_EQ(rate([](MessageEntry& e) { e.subject = "You have WON the lottery"; })[kSpam], 3);
    EXPECT_EQ(rate([](MessageEntry& e) { e.preview = "Cheap viagra without a prescription"; })[kSpam], 2);
    EXPECT_EQ(rate([](MessageEntry& e) { e.preview = "Hot singles and free porn videos"; })[kXRated], 2);
    EXPECT_EQ(rate([](MessageEntry& e) { e.preview = "What the fuck were you thinking"; })[kFoulLanguage], 3);
    EXPECT_EQ(rate([](MessageEntry&) {},
                   "Content-Type: application/octet-stream; name=\"invoice.pdf.exe\"")[kVirus],
              3);
    EXPECT_EQ(rate([](MessageEntry&) {}, "Please open the attached document and enable macros.")[kVirus], 3);
}

}  // namespace
}  // namespace qlt

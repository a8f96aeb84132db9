#include <gtest/gtest.h>

#include <string>

#include "risk/RiskRating.h"

namespace qlt {
namespace {

TEST(RiskRatingHelpers, ClassifyWord) {
    struct Row {
        const char* name;
        std::string word;
        int expected;
    } rows[] = {
        {"letters only", "free", kWordAllLetters},
        {"no letters", "1234", kWordNoLetters},
        {"dollar for s", "$ave", kWordDisguised},
        {"bang inside", "cl!ck", kWordDisguised},
        {"bang last", "FREE!", kWordNoLetters},
        {"three case changes", "FrEe$", kWordMixedCase},
        {"one case change", "Free$", kWordDisguised},
        {"pipe", "m|ne", kWordDisguised},
        {"paren last not counted", "free)", kWordNoLetters},
        {"paren inside", "fr)ee", kWordDisguised},
        {"brace first not counted", "{abc", kWordNoLetters},
        {"brace inside", "a{bc", kWordDisguised},
        {"closing brace last", "abc}", kWordNoLetters},
        {"bracket first not counted", "[abc", kWordNoLetters},
        {"bracket inside", "a[bc", kWordDisguised},
        {"closing bracket last", "abc]", kWordNoLetters},
        {"backslash slash", "a\\/bc", kWordDisguised},
        {"slash backslash", "a/\\bc", kWordDisguised},
        {"lone backslash", "a\\bcd", kWordNoLetters},
        {"marks outnumber letters", "$$$a", kWordNoLetters},
        {"letters equal marks", "$$ab", kWordNoLetters},
        {"digits for letters", "fr33", kWordNoLetters},
    };
    for (const auto& row : rows) EXPECT_EQ(classifyWord(row.word), row.expected) << row.name;
}

TEST(RiskRatingHelpers, CountDisguisedWords) {
    struct Row {
        const char* name;
        std::string text;
        int expected;
    } rows[] = {
        {"empty", "", -1},
        {"one word", "Get $ave now", 1},
        {"mark last", "Get FREE! now", 0},
        {"mixed case", "Get FrEe$ now", 0},
        {"last word not examined", "Please cl!ck", 0},
        {"last word followed by a separator", "Please cl!ck now", 1},
        {"separator ends the text", "Please cl!ck.", 1},
        {"two words", "$ave b|g, cl!ck here", 2},
        {"short words skipped", "$av now", 0},
        {"every separator splits", "a.b,c_d-e=f\"g'h?i<j>k:l;m\\n/o#p&q r", 0},
        {"separator splits a disguise", "c$a-sh now", 0},
        {"word cut to 127 characters", std::string(127, 'a') + "$ now", 0},
        {"mark within the first 127", std::string(126, 'a') + "$ now", 1},
    };
    for (const auto& row : rows) EXPECT_EQ(countDisguisedWords(row.text), row.expected) << row.name;
}

TEST(RiskRatingHelpers, AttachmentRisk) {
    struct Row {
        const char* name;
        std::string type;
        int expected;
    } rows[] = {
        {"plain text", "text/plain; charset=us-ascii", 0},
        {"program", "application/octet-stream; name=\"setup.exe\"", 3},
        {"screen saver, any case", "application/octet-stream; name=\"FUN.SCR\"", 3},
        {"archive", "application/zip; name=\"files.zip\"", 2},
        {"document", "application/msword; name=\"letter.doc\"", 2},
        {"class id", "application/octet-stream; name=\"x.{abc}\"", 3},
        {"both lists, red wins", "name=\"a.zip.exe\"", 3},
        {"no dot, no match", "application/exe", 0},
        {"longer extension", "application/vnd.openxmlformats; name=\"notes.docx\"", 0},
        {"extension then a digit", "application/octet-stream; name=\"setup.exe1\"", 0},
        {"extension at the end", "application/octet-stream; name=setup.exe", 3},
        {"extension before a blank", "application/octet-stream; name=\"setup.exe copy\"", 3},
        {"picture", "image/jpeg; name=\"photo.jpg\"", 0},
        {"script", "application/javascript; name=\"label.js\"", 3},
        {"data, not a script", "application/json; name=\"coverage.json\"", 0},
        {"web page", "text/html; name=\"Document_View.html\"", 3},
        {"html body part", "text/html; charset=utf-8", 0},
        {"shortcut behind a document name", "application/x-ms-shortcut; name=\"Shipping.pdf.lnk\"", 3},
        {"disk image", "application/x-iso9660-image; name=\"RFQ.iso\"", 3},
        {"notebook", "application/onenote; name=\"MeetingNotes.one\"", 3},
        {"macro workbook", "application/vnd.ms-excel.sheet.macroEnabled.12; name=\"Q4.xlsm\"", 3},
        {"archive named like a document", "application/zip; name=\"invoice.pdf.zip\"", 3},
        {"archive of documents", "application/zip; name=\"invoices-2026.zip\"", 2},
        {"workbook without macros", "application/vnd.ms-excel; name=\"figures.xlsx\"", 0},
        {"calendar", "text/calendar; method=REQUEST; name=\"invite.ics\"", 0},
    };
    for (const auto& row : rows) EXPECT_EQ(attachmentRisk(row.type), row.expected) << row.name;
}

TEST(RiskRatingHelpers, ApplyRecordOnlyRaisesItsOwnCategory) {
    MessageEntry e;
    applyRecord(KeywordRecord::make(7, "x", 3, 2, 1), e);
    EXPECT_EQ(e.level[kXRated], 2);
    EXPECT_EQ(e.levelReason[kXRated], 7u);
    applyRecord(KeywordRecord::make(8, "x", 3, 2, 1), e);  // same level: first reason stays
    EXPECT_EQ(e.levelReason[kXRated], 7u);
    applyRecord(KeywordRecord::make(9, "x", 3, 1, 1), e);  // lower: nothing
    EXPECT_EQ(e.level[kXRated], 2);
    applyRecord(KeywordRecord::make(10, "x", 3, 3, 1), e);
    EXPECT_EQ(e.levelReason[kXRated], 10u);
    applyRecord(KeywordRecord::make(11, "x", 6, 3, 1), e);  // unknown category
    applyRecord(KeywordRecord::make(12, "x", 0, 3, 1), e);
    const std::array<std::uint8_t, kRiskCategories> expected{0, 0, 3, 0, 0};
    EXPECT_EQ(e.level, expected);
}

}  // namespace
}  // namespace qlt

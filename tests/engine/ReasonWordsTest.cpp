#include <gtest/gtest.h>

#include <string>

#include "risk/KeywordDictionary.h"
#include "risk/ReasonWords.h"
#include "risk/RiskRating.h"

namespace qlt {
namespace {

TEST(ReasonWords, RuleCodes) {
    const struct {
        const char* name;
        std::uint32_t code;
        const char* words;
        bool heuristic;
    } rows[] = {
        {"not addressed", kReasonNotAddressed, "not addressed to this account", true},
        {"base64 body", kReasonBase64Body, "body is base64-encoded", true},
        {"disguised subject", kReasonDisguisedSubject, "disguised word in the subject", true},
        {"disguised preview", kReasonDisguisedPreview, "disguised word in the text", true},
        {"escaped link", kReasonEncodedUrl, "link hidden by %xx escapes", true},
        {"no sender", kReasonNoSender, "no sender", true},
        {"link", kReasonLink, "holds a link", true},
        {"embedded part", kReasonCidReference, "refers to an embedded part", true},
        {"risky attachment", kReasonRiskyAttachment, "attachment of a risky file type", false},
        {"a record's id", 0x4711, "", false},
        {"between the rule blocks", 0xFF0009, "", false},
        {"the built-in record's id", 0, "", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ruleReasonWords(row.code), row.words) << row.name;
        EXPECT_EQ(isHeuristicReason(row.code), row.heuristic) << row.name;
    }
}

// The rating keeps, beside each reason code, what set it in words.
TEST(ReasonWords, RatingKeepsTheWordsOfWhatSetEachLevel) {
    const struct {
        const char* name;
        KeywordRecord record;
        void (*shape)(MessageEntry&);
        RiskCategory category;
        const char* words;
    } rows[] = {
        {"subject record", KeywordRecord::make(31, "Winner", 2, 3, kWhereSubject),
         [](MessageEntry& e) { e.subject = "You are a WINNER"; }, kSpam, "\"Winner\" in the subject"},
        {"from record", KeywordRecord::make(32, "lottery", 2, 2, kWhereFrom),
         [](MessageEntry& e) { e.from = "lottery@example.net"; }, kSpam, "\"lottery\" in the sender"},
        {"headers record", KeywordRecord::make(33, "X-Mailer: Blaster", 3, 1, kWhereHeaders),
         [](MessageEntry& e) { e.headers = "x-mailer: blaster 2"; }, kXRated,
         "\"X-Mailer: Blaster\" in the headers"},
        {"text record", KeywordRecord::make(34, "damn", 4, 2, kWhereText),
         [](MessageEntry& e) { e.preview = "It is a damn shame."; }, kFoulLanguage, "\"damn\" in the text"},
        {"rule after a weaker record", KeywordRecord::make(35, "offer", 2, 1, kWhereSubject),
         [](MessageEntry& e) {
             e.subject = "An offer";
             e.isBase64 = 1;
         },
         kSpam, "body is base64-encoded"},
        {"nothing found", KeywordRecord::make(36, "absent", 2, 3, kWhereSubject), nullptr, kSpam, ""},
    };
    for (const auto& row : rows) {
        KeywordDictionary dictionary;
        dictionary.assign({row.record});
        MessageEntry e;
        e.to = e.from = "bob@example.org";
        if (row.shape) row.shape(e);
        rateMessage(dictionary, "", e, "bob");
        for (int c = 0; c < kRiskCategories; ++c)
            EXPECT_EQ(e.levelReasonText[c], c == row.category ? row.words : "")
                << row.name << " category " << c;
    }
}

}  // namespace
}  // namespace qlt
